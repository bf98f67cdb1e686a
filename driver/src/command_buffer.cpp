#include "korvena/driver/command_buffer.h"

#include "korvena/protocol/frame.h"

namespace korvena::driver {

std::string_view CommandBuffer::Field(std::size_t n) const { return protocol::CommandField(text_, n); }

}  // namespace korvena::driver
