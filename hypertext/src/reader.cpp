#include "reader.h"

#include <utility>

namespace korvena::hypertext {

SourceReader::SourceReader(std::string_view source, std::string sourceName, std::ostream& console)
    : source_(source), sourceName_(std::move(sourceName)), console_(console) {
  line_.reserve(kMaxLineLength + 3);
}

bool SourceReader::ReadLine() {
  line_.clear();
  while (readPos_ < source_.size()) {
    line_.push_back(source_[readPos_++]);
    const std::size_t n = line_.size();
    if (n > kMaxLineLength) break;
    if (n >= 2 && line_[n - 2] == '\r' && line_[n - 1] == '\n') break;
  }
  return line_.size() <= kMaxLineLength;
}

std::uint8_t SourceReader::NextChar() {
  if (stopped_) return 0;
  if (column_ == 0) {
    ++lineNumber_;
    if (!ReadLine()) {
      // The caret goes under the byte that made the line too long, and
      // nothing after it is compiled.
      column_ = static_cast<unsigned>(line_.size());
      line_.append(kEol);
      ReportError(Message::LineTooLong, AfterError::Continue);
      line_.clear();
      stopped_ = true;
      return 0;
    }
  }
  if (line_.empty()) {
    stopped_ = true;
    return 0;
  }
  ++column_;
  const auto byte = static_cast<std::uint8_t>(line_[column_ - 1]);
  if (column_ == line_.size()) column_ = 0;
  return byte;
}

std::uint8_t SourceReader::PeekChar() const {
  if (stopped_) return 0;
  if (column_ != 0) return static_cast<std::uint8_t>(line_[column_]);
  // The next request starts a new line: its first byte, unless that line is
  // too long or the source has ended.
  if (readPos_ >= source_.size()) return 0;
  const std::string_view rest = source_.substr(readPos_);
  const std::size_t crlf = rest.find("\r\n");
  const std::size_t length = crlf == std::string_view::npos ? rest.size() : crlf + 2;
  if (length > kMaxLineLength) return 0;
  return static_cast<std::uint8_t>(rest[0]);
}

void SourceReader::SkipRestOfLine() { column_ = 0; }

void SourceReader::SkipToLineEnd() {
  // With the column at 0 the line end has been read already; skipping on
  // would swallow the next line.
  if (column_ == 0) return;
  for (;;) {
    const std::uint8_t c = NextChar();
    if (c == 0 || c == '\n' || c == '\r') return;
  }
}

void SourceReader::LineDiagnostic(std::string_view kind, Message message) {
  console_ << sourceName_ << '(' << lineNumber_ << "): " << kind << ' ' << MessageNumber(message) << ": "
           << MessageText(message) << kEol;
  console_ << line_;
  // The last line of a source may lack its line end; the echo still ends.
  if (!line_.empty() && line_.back() != '\n') console_ << kEol;
  // After a too-long line the column still points into the line that is
  // gone; a caret under nothing would mislead.
  if (column_ > 0 && !line_.empty()) {
    std::string caret;
    caret.reserve(column_ + 2);
    for (unsigned position = 1; position < column_; ++position)
      caret.push_back(position <= line_.size() && line_[position - 1] == '\t' ? '\t' : ' ');
    caret.push_back('^');
    console_ << caret << kEol;
  }
}

void SourceReader::IdentifierDiagnostic(std::string_view kind, Message message, std::string_view name) {
  console_ << sourceName_ << ": " << kind << ' ' << MessageNumber(message) << ": " << MessageText(message) << " ("
           << name.substr(0, name.find('\0')) << ')' << kEol;
}

void SourceReader::ReportError(Message message, AfterError after) {
  LineDiagnostic("Error", message);
  errorFlag_ = true;
  if (after == AfterError::SkipToLineEnd) SkipToLineEnd();
}

void SourceReader::ReportWarning(Message message) { LineDiagnostic("Warning", message); }

void SourceReader::ReportIdentifierError(Message message, std::string_view name) {
  IdentifierDiagnostic("Error", message, name);
  errorFlag_ = true;
}

void SourceReader::ReportIdentifierWarning(Message message, std::string_view name) {
  IdentifierDiagnostic("Warning", message, name);
}

}  // namespace korvena::hypertext
