#include "device_values.h"

#include "device_texts.h"
#include "korvena/protocol/info_catalogue.h"

namespace korvena::cli {

std::string InfoName(int number) {
  const std::optional<protocol::InfoNumber> entry = protocol::FindInfo(number);
  return entry ? std::string(entry->name) : "info" + std::to_string(number);
}

std::string ShownAnswer(int number, const std::string& answer) {
  const std::optional<protocol::InfoNumber> entry = protocol::FindInfo(number);
  return ShownInfo(entry ? entry->form : protocol::InfoForm::kText, answer);
}

void AddAnswer(Result& result, int number, const std::string& answer) {
  result[InfoName(number)] = ShownAnswer(number, answer);
}

void AddInfoValues(session::DeviceSession& session, std::initializer_list<int> numbers, Result& result) {
  for (const int number : numbers) AddAnswer(result, number, session.QueryInfo(number));
}

}  // namespace korvena::cli
