// The real kalibro-cli through the real port library to the real emulator
// on a pseudo-terminal, one subcommand a row: its exit status, the fields
// of its --json answer, and what the device holds afterwards, read back by
// a second call, by the files it wrote or by the journal of what it printed.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdio>
#include <nlohmann/json.hpp>

#include "korvena/emulator/emu_process.h"
#include "korvena/emulator/program_run.h"
#include "korvena/platform/local_date.h"
#include "korvena/platform/scratch_folder.h"

namespace korvena::cli {
namespace {

using Json = nlohmann::json;
// JSON pointer -> the value found there.
using Fields = std::vector<std::pair<std::string, Json>>;

constexpr int kCom = 3;
constexpr int kMissingCom = 9;  // its KORVPORT_COM9 names no device
constexpr const char* kPassword = "846";
// A small Timeout keeps a silent device from holding up the tests.
constexpr const char* kSettings = "[Setting]\r\nTimeout=100\r\n";

struct FileSpec {
  std::string name;
  std::string bytes;
  mode_t mode = 0600;
};

struct Row {
  const char* name = "";
  std::vector<std::string> arguments = {};  // after --json, --config and -c
  int exit = 0;
  Fields fields = {};
  std::string fragment = {};  // the output holds it
  std::vector<std::string> readBack = {};
  Fields readBackFields = {};
  std::vector<FileSpec> files = {};                                  // written first
  std::vector<std::pair<std::string, std::string>> filesAfter = {};  // each file holds its fragment
  std::vector<std::string> emulator = {};                            // korvena-emu's options besides --password
  std::vector<std::string> before = {};                              // a call the row needs first
  std::string journal = {};                                          // the printed documents hold it
  bool json = true;
  int com = kCom;
  friend std::ostream& operator<<(std::ostream& os, const Row& row) { return os << row.name; }
};

std::string Today() {
  const LocalDate today = CurrentLocalDate();
  char text[16];
  std::snprintf(text, sizeof text, "%04d%02d%02d", today.year, today.month, today.day);
  return text;
}

const std::string kReceipt =
    R"({"mode": "A", "lines": [{"type": "item", "text": "Rožok", "quantity": "2.000", "unitPrice": "0.15", "vat": "B"},
         {"type": "item", "text": "Mlieko", "quantity": "1", "unitPrice": "1.09", "vat": "D"}],
        "payments": [{"type": "cash", "amount": "5.00"}]})";
const std::string kShortReceipt =
    R"({"mode": "B", "lines": [{"type": "item", "text": "Rožok", "quantity": "1", "unitPrice": "9.99", "vat": "A"}],
        "payments": [{"type": "card", "amount": "5.00"}]})";
// A texts file as the service program writes it: Windows-1250, CR LF.
const std::string kShopTexts =
    "DIC=2029999999\r\nHL1=Obchod Nov\xFD\r\nHL2=Mostov\xE1 3\r\nTL1=\xCF"
    "akujeme\r\n";
const std::string kTemplate(203, 'T');

std::vector<std::string> Ten(const std::string& first, const std::string& last) {
  return {first, "", "", "", "", "", "", "", "", last};
}
std::vector<std::string> With(std::vector<std::string> head, const std::vector<std::string>& tail) {
  head.insert(head.end(), tail.begin(), tail.end());
  return head;
}

