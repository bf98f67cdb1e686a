// The tekstor program: how it names its files, what it prints around the
// compilation, and what it leaves on disk. These run the real binary.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <filesystem>

#include "compile_helpers.h"
#include "file_naming.h"
#include "program_runner.h"

namespace korvena::hypertext {
namespace {

using testing::Bytes;
using testing::Lines;
using testing::Listing;
using testing::ProgramRun;
using testing::RunProgram;

const std::string kBanner =
    "KORVENA.2010 HyperTeXt Compiler 3.0.0\r\n"
    "Template compiler of the Korvena fiscal printer, (c) Korvena\r\n"
    "\r\n";

const std::string kUsage =
    "  Usage:  TEKSTOR <DTX file>[.DTX] [<HTX file>[.HTX]]\r\n"
    "\r\n"
    "     DTX file = Hypertext source file\r\n"
    "     HTX file = Compiled Hypertext file\r\n"
    "\r\n";

const std::string kGoodSource = Lines({"L, DP_table", "T, \"AB\"", "R"});
const std::string kGoodHtx = Bytes({0xFF, 0xF8, 2, 'A', 'B', 0xF7, 0xFF});

struct NamingCase {
  std::vector<std::string> arguments;
  std::string source;
  std::string destination;
};

class FileNaming : public ::testing::TestWithParam<NamingCase> {};

TEST_P(FileNaming, DerivesSourceAndDestination) {
  const FileNames names = DeriveFileNames(GetParam().arguments);
  EXPECT_EQ(names.source, GetParam().source);
  EXPECT_EQ(names.destination, GetParam().destination);
}

INSTANTIATE_TEST_SUITE_P(
    Tekstor, FileNaming,
    ::testing::Values(NamingCase{{"LISTOK"}, "LISTOK.DTX", "LISTOK.HTX"},
                      NamingCase{{"LISTOK.TXT"}, "LISTOK.TXT", "LISTOK.HTX"},
                      NamingCase{{"A.B.C"}, "A.B.C", "A.HTX"}, NamingCase{{"LISTOK", "OUT"}, "LISTOK.DTX", "OUT.HTX"},
                      NamingCase{{"LISTOK", "OUT.BIN"}, "LISTOK.DTX", "OUT.BIN"},
                      NamingCase{{"LISTOK", "OUT", "ignored"}, "LISTOK.DTX", "OUT.HTX"},
                      NamingCase{{"V1.0\\LISTOK"}, "V1.0\\LISTOK", "V1.HTX"},
                      NamingCase{{"V1.0/LISTOK"}, "V1.0/LISTOK", "V1.HTX"},
                      NamingCase{{"dir/LISTOK"}, "dir/LISTOK.DTX", "dir/LISTOK.HTX"},
                      NamingCase{{".hidden"}, ".hidden", ".HTX"}));

struct ProgramCase {
  std::vector<std::string> arguments;
  std::string sourceFile;  // where the good source is put
  std::string summaryName;
  std::string written;     // the HTX file expected
};

class ProgramNaming : public ::testing::TestWithParam<ProgramCase> {};

TEST_P(ProgramNaming, CompilesTheRightFileIntoTheRightFile) {
  const ProgramCase& p = GetParam();
  ScratchFolder folder;
  folder.Write(p.sourceFile, kGoodSource);
  const ProgramRun run = RunProgram(folder, "tekstor", p.arguments);
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(run.out, kBanner + p.summaryName + "(4)\r\n\r\n");
  EXPECT_EQ(folder.Read(p.written), kGoodHtx);
}

INSTANTIATE_TEST_SUITE_P(
    Tekstor, ProgramNaming,
    ::testing::Values(ProgramCase{{"LISTOK"}, "LISTOK.DTX", "LISTOK.DTX", "LISTOK.HTX"},
                      ProgramCase{{"LISTOK.TXT"}, "LISTOK.TXT", "LISTOK.TXT", "LISTOK.HTX"},
                      ProgramCase{{"A.B.C"}, "A.B.C", "A.B.C", "A.HTX"},
                      ProgramCase{{"LISTOK", "OUT"}, "LISTOK.DTX", "LISTOK.DTX", "OUT.HTX"},
                      ProgramCase{{"LISTOK", "OUT.BIN"}, "LISTOK.DTX", "LISTOK.DTX", "OUT.BIN"},
                      ProgramCase{{"V1.0/LISTOK"}, "V1.0/LISTOK", "V1.0/LISTOK", "V1.HTX"},
                      // backslashes separate folders, and case does not matter
                      ProgramCase{{"V1.0\\LISTOK"}, "V1.0/LISTOK", "V1.0\\LISTOK", "V1.HTX"},
                      ProgramCase{{"LISTOK"}, "listok.dtx", "LISTOK.DTX", "LISTOK.HTX"},
                      ProgramCase{{"Sub/Listok"}, "SUB/LISTOK.dtx", "Sub/Listok.DTX", "SUB/Listok.HTX"}));

TEST(TekstorProgram, WithoutArgumentsOrWithAHelpSwitchPrintsTheUsage) {
  ScratchFolder folder;
  for (const char* help : {"-?", "/?", "-h", "/h", "-H", "/H"}) {
    const ProgramRun run = RunProgram(folder, "tekstor", {help});
    EXPECT_EQ(run.out, kBanner + kUsage) << help;
    EXPECT_EQ(run.status, 0);
  }
  const ProgramRun bare = RunProgram(folder, "tekstor", {});
  EXPECT_EQ(bare.out, kBanner + kUsage);
  EXPECT_EQ(bare.status, 0);
  EXPECT_EQ(Listing(folder), "");
}

struct UnopenableCase {
  const char* title;
  void (*prepare)(const ScratchFolder& folder);  // puts LISTOK.DTX in place, or not
};

void PrintTo(const UnopenableCase& c, std::ostream* out) { *out << c.title; }

class UnopenableSource : public ::testing::TestWithParam<UnopenableCase> {};

TEST_P(UnopenableSource, IsReportedAloneAndNothingIsWritten) {
  ScratchFolder folder;
  GetParam().prepare(folder);
  const std::string namesBefore = Listing(folder);
  const ProgramRun run = RunProgram(folder, "tekstor", {"LISTOK"});
  EXPECT_EQ(run.out, kBanner + "Can not open source file.\r\n");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(Listing(folder), namesBefore);
}

INSTANTIATE_TEST_SUITE_P(
    TekstorProgram, UnopenableSource,
    ::testing::Values(
        UnopenableCase{"missing", [](const ScratchFolder&) {}},
        UnopenableCase{"folder", [](const ScratchFolder& f) { f.Write("LISTOK.DTX/x", ""); }},
        // nobody will ever write into it: reading must not wait for a writer
        UnopenableCase{"fifo", [](const ScratchFolder& f) { mkfifo((f / "LISTOK.DTX").c_str(), 0600); }}),
    [](const ::testing::TestParamInfo<UnopenableCase>& test) { return std::string(test.param.title); });

TEST(TekstorProgram, SourceWithAnErrorLeavesAnOlderFileUntouched) {
  ScratchFolder folder;
  folder.Write("LISTOK.DTX", Lines({"L, DP_table", "B, 300"}));
  folder.Write("LISTOK.HTX", "older");
  struct stat before {};
  stat((folder / "LISTOK.HTX").c_str(), &before);
  const ProgramRun run = RunProgram(folder, "tekstor", {"LISTOK"});
  EXPECT_EQ(run.out, kBanner +
                         "LISTOK.DTX(2): Error 1: Number too long.\r\nB, 300\r\n     ^\r\n"
                         "LISTOK.DTX(2): Error 25: Error in expression.\r\nB, 300\r\n     ^\r\n");
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(folder.Read("LISTOK.HTX"), "older");
  struct stat after {};
  stat((folder / "LISTOK.HTX").c_str(), &after);
  EXPECT_EQ(before.st_mtim.tv_nsec, after.st_mtim.tv_nsec);
  EXPECT_EQ(before.st_ino, after.st_ino);
  EXPECT_EQ(Listing(folder), "LISTOK.DTX LISTOK.HTX");
}

TEST(TekstorProgram, ErrorInTheCheckPassComesAfterTheSummaryAndWritesNothing) {
  ScratchFolder folder;
  folder.Write("LISTOK.DTX", Lines({"G, Nowhere"}));
  folder.Write("LISTOK.HTX", "older");
  const ProgramRun run = RunProgram(folder, "tekstor", {"LISTOK"});
  EXPECT_EQ(run.out, kBanner + "LISTOK.DTX(2)\r\n\r\nLISTOK.DTX: Error 12: Unknown identifier. (Nowhere)\r\n");
  EXPECT_EQ(folder.Read("LISTOK.HTX"), "older");
}

TEST(TekstorProgram, SuccessReplacesAnOlderFileWholeAndLeavesNoScratchFile) {
  ScratchFolder folder;
  folder.Write("LISTOK.DTX", kGoodSource);
  folder.Write("listok.htx", std::string(1000, 'x'));
  RunProgram(folder, "tekstor", {"LISTOK"});
  // The older file is found without regard to case and replaced.
  EXPECT_EQ(folder.Read("listok.htx"), kGoodHtx);
  EXPECT_EQ(Listing(folder), "LISTOK.DTX listok.htx");
}

TEST(TekstorProgram, DestinationThatCannotBeCreated) {
  ScratchFolder folder;
  folder.Write("LISTOK.DTX", kGoodSource);
  const ProgramRun run = RunProgram(folder, "tekstor", {"LISTOK", "missing/OUT"});
  EXPECT_EQ(run.out, kBanner + "LISTOK.DTX(4)\r\n\r\n\rCan not create destination file.\r\n");
  EXPECT_EQ(run.status, 0);

  folder.Write("BUSY.HTX/x", "");  // a folder where the file should go
  const ProgramRun busy = RunProgram(folder, "tekstor", {"LISTOK", "BUSY"});
  EXPECT_EQ(busy.out, kBanner + "LISTOK.DTX(4)\r\n\r\n\rCan not create destination file.\r\n");
  EXPECT_EQ(Listing(folder), "BUSY.HTX LISTOK.DTX");
}

enum class Link { kNone, kHard, kSymbolic };

struct SourceAsDestinationCase {
  const char* title;
  std::string sourceFile;  // where the good source is put
  Link link;               // a second name made for sourceFile before the run
  std::string linkName;
  std::vector<std::string> arguments;
};

void PrintTo(const SourceAsDestinationCase& c, std::ostream* out) { *out << c.title; }

class SourceAsDestination : public ::testing::TestWithParam<SourceAsDestinationCase> {};

TEST_P(SourceAsDestination, IsRefusedAndTheSourceSurvives) {
  const SourceAsDestinationCase& p = GetParam();
  ScratchFolder folder;
  folder.Write(p.sourceFile, kGoodSource);
  if (p.link == Link::kHard) std::filesystem::create_hard_link(folder / p.sourceFile, folder / p.linkName);
  if (p.link == Link::kSymbolic) std::filesystem::create_symlink(p.sourceFile, folder / p.linkName);
  const ProgramRun run = RunProgram(folder, "tekstor", p.arguments);
  // The compilation and its summary come first, as for any other destination.
  const std::string refusal = "(4)\r\n\r\n\rCan not create destination file.\r\n";
  ASSERT_GE(run.out.size(), refusal.size()) << run.out;
  EXPECT_EQ(run.out.substr(run.out.size() - refusal.size()), refusal);
  EXPECT_EQ(run.status, 0);
  EXPECT_EQ(folder.Read(p.sourceFile), kGoodSource);
}

INSTANTIATE_TEST_SUITE_P(
    TekstorProgram, SourceAsDestination,
    ::testing::Values(
        // the destination derived from MINE.HTX is MINE.HTX
        SourceAsDestinationCase{"derived_name", "MINE.HTX", Link::kNone, "", {"MINE.HTX"}},
        SourceAsDestinationCase{"same_name", "S.DTX", Link::kNone, "", {"S.DTX", "S.DTX"}},
        SourceAsDestinationCase{"other_letter_case", "low.dtx", Link::kNone, "", {"low.dtx", "LOW.DTX"}},
        SourceAsDestinationCase{"hard_link", "S.DTX", Link::kHard, "H.HTX", {"S", "H"}},
        SourceAsDestinationCase{"symbolic_link_as_destination", "S.DTX", Link::kSymbolic, "L.HTX", {"S", "L"}},
        SourceAsDestinationCase{"symbolic_link_as_source", "REAL.HTX", Link::kSymbolic, "S.DTX", {"S", "REAL"}}),
    [](const ::testing::TestParamInfo<SourceAsDestinationCase>& test) { return std::string(test.param.title); });

TEST(TekstorProgram, SourceLongerThanTheBufferIsRefused) {
  ScratchFolder folder;
  folder.Write("BIG.DTX", std::string(65529, '\n'));
  folder.Write("EXACT.DTX", std::string(65528, ';'));
  EXPECT_EQ(RunProgram(folder, "tekstor", {"BIG"}).out, kBanner + "Source file too long.\r\n");
  EXPECT_FALSE(folder.Has("BIG.HTX"));
  // A single line that long is compiled, and refused for its length.
  EXPECT_EQ(RunProgram(folder, "tekstor", {"EXACT"}).out.substr(kBanner.size(), 40),
            "EXACT.DTX(1): Error 18: Line too long.\r\n");
}

}  // namespace
}  // namespace korvena::hypertext
