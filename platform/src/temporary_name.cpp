#include "temporary_name.h"

#include <atomic>
#include <cctype>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <random>

#include "korvena/platform/file_names.h"

namespace korvena {
namespace {

constexpr std::size_t kHexDigits = 16;

uint64_t ProcessSeed() {
  try {
    std::random_device device;
    return (uint64_t{device()} << 32) ^ device();
  } catch (...) {
    return 0;  // the clock and the counter still make the names differ
  }
}

}  // namespace

std::string TemporaryNameBeside(const std::string& target) {
  static const uint64_t seed = ProcessSeed();
  static std::atomic<uint64_t> counter{0};
  const auto now = static_cast<uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
  const uint64_t mixed = ((now + counter.fetch_add(1, std::memory_order_relaxed)) * 0x9E3779B97F4A7C15ull) ^ seed;
  char suffix[24];
  std::snprintf(suffix, sizeof suffix, ".%016llx~", static_cast<unsigned long long>(mixed));
  const std::string folder = DirectoryOf(target);
  return folder + "." + target.substr(folder.size()) + suffix;
}

bool IsTemporaryNameOf(const std::string& name, const std::string& targetName) {
  const std::string prefix = "." + targetName + ".";
  if (name.size() != prefix.size() + kHexDigits + 1 || name.compare(0, prefix.size(), prefix) != 0 ||
      name.back() != '~')
    return false;
  for (std::size_t i = prefix.size(); i < prefix.size() + kHexDigits; ++i)
    if (!std::isxdigit(static_cast<unsigned char>(name[i])) || std::isupper(static_cast<unsigned char>(name[i])))
      return false;
  return true;
}

}  // namespace korvena
