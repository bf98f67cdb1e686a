#include "korvena/hypertext/htxdump.h"

#include <cstdio>

#include "korvena/hypertext/htx_format.h"
#include "korvena/platform/whole_files.h"

namespace korvena::hypertext {

namespace {

// Bytes shown in the raw column; a longer instruction ends in "..".
constexpr std::size_t kShownBytes = 8;
// A file longer than this is not read at all.
constexpr std::size_t kMaxDumpSize = std::size_t{1} << 24;

std::string Hex2(unsigned value) {
  char buffer[8];
  std::snprintf(buffer, sizeof buffer, "%02X", value & 0xFF);
  return buffer;
}

std::string Hex4(std::size_t value) {
  char buffer[16];
  std::snprintf(buffer, sizeof buffer, "%04zX", value);
  return buffer;
}

// One line of the listing: offset, section, raw bytes, statement.
std::string Row(std::string_view offset, std::string_view section, std::string_view raw, std::string_view statement) {
  char buffer[80];
  std::snprintf(buffer, sizeof buffer, "%-6.6s  %7.7s  %-26.26s  ", std::string(offset).c_str(),
                std::string(section).c_str(), std::string(raw).c_str());
  return buffer + std::string(statement) + '\n';
}

// A label as the source would name it: fixed ones by name, others by number.
std::string LabelName(unsigned number) {
  const std::string_view fixed = htx::FixedSectionName(static_cast<int>(number));
  return fixed.empty() ? "<" + std::to_string(number) + ">" : std::string(fixed);
}

// The text as a DTX literal; every escape has a fixed length so it reads back
// the same.
std::string Literal(const std::string& text) {
  std::string literal = "\"";
  for (unsigned char c : text) {
    if (c == '"' || c == '\\') literal += {'\\', static_cast<char>(c)};
    else if (c >= 0x20 && c < 0x7F) literal += static_cast<char>(c);
    else literal += "\\x" + Hex2(c);
  }
  return literal + "\"";
}

std::string RawBytes(std::string_view bytes, const htx::Instruction& ins) {
  std::string raw;
  for (std::size_t i = 0; i < ins.size && i < kShownBytes; ++i) {
    if (i) raw += ' ';
    raw += Hex2(static_cast<unsigned char>(bytes[ins.offset + i]));
  }
  if (ins.size > kShownBytes) raw += " ..";
  return raw;
}

std::string Statement(const htx::Instruction& ins, bool endMark) {
  const auto& v = ins.operands;
  auto values = [&](std::size_t from) {
    std::string list;
    for (std::size_t i = from; i < v.size(); ++i) list += ", " + std::to_string(v[i]);
    return list;
  };
  switch (ins.opcode) {
    case htx::kLabelMark:
      return endMark ? "end mark" : "L, " + LabelName(static_cast<unsigned>(ins.section + 1));
    case htx::kGoto: return "G, " + LabelName(v[0]);
    case htx::kIfVariable:
      return "I, " + std::to_string(v[0]) + ", " + LabelName(v[1]) + ", " + std::to_string(v[2]);
    case htx::kText: return "T, " + Literal(ins.text);
    case htx::kReturn: return "R";
    default: return std::string(htx::Mnemonic(ins.opcode)) + values(0);
  }
}

}  // namespace

int DumpHtx(std::string_view bytes, const std::string& name, std::ostream& out) {
  const htx::DecodeResult decoded = htx::Decode(bytes);
  out << name << ": " << bytes.size() << " bytes\n";
  out << Row("offset", "section", "bytes", "instruction");
  int sections = 0;
  for (const htx::Instruction& ins : decoded.instructions) {
    // The mark after the last statement closes the file rather than opening
    // a section.
    const bool endMark =
        ins.opcode == htx::kLabelMark && ins.offset + 1 == bytes.size() && !decoded.errorOffset.has_value();
    const bool opensSection = ins.opcode == htx::kLabelMark && !endMark;
    if (opensSection) ++sections;
    const std::string section = endMark ? "-" : std::to_string(ins.section + (opensSection ? 1 : 0));
    out << Row(Hex4(ins.offset), section, RawBytes(bytes, ins), Statement(ins, endMark));
  }
  if (decoded.errorOffset) {
    out << "error: malformed at offset " << Hex4(*decoded.errorOffset) << ": " << decoded.error << '\n';
    return 1;
  }
  if (bytes.empty() || static_cast<unsigned char>(bytes.back()) != htx::kLabelMark)
    out << "warning: the file does not end with a label mark\n";
  if (bytes.size() > htx::kCapacity)
    out << "warning: the file is longer than the " << htx::kCapacity << " bytes the device takes\n";
  out << "instructions: " << decoded.instructions.size() << ", sections: " << sections << '\n';
  return 0;
}

int RunHtxDump(const std::vector<std::string>& arguments, std::ostream& out) {
  if (arguments.size() != 1 || arguments[0] == "-h" || arguments[0] == "--help") {
    out << "Usage: htxdump <HTX file>[.HTX]\n"
           "Prints the instructions of a compiled hypertext file, one a line.\n";
    return arguments.size() == 1 ? 0 : 2;
  }
  std::string name = arguments[0];
  if (name.find('.') == std::string::npos) name += ".HTX";
  const FileContents file = ReadWholeFile(name, kMaxDumpSize);
  switch (file.status) {
    case FileContents::kMissing:
    case FileContents::kUnreadable:
      out << "htxdump: cannot open " << name << '\n';
      return 1;
    case FileContents::kTooLarge:
      out << "htxdump: " << name << " is far too long for an HTX file\n";
      return 1;
    case FileContents::kRead:
      break;
  }
  return DumpHtx(file.bytes, name, out);
}

}  // namespace korvena::hypertext
