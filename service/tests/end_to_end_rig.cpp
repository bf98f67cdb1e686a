#include "end_to_end_rig.h"

#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <thread>

#include "korvena/link/clock.h"
#include "korvena/service/job_journal.h"
#include "korvena/session/device_session.h"
#include "serial_line_port.h"

namespace korvena::service {

EndToEndRig::EndToEndRig() {
  journal = folder / "journal.db";
  tokens = folder.Write("tokens", std::string("# the tills and the technician\ntill ") + kTillToken +
                                      "\nservice " + kServiceToken + "\n");
  chmod(tokens.c_str(), 0600);
}

bool EndToEndRig::StartDevice(const std::vector<std::string>& arguments, int com) {
  return DeviceOn(com).Start(arguments, com);
}

emu::EmuProcess& EndToEndRig::DeviceOn(int com) { return com == 1 ? device : others[com]; }

bool EndToEndRig::StartService(const std::vector<std::string>& extra, const std::string& program,
                               const std::vector<std::string>& environment, bool waitReady) {
  std::vector<std::string> ids = {"COM1"};
  for (const auto& [com, other] : others) ids.push_back("COM" + std::to_string(com));
  std::vector<std::string> arguments = {"--journal", journal, "--tokens", tokens, "--answer-limit", "1000",
                                        "--wait-limit", "10000"};
  for (const std::string& id : ids) arguments.insert(arguments.end(), {"--device", id});
  arguments.insert(arguments.end(), extra.begin(), extra.end());
  if (!service.Start(arguments, program, environment)) return false;
  if (!waitReady) return true;
  for (const std::string& id : ids)
    if (!WaitForDevice("ready", 20000, id)) return false;
  return true;
}

bool EndToEndRig::WaitForDevice(const std::string& state, int limitMs, const std::string& id) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
  while (std::chrono::steady_clock::now() < deadline) {
    if (StateOf(id) == state) return true;
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
  }
  return false;
}

std::string EndToEndRig::StateOf(const std::string& id) {
  const HttpAnswer answer = Get("/v1/devices");
  const nlohmann::json devices = answer.Json();
  if (answer.status != 200 || !devices.is_array()) return "";
  for (const nlohmann::json& listed : devices)
    if (listed.is_object() && listed.value("id", "") == id) return listed.value("state", "");
  return "";
}

HttpAnswer EndToEndRig::Get(const std::string& target, const char* token) {
  RequestHeaders headers;
  if (token != nullptr) headers.emplace_back("Authorization", std::string("Bearer ") + token);
  return HttpCall(service.port(), "GET", target, headers);
}

HttpAnswer EndToEndRig::Post(const std::string& target, const std::string& body, const std::string& key,
                             const char* token, int limitMs) {
  RequestHeaders headers = {{"Content-Type", "application/json"}};
  if (token != nullptr) headers.emplace_back("Authorization", std::string("Bearer ") + token);
  if (!key.empty()) headers.emplace_back("Idempotency-Key", key);
  return HttpCall(service.port(), "POST", target, headers, body, limitMs);
}

HttpAnswer EndToEndRig::PostUntilSettled(const std::string& body, const std::string& key, int limitMs,
                                         const std::string& target) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(limitMs);
  HttpAnswer answer;
  while (std::chrono::steady_clock::now() < deadline) {
    answer = Post(target, body, key);
    if (answer.status != 0 && answer.status != 202 && answer.status != 503) return answer;
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
  }
  return {};
}

std::optional<std::string> EndToEndRig::DeviceInfo(int n) {
  SerialLinePort port;
  SystemClock clock;
  session::DeviceSession session(port, clock);
  if (!session.Connect()) return std::nullopt;
  std::string answer = session.QueryInfo(n);
  session.Close();
  return answer;
}

std::vector<FrameRecord> EndToEndRig::JournalFrames(const std::string& key) {
  JobJournal opened(journal, [] { return int64_t{0}; });
  return opened.Frames(key);
}

std::string OneItemReceipt(const std::string& text, const std::string& price, const std::string& cash) {
  return ItemsReceipt({{text, price}}, cash);
}

std::string ItemsReceipt(const std::vector<std::pair<std::string, std::string>>& items, const std::string& cash) {
  std::string lines;
  for (const auto& [text, price] : items) {
    if (!lines.empty()) lines += ", ";
    lines += R"({"type": "item", "text": ")" + text + R"(", "quantity": "1", "unitPrice": ")" + price +
             R"(", "vat": "A"})";
  }
  return R"({"mode": "A", "lines": [)" + lines + R"(], "payments": [{"type": "cash", "amount": ")" + cash + R"("}]})";
}

std::vector<PrintedReceipt> PrintedReceipts(const std::string& journal) {
  constexpr std::string_view kHeading = "POKLADNICNY DOKLAD c. ";
  constexpr std::string_view kTotal = "SPOLU ";
  std::vector<PrintedReceipt> receipts;
  std::size_t start = 0;
  while (start < journal.size()) {
    const std::size_t end = std::min(journal.find('\n', start), journal.size());
    const std::string line = journal.substr(start, end - start);
    start = end + 1;
    if (line.rfind(kHeading, 0) == 0) {
      receipts.emplace_back();
      receipts.back().number = std::atol(line.c_str() + kHeading.size());
    }
    if (receipts.empty()) continue;
    receipts.back().lines.push_back(line);
    if (line.rfind(kTotal, 0) == 0) receipts.back().totals.push_back(line.substr(line.find_last_of(' ') + 1));
  }
  return receipts;
}

}  // namespace korvena::service
