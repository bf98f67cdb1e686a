#pragma once
// The real korvena-emu on a pseudo-terminal (on COM1, and on more COMs when
// a test asks) and the real korvena-service in front of them, with a
// journal and tokens in a scratch folder: what the end-to-end tests and the
// benchmarks start.
#include <map>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "http_call.h"
#include "korvena/emulator/emu_process.h"
#include "korvena/platform/scratch_folder.h"
#include "korvena/service/job_record.h"
#include "service_process.h"

namespace korvena::service {

inline constexpr const char* kTillToken = "till-7c1e";
inline constexpr const char* kServiceToken = "service-93ab";

struct EndToEndRig {
  EndToEndRig();
  // The emulator with `arguments` on COM`com`: `device` for COM1, one of
  // `others` for the rest.
  bool StartDevice(const std::vector<std::string>& arguments = {}, int com = 1);
  emu::EmuProcess& DeviceOn(int com);
  // The service for COM1 and every other COM started so far, with the rig's
  // journal and tokens, and `extra`; waits until each device is ready when
  // `waitReady`.
  bool StartService(const std::vector<std::string>& extra = {}, const std::string& program = "korvena-service",
                    const std::vector<std::string>& environment = {}, bool waitReady = true);
  // Polls GET /v1/devices until device `id` is in `state`, up to `limitMs`.
  bool WaitForDevice(const std::string& state, int limitMs = 20000, const std::string& id = "COM1");
  // The state GET /v1/devices gives device `id`; empty when it gives none.
  std::string StateOf(const std::string& id = "COM1");

  HttpAnswer Get(const std::string& target, const char* token = kTillToken);
  HttpAnswer Post(const std::string& target, const std::string& body, const std::string& key = "",
                  const char* token = kTillToken, int limitMs = 30000);
  // POSTs the receipt with `key` until an answer other than 202 comes, as a
  // till retries; empty when none came in `limitMs`.
  HttpAnswer PostUntilSettled(const std::string& body, const std::string& key, int limitMs = 60000,
                              const std::string& target = "/v1/devices/COM1/receipts");

  // Info value `n` read from the device itself, the service stopped.
  std::optional<std::string> DeviceInfo(int n);
  // The frames the journal holds for the job `key`, the service stopped.
  std::vector<FrameRecord> JournalFrames(const std::string& key);

  ScratchFolder folder;
  emu::EmuProcess device;
  std::map<int, emu::EmuProcess> others;  // by COM number, 2 and on
  ServiceProcess service;
  std::string journal;
  std::string tokens;
};

// A receipt of one item with `text`, `quantity` x `price` at 0 % VAT paid in cash.
std::string OneItemReceipt(const std::string& text, const std::string& price, const std::string& cash);

// A receipt in mode A of one item of each (text, unit price) at VAT A, paid
// in cash with `cash`.
std::string ItemsReceipt(const std::vector<std::pair<std::string, std::string>>& items, const std::string& cash);

// A receipt as the emulator's journal printed it: from its heading
// "POKLADNICNY DOKLAD c. N" to the next heading or the journal's end.
struct PrintedReceipt {
  long number = 0;
  std::vector<std::string> lines;  // the heading included
  std::vector<std::string> totals;  // the amount of each "SPOLU" line, none while it is open
};
std::vector<PrintedReceipt> PrintedReceipts(const std::string& journal);

}  // namespace korvena::service
