#pragma once
// A document that is one frame on the line: a cash slip (V), a report (DX,
// DZ, MI, MD) or a copy of the last document (C), made from its request
// and checked whole before it is accepted. Each says which info values
// witness whether it printed; those that move none cannot be settled after
// a crash and are left unknown rather than printed twice.
#include <nlohmann/json_fwd.hpp>
#include <string>
#include <string_view>
#include <vector>

namespace korvena::service {

inline constexpr std::string_view kCashJob = "cash";
inline constexpr std::string_view kReportJob = "report";
inline constexpr std::string_view kCopyJob = "copy";

struct SlipPlan {
  enum class Kind { kDeposit, kWithdrawal, kRunningReport, kDailyClosing, kIntervalReport, kCopy };
  Kind kind = Kind::kCopy;
  std::string purpose;  // the command's name, as the journal names the frame: "V", "DZ"
  std::string frame;
  std::string noun;  // "cash slip", "daily closing", ... for messages
  // Read before the frame and, when it is in doubt, after it; empty when
  // nothing the device shows moves with the document.
  std::vector<int> witnesses;
};

// True for the kinds of job a SlipPlan is made for.
bool IsSlipJob(std::string_view kind);
// The plan of a job of `kind` from its request; operations::InvalidInput
// naming the field when the body is not one the device can take.
SlipPlan SlipPlanOf(std::string_view kind, const nlohmann::json& body);

}  // namespace korvena::service
