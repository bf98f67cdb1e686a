#pragma once
// The source as the rest of the compiler sees it: a character stream cut
// into CR LF lines (a lone LF or CR ends none; a source without any CR is
// handed over in its CR LF form), and the diagnostics that echo
// the current line with a caret under the last character read.
#include <cstdint>
#include <ostream>
#include <string>
#include <string_view>

#include "messages.h"

namespace korvena::hypertext {

// Every line the compiler prints ends this way, like the source lines it
// echoes, so the console text is the same on every platform.
inline constexpr std::string_view kEol = "\r\n";

// Bytes a line may hold, its CR LF included; one more is "Line too long.".
inline constexpr std::size_t kMaxLineLength = 191;

// Where reading goes on after an error has been reported.
enum class AfterError {
  // From where it stands: the caller still has the rest of the line to deal
  // with, or there is nothing left to read.
  Continue,
  // Past the next line end (CR or LF), so the statement in error is dropped
  // and the next one is read from its start.
  SkipToLineEnd,
};

class SourceReader {
 public:
  SourceReader(std::string_view source, std::string sourceName, std::ostream& console);

  // Next byte of the current line, starting a new line when the last one is
  // used up; 0 at the end of the source (and for a 0 byte in it).
  std::uint8_t NextChar();
  // The byte NextChar would return, without moving.
  std::uint8_t PeekChar() const;
  void SkipRestOfLine();
  // True once the end of the source or a too-long line has been reached;
  // tells the end apart from a 0 byte inside the source.
  bool AtEnd() const { return stopped_; }

  void ReportError(Message message, AfterError after);
  void ReportWarning(Message message);
  void ReportIdentifierError(Message message, std::string_view name);
  void ReportIdentifierWarning(Message message, std::string_view name);
  bool ErrorFlag() const { return errorFlag_; }

  unsigned LineNumber() const { return lineNumber_; }
  unsigned Column() const { return column_; }

 private:
  // Reads the next line into line_; false when it is too long.
  bool ReadLine();
  void LineDiagnostic(std::string_view kind, Message message);
  void IdentifierDiagnostic(std::string_view kind, Message message, std::string_view name);
  void SkipToLineEnd();

  std::string_view source_;
  std::string sourceName_;
  std::ostream& console_;
  std::size_t readPos_ = 0;
  std::string line_;
  unsigned lineNumber_ = 0;
  unsigned column_ = 0;
  bool stopped_ = false;
  bool errorFlag_ = false;
};

}  // namespace korvena::hypertext