const Row kRows[] = {
    {.name = "status",
     .arguments = {"status"},
     .fields = {{"/versionText", "KORVENA.2010 v13.022 SK"}, {"/registerFlags", "4145"}, {"/netTurnover", "14884.55"}}},
    {.name = "status_as_a_table",
     .arguments = {"status"},
     .fragment = "version text             KORVENA.2010 v13.022 SK\n",
     .json = false},
    {.name = "info_by_number_and_name",
     .arguments = {"info", "9", "FOOTERLINE1"},
     .fields = {{"/info/0/value", "31234567"}, {"/info/1/number", 130}, {"/info/1/value", "Ďakujeme za nákup"}}},
    {.name = "info_unknown_name", .arguments = {"info", "nothing"}, .exit = 2, .fields = {{"/error/code", "usage"}}},
    {.name = "header_set_in_code_page_852",
     .arguments = With({"-p", kPassword, "header", "set"}, Ten("Potraviny Ťažký", "Žltá 5")),
     .fields = {{"/lines/0", "Potraviny Ťažký"}},
     .readBack = {"header", "show"},
     .readBackFields = {{"/lines/0", "Potraviny Ťažký"}, {"/lines/9", "Žltá 5"}, {"/lines/1", ""}}},
    {.name = "header_refuses_a_character_852_lacks",
     .arguments = With({"-p", kPassword, "header", "set"}, Ten("Cena 5 €", "")),
     .exit = 2,
     .fields = {{"/error/code", "invalid"},
                {"/error/message", "header line 1: the device's code page 852 has no \"€\""}},
     .readBack = {"header", "show"},
     .readBackFields = {{"/lines/0", "Potraviny U Mosta s.r.o."}}},
    {.name = "header_refuses_a_line_too_long",
     .arguments = With({"-p", kPassword, "header", "set"}, Ten(std::string(41, 'x'), "")),
     .exit = 2,
     .fragment = "41 characters, the device takes at most 40"},
    {.name = "footer_set_from_a_texts_file",
     .arguments = {"-p", kPassword, "footer", "set", "--from", "shop.set"},
     .readBack = {"footer", "show"},
     .readBackFields = {{"/lines/0", "Ďakujeme"}, {"/lines/1", ""}},
     .files = {{"shop.set", kShopTexts}}},
    {.name = "identity_set_only_what_is_given",
     .arguments = {"-p", kPassword, "identity", "set", "--dic", "2020000001", "--ico", "44444444"},
     .fields = {{"/dic", "2020000001"}, {"/ico", "44444444"}, {"/dkp", "21234567890123456"}},
     .readBack = {"identity", "show"},
     .readBackFields = {{"/dic", "2020000001"}, {"/icDph", "SK2021234567"}}},
    {.name = "vat_set",
     .arguments = {"-p", kPassword, "vat", "set", "2100", "1000", "500", "0"},
     .readBack = {"vat", "show"},
     .readBackFields = {{"/vat/0/coefficient", 2100}, {"/vat/0/percent", "21.00"}, {"/vat/2/coefficient", 500}}},
    {.name = "vat_out_of_range",
     .arguments = {"-p", kPassword, "vat", "set", "2000", "1000", "10001", "0"},
     .exit = 2,
     .fragment = "K3"},
    {.name = "wrong_password",
     .arguments = {"-p", "111", "vat", "set", "0", "0", "0", "0"},
     .exit = 1,
     .fields = {{"/error/code", "wrong-password"}, {"/error/deviceStatus", 512}},
     .readBack = {"vat", "show"},
     .readBackFields = {{"/vat/0/coefficient", 2000}}},
    {.name = "password_missing",
     .arguments = {"vat", "set", "0", "0", "0", "0"},
     .exit = 2,
     .fragment = "needs the service password"},
    {.name = "password_from_a_file",
     .arguments = {"--password-file", "pw", "vat", "set", "1", "2", "3", "4"},
     .fields = {{"/vat/3/coefficient", 4}},
     .files = {{"pw", "846\r\n"}}},
    {.name = "password_file_open_to_others",
     .arguments = {"--password-file", "pw", "vat", "set", "1", "2", "3", "4"},
     .exit = 4,
     .fields = {{"/error/code", "file"}},
     .files = {{"pw", "846\n", 0644}}},
    {.name = "register_set",
     .arguments = {"-p", kPassword, "register", "set", "T1=1", "testMode=1", "HV=0"},
     .fields = {{"/registerFlags", 4145 + 2 + 65536 - 32}},
     .readBack = {"register", "show"},
     .readBackFields = {{"/registerFlags", 69651}, {"/flags/15/set", true}}},
    {.name = "register_refuses_a_device_flag",
     .arguments = {"-p", kPassword, "register", "set", "serviceDue=1"},
     .exit = 2,
     .fragment = "serviceDue is set by the device alone"},
    {.name = "register_deposit_needs_a_newer_device",
     .arguments = {"-p", kPassword, "register", "set", "AVV=1", "--deposit", "50"},
     .exit = 2,
     .fragment = "cannot be changed on a device of version 13022"},
    {.name = "register_deposit",
     .arguments = {"-p", kPassword, "register", "set", "automaticDeposit=1", "--deposit", "50"},
     .fields = {{"/registerFlags", 4145 + 524288}},
     .readBack = {"info", "66"},
     .readBackFields = {{"/info/0/value", "50.00"}},
     .emulator = {"--info", "1000=13023"}},
    {.name = "commission",
     .arguments = {"-p", kPassword, "commission", "--yes"},
     .fields = {{"/commissioned", true}},
     .readBack = {"register", "show"},
     .readBackFields = {{"/flags/16/name", "commissioned"}, {"/flags/16/set", true}}},
    {.name = "commission_needs_yes", .arguments = {"-p", kPassword, "commission"}, .exit = 2},
    {.name = "currency_set",
     .arguments = {"-p", kPassword, "currency", "set", "4", "GBP", "0.86"},
     .readBack = {"currency", "show"},
     .readBackFields = {{"/currencies/3/symbol", "GBP"},
                        {"/currencies/3/rate", "0.86"},
                        {"/currencies/0/symbol", "EUR"}}},
    {.name = "rounding_set",
     .arguments = {"-p", kPassword, "rounding", "set", "A0.05", "a0.05", "H1", "A0.05", "P10", "A0.10"},
     .readBack = {"rounding", "show"},
     .readBackFields = {{"/rounding/zk", "A0.10"}, {"/rounding/zc", "H1"}}},
    {.name = "rounding_bad_letter",
     .arguments = {"-p", kPassword, "rounding", "set", "A0.05", "A0.05", "X1", "A0.05", "P10", "A0.10"},
     .exit = 2,
     .fragment = "zc must be A, H or P"},
    {.name = "rounding_first_bad_entry_named",
     .arguments = {"-p", kPassword, "rounding", "set", "A", "X1", "H1", "A0.05", "P10", "A0.10"},
     .exit = 2,
     .fragment = "za must be A, H or P"},
    {.name = "password_set",
     .arguments = {"-p", kPassword, "password", "set", "4711"},
     .fields = {{"/passwordChanged", true}},
     .readBack = {"-p", "4711", "vat", "set", "2000", "1000", "0", "0"},
     .readBackFields = {{"/vat/0/coefficient", 2000}}},
    {.name = "texts_save",
     .arguments = {"texts", "save", "saved.set"},
     .fields = {{"/keys", 24}},
     .filesAfter = {{"saved.set", "DKP=21234567890123456\r\nDIC=2021234567\r\n"},
                    {"saved.set", "HL2=Hlavn\xE1 12, 811 01 Bratislava\r\n"}}},
    {.name = "texts_load_configures_a_new_device",
     .arguments = {"-p", kPassword, "texts", "load", "shop.set"},
     .fields = {{"/header/0", "Obchod Nový"},
                {"/header/1", "Mostová 3"},
                {"/header/2", ""},
                {"/footer/0", "Ďakujeme"},
                {"/identity/dic", "2029999999"},
                {"/identity/ico", "31234567"}},
     .files = {{"shop.set", kShopTexts}}},
    {.name = "clock_set",
     .arguments = {"-p", kPassword, "clock", "set", "05.03.2024 09:07:30"},
     .fragment = R"("clock":"05.03.2024 09:07:0)"},
    {.name = "clock_bad_date", .arguments = {"-p", kPassword, "clock", "set", "30.02.2024 09:07:30"}, .exit = 2},
    {.name = "auto_closing_set",
     .arguments = {"-p", kPassword, "auto-closing", "set", "31.12.2024 23:59:30"},
     .fields = {{"/automaticClosing", "31.12.2024 23:59:30"}},
     .readBack = {"auto-closing", "show"},
     .readBackFields = {{"/automaticClosing", "31.12.2024 23:59:30"}}},
    {.name = "line_speed_set",
     .arguments = {"-p", kPassword, "line-speed", "set", "38400", "115200"},
     .fields = {{"/pc", 38400}, {"/inUse", 38400}}},
    {.name = "line_speed_show", .arguments = {"line-speed", "show"}, .fields = {{"/pc", 9600}, {"/internal", 9600}}},
    {.name = "emblem_load",
     .arguments = {"-p", kPassword, "emblem", "load", "4"},
     .readBack = {"info", "172"},
     .readBackFields = {{"/info/0/value", "4"}}},
    {.name = "emblem_unknown_type", .arguments = {"-p", kPassword, "emblem", "load", "2"}, .exit = 2},
    {.name = "zero_operating_memory",
     .arguments = {"-p", kPassword, "zero-operating-memory", "--yes"},
     .readBack = {"info", "netTurnover"},
     .readBackFields = {{"/info/0/value", "0.00"}}},
    {.name = "pair_fiscal_memory",
     .arguments = {"-p", kPassword, "pair-fiscal-memory"},
     .readBack = {"info", "173"},
     .readBackFields = {{"/info/0/value", "1"}}},
    {.name = "send",
     .arguments = {"send", "V;500"},
     .fields = {{"/sent", true}},
     .readBack = {"info", "deposits"},
     .readBackFields = {{"/info/0/value", "2000.00"}}},
    {.name = "send_refused", .arguments = {"send", "DZ;1"}, .exit = 1, .fields = {{"/error/deviceStatus", 1}}},
    {.name = "send_answered_with_data", .arguments = {"send", "IV;1000"}, .fields = {{"/answer", "13022"}}},
    {.name = "htx_upload",
     .arguments = {"-p", kPassword, "htx", "upload", "t.htx"},
     .fields = {{"/loaded", true}, {"/packets", 26}, {"/resends", 1}},
     .files = {{"t.htx", kTemplate}},
     .filesAfter = {{"htx.bin", kTemplate}},
     .emulator = {"--htx-resends", "1"}},
    {.name = "htx_too_large",
     .arguments = {"-p", kPassword, "htx", "upload", "t.htx"},
     .exit = 4,
     .fragment = "larger than 5120 bytes",
     .files = {{"t.htx", std::string(5121, 'T')}}},
    {.name = "fiscal_memory_read",
     .arguments = {"fiscal-memory", "read", "-o", "fm.bin"},
     .fields = {{"/file", "fm.bin"}, {"/bytes", 4096}},
     .filesAfter = {{"fm.bin", ""}},
     .emulator = {"--fiscal-memory", "4096"}},
    {.name = "sd_read_a_day",
     .arguments = {"sd", "read", Today()},
     .fields = {{"/file", Today() + ".tx"}},
     .files = {{"r.json", kReceipt}},
     .filesAfter = {{Today() + ".tx", "Ro\xA7ok"}},
     .before = {"receipt", "r.json"}},
    {.name = "sd_read_an_empty_day",
     .arguments = {"sd", "read", "20200101"},
     .fields = {{"/file", nullptr}, {"/bytes", 0}}},
    {.name = "receipt",
     .arguments = {"receipt", "r.json"},
     .fields = {{"/total", "1.45"},
                {"/change", "3.55"},
                {"/paid/cash", "5.00"},
                {"/linesTaken", 2},
                {"/lastDocument", "1863"}},
     .files = {{"r.json", kReceipt}},
     .journal = "Ro\xA7ok"},
    {.name = "receipt_payments_short",
     .arguments = {"receipt", "r.json"},
     .exit = 2,
     .fragment = "the payments (5.00) do not cover the total 9.99",
     .files = {{"r.json", kShortReceipt}}},
    {.name = "receipt_unknown_field",
     .arguments = {"receipt", "r.json"},
     .exit = 2,
     .fragment = "lines[0].colour: no such field",
     .files = {{"r.json", R"({"mode": "A", "lines": [{"type": "item", "text": "", "quantity": "1", "unitPrice": "1",
                              "vat": "A", "colour": "red"}], "payments": []})"}}},
    {.name = "invoice",
     .arguments = {"invoice", "i.json"},
     .fields = {{"/total", "12.00"}, {"/paid/card", "12.00"}},
     .files = {{"i.json",
                R"({"amount": "12", "text": "Faktúra 17", "payments": [{"type": "card", "amount": "12.00"}]})"}},
     .journal = "Fakt\xA3"
                "ra 17"},
    {.name = "report_running", .arguments = {"report", "running"}, .fields = {{"/report", "running"}}},
    {.name = "report_closing",
     .arguments = {"report", "closing", "--yes"},
     .fields = {{"/documentsAtClosing", "1862"}},
     .readBack = {"report", "interval", "--numbers", "1", "999999"},
     .readBackFields = {{"/report", "interval"}}},
    {.name = "report_interval_without_closings",
     .arguments = {"report", "interval", "--dates", "01.01.2026", "31.12.2026"},
     .exit = 1,
     .fields = {{"/error/code", "refused"}, {"/error/deviceStatus", 1}}},
    {.name = "cash_deposit",
     .arguments = {"cash", "deposit", "12.5"},
     .fields = {{"/deposited", "12.50"}, {"/deposits", "1512.50"}, {"/depositCount", "22"}}},
    {.name = "cash_withdraw_nothing", .arguments = {"cash", "withdraw", "0"}, .exit = 2},
    {.name = "no_device_on_the_port",
     .arguments = {"status"},
     .exit = 3,
     .fields = {{"/error/code", "cannot-open"}},
     .com = kMissingCom},
    {.name = "no_command", .arguments = {}, .exit = 2, .fields = {{"/error/code", "usage"}}},
    {.name = "command_help",
     .arguments = {"vat", "--help"},
     .fragment = "kalibro-cli [OPTIONS] vat set K1 K2 K3 K4\n",
     .json = false},
};

