// A receipt through the journal on the emulated device: printed once
// whatever frame a crash, a deaf or mute device or a bare CR hits, voided
// after a refusal midway, and unknown only where no exchange could tell.
#include "korvena/service/receipt_job.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <optional>

#include "service_test_rig.h"

namespace korvena::service {
namespace {

using Json = nlohmann::json;

// 4 x 0.12 at 20 % without VAT (0.58), 0.89 with VAT, 1.50 at 0 %: 2.97.
const Json kThreeLines = Json::parse(R"({"mode": "A", "lines": [
  {"type": "item", "text": "Rožok", "quantity": "4", "unitPrice": "0.12", "vat": "B"},
  {"type": "item", "text": "Mlieko", "quantity": "1", "unitPrice": "0.89", "vat": "D"},
  {"type": "item", "text": "Chlieb", "quantity": "1", "unitPrice": "1.50", "vat": "A"}],
  "payments": [{"type": "cash", "amount": "5.00"}]})");

struct Crash {};

JobRecord Admit(JobJournal& journal, const Json& body, const std::string& key = "k1") {
  JobRecord job;
  job.key = key;
  job.device = "COM1";
  job.kind = "receipt";
  job.request = body.dump();
  journal.Admit(job);
  journal.Move(key, JobState::kAccepted, JobState::kRunning);
  return *journal.Find(key);
}

// Runs the job as a worker would: again after a crash (with a restart) or
// after the device fell silent (once it answers again), at most `rounds` times.
JobRecord RunToTheEnd(ServiceRig& rig, const Json& body, const CrashHook& crash = {}, int rounds = 3) {
  const ReceiptPlan plan(body);
  JobRecord job = Admit(*rig.journal, body);
  CrashHook hook = crash;
  for (int round = 0; round < rounds; ++round) {
    try {
      const ReceiptJobOutcome outcome = ReceiptJob(*rig.journal, *rig.channel, job, plan, {500, hook, {}, {}}).Run();
      if (outcome.kind == ReceiptJobOutcome::kFinished) break;
    } catch (const Crash&) {
      hook = {};  // the restarted service does not crash again
    }
    rig.Restart();
    job = *rig.journal->Find(job.key);
  }
  return *rig.journal->Find(job.key);
}

Json ResultOf(const JobRecord& job) { return Json::parse(job.result.value_or("null")); }

// The receipt stands on the paper once, with its total, and the job says so.
void ExpectPrintedOnce(ServiceRig& rig, const JobRecord& job) {
  EXPECT_EQ(job.state, JobState::kDone) << job.result.value_or("") << "\n" << job.progress;
  const Json result = ResultOf(job);
  EXPECT_EQ(result.value("total", ""), "2.97");
  EXPECT_EQ(result.value("change", ""), "2.03");
  EXPECT_EQ(result.value("documentNumber", 0), 1863);
  EXPECT_NE(result.value("printout", "").find("SPOLU"), std::string::npos);
  EXPECT_EQ(rig.Printed("POKLADNICNY DOKLAD"), 1);
  for (const char* text : {"Ro\xA7ok", "Mlieko", "Chlieb"}) EXPECT_EQ(rig.Printed(text), 1) << text;
  EXPECT_EQ(rig.Info(51), "1863");
  EXPECT_EQ(rig.Info(20), "14887.52");
}

TEST(ReceiptJob, PrintsTheReceiptFrameByFrameThroughTheJournal) {
  ServiceRig rig;
  const JobRecord job = RunToTheEnd(rig, kThreeLines);
  ExpectPrintedOnce(rig, job);
  std::string purposes;
  for (const FrameRecord& frame : rig.journal->Frames("k1")) purposes += frame.purpose + "," + frame.outcome + " ";
  EXPECT_EQ(purposes,
            "counters,answered S,answered L1,answered L2,answered L3,answered K,answered counters,answered "
            "GETLDX,answered ");
}

struct CrashCase {
  const char* purpose;
  CrashPoint point;
  friend std::ostream& operator<<(std::ostream& os, const CrashCase& c) {
    return os << c.purpose << " at point " << static_cast<int>(c.point);
  }
};

class CrashedReceipt : public ::testing::TestWithParam<CrashCase> {};

TEST_P(CrashedReceipt, IsFinishedFromTheJournalAndPrintedOnce) {
  ServiceRig rig;
  const CrashCase c = GetParam();
  const JobRecord job = RunToTheEnd(rig, kThreeLines, [c](std::string_view purpose, CrashPoint point) {
    if (purpose == c.purpose && point == c.point) throw Crash{};
  });
  ExpectPrintedOnce(rig, job);
}

std::vector<CrashCase> EveryFrameAndPoint() {
  std::vector<CrashCase> cases;
  for (const char* purpose : {"S", "L1", "L2", "L3", "K", "GETLDX"})
    for (const CrashPoint point : {CrashPoint::kBeforeSend, CrashPoint::kSent, CrashPoint::kAnswered})
      cases.push_back({purpose, point});
  return cases;
}

std::string CrashCaseName(const ::testing::TestParamInfo<CrashCase>& info) {
  static const char* const kPoints[] = {"BeforeSend", "Sent", "Answered"};
  return std::string(info.param.purpose) + kPoints[static_cast<int>(info.param.point)];
}

