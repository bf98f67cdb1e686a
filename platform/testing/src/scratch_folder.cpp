#include "korvena/platform/scratch_folder.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>

namespace korvena {

namespace fs = std::filesystem;

ScratchFolder::ScratchFolder() {
  std::random_device random;
  std::error_code error;
  const fs::path base = fs::temp_directory_path(error);
  for (int attempt = 0; attempt < 100 && path_.empty(); ++attempt) {
    const fs::path candidate = base / ("korvena-test-" + std::to_string(random()));
    // create_directory says whether it made the folder: a name taken is tried again.
    if (fs::create_directory(candidate, error)) path_ = candidate.generic_string();
  }
}

ScratchFolder::~ScratchFolder() {
  std::error_code ignored;
  if (!path_.empty()) fs::remove_all(path_, ignored);
}

std::string ScratchFolder::Write(const std::string& name, const std::string& bytes) const {
  const std::string file = *this / name;
  std::error_code ignored;
  fs::create_directories(fs::path(file).parent_path(), ignored);
  std::ofstream(file, std::ios::binary) << bytes;
  return file;
}

std::string ScratchFolder::Read(const std::string& name, const std::string& ifMissing) const {
  std::ifstream in(*this / name, std::ios::binary);
  if (!in) return ifMissing;
  std::stringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

bool ScratchFolder::Has(const std::string& name) const {
  std::error_code ignored;
  return fs::exists(*this / name, ignored);
}

std::vector<std::string> ScratchFolder::Names() const {
  std::vector<std::string> names;
  std::error_code error;
  for (fs::directory_iterator it(path_, error), end; !error && it != end; it.increment(error))
    names.push_back(it->path().filename().string());
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace korvena
