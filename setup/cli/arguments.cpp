#include "arguments.h"

#include "cli_failure.h"

namespace korvena::cli {
namespace {

constexpr std::string_view kEndOfOptions = "--";

}  // namespace

Arguments::Arguments(std::string command, std::vector<std::string> words)
    : command_(std::move(command)), words_(std::move(words)) {}

std::string Arguments::Next(std::string_view what) {
  if (!words_.empty() && words_.front() == kEndOfOptions) words_.erase(words_.begin());
  if (words_.empty()) FailUsage(command_ + ": " + std::string(what) + " is missing");
  std::string word = std::move(words_.front());
  words_.erase(words_.begin());
  return word;
}

std::string Arguments::NextOf(std::string_view what, std::initializer_list<std::string_view> choices) {
  std::string word = Next(what);
  std::string offered;
  for (const std::string_view choice : choices) {
    if (word == choice) return word;
    offered += (offered.empty() ? "" : ", ") + std::string(choice);
  }
  FailUsage(command_ + ": " + std::string(what) + " must be one of " + offered + ", not \"" + word + "\"");
}

std::optional<std::size_t> Arguments::Find(std::string_view word) const {
  for (std::size_t i = 0; i < words_.size() && words_[i] != kEndOfOptions; ++i)
    if (words_[i] == word) return i;
  return std::nullopt;
}

std::optional<std::string> Arguments::Option(std::string_view name) {
  const std::optional<std::size_t> at = Find(name);
  if (!at) return std::nullopt;
  if (*at + 1 >= words_.size()) FailUsage(command_ + ": " + std::string(name) + " needs a value");
  std::string value = std::move(words_[*at + 1]);
  words_.erase(words_.begin() + static_cast<std::ptrdiff_t>(*at),
               words_.begin() + static_cast<std::ptrdiff_t>(*at) + 2);
  if (Find(name)) FailUsage(command_ + ": " + std::string(name) + " is given twice");
  return value;
}

bool Arguments::Flag(std::string_view name) {
  const std::optional<std::size_t> at = Find(name);
  if (!at) return false;
  words_.erase(words_.begin() + static_cast<std::ptrdiff_t>(*at));
  return true;
}

std::vector<std::string> Arguments::Rest() {
  if (!words_.empty() && words_.front() == kEndOfOptions) words_.erase(words_.begin());
  std::vector<std::string> rest = std::move(words_);
  words_.clear();
  return rest;
}

void Arguments::Done() const {
  if (!words_.empty()) FailUsage(command_ + ": unexpected argument \"" + words_.front() + "\"");
}

}  // namespace korvena::cli
