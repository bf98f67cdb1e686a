#pragma once
// What kalibro-cli prints: a command's result, and why it stopped short.
// With --json exactly one JSON object goes to standard output, the result
// itself or {"error": {...}}; without it a table for people goes to
// standard output and a failure to standard error.
#include <nlohmann/json.hpp>
#include <ostream>
#include <string>

#include "cli_failure.h"

namespace korvena::cli {

using Result = nlohmann::ordered_json;

void PrintResult(std::ostream& out, const Result& result, bool json);
// `command` names the command whose help a usage failure points to; "" for the program's.
void PrintFailure(std::ostream& out, std::ostream& err, const CliFailure& failure, bool json,
                  const std::string& command);

// The result as people read it: one "name  value" row for each value,
// numbered rows for a list, a table with a heading for a list of records.
std::string TableOf(const Result& result);
// The failure as --json prints it.
Result FailureObject(const CliFailure& failure);

}  // namespace korvena::cli
