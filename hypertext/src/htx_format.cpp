#include "korvena/hypertext/htx_format.h"

namespace korvena::htx {

std::string_view FixedSectionName(int labelNumber) {
  if (labelNumber < 1 || labelNumber > kFixedSectionCount) return {};
  return kFixedSectionNames[static_cast<std::size_t>(labelNumber - 1)];
}

std::string_view Mnemonic(std::uint8_t opcode) {
  switch (opcode) {
    case kLabelMark: return "L";
    case kVariable: return "S";
    case kValues: return "V";
    case kGoto: return "G";
    case kIfVariable: return "I";
    case kMarkedValues: return "MV";
    case kByte: return "B";
    case kText: return "T";
    case kReturn: return "R";
    default: return {};
  }
}

namespace {

// Operand bytes after the opcode, for every instruction of fixed size.
std::size_t FixedOperandCount(std::uint8_t opcode) {
  switch (opcode) {
    case kVariable: return 3;
    case kValues: return 3;
    case kGoto: return 1;
    case kIfVariable: return 3;
    case kByte: return 1;
    default: return 0;
  }
}

std::string Hex(std::uint8_t value) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  return {kDigits[value >> 4], kDigits[value & 15]};
}

}  // namespace

DecodeResult Decode(std::string_view bytes) {
  DecodeResult result;
  int marks = 0;
  std::size_t at = 0;
  auto fail = [&](std::size_t offset, std::string why) {
    result.errorOffset = offset;
    result.error = std::move(why);
    return result;
  };
  auto byteAt = [&](std::size_t i) { return static_cast<std::uint8_t>(bytes[i]); };
  while (at < bytes.size()) {
    Instruction ins;
    ins.offset = at;
    ins.opcode = byteAt(at);
    ins.section = marks;
    std::size_t next = at + 1;
    switch (ins.opcode) {
      case kLabelMark:
      case kReturn:
        break;
      case kText: {
        if (next >= bytes.size()) return fail(at, "T instruction cut by the end of the file (no length)");
        const std::size_t length = byteAt(next);
        ++next;
        if (bytes.size() - next < length)
          return fail(at, "T instruction cut by the end of the file (" + std::to_string(bytes.size() - next) +
                              " of " + std::to_string(length) + " text bytes)");
        ins.text.assign(bytes.substr(next, length));
        next += length;
        break;
      }
      case kMarkedValues:
        if (next >= bytes.size()) return fail(at, "MV instruction cut by the end of the file");
        if (byteAt(next) != kValues)
          return fail(at, "MV instruction not followed by a V instruction (byte " + Hex(byteAt(next)) + ")");
        ++next;
        [[fallthrough]];
      default: {
        const std::size_t count = ins.opcode == kMarkedValues ? 3 : FixedOperandCount(ins.opcode);
        if (count == 0) return fail(at, "byte " + Hex(ins.opcode) + " starts no instruction");
        if (bytes.size() - next < count)
          return fail(at, std::string(Mnemonic(ins.opcode)) + " instruction cut by the end of the file");
        for (std::size_t i = 0; i < count; ++i) ins.operands.push_back(byteAt(next + i));
        next += count;
      }
    }
    if (ins.opcode == kLabelMark) ++marks;
    ins.size = next - at;
    at = next;
    result.instructions.push_back(std::move(ins));
  }
  return result;
}

}  // namespace korvena::htx
