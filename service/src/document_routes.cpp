// The routes of the documents beside receipts: invoices paid at the till,
// cash slips, reports and copies. Each is a job as a receipt is, under the
// same Idempotency-Key rules.
#include <nlohmann/json.hpp>

#include "korvena/service/api_router.h"

namespace korvena::service {

ApiReply ApiRouter::Invoice(const ApiRequest& request, const std::string& device) {
  return Submitted(request, "an invoice", [&](const std::string& key, const nlohmann::json& body) {
    return service_.SubmitInvoice(device, key, body);
  });
}

ApiReply ApiRouter::Slip(const ApiRequest& request, const std::string& device, std::string_view kind) {
  const std::string what = kind == "cash" ? "a cash slip" : kind == "report" ? "a report" : "a copy";
  return Submitted(request, what, [&](const std::string& key, const nlohmann::json& body) {
    return service_.SubmitSlip(device, key, kind, body);
  });
}

}  // namespace korvena::service
