#pragma once
// A fresh folder for one test, removed with everything in it. Its path has
// no dot, which would change how some programs name their files.
#include <string>
#include <vector>

namespace korvena {

class ScratchFolder {
 public:
  ScratchFolder();
  ~ScratchFolder();
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;

  const std::string& path() const { return path_; }
  std::string operator/(const std::string& name) const { return path_ + "/" + name; }

  // Writes `bytes` to `name`, making its folders; the full path.
  std::string Write(const std::string& name, const std::string& bytes) const;
  // The bytes of `name`; `ifMissing` when it cannot be read.
  std::string Read(const std::string& name, const std::string& ifMissing = "") const;
  bool Has(const std::string& name) const;
  // The names of the folder's entries, sorted.
  std::vector<std::string> Names() const;

 private:
  std::string path_;
};

}  // namespace korvena
