#include "messages.h"

#include <array>

namespace korvena::hypertext {

namespace {

// The texts are printed byte for byte as the first compiler printed them,
// spelling included.
constexpr std::array<std::string_view, kMessageCount> kTexts = {
    "Number too long.",
    "Unknown command.",
    "End of line expected.",
    "Comma expected.",
    "Number expected.",
    "Identifier expected.",
    "Text must be between quotas.",
    "Wrong fixed label identifier.",
    "Redeclare identifier.",
    "Too many identifiers.",
    "Identifier not used.",
    "Unknown identifier.",
    "Can not open source file.",
    "Can not create destination file.",
    "HTX variable extra parameter.",
    "HTX variable parameter missing.",
    "HTX variable index out of range.",
    "Line too long.",
    "Wrong text escape sequence.",
    "Too many conditional symbols.",
    "Misplaced coditional directive.",
    "ENDIF directive missing.",
    "Const identifier expected.",
    "Label identifier expected.",
    "Error in expression.",
    "\"=\" expected.",
    "Type mismatch.",
    "Source file too long.",
    "HTX file too long.",
    "Text too long.",
    "Division by zero.",
    "Division overflow.",
};

}  // namespace

int MessageNumber(Message message) { return static_cast<int>(message); }

std::string_view MessageText(Message message) {
  return kTexts[static_cast<std::size_t>(MessageNumber(message) - 1)];
}

}  // namespace korvena::hypertext
