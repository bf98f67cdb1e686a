// htxdump: the listing of a compiled file, and malformed files.
#include <gtest/gtest.h>

#include <sstream>

#include "compile_helpers.h"
#include "korvena/hypertext/htx_format.h"
#include "korvena/hypertext/htxdump.h"
#include "program_runner.h"

namespace korvena::hypertext {
namespace {

using testing::Bytes;
using testing::Compile;
using testing::Lines;
using testing::RunProgram;

std::string Dump(const std::string& bytes, int* status = nullptr) {
  std::ostringstream out;
  const int result = DumpHtx(bytes, "T.HTX", out);
  if (status) *status = result;
  return out.str();
}

TEST(HtxDump, ListsEveryKindOfInstruction) {
  const auto c = Compile(Lines({"B, 1", "L, DP_table", "S, 1, 2", "V, 1, 2, 3", "MV, 4, 5, 6", "G, DP_NCC",
                                "I, 3, DP_S, 7", R"(T, "A\"\\\x01")", "R"}));
  ASSERT_FALSE(c.errors) << c.console;
  int status = -1;
  EXPECT_EQ(Dump(c.htx, &status),
            "T.HTX: 30 bytes\n"
            "offset  section  bytes                       instruction\n"
            "0000          0  F9 01                       B, 1\n"
            "0002          1  FF                          L, DP_table\n"
            "0003          1  FE 01 02 00                 S, 1, 2, 0\n"
            "0007          1  FD 01 02 03                 V, 1, 2, 3\n"
            "000B          1  FA FD 04 05 06              MV, 4, 5, 6\n"
            "0010          1  FC 19                       G, DP_NCC\n"
            "0012          1  FB 03 08 07                 I, 3, DP_S, 7\n"
            "0016          1  F8 04 41 22 5C 01           T, \"A\\\"\\\\\\x01\"\n"
            "001C          1  F7                          R\n"
            "001D          -  FF                          end mark\n"
            "instructions: 10, sections: 1\n");
  EXPECT_EQ(status, 0);
}

TEST(HtxDump, NamesFixedSectionsAndNumbersUserLabels) {
  std::string source;
  for (std::string_view name : htx::kFixedSectionNames) source += "L, " + std::string(name) + "\r\n";
  source += Lines({"L, Mine", "G, Mine", "T, \"0123456789\""});
  const auto c = Compile(source);
  ASSERT_FALSE(c.errors) << c.console;
  const std::string dump = Dump(c.htx);
  EXPECT_NE(dump.find("\n0000          1  FF                          L, DP_table\n"), std::string::npos);
  EXPECT_NE(dump.find("\n0018         25  FF                          L, DP_NCC\n"), std::string::npos);
  EXPECT_NE(dump.find("\n0019         26  FF                          L, <26>\n"), std::string::npos);
  EXPECT_NE(dump.find("\n001A         26  FC 1A                       G, <26>\n"), std::string::npos);
  EXPECT_NE(dump.find("\n001C         26  F8 0A 30 31 32 33 34 35 ..  T, \"0123456789\"\n"), std::string::npos);
  EXPECT_NE(dump.find("instructions: 29, sections: 26\n"), std::string::npos);
}

struct MalformedCase {
  const char* title;
  std::string bytes;
  std::string lastLines;
};

class MalformedFiles : public ::testing::TestWithParam<MalformedCase> {};

TEST_P(MalformedFiles, AreReportedNotMisread) {
  int status = -1;
  const std::string dump = Dump(GetParam().bytes, &status);
  EXPECT_EQ(status, 1);
  const std::string& tail = GetParam().lastLines;
  ASSERT_GE(dump.size(), tail.size());
  EXPECT_EQ(dump.substr(dump.size() - tail.size()), tail);
}

INSTANTIATE_TEST_SUITE_P(
    HtxDump, MalformedFiles,
    ::testing::Values(
        MalformedCase{"cut_text", Bytes({0xFF, 0xF8, 5, 'A', 'B'}),
                      "0000          1  FF                          L, DP_table\n"
                      "error: malformed at offset 0001: T instruction cut by the end of the file (2 of 5 text bytes)\n"},
        MalformedCase{"no_length", Bytes({0xF8}), "error: malformed at offset 0000: T instruction cut by the end of the file (no length)\n"},
        MalformedCase{"cut_S", Bytes({0xF7, 0xFE, 1, 2}), "error: malformed at offset 0001: S instruction cut by the end of the file\n"},
        MalformedCase{"cut_I", Bytes({0xFB, 1, 2}), "error: malformed at offset 0000: I instruction cut by the end of the file\n"},
        MalformedCase{"cut_G", Bytes({0xFC}), "error: malformed at offset 0000: G instruction cut by the end of the file\n"},
        MalformedCase{"cut_B", Bytes({0xF9}), "error: malformed at offset 0000: B instruction cut by the end of the file\n"},
        MalformedCase{"cut_V", Bytes({0xFD, 1}), "error: malformed at offset 0000: V instruction cut by the end of the file\n"},
        MalformedCase{"cut_MV", Bytes({0xFA}), "error: malformed at offset 0000: MV instruction cut by the end of the file\n"},
        MalformedCase{"MV_with_cut_V", Bytes({0xFA, 0xFD, 1, 2}), "error: malformed at offset 0000: MV instruction cut by the end of the file\n"},
        MalformedCase{"MV_without_V", Bytes({0xFA, 0xF7, 1, 2, 3}),
                      "error: malformed at offset 0000: MV instruction not followed by a V instruction (byte F7)\n"},
        MalformedCase{"unknown_byte", Bytes({0xFF, 0x41, 0xFF}), "error: malformed at offset 0001: byte 41 starts no instruction\n"}),
    [](const ::testing::TestParamInfo<MalformedCase>& test) { return std::string(test.param.title); });

TEST(HtxDump, FileWithoutTheFinalLabelMarkIsNoted) {
  int status = -1;
  const std::string dump = Dump(Bytes({0xF7}), &status);
  EXPECT_EQ(status, 0);
  EXPECT_NE(dump.find("\nwarning: the file does not end with a label mark\n"), std::string::npos);
  EXPECT_NE(Dump("").find("T.HTX: 0 bytes\n"), std::string::npos);
}

TEST(HtxDumpProgram, ReadsTheFileAndTellsFailureByItsStatus) {
  ScratchFolder folder;
  folder.Write("GOOD.HTX", Bytes({0xF7, 0xFF}));
  folder.Write("CUT.HTX", Bytes({0xF8, 9, 'A'}));
  const auto good = RunProgram(folder, "htxdump", {"good"});
  EXPECT_EQ(good.status, 0);
  EXPECT_NE(good.out.find("good.HTX: 2 bytes\n"), std::string::npos);
  EXPECT_NE(good.out.find("  R\n"), std::string::npos);
  const auto cut = RunProgram(folder, "htxdump", {"CUT.HTX"});
  EXPECT_EQ(cut.status, 1);
  EXPECT_NE(cut.out.find("error: malformed at offset 0000"), std::string::npos);
  const auto missing = RunProgram(folder, "htxdump", {"NONE"});
  EXPECT_EQ(missing.status, 1);
  EXPECT_EQ(missing.out, "htxdump: cannot open NONE.HTX\n");
  EXPECT_EQ(RunProgram(folder, "htxdump", {}).status, 2);
}

}  // namespace
}  // namespace korvena::hypertext
