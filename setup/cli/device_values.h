#pragma once
// The device's info answers as a result: keyed by the catalogue's names,
// texts in UTF-8.
#include <initializer_list>
#include <string>

#include "korvena/session/device_session.h"
#include "result_output.h"

namespace korvena::cli {

// The catalogue's name of info `number`, or "info<number>" for one it lacks.
std::string InfoName(int number);
// An answer of info `number` shown by its form.
std::string ShownAnswer(int number, const std::string& answer);
// Adds the answer of info `number` to `result` under its name.
void AddAnswer(Result& result, int number, const std::string& answer);
// Asks the device for each of `numbers` and adds the answers to `result`.
void AddInfoValues(session::DeviceSession& session, std::initializer_list<int> numbers, Result& result);

}  // namespace korvena::cli
