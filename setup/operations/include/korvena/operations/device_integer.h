#pragma once
// Turning the device's answers (and numeric fields) into integers the way
// the program always has: blanks before the number, an optional sign, decimal
// digits, and the value must fit 32 bits. Anything else is a conversion error,
// which stops the running command with an error box.
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string_view>

namespace korvena::operations {

class ConversionError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

std::optional<int32_t> ParseDeviceInteger(std::string_view text);

// The value of `text`; throws ConversionError("'<text>' is not a valid
// integer value") when it has none.
int32_t ToInteger(std::string_view text);

}  // namespace korvena::operations