INSTANTIATE_TEST_SUITE_P(EveryFrame, CrashedReceipt, ::testing::ValuesIn(EveryFrameAndPoint()), CrashCaseName);

struct FaultCase {
  const char* command;
  int occurrence;
  Fault fault;
  friend std::ostream& operator<<(std::ostream& os, const FaultCase& c) {
    return os << c.command << " #" << c.occurrence << " fault " << static_cast<int>(c.fault);
  }
};

class SpoiltExchange : public ::testing::TestWithParam<FaultCase> {};

TEST_P(SpoiltExchange, IsSettledAndTheReceiptPrintedOnce) {
  ServiceRig rig;
  const FaultCase c = GetParam();
  rig.channel->Spoil(c.command, c.occurrence, c.fault);
  ExpectPrintedOnce(rig, RunToTheEnd(rig, kThreeLines));
}

std::vector<FaultCase> EveryFrameAndFault() {
  std::vector<FaultCase> cases;
  for (const Fault fault : {Fault::kDeaf, Fault::kMute, Fault::kBareCr})
    for (const auto& [command, occurrence] : {std::pair{"S", 1}, {"L", 1}, {"L", 2}, {"L", 3}, {"K", 1}})
      cases.push_back({command, occurrence, fault});
  return cases;
}

std::string FaultCaseName(const ::testing::TestParamInfo<FaultCase>& info) {
  static const char* const kFaults[] = {"", "Deaf", "Mute", "BareCr"};
  return std::string(info.param.command) + std::to_string(info.param.occurrence) +
         kFaults[static_cast<int>(info.param.fault)];
}

INSTANTIATE_TEST_SUITE_P(EveryFrame, SpoiltExchange, ::testing::ValuesIn(EveryFrameAndFault()), FaultCaseName);

TEST(ReceiptJob, ARefusalMidwayVoidsWhatWasTakenAndClosesTheReceipt) {
  ServiceRig rig;
  // The storno cancels nothing sold: the device refuses it with 1.
  const Json body = Json::parse(R"({"mode": "A", "lines": [
    {"type": "item", "text": "Rožok", "quantity": "4", "unitPrice": "0.12", "vat": "B"},
    {"type": "storno", "text": "Syr", "quantity": "1", "unitPrice": "2.00", "vat": "B"},
    {"type": "item", "text": "Chlieb", "quantity": "1", "unitPrice": "1.50", "vat": "A"}],
    "payments": [{"type": "cash", "amount": "5.00"}]})");
  const JobRecord job = RunToTheEnd(rig, body);
  EXPECT_EQ(job.state, JobState::kFailed);
  const Json result = ResultOf(job);
  EXPECT_EQ(result["error"]["deviceStatus"], 1);
  EXPECT_EQ(result["printed"]["voided"], true);
  EXPECT_EQ(result["printed"]["documentNumber"], 1863);
  EXPECT_EQ(rig.Printed("STORNO Ro\xA7ok"), 1);
  EXPECT_EQ(rig.Printed("Chlieb"), 0);
  EXPECT_EQ(rig.Info(51), "1863") << "closed, none left open";
  EXPECT_EQ(rig.Info(20), "14884.55") << "nothing sold";
}

TEST(ReceiptJob, AFreeItemInDoubtIsToldByAStornoAndPrintedAgain) {
  ServiceRig rig;
  const Json body = Json::parse(R"({"mode": "A", "lines": [
    {"type": "item", "text": "Taška", "quantity": "1", "unitPrice": "0.00", "vat": "A"},
    {"type": "item", "text": "Chlieb", "quantity": "1", "unitPrice": "1.50", "vat": "A"}],
    "payments": [{"type": "cash", "amount": "1.50"}]})");
  rig.channel->Spoil("L", 1, Fault::kBareCr);
  const JobRecord job = RunToTheEnd(rig, body);
  EXPECT_EQ(job.state, JobState::kDone) << job.progress;
  EXPECT_EQ(rig.Printed("STORNO Ta\xE7ka"), 1);
  EXPECT_EQ(rig.Printed("Ta\xE7ka"), 3) << "the item, its storno, the item again";
  EXPECT_EQ(rig.Info(20), "14886.05");
}

TEST(ReceiptJob, ALineNoExchangeCanTellMakesTheJobUnknownWithItsEvidence) {
  ServiceRig rig;
  // A discount of one cent: the totals with and without it lie a cent apart,
  // and a storno cancels items only.
  const Json body = Json::parse(R"({"mode": "A", "lines": [
    {"type": "item", "text": "Chlieb", "quantity": "1", "unitPrice": "1.50", "vat": "A"},
    {"type": "discount", "text": "Zlava", "quantity": "1", "unitPrice": "0.01", "vat": "A"}],
    "payments": [{"type": "cash", "amount": "1.50"}]})");
  rig.channel->Spoil("LZ", 1, Fault::kMute);
  const JobRecord job = RunToTheEnd(rig, body);
  EXPECT_EQ(job.state, JobState::kUnknown);
  const Json result = ResultOf(job);
  EXPECT_EQ(result["error"]["code"], "unknown");
  EXPECT_EQ(result["evidence"]["frame"], "L2");
  EXPECT_EQ(result["evidence"]["documentOpen"], true);
  EXPECT_EQ(rig.Info(51), "1862") << "never closed with a guess";
}

}  // namespace
}  // namespace korvena::service
