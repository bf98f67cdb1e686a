#include "korvena/operations/status_values.h"

#include "korvena/protocol/info_catalogue.h"

namespace korvena::operations {

StatusValues ReadStatusValues(DeviceSession& session, const std::vector<int>& numbers,
                              const std::function<void(int number, const std::string& answer)>& afterEach) {
  StatusValues values;
  for (const int number : numbers) {
    const std::string& answer = values[number] = session.QueryInfo(number);
    if (afterEach) afterEach(number, answer);
  }
  return values;
}

std::vector<int> StatusReportNumbers() {
  using protocol::InfoForm;
  std::vector<int> numbers;
  for (const protocol::InfoNumber& entry : protocol::InfoCatalogue()) {
    const InfoForm form = entry.form;
    if (form == InfoForm::kText852 || form == InfoForm::kCurrency || form == InfoForm::kRoundingList ||
        form == InfoForm::kLineSpeeds)
      continue;
    numbers.push_back(entry.number);
  }
  return numbers;
}

}  // namespace korvena::operations
