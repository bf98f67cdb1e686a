#include "korvena/platform/scratch_folder.h"

#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace korvena {

namespace fs = std::filesystem;

ScratchFolder::ScratchFolder() {
  char pattern[] = "/tmp/korvena-test-XXXXXX";
  path_ = mkdtemp(pattern) ? pattern : "";
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
    names.push_back(it->path().filename());
  std::sort(names.begin(), names.end());
  return names;
}

}  // namespace korvena
