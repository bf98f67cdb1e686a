// The crash sweep: a three-line receipt is cut off at each of its frames,
// once by the service dying there (the crashing test build, SIGKILL at the
// frame's before-send, sent or answered point) and once by the device going
// mute or deaf on it. Whatever the cut, the till retrying its key must end
// with the receipt printed exactly once, with its total, and the job done;
// or, where no exchange can tell what the device did, the job unknown and
// the device blocked, never a second document.
#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "end_to_end_rig.h"

namespace korvena::service {
namespace {

using Json = nlohmann::json;

// Three items of distinct prices: a line lost or taken twice shows in the
// total, and every line moves the total by more than a cent, so the card
// payment probe can tell each one.
const std::vector<std::pair<std::string, std::string>> kItems = {
    {"Chlieb", "1.37"}, {"Maslo", "2.49"}, {"Syr", "4.15"}};
constexpr const char* kTotal = "8.01";
constexpr const char* kChange = "1.99";
constexpr const char* kUrl = "/v1/devices/COM1/receipts";

enum class Outcome { kDone, kUnknown };

std::string Trace(EndToEndRig& rig, const std::string& key) {
  return "\n--- job ---\n" + rig.Get("/v1/jobs/" + key).body + "\n--- device journal ---\n" + rig.device.journal() +
         "--- service ---\n" + rig.service.errors();
}

// What the till got and what the device printed, against the row's outcome;
// and that the cut fell where the row says: the journal's first `frame` of
// the job was left as `cut` ("intent" by a crash, "silent" by the device).
void ExpectSettled(EndToEndRig& rig, const std::string& key, const HttpAnswer& answer, Outcome outcome,
                   const std::string& frame, const std::string& cut) {
  const std::vector<PrintedReceipt> printed = PrintedReceipts(rig.device.journal());
  const Json job = rig.Get("/v1/jobs/" + key).Json();
  const std::string trace = Trace(rig, key);
  EXPECT_EQ(rig.service.Stop(), 0) << rig.service.errors();
  std::string frames;
  std::string outcomeOfCut;
  for (const FrameRecord& f : rig.JournalFrames(key)) {
    frames += std::to_string(f.n) + " " + f.purpose + " " + f.outcome + "\n";
    if (f.purpose == frame && outcomeOfCut.empty()) outcomeOfCut = f.outcome;
  }
  EXPECT_EQ(outcomeOfCut, cut) << "the cut fell on " << frame << "\n" << frames;
  if (outcome == Outcome::kDone) {
    EXPECT_EQ(answer.status, 200) << answer.body << answer.failure << trace;
    EXPECT_EQ(answer.Json()["total"], kTotal) << answer.body;
    EXPECT_EQ(answer.Json()["change"], kChange) << answer.body;
    EXPECT_EQ(job["state"], "done") << trace;
    ASSERT_EQ(printed.size(), 1u) << "printed exactly once" << trace;
    EXPECT_EQ(printed[0].totals, std::vector<std::string>{kTotal}) << trace;
    EXPECT_EQ(answer.Json()["documentNumber"], printed[0].number) << answer.body;
    return;
  }
  EXPECT_EQ(answer.status, 409) << answer.body << answer.failure << trace;
  EXPECT_EQ(job["state"], "unknown") << trace;
  EXPECT_LE(printed.size(), 1u) << "never a second document" << trace;
  for (const PrintedReceipt& receipt : printed) EXPECT_LE(receipt.totals.size(), 1u) << trace;
}

// --- The service dies at a frame's point and a normal one takes over. ---

struct CrashCase {
  const char* frame;  // the purpose receipt_run.cpp gives the frame
  const char* point;  // before-send, sent, answered
  Outcome outcome;
  const char* why;  // why the outcome, for a row that is not simply done
};

void PrintTo(const CrashCase& c, std::ostream* out) { *out << c.frame << ":" << c.point; }

class CrashSweep : public ::testing::TestWithParam<CrashCase> {};

TEST_P(CrashSweep, TheRetriedReceiptPrintsExactlyOnce) {
  const CrashCase& c = GetParam();
  SCOPED_TRACE(std::string("expected because: ") + (*c.why != '\0' ? c.why : "every frame is told"));
  const std::string crash = std::string(c.frame) + ":" + c.point;
  const std::string key = "crash-" + crash;
  const std::string body = ItemsReceipt(kItems, "10.00");
  EndToEndRig rig;
  ASSERT_TRUE(rig.StartDevice());
  ASSERT_TRUE(rig.StartService({}, "korvena-service-crashing", {"KORVENA_SERVICE_CRASH=" + crash}))
      << rig.service.errors();
  const HttpAnswer cut = rig.Post(kUrl, body, key, kTillToken, 15000);
  EXPECT_EQ(cut.status, 0) << "it died at " << crash << ": " << cut.body;
  ASSERT_TRUE(rig.service.WaitForEnd(10000)) << crash << " never came" << rig.service.errors();

  ASSERT_TRUE(rig.StartService({}, "korvena-service", {}, false)) << rig.service.errors();
  const HttpAnswer answer = rig.PostUntilSettled(body, key, 30000);
  ExpectSettled(rig, key, answer, c.outcome, c.frame, "intent");
}

// Every row is done, for the one exchange that tells its frame: S by K;-1
// (is a receipt open?), each line by a card payment the device must refuse
// (on which side of it the total lies; the prices are far enough apart), K
// by info 51 (receipts closed) against the count read before S, and K;-1
// when that stayed, GETLDX by asking again, as it prints nothing. An intent
// committed before the crash with nothing sent settles the same way, finding
// the frame not taken.
//
// The receipt's frames: the command --fault-frames counts, which of them, and
// the purpose receipt_run.cpp gives the frame.
struct ReceiptFrame {
  const char* command;
  int nth;
  const char* frame;
};
const ReceiptFrame kFrames[] = {{"S", 1, "S"},   {"L", 1, "L1"}, {"L", 2, "L2"},
                                {"L", 3, "L3"}, {"K", 1, "K"},  {"GETLDX", 1, "GETLDX"}};

std::vector<CrashCase> CrashCases() {
  std::vector<CrashCase> cases;
  for (const ReceiptFrame& f : kFrames)
    for (const char* point : {"before-send", "sent", "answered"}) cases.push_back({f.frame, point, Outcome::kDone, ""});
  return cases;
}

std::string CaseName(const char* a, const char* b) {
  std::string name = std::string(a) + "_" + b;
  for (char& ch : name)
    if (ch == '-') ch = '_';
  return name;
}

INSTANTIATE_TEST_SUITE_P(EveryFrameAndPoint, CrashSweep, ::testing::ValuesIn(CrashCases()),
                         [](const ::testing::TestParamInfo<CrashCase>& row) {
                           return CaseName(row.param.frame, row.param.point);
                         });

// --- The device goes mute or deaf at a frame; the service stays up. ---

struct LineFaultCase {
  const char* fault;    // --mute-after (runs the frame, answers nothing) or --deaf-after (drops it unseen)
  const char* command;  // what --fault-frames counts: the command's name
  int nth;              // the n-th such command is hit
  const char* frame;    // its purpose in the receipt
  Outcome outcome;
  const char* why;
};

void PrintTo(const LineFaultCase& c, std::ostream* out) {
  *out << c.fault << " " << c.nth << " --fault-frames " << c.command;
}

class LineFaultSweep : public ::testing::TestWithParam<LineFaultCase> {};

TEST_P(LineFaultSweep, TheRetriedReceiptPrintsExactlyOnce) {
  const LineFaultCase& c = GetParam();
  SCOPED_TRACE(std::string("expected because: ") + (*c.why != '\0' ? c.why : "every frame is told"));
  const std::string key = std::string("fault-") + c.fault + "-" + c.frame;
  const std::string body = ItemsReceipt(kItems, "10.00");
  EndToEndRig rig;
  // The fault lasts less than the service's answer limit (1000 ms): by the
  // time the service gives the frame up, the device hears it again.
  ASSERT_TRUE(rig.StartDevice(
      {c.fault, std::to_string(c.nth), "--fault-frames", c.command, "--fault-for", "200"}));
  ASSERT_TRUE(rig.StartService()) << rig.service.errors();
  const HttpAnswer answer = rig.PostUntilSettled(body, key, 30000);
  ExpectSettled(rig, key, answer, c.outcome, c.frame, "silent");
}

// --fault-frames counts only the commands it names, so the n-th L is line n.
// The probes that settle a frame (K;-1, a card payment: K frames) come only
// after the cut, when the fault has struck and lifted for good. The rows are
// done for the reasons the crash rows are.
std::vector<LineFaultCase> LineFaultCases() {
  std::vector<LineFaultCase> cases;
  for (const char* fault : {"--mute-after", "--deaf-after"})
    for (const ReceiptFrame& f : kFrames) cases.push_back({fault, f.command, f.nth, f.frame, Outcome::kDone, ""});
  return cases;
}

INSTANTIATE_TEST_SUITE_P(EveryFrame, LineFaultSweep, ::testing::ValuesIn(LineFaultCases()),
                         [](const ::testing::TestParamInfo<LineFaultCase>& row) {
                           return CaseName(row.param.fault + 2, row.param.frame);
                         });

}  // namespace
}  // namespace korvena::service
