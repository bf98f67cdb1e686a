#pragma once
// How far a receipt got, as the journal keeps it beside the job and commits
// it with every frame: what the device has taken, the frame in doubt, the
// device's counters before and after the document.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "korvena/service/receipt_plan.h"

namespace korvena::service {

// The device's counters around a document: info 50, 51 and the net
// turnover (info 20), the figure every sale adds to.
struct DeviceCounters {
  int64_t lastDocument = 0;
  int64_t salesDocuments = 0;
  std::string netTurnover;
};

// Why a receipt was refused and voided.
struct Refusal {
  std::string message;
  std::optional<int> deviceStatus;
};

// What a frame in doubt was for.
enum class Step {
  kOpen,    // S
  kLine,    // a line of the request
  kCheck,   // a storno sent to tell whether the line before it was taken
  kVoid,    // a line that undoes one taken, after a refusal
  kClose,   // K, with the payments or, voided, with nothing due
  kFetch,   // GETLDX
};
std::string_view StepName(Step step);

// A frame whose intent is committed and whose effect is not yet known.
struct PendingFrame {
  Step step = Step::kOpen;
  std::string purpose;  // as in the journal, "L2"
  std::optional<TakenLine> line;
};

struct ReceiptProgress {
  enum class Phase { kNew, kOpen, kClosed, kFetched };
  Phase phase = Phase::kNew;
  std::optional<VatCoefficients> coefficients;  // the device's, when the receipt began
  std::optional<DeviceCounters> before;          // read before S
  std::optional<DeviceCounters> after;           // read after K
  std::size_t next = 0;                          // the request's next line to send
  std::vector<TakenLine> taken;                  // the open document's lines, as the device took them
  std::optional<Refusal> voiding;                // set once a refusal has the lines voided
  std::size_t voidTargets = 0;                   // how many of `taken` the voiding undoes
  std::size_t voided = 0;                        // how many of them it has undone
  std::optional<PendingFrame> pending;
  std::optional<std::string> printout;  // the LDX text in UTF-8
  bool printoutMissing = false;         // the device gave no LDX data
  std::vector<std::string> notes;       // how frames in doubt were settled
};

std::string ProgressJson(const ReceiptProgress& progress);
// A progress the journal holds: a new one for "{}", nothing for a text it
// cannot read (the job's outcome is then unknown).
std::optional<ReceiptProgress> ProgressFromJson(std::string_view json);

}  // namespace korvena::service
