#pragma once
// The device's values the service program shows in its status display, by
// info number: read in the display's order, kept for whoever shows them.
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "korvena/operations/outcome.h"

namespace korvena::operations {

// Info number -> its answer, as the device gave it (bytes).
using StatusValues = std::map<int, std::string>;

// Asks for each of `numbers` in order; `afterEach` hears each answer (to
// move a progress bar).
StatusValues ReadStatusValues(DeviceSession& session, const std::vector<int>& numbers,
                              const std::function<void(int number, const std::string& answer)>& afterEach = {});

// The values a status report shows: every info number of the catalogue
// that is not a header or footer line or a setting of its own dialog
// (currencies, rounding, line speeds), in ascending order.
std::vector<int> StatusReportNumbers();

}  // namespace korvena::operations