class KalibroCliTest : public ::testing::TestWithParam<Row> {
 protected:
  static void SetUpTestSuite() {
    setenv(("KORVPORT_COM" + std::to_string(kMissingCom)).c_str(), "/nonexistent/tty", 1);
  }

  // kalibro-cli with the test's settings and port before `arguments`.
  emu::ProgramRun Run(const std::vector<std::string>& arguments, bool json, int com) {
    std::vector<std::string> words = {"--config", dir_ / "KvorWxx.ini", "-c", std::to_string(com)};
    if (json) words.insert(words.begin(), "--json");
    words.insert(words.end(), arguments.begin(), arguments.end());
    return emu::RunBuiltProgram("kalibro-cli", words, dir_.path());
  }

  static void ExpectFields(const std::string& output, const Fields& fields, const std::string& call) {
    if (fields.empty()) return;
    const Json answer = Json::parse(output, nullptr, false);
    ASSERT_TRUE(answer.is_object()) << call << ": " << output;
    for (const auto& [pointer, expected] : fields) {
      const Json::json_pointer at(pointer);
      ASSERT_TRUE(answer.contains(at)) << call << ": no " << pointer << " in " << output;
      EXPECT_EQ(answer[at], expected) << call << " " << pointer;
    }
  }

  ScratchFolder dir_;
};

