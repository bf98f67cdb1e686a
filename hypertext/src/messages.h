#pragma once
// The compiler's numbered messages. Authors and their tools match on the
// numbers, so they never change; numbers above 27 were added for limits the
// first compiler did not guard.
#include <string_view>

namespace korvena::hypertext {

enum class Message : int {
  NumberTooLong = 1,
  UnknownCommand = 2,
  EndOfLineExpected = 3,
  CommaExpected = 4,
  NumberExpected = 5,
  IdentifierExpected = 6,
  TextBetweenQuotes = 7,
  WrongFixedLabel = 8,
  RedeclareIdentifier = 9,
  TooManyIdentifiers = 10,
  IdentifierNotUsed = 11,
  UnknownIdentifier = 12,
  CannotOpenSource = 13,
  CannotCreateDestination = 14,
  VariableExtraParameter = 15,
  VariableParameterMissing = 16,
  VariableIndexOutOfRange = 17,
  LineTooLong = 18,
  WrongEscape = 19,
  TooManyConditionalSymbols = 20,
  MisplacedConditional = 21,
  EndifMissing = 22,
  ConstExpected = 23,
  LabelExpected = 24,
  ErrorInExpression = 25,
  EqualsExpected = 26,
  TypeMismatch = 27,
  SourceTooLong = 28,
  OutputTooLong = 29,
  TextTooLong = 30,
  DivisionByZero = 31,
  DivisionOverflow = 32,
};

inline constexpr int kMessageCount = 32;

int MessageNumber(Message message);
std::string_view MessageText(Message message);

}  // namespace korvena::hypertext
