#include "korvena/operations/decimal_number_text.h"

#include <cstddef>

namespace korvena::operations {
namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }
bool IsSign(char c) { return c == '+' || c == '-'; }

}  // namespace

bool IsDecimalNumberText(std::string_view text) {
  std::size_t at = 0;
  const auto next = [&] { return at < text.size() ? text[at] : '\0'; };

  while (next() == ' ') ++at;
  if (IsSign(next())) ++at;

  const std::size_t mantissaStart = at;
  while (IsDigit(next())) ++at;
  if (next() == '.') ++at;
  while (IsDigit(next())) ++at;
  if (at == mantissaStart) return false;  // no digit and no point: empty, blanks or a sign alone

  if (next() == 'E' || next() == 'e') {
    ++at;
    if (IsSign(next())) ++at;
    if (!IsDigit(next())) return false;
    while (IsDigit(next())) ++at;
  }
  return at == text.size();
}

}  // namespace korvena::operations
