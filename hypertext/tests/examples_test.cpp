// The sample template set compiles cleanly and has the shape the device
// expects.
#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>

#include "korvena/hypertext/compiler.h"
#include "korvena/hypertext/htx_format.h"

namespace korvena::hypertext {
namespace {

std::string ReadSample(const std::string& name) {
  std::ifstream in(std::string(KORVENA_SOURCE_DIR) + "/examples/templates/" + name, std::ios::binary);
  std::ostringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

TEST(ExampleTemplates, CompileWithoutWarnings) {
  const std::string source = ReadSample("KORVENA.DTX");
  ASSERT_FALSE(source.empty());
  std::ostringstream console;
  const CompileResult result = CompileSource(source, "KORVENA.DTX", console);
  EXPECT_FALSE(result.errors);
  const std::string output = console.str();
  EXPECT_EQ(output, "KORVENA.DTX(" + std::to_string(result.lineNumber) + ")\r\n\r\n");
}

TEST(ExampleTemplates, DefineTheFixedSectionsAndReachTheirOwnLabels) {
  std::ostringstream console;
  const CompileResult result = CompileSource(ReadSample("KORVENA.DTX"), "KORVENA.DTX", console);
  const htx::DecodeResult decoded = htx::Decode(result.htx);
  ASSERT_FALSE(decoded.errorOffset.has_value()) << decoded.error;
  int marks = 0;
  std::set<int> reached;
  for (const htx::Instruction& ins : decoded.instructions) {
    if (ins.opcode == htx::kLabelMark) ++marks;
    if (ins.opcode == htx::kGoto) reached.insert(ins.operands[0]);
    if (ins.opcode == htx::kIfVariable) reached.insert(ins.operands[1]);
  }
  // The 25 fixed sections, at least one of its own, and the final mark.
  EXPECT_GT(marks, htx::kFixedSectionCount + 1);
  // Every label of its own is reached, by G or by I.
  for (int label = htx::kFixedSectionCount + 1; label < marks; ++label) EXPECT_TRUE(reached.count(label)) << label;
  EXPECT_EQ(decoded.instructions.front().opcode, htx::kLabelMark) << "DP_table opens the file";
}

}  // namespace
}  // namespace korvena::hypertext
