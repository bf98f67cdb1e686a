// korvena-service in front of korvena-emu paced at 9600 baud, as a shop
// runs it: receipts a minute through the service beside the driver called
// directly, and on one device while another prints reports; how fast the
// status answers while a long receipt or a report prints; and fifty tills
// posting at the same moment.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <functional>
#include <latch>
#include <optional>
#include <set>
#include <string>
#include <thread>
#include <vector>

#include "end_to_end_rig.h"
#include "korvena/driver/driver.h"
#include "korvena/link/clock.h"
#include "korvena/link/korvport_port.h"
#include "korvena/protocol/frame.h"
#include "korvena/protocol/info_catalogue.h"
#include "korvena/service/receipt_plan.h"

namespace {

using korvena::service::EndToEndRig;
using korvena::service::HttpAnswer;
using Clock = std::chrono::steady_clock;

const std::vector<std::string> kPacedDevice = {"--pace", "--baud", "9600"};
constexpr const char* kReceipts = "/v1/devices/COM1/receipts";
constexpr const char* kReports = "/v1/devices/COM1/reports";

double SecondsSince(Clock::time_point start) { return std::chrono::duration<double>(Clock::now() - start).count(); }

// `lines` items of 1.00 at VAT A, paid exactly in cash.
std::string ReceiptOfItems(int lines) {
  std::vector<std::pair<std::string, std::string>> items;
  for (int i = 0; i < lines; ++i) items.emplace_back("Chlieb celozrnny " + std::to_string(i + 1), "1.00");
  return korvena::service::ItemsReceipt(items, std::to_string(lines) + ".00");
}

// COM1 to COM`devices`, each with its line paced, and the service for them
// waiting up to `waitLimitMs` for a document before it answers 202.
bool StartPacedService(EndToEndRig& rig, int waitLimitMs, int devices = 1) {
  for (int com = 1; com <= devices; ++com)
    if (!rig.StartDevice(kPacedDevice, com)) return false;
  return rig.StartService({"--wait-limit", std::to_string(waitLimitMs)});
}

// A document the service printed: 200 and done.
bool Done(const HttpAnswer& answer) {
  return answer.status == 200 && answer.Json().is_object() && answer.Json().value("state", "") == "done";
}

// A receipt the service printed: done with a document number.
bool Printed(const HttpAnswer& answer) { return Done(answer) && answer.Json()["documentNumber"].is_number(); }

// Waits while `going` until the worker of device `id` has a job.
void WaitUntilBusy(EndToEndRig& rig, const std::string& id, const std::atomic<bool>& going) {
  while (going && rig.StateOf(id) != "busy") std::this_thread::sleep_for(std::chrono::milliseconds(5));
}

// The frames of the same document the service sends, without their CRs,
// as a point-of-sale program writes them to the driver.
std::vector<std::string> DriverCommands(const korvena::service::ReceiptPlan& plan) {
  const auto bare = [](std::string frame) {
    frame.pop_back();
    return frame;
  };
  std::vector<std::string> commands = {bare(plan.StartFrame())};
  for (std::size_t i = 0; i < plan.LineCount(); ++i) commands.push_back(bare(plan.LineFrame({i, plan.KindOf(i)})));
  commands.push_back(bare(plan.CloseFrame()));
  return commands;
}

// One receipt through the driver as a till with Ldx=1 prints it: S, the
// lines, K and the printout fetched after K; with `counters` also the three
// info values the service reads after each close.
bool DriverReceipt(korvena::driver::Driver& driver, const std::vector<std::string>& commands, bool counters) {
  namespace info = korvena::protocol::info;
  for (std::size_t i = 0; i + 1 < commands.size(); ++i)
    if (driver.Execute(commands[i]).result != korvena::driver::kOk) return false;
  const korvena::driver::CommandOutcome close = driver.Execute(commands.back(), {.fetchLdx = true});
  if (close.result != korvena::driver::kOk || close.ldx.empty()) return false;
  if (!counters) return true;
  for (const int n : {info::kLastDocument, info::kSalesDocuments, info::kNetTurnover}) {
    std::string query = korvena::protocol::InfoQueryFrame(n);
    query.pop_back();
    if (driver.Execute(query).result != korvena::driver::kOk) return false;
  }
  return true;
}

constexpr int kTimedReceipts = 5;
constexpr int kReceiptLines = 10;

// The seconds kTimedReceipts receipts of `body` take through the service at
// `target`, one after another, after a first one untimed (the service reads
// its counters before it only then); none when one failed.
std::optional<double> ServiceReceiptSeconds(EndToEndRig& rig, const std::string& target, const std::string& body,
                                            const std::string& keys) {
  if (!Printed(rig.Post(target, body, keys + "-first", korvena::service::kTillToken, 60000))) return std::nullopt;
  const auto start = Clock::now();
  for (int i = 0; i < kTimedReceipts; ++i)
    if (!Printed(rig.Post(target, body, keys + "-timed-" + std::to_string(i), korvena::service::kTillToken, 60000)))
      return std::nullopt;
  return SecondsSince(start);
}

double PerMinute(double seconds) { return 60.0 * kTimedReceipts / seconds; }

// Receipts a minute for a receipt of 10 items, one after another, the first
// of each path untimed (the service reads its counters before it only then).
// The driver path is S, 10 L, K and the LDX fetch, as a till with Ldx=1; the
// service sends the same and reads three counters after K (the outcome comes
// from them), so the driver is timed both without and with those three.
// Goal: the service at least 0.9 times the driver.
void BM_ReceiptsPerMinute(benchmark::State& state) {
  EndToEndRig rig;
  if (!rig.StartDevice(kPacedDevice)) return state.SkipWithError("emulator did not start");
  const std::string body = ReceiptOfItems(kReceiptLines);
  const std::vector<std::string> commands = DriverCommands(korvena::service::ReceiptPlan(nlohmann::json::parse(body)));
  double driverSeconds[2] = {0, 0};
  double serviceSeconds = 0;
  for (auto _ : state) {
    {
      korvena::KorvportPort port;
      korvena::SystemClock clock;
      korvena::driver::DriverHost host;
      // The settings the service writes for its own driver at each connect.
      host.iniPath = rig.folder.Write("KVORWXX.INI", "[Setting]\r\nCom=1\r\nTimeout=100\r\nBaudRate=9600\r\n");
      host.workDir = rig.folder.path();
      host.today = [] { return korvena::LocalDate{2024, 1, 1}; };
      korvena::driver::Driver driver(port, clock, host);
      if (driver.StartLibProc() != korvena::driver::kStarted) return state.SkipWithError("no device");
      for (const bool counters : {false, true}) {
        if (!DriverReceipt(driver, commands, counters)) return state.SkipWithError("the driver's receipt failed");
        const auto start = Clock::now();
        for (int i = 0; i < kTimedReceipts; ++i)
          if (!DriverReceipt(driver, commands, counters)) return state.SkipWithError("the driver's receipt failed");
        driverSeconds[counters ? 1 : 0] = SecondsSince(start);
      }
      driver.ExitLibProc();
    }
    if (!rig.StartService({"--wait-limit", "60000"})) return state.SkipWithError("service did not start");
    const std::optional<double> seconds = ServiceReceiptSeconds(rig, kReceipts, body, "service");
    if (!seconds) return state.SkipWithError("a receipt through the service failed");
    serviceSeconds = *seconds;
  }
  state.counters["driver_receipts_per_minute"] = PerMinute(driverSeconds[0]);
  state.counters["driver_with_counters_receipts_per_minute"] = PerMinute(driverSeconds[1]);
  state.counters["receipts_per_minute"] = PerMinute(serviceSeconds);
  state.counters["ratio_to_driver"] = driverSeconds[0] / serviceSeconds;
  state.counters["ratio_to_driver_with_counters"] = driverSeconds[1] / serviceSeconds;
}
BENCHMARK(BM_ReceiptsPerMinute)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

// The sorted samples' value at fraction `q`.
double Quantile(const std::vector<double>& sorted, double q) {
  if (sorted.empty()) return 0;
  const auto at = static_cast<std::size_t>(std::ceil(q * static_cast<double>(sorted.size()))) - 1;
  return sorted[std::min(at, sorted.size() - 1)];
}

void ReportLatencies(benchmark::State& state, const std::string& name, std::vector<double> ms) {
  std::sort(ms.begin(), ms.end());
  state.counters[name + "_samples"] = static_cast<double>(ms.size());
  state.counters[name + "_p50_ms"] = Quantile(ms, 0.50);
  state.counters[name + "_p99_ms"] = Quantile(ms, 0.99);
  state.counters[name + "_max_ms"] = ms.empty() ? 0 : ms.back();
}

// A GET a till repeats while COM1 prints, and how long each one took.
struct Sampled {
  const char* name;
  std::string target;
  std::vector<double> ms;
};

// While `print` runs on a thread of its own: each of `sampled` in turn, on
// a connection of its own as a till asks, from the moment COM1's worker has
// the job; the answers other than 200 counted in `failures`.
void SampleWhile(EndToEndRig& rig, std::vector<Sampled>& sampled, int& failures, const std::function<void()>& print) {
  std::atomic<bool> printing{true};
  std::thread till([&] {
    print();
    printing = false;
  });
  WaitUntilBusy(rig, "COM1", printing);
  while (printing) {
    for (Sampled& s : sampled) {
      const auto start = Clock::now();
      const HttpAnswer answer = rig.Get(s.target);
      s.ms.push_back(1000.0 * SecondsSince(start));
      if (answer.status != 200) ++failures;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  till.join();
}

void ReportSampled(benchmark::State& state, std::vector<Sampled>& sampled, int failures) {
  for (Sampled& s : sampled) ReportLatencies(state, s.name, std::move(s.ms));
  state.counters["failed_requests"] = failures;
}

// GET status and GET /v1/devices while a receipt of 100 items prints (about
// ten seconds at 9600 baud); the job itself too, which a till polls after a
// 202 and which reads the journal the worker writes to at every frame.
// Goal: p99 under 50 ms for the status.
void BM_StatusWhileLongReceiptPrints(benchmark::State& state) {
  std::vector<Sampled> sampled = {
      {"status", "/v1/devices/COM1/status", {}}, {"devices", "/v1/devices", {}}, {"job", "/v1/jobs/long", {}}};
  EndToEndRig rig;
  if (!StartPacedService(rig, 120000)) return state.SkipWithError("device or service did not start");
  int failures = 0;
  for (auto _ : state) {
    HttpAnswer receipt;
    SampleWhile(rig, sampled, failures, [&] {
      receipt = rig.Post(kReceipts, ReceiptOfItems(100), "long", korvena::service::kTillToken, 120000);
    });
    if (!Printed(receipt)) return state.SkipWithError("the long receipt failed");
  }
  ReportSampled(state, sampled, failures);
}
BENCHMARK(BM_StatusWhileLongReceiptPrints)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

// GET status and GET /v1/devices while running reports print on the same
// device back to back: DX, the three closing counters and the printout
// fetched over LDX, at 9600 baud. Goal: p99 under 50 ms for the status.
void BM_StatusWhileRunningReportsPrint(benchmark::State& state) {
  constexpr int kReportsBackToBack = 10;
  std::vector<Sampled> sampled = {{"status", "/v1/devices/COM1/status", {}}, {"devices", "/v1/devices", {}}};
  EndToEndRig rig;
  if (!StartPacedService(rig, 120000)) return state.SkipWithError("device or service did not start");
  int failures = 0;
  for (auto _ : state) {
    int printed = 0;
    SampleWhile(rig, sampled, failures, [&] {
      for (int i = 0; i < kReportsBackToBack; ++i)
        printed += Done(rig.Post(kReports, R"({"type": "running"})", "running-" + std::to_string(i),
                                 korvena::service::kTillToken, 120000));
    });
    if (printed != kReportsBackToBack) return state.SkipWithError("a running report failed");
  }
  ReportSampled(state, sampled, failures);
}
BENCHMARK(BM_StatusWhileRunningReportsPrint)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

// Receipts a minute for a receipt of 10 items on COM2, first with COM1 idle,
// then while COM1 prints interval reports over three daily closings back to
// back; both paced at 9600 baud. Each device has its own worker and line, so
// COM1's reports should cost COM2 next to nothing beyond the shared journal.
// Goal: beside the reports within 10 % of alone (ratio at least 0.9).
void BM_ReceiptsPerMinuteBesideReports(benchmark::State& state) {
  constexpr int kClosings = 3;
  constexpr const char* kSecondReceipts = "/v1/devices/COM2/receipts";
  EndToEndRig rig;
  if (!StartPacedService(rig, 120000, 2)) return state.SkipWithError("devices or service did not start");
  for (int i = 0; i < kClosings; ++i)
    if (!Done(rig.Post(kReports, R"({"type": "closing"})", "closing-" + std::to_string(i),
                       korvena::service::kTillToken, 120000)))
      return state.SkipWithError("a daily closing failed");
  const std::string interval = R"({"type": "interval", "from": 1, "to": )" + std::to_string(kClosings) + "}";
  const std::string body = ReceiptOfItems(kReceiptLines);
  double aloneSeconds = 0;
  double besideSeconds = 0;
  int reports = 0;
  for (auto _ : state) {
    // The reporter's own until it is joined.
    int failedReports = 0;
    const std::optional<double> alone = ServiceReceiptSeconds(rig, kSecondReceipts, body, "alone");
    if (!alone) return state.SkipWithError("a receipt on COM2 alone failed");
    std::atomic<bool> receipting{true};
    std::atomic<bool> reporting{true};
    std::thread reporter([&] {
      for (int i = 0; receipting && failedReports == 0; ++i) {
        if (Done(rig.Post(kReports, interval, "interval-" + std::to_string(i), korvena::service::kTillToken, 120000)))
          ++reports;
        else
          ++failedReports;
      }
      reporting = false;
    });
    WaitUntilBusy(rig, "COM1", reporting);
    const std::optional<double> beside = ServiceReceiptSeconds(rig, kSecondReceipts, body, "beside");
    receipting = false;
    reporter.join();
    if (!beside) return state.SkipWithError("a receipt on COM2 beside the reports failed");
    if (failedReports > 0) return state.SkipWithError("an interval report on COM1 failed");
    aloneSeconds = *alone;
    besideSeconds = *beside;
  }
  state.counters["alone_receipts_per_minute"] = PerMinute(aloneSeconds);
  state.counters["beside_reports_receipts_per_minute"] = PerMinute(besideSeconds);
  state.counters["ratio_beside_to_alone"] = aloneSeconds / besideSeconds;
  state.counters["interval_reports_printed"] = reports;
}
BENCHMARK(BM_ReceiptsPerMinuteBesideReports)->Iterations(1)->Unit(benchmark::kSecond)->UseRealTime();

// What one till ends with: the job's answer, or, after a 202, the job polled
// until it has one.
HttpAnswer TillReceipt(EndToEndRig& rig, const std::string& body, const std::string& key, std::atomic<int>& waited) {
  HttpAnswer answer = rig.Post(kReceipts, body, key, korvena::service::kTillToken, 120000);
  if (answer.status != 202) return answer;
  ++waited;
  const auto deadline = Clock::now() + std::chrono::seconds(120);
  while (Clock::now() < deadline) {
    std::this_thread::sleep_for(std::chrono::milliseconds(250));
    const HttpAnswer job = rig.Get("/v1/jobs/" + key);
    const std::string jobState = job.Json().value("state", "");
    if (job.status != 200 || (jobState != "accepted" && jobState != "running")) {
      HttpAnswer settled = job;
      if (job.status == 200) settled.body = job.Json()["result"].dump();
      return settled;
    }
  }
  return {};
}

// 50 tills post a receipt of `lines` items each at the same moment, each
// with its own key, and wait for its answer; with the service waiting
// `wait_s` seconds, the later ones get 202 and poll their job. Every receipt
// must print once: an answer other than done, or a document number given
// twice, is an error, and so is a document number skipped (a receipt
// printed again under the same job). Goal: no errors.
void BM_FiftyTillsAtOnce(benchmark::State& state) {
  constexpr int kTills = 50;
  EndToEndRig rig;
  if (!StartPacedService(rig, static_cast<int>(state.range(1)) * 1000))
    return state.SkipWithError("device or service did not start");
  const std::string body = ReceiptOfItems(static_cast<int>(state.range(0)));
  std::vector<HttpAnswer> answers(kTills);
  std::atomic<int> waited{0};
  double seconds = 0;
  for (auto _ : state) {
    std::latch ready(kTills + 1);
    std::vector<std::thread> tills;
    for (int i = 0; i < kTills; ++i)
      tills.emplace_back([&, i] {
        ready.arrive_and_wait();
        answers[static_cast<std::size_t>(i)] = TillReceipt(rig, body, "till-" + std::to_string(i), waited);
      });
    ready.arrive_and_wait();
    const auto start = Clock::now();
    for (std::thread& till : tills) till.join();
    seconds = SecondsSince(start);
  }
  int errors = 0;
  std::set<int64_t> documents;
  for (const HttpAnswer& answer : answers) {
    const nlohmann::json json = answer.Json();
    if (answer.status != 200 || !json.is_object() || json.value("state", "") != "done" ||
        !json["documentNumber"].is_number() || !documents.insert(json["documentNumber"].get<int64_t>()).second) {
      ++errors;
      std::fprintf(stderr, "till answer %d: %s%s\n", answer.status, answer.body.substr(0, 200).c_str(),
                   answer.failure.c_str());
    }
  }
  const auto span = documents.empty() ? 0 : *documents.rbegin() - *documents.begin() + 1;
  const auto skipped = span - static_cast<int64_t>(documents.size());
  state.counters["errors"] = errors + static_cast<int>(skipped);
  state.counters["answered_202"] = waited.load();
  state.counters["total_seconds"] = seconds;
  state.counters["receipts_per_minute"] = 60.0 * kTills / seconds;
}
BENCHMARK(BM_FiftyTillsAtOnce)
    ->ArgNames({"lines", "wait_s"})
    ->Args({1, 120})
    ->Args({1, 10})
    ->Iterations(1)
    ->Unit(benchmark::kSecond)
    ->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
