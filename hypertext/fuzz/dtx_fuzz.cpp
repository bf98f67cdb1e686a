// Any bytes as a DTX source: the compiler must neither crash nor produce a
// file the device would misread. Everything stays in memory.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string_view>

#include "korvena/hypertext/compiler.h"
#include "korvena/hypertext/htx_format.h"

namespace {

void Check(bool condition) {
  if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace korvena;
  const std::string_view source(reinterpret_cast<const char*>(data), size);
  std::ostringstream console;
  const hypertext::CompileResult result = hypertext::CompileSource(source, "FUZZ.DTX", console);
  const std::string text = console.str();
  if (result.errors) {
    Check(result.htx.empty());
    return 0;
  }
  // A file that would be written: within the buffer, a whole instruction
  // stream, closed by the final label mark.
  Check(!result.htx.empty() && result.htx.size() <= htx::kCapacity);
  Check(static_cast<std::uint8_t>(result.htx.back()) == htx::kLabelMark);
  const htx::DecodeResult decoded = htx::Decode(result.htx);
  Check(!decoded.errorOffset.has_value());
  // The summary line names the source.
  Check(text.find("FUZZ.DTX(") != std::string::npos);
  return 0;
}
