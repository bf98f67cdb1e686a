// The service role's tools end to end: raw commands through the worker's
// queue and journal, and the handover of the port to another program.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>

#include "end_to_end_rig.h"
#include "korvena/emulator/program_run.h"
#include "korvena/link/clock.h"
#include "korvena/session/device_session.h"
#include "serial_line_port.h"

namespace korvena::service {
namespace {

using Json = nlohmann::json;

const std::string kCommands = "/v1/devices/COM1/commands";

Json CommandBody(const std::string& command) { return Json{{"command", command}}; }

struct CommandRow {
  std::string body;
  const char* token;
  int status;
  std::string pointer;
  Json value;
};

TEST(ServiceCommands, AnswersQueriesAndSettingsAndRefusesWhatWouldPrint) {
  EndToEndRig rig;
  ASSERT_TRUE(rig.StartDevice());
  ASSERT_TRUE(rig.StartService()) << rig.service.errors();
  const auto command = [](const std::string& text) { return CommandBody(text).dump(); };
  const auto refused = [&](const std::string& text) {
    return CommandRow{command(text), kServiceToken, 422, "/error/code", "refused"};
  };
  // In order: the header line set is read back; every family that prints or moves bulk data is refused.
  const CommandRow rows[] = {
      {command("IV;130"), kServiceToken, 200, "/answer", "Ďakujeme za nákup"},
      {command("HL;0;0;Potraviny Ťažký"), kServiceToken, 200, "/answer", "0"},
      {command("IV;120"), kServiceToken, 200, "/answer", "Potraviny Ťažký"},
      refused("S;0"), refused("F;1.00;x"), refused("L;1;1.00;A;x"), refused("LZ;1;0.01;A;x"), refused("K;1.00"),
      refused("KF"), refused("V;10.00"), refused("DZ"), refused("DX"), refused("MIP;1;2"), refused("C"),
      refused("CDDM;1;1;2024;2;1;2024"), refused("GETLDX"), refused("READSD;20240101"), refused("READFP;"),
      refused("STHTX;846;0;0000000000000000;0"), refused("STBRATE;0;6"), refused("s;0"),
      {command("IV;1\r"), kServiceToken, 422, "/error/code", "invalid"},
      {command("HL;0;0;Cena 5 €"), kServiceToken, 422, "/error/message",
       "command: the device's code page 852 has no \"€\""},
      {R"({"command": "IV;5", "wait": true})", kServiceToken, 422, "/error/code", "invalid"},
      {command("IV;5"), kTillToken, 403, "/error/code", "forbidden"},
  };
  int n = 0;
  for (const CommandRow& row : rows) {
    const HttpAnswer answer = rig.Post(kCommands, row.body, "c" + std::to_string(++n), row.token);
    EXPECT_EQ(answer.status, row.status) << row.body << ": " << answer.body << answer.failure;
    const Json body = answer.Json();
    const Json::json_pointer pointer(row.pointer);
    ASSERT_TRUE(body.contains(pointer)) << row.body << ": " << answer.body;
    EXPECT_EQ(body[pointer], row.value) << row.body;
  }
  EXPECT_EQ(rig.Post(kCommands, command("IV;5"), "", kServiceToken).status, 400) << "no Idempotency-Key";
  // The coefficients a setting changed are read again before the next receipt is checked against them.
  EXPECT_EQ(rig.Post(kCommands, command("STKDPH;0;2000;1500;500;0"), "k", kServiceToken).Json()["answer"], "0");
  EXPECT_EQ(rig.Get("/v1/devices/COM1/status").Json()["vatCoefficient2"], "1500");
  // The retry gets the stored answer; the frame went to the device once.
  const HttpAnswer retry = rig.Post(kCommands, command("IV;130"), "c1", kServiceToken);
  EXPECT_EQ(retry.status, 200);
  EXPECT_EQ(retry.Json()["answer"], "Ďakujeme za nákup");
  EXPECT_EQ(rig.Post(kCommands, command("IV;131"), "c1", kServiceToken).Json()["error"]["code"], "key-reused");
  // A command's job (it may hold the service password) is the service role's, whichever way a till asks.
  EXPECT_EQ(rig.Get("/v1/jobs/c1").status, 403);
  EXPECT_EQ(rig.Post("/v1/jobs/c1/cancel", "").status, 403);
  EXPECT_EQ(rig.Post("/v1/devices/COM1/receipts", command("IV;130"), "c1").Json()["error"]["code"], "key-reused");
  EXPECT_EQ(rig.Get("/v1/jobs/c1", kServiceToken).Json()["state"], "done");
  rig.service.Stop();
  EXPECT_EQ(rig.JournalFrames("c1").size(), 1u);
  EXPECT_TRUE(rig.JournalFrames("c4").empty()) << "a refused command is no job";
  EXPECT_EQ(PrintedReceipts(rig.device.journal()).size(), 0u) << rig.device.journal();
}

TEST(ServiceSettings, WriteWithTheConfiguredPasswordAndReadBack) {
  EndToEndRig rig;
  ASSERT_TRUE(rig.StartDevice({"--password", "4711"}));
  const std::string config = rig.folder.Write("service.conf", "service-password = 4711\n");
  chmod(config.c_str(), 0600);
  ASSERT_TRUE(rig.StartService({"--config", config})) << rig.service.errors();
  const std::string url = "/v1/devices/COM1/settings/";
  // In order; each answer is what the device holds afterwards.
  const struct {
    std::string setting, body;
    const char* token;
    int status;
    std::string pointer;
    Json value;
  } rows[] = {
      {"header", R"({"lines": ["Potraviny Ťažký", "Hlavná 12"]})", kServiceToken, 200, "/lines/0", "Potraviny Ťažký"},
      {"header", R"({"lines": ["x"]})", kServiceToken, 200, "/lines/1", ""},
      {"footer", R"({"lines": ["Ďakujeme"]})", kServiceToken, 200, "/lines/0", "Ďakujeme"},
      {"identity", R"({"dic": "2029999999"})", kServiceToken, 200, "/dic", "2029999999"},
      {"identity", R"({"dic": "2029999999"})", kServiceToken, 200, "/ico", "31234567"},
      {"vat", R"({"coefficients": [2300, 1000, 500, 0]})", kServiceToken, 200, "/coefficients/0", "2300"},
      {"clock", R"({"time": "2026-12-08T09:15"})", kServiceToken, 200, "/clock", "08.12.2026 09:15:00"},
      {"clock", R"({"time": "now"})", kTillToken, 403, "/error/code", "forbidden"},
      {"clock", R"({"time": "2026-02-29T09:15"})", kServiceToken, 422, "/error/message",
       "time: there is no day 2026-02-29"},
      {"header", R"({"lines": ["Cena 5 €"]})", kServiceToken, 422, "/error/message",
       "lines[0]: the device's code page 852 has no \"€\""},
      {"header", R"({"lines": ["1","2","3","4","5","6","7","8","9","10","11"]})", kServiceToken, 422, "/error/code",
       "invalid"},
      {"identity", R"({"dic": ""})", kServiceToken, 422, "/error/message", "dic cannot be empty"},
      {"vat", R"({"coefficients": [2300, 1000]})", kServiceToken, 422, "/error/code", "invalid"},
      {"colour", R"({})", kServiceToken, 404, "/error/code", "not-found"},
  };
  int n = 0;
  for (const auto& row : rows) {
    const HttpAnswer answer = rig.Post(url + row.setting, row.body, "s" + std::to_string(++n), row.token);
    EXPECT_EQ(answer.status, row.status) << row.setting << " " << row.body << ": " << answer.body << answer.failure;
    const Json body = answer.Json();
    const Json::json_pointer pointer(row.pointer);
    ASSERT_TRUE(body.contains(pointer)) << row.setting << ": " << answer.body;
    EXPECT_EQ(body[pointer], row.value) << row.setting << " " << row.body;
  }
  // The new coefficients hold for the receipts at once.
  EXPECT_EQ(rig.Get("/v1/devices/COM1/status").Json()["vatCoefficient1"], "2300");
  EXPECT_EQ(rig.Get("/v1/jobs/s1").status, 403) << "a setting's job is the service role's";
  EXPECT_EQ(rig.service.Stop(), 0);
  for (const FrameRecord& frame : rig.JournalFrames("s1"))
    EXPECT_EQ(frame.frame.find("4711"), std::string::npos) << "the journal keeps no password";

  // A wrong password fails the job, and without one settings are refused at once.
  const std::string wrong = rig.folder.Write("wrong.conf", "service-password = 1234\n");
  chmod(wrong.c_str(), 0600);
  ASSERT_TRUE(rig.StartService({"--config", wrong})) << rig.service.errors();
  EXPECT_EQ(rig.Post(url + "clock", R"({"time": "now"})", "w1", kServiceToken).Json()["error"]["code"],
            "wrong-password");
  EXPECT_EQ(rig.service.Stop(), 0);
  ASSERT_TRUE(rig.StartService()) << rig.service.errors();
  EXPECT_EQ(rig.Post(url + "clock", R"({"time": "now"})", "w2", kServiceToken).Json()["error"]["code"], "refused");
}

TEST(ServiceCommands, ACommandCutByACrashIsNeverSentAgain) {
  // Before the send or after the answer, the journal holds the frame's intent alone: it may have gone out.
  for (const std::string point : {"before-send", "answered"}) {
    SCOPED_TRACE(point);
    EndToEndRig rig;
    ASSERT_TRUE(rig.StartDevice());
    ASSERT_TRUE(rig.StartService({}, "korvena-service-crashing", {"KORVENA_SERVICE_CRASH=command:" + point}))
        << rig.service.errors();
    const std::string body = CommandBody("HL;0;1;Po havarii").dump();
    EXPECT_EQ(rig.Post(kCommands, body, "x1", kServiceToken).status, 0) << "it died";
    ASSERT_TRUE(rig.service.WaitForEnd(10000)) << rig.service.errors();
    ASSERT_TRUE(rig.StartService()) << rig.service.errors();
    const HttpAnswer retry = rig.Post(kCommands, body, "x1", kServiceToken);
    EXPECT_EQ(retry.status, 422) << retry.body;
    EXPECT_EQ(retry.Json()["error"]["code"], "answer-lost") << retry.body;
    rig.service.Stop();
    EXPECT_EQ(rig.JournalFrames("x1").size(), 1u);
  }
}

// A receipt printed at the device by another program, frame by frame; its answers.
std::vector<std::string> ByHand(const std::vector<std::string>& commands) {
  SerialLinePort port;
  SystemClock clock;
  session::DeviceSession session(port, clock);
  if (!session.Connect()) return {};
  std::vector<std::string> answers;
  for (const std::string& command : commands) answers.push_back(session.Exchange("\x1b;" + command + "\r", 5000));
  session.Close();
  return answers;
}

TEST(ServiceHandover, HoldsReceiptsWhileAnotherProgramHasThePortAndReadsTheCountersAfresh) {
  EndToEndRig rig;
  // The third K is the service's first after the handover: the device drops it unheard, so the
  // service must settle it against counters read after the receipt printed by hand.
  ASSERT_TRUE(rig.StartDevice({"--deaf-after", "3", "--fault-frames", "K", "--fault-for", "3000"}));
  ASSERT_TRUE(rig.StartService({"--wait-limit", "0"})) << rig.service.errors();
  ASSERT_EQ(rig.PostUntilSettled(OneItemReceipt("Chlieb", "1.20", "2.00"), "h1").status, 200);

  EXPECT_EQ(rig.Post("/v1/devices/COM1/pause", "", "", kTillToken).status, 403);
  HttpAnswer paused = rig.Post("/v1/devices/COM1/pause", "", "", kServiceToken);
  EXPECT_EQ(paused.status, 200) << paused.body;
  EXPECT_TRUE(rig.WaitForDevice("paused"));
  EXPECT_EQ(rig.Post("/v1/devices/COM1/pause", "", "", kServiceToken).Json()["state"], "paused") << "harmless";

  const HttpAnswer held = rig.Post("/v1/devices/COM1/receipts", OneItemReceipt("Mlieko", "0.89", "1.00"), "h2");
  EXPECT_EQ(held.status, 202) << held.body;
  EXPECT_EQ(rig.Get("/v1/jobs/h2").Json()["state"], "accepted");

  // Another program has the port meanwhile: the service program, then a receipt by hand.
  const std::string cli = emu::EmuProcess::BuildDir() + "/bin/kalibro-cli";
  if (std::filesystem::exists(cli)) {
    ScratchFolder folder;
    folder.Write("KvorWxx.ini", "[Setting]\r\nTimeout=100\r\n");
    const emu::ProgramRun run =
        emu::RunBuiltProgram("kalibro-cli", {"--json", "--config", folder / "KvorWxx.ini", "-c", "1", "status"},
                             folder.path());
    EXPECT_EQ(run.exitStatus, 0) << run.output;
    EXPECT_NE(run.output.find("KORVENA.2010"), std::string::npos) << run.output;
  }
  const std::vector<std::string> answers = ByHand({"S;0", "L;1;0.50;A;Rucne", "K;0.50"});
  EXPECT_EQ(answers, (std::vector<std::string>{"0", "0", "0"}));

  const HttpAnswer resumed = rig.Post("/v1/devices/COM1/resume", "", "", kServiceToken);
  EXPECT_EQ(resumed.status, 200) << resumed.body;
  EXPECT_NE(resumed.Json()["state"], "paused") << resumed.body;
  const HttpAnswer done = rig.PostUntilSettled(OneItemReceipt("Mlieko", "0.89", "1.00"), "h2");
  EXPECT_EQ(done.status, 200) << done.body << done.failure;
  EXPECT_EQ(rig.Post("/v1/devices/COM1/resume", "", "", kServiceToken).Json()["state"], "ready") << "harmless";

  const std::vector<PrintedReceipt> printed = PrintedReceipts(rig.device.journal());
  ASSERT_EQ(printed.size(), 3u) << rig.device.journal();
  for (const PrintedReceipt& receipt : printed) EXPECT_EQ(receipt.totals.size(), 1u) << "closed once";
  EXPECT_EQ(done.Json()["documentNumber"], printed.back().number);
  EXPECT_NE(printed.back().lines.size(), 0u);
}

}  // namespace
}  // namespace korvena::service
