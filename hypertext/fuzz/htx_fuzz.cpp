// Any bytes as an HTX file: htxdump lists or refuses them, never misreads.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string_view>

#include "korvena/hypertext/htx_format.h"
#include "korvena/hypertext/htxdump.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace korvena;
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  const htx::DecodeResult decoded = htx::Decode(bytes);
  // The instructions cover the file up to the fault, back to back.
  std::size_t next = 0;
  for (const htx::Instruction& ins : decoded.instructions) {
    if (ins.offset != next || ins.size == 0) std::abort();
    next += ins.size;
  }
  if (next != (decoded.errorOffset ? *decoded.errorOffset : size)) std::abort();
  std::ostringstream out;
  if (hypertext::DumpHtx(bytes, "FUZZ.HTX", out) != (decoded.errorOffset ? 1 : 0)) std::abort();
  return 0;
}
