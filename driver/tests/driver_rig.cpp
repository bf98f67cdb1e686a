#include "driver_rig.h"

#include <dirent.h>
#include <gtest/gtest.h>
#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace korvena::driver::testing {

ScratchDir::ScratchDir() {
  char name[] = "/tmp/kvorw32-test-XXXXXX";
  path_ = mkdtemp(name) ? name : "";
}

ScratchDir::~ScratchDir() {
  std::error_code ignored;
  if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
}

void ScratchDir::Put(const std::string& name, const std::string& content) const {
  std::ofstream(*this / name, std::ios::binary) << content;
}

bool ScratchDir::Has(const std::string& name) const { return std::filesystem::exists(*this / name); }

std::string ScratchDir::Get(const std::string& name) const {
  std::ifstream in(*this / name, std::ios::binary);
  if (!in) return "<missing>";
  std::stringstream content;
  content << in.rdbuf();
  return content.str();
}

std::vector<std::string> ScratchDir::List() const {
  std::vector<std::string> names;
  for (const auto& entry : std::filesystem::directory_iterator(path_)) names.push_back(entry.path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

uint16_t Type(Driver& driver, std::string_view text) {
  uint16_t result = 0;
  for (const char c : text) result = driver.Write(static_cast<uint8_t>(c));
  return result;
}

std::vector<int> ReadAll(Driver& driver) {
  std::vector<int> read;
  for (int i = 0; i < 100; ++i) {
    read.push_back(driver.Read());
    if (read.back() == 13 || read.back() == 255) break;
  }
  return read;
}

void ScriptedRig::Start(const std::string& settings) {
  Ini(settings);
  ASSERT_EQ(driver.StartLibProc(), kStarted);
  port.written.clear();
  port.calls.clear();
}

void EmulatedRig::Start(const std::string& settings) {
  Ini(settings);
  ASSERT_EQ(driver.StartLibProc(), kStarted);
}

}  // namespace korvena::driver::testing
