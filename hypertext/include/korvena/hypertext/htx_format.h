#pragma once
// The HTX file as the device reads it: a bare instruction stream with no
// header. Shared by the compiler that writes it and htxdump that reads it.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvena::htx {

// Source and output are both held in buffers of this size; the file never
// grows beyond it.
inline constexpr std::size_t kCapacity = 65528;

// First byte of each instruction.
enum Opcode : std::uint8_t {
  kLabelMark = 0xFF,  // L, and once more at the end of the file
  kVariable = 0xFE,   // S value, parameter 1, parameter 2
  kValues = 0xFD,     // V three values
  kGoto = 0xFC,       // G label number
  kIfVariable = 0xFB, // I variable index, label number, parameter
  kMarkedValues = 0xFA, // MV followed by a whole V instruction
  kByte = 0xF9,       // B value
  kText = 0xF8,       // T length, then the text
  kReturn = 0xF7,     // R
};

inline constexpr int kFixedSectionCount = 25;

// The sections every template set defines first, in this order; section k
// carries label number k.
inline constexpr std::array<std::string_view, kFixedSectionCount> kFixedSectionNames = {
    "DP_table",      "DP_InitTrue",  "DP_InitFalse",  "DP_NeplatnyDoklad", "DP_SkuskaPokladnice",
    "DP_Text",       "DP_L",         "DP_S",          "DP_K",              "DP_Kend",
    "DP_C",          "DP_DX",        "DP_DZ",         "DP_DZend",          "DP_DIHlava",
    "DP_DI",         "DP_OtvorBox",  "DP_Strih",      "DP_VkladVyber",     "DP_FA",
    "DP_KFA",        "DP_KFAend",    "DP_UC",         "DP_NC",             "DP_NCC"};

// Name of a fixed section, or empty for a user label number.
std::string_view FixedSectionName(int labelNumber);

// Mnemonic of the statement that produces an opcode ("L", "S", ... "R"), or
// empty for a byte that starts no instruction.
std::string_view Mnemonic(std::uint8_t opcode);

// One decoded instruction. `operands` holds the value bytes (for MV the
// three values of its V part), `text` the bytes of a T.
struct Instruction {
  std::size_t offset = 0;
  std::size_t size = 0;
  std::uint8_t opcode = 0;
  std::vector<std::uint8_t> operands;
  std::string text;
  int section = 0;  // the label mark count before this instruction; a label mark opens section+1
};

struct DecodeResult {
  std::vector<Instruction> instructions;
  // Set when the stream is malformed: where and why decoding stopped.
  std::optional<std::size_t> errorOffset;
  std::string error;
};

// Walks the stream from its start; stops at the first malformed instruction.
DecodeResult Decode(std::string_view bytes);

}  // namespace korvena::htx
