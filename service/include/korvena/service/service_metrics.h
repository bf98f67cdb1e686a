#pragma once
// GET /metrics: the service's state in the Prometheus text format 0.0.4,
// each family with its HELP and TYPE. Cheap enough to scrape often: one
// grouped count from the journal, the views the workers keep, and the
// exchange histograms read without a lock.
#include <string>

#include "korvena/service/fiscal_service.h"

namespace korvena::service {

inline constexpr const char* kMetricsContentType = "text/plain; version=0.0.4";

// Throws what the journal throws when it cannot be read.
std::string MetricsText(const FiscalService& service);

}  // namespace korvena::service
