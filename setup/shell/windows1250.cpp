#include "shell/windows1250.h"

#include "encodings/unicode_code_pages.h"

namespace korvena::kalibro {

QString FromWindows1250(std::string_view bytes) {
  QString text;
  text.reserve(static_cast<qsizetype>(bytes.size()));
  for (const char c : bytes) text.append(QChar(encodings::Windows1250Character(static_cast<unsigned char>(c))));
  return text;
}

std::string ToWindows1250(const QString& text) {
  std::string bytes;
  bytes.reserve(static_cast<std::size_t>(text.size()));
  for (const QChar c : text) bytes.push_back(static_cast<char>(encodings::Windows1250Byte(c.unicode()).value_or('?')));
  return bytes;
}

}  // namespace korvena::kalibro
