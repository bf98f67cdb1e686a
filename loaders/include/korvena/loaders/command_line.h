#pragma once
// What both loaders' command lines share: every argument is upper-cased
// first, then recognised by its first two characters ("-C..." or "/C...").
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvena::loaders {

// ASCII letters to upper case; every other byte unchanged.
std::string UpperCaseAscii(std::string_view text);

// The letter of an upper-cased option argument ("-C3" and "/C3" give 'C'),
// or 0 when the argument is no option.
char OptionLetter(std::string_view argument);

// Hands each argument, upper-cased, to `handle` as its option letter (0 for
// no option) and what follows the two option characters. Stops with false as
// soon as `handle` returns false.
bool ForEachOption(const std::vector<std::string>& arguments,
                   const std::function<bool(char letter, std::string_view value)>& handle);

// The value of -C into `port` when it is a port number that fits the 8 bits
// it is kept in; false, with `port` unchanged, for no number. A larger number
// is no number rather than some other port.
bool TakePortNumber(std::string_view value, uint8_t& port);

// The value of -V: on for 1, off for any other number, nullopt for no number.
std::optional<bool> ShowFlagValue(std::string_view value);

}  // namespace korvena::loaders