TEST_P(KalibroCliTest, DoesWhatItSaysAndTheDeviceHoldsIt) {
  const Row& row = GetParam();
  dir_.Write("KvorWxx.ini", kSettings);
  for (const FileSpec& file : row.files) chmod(dir_.Write(file.name, file.bytes).c_str(), file.mode);
  std::vector<std::string> options = {"--password", kPassword, "--dump-dir", dir_.path()};
  options.insert(options.end(), row.emulator.begin(), row.emulator.end());
  emu::EmuProcess emulator;
  ASSERT_TRUE(emulator.Start(options, kCom));
  if (!row.before.empty()) {
    ASSERT_EQ(Run(row.before, true, kCom).exitStatus, 0);
  }

  const emu::ProgramRun run = Run(row.arguments, row.json, row.com);
  EXPECT_EQ(run.exitStatus, row.exit) << run.output;
  if (row.json) {
    EXPECT_EQ(std::count(run.output.begin(), run.output.end(), '\n'), 1) << "one JSON object, one line";
  }
  ExpectFields(run.output, row.fields, "the call");
  EXPECT_NE(run.output.find(row.fragment), std::string::npos) << run.output;
  EXPECT_EQ(run.output.find("\"" + std::string(kPassword) + "\""), std::string::npos) << "the password is never shown";

  if (!row.readBack.empty()) {
    const emu::ProgramRun readBack = Run(row.readBack, true, kCom);
    EXPECT_EQ(readBack.exitStatus, 0) << readBack.output;
    ExpectFields(readBack.output, row.readBackFields, "the read-back");
  }
  for (const auto& [name, fragment] : row.filesAfter) {
    ASSERT_TRUE(dir_.Has(name)) << name;
    EXPECT_NE(dir_.Read(name).find(fragment), std::string::npos) << name;
  }
  emulator.Stop();
  EXPECT_NE(emulator.journal().find(row.journal), std::string::npos) << emulator.journal();
}

INSTANTIATE_TEST_SUITE_P(Subcommands, KalibroCliTest, ::testing::ValuesIn(kRows),
                         [](const auto& p) { return std::string(p.param.name); });

}  // namespace
}  // namespace korvena::cli
