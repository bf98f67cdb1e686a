#pragma once
// A value that is well placed but wrong (a field of a document, a number's
// form, a text the device's code page cannot hold), found before anything
// is sent. Each program shows it in its own way: kalibro-cli as a usage
// failure, the fiscal service as a 422 answer. The message names the field.
#include <stdexcept>
#include <string>

namespace korvena::operations {

class InvalidInput : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

[[noreturn]] inline void FailInvalidInput(const std::string& message) { throw InvalidInput(message); }

}  // namespace korvena::operations
