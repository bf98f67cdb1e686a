#pragma once
// Loading a shared library at run time and finding its functions through its
// own handle, so that a function of the same name elsewhere in the process
// (the host application's, say) can never stand in for it.
#include <string>

namespace korvena {

class SharedLibrary {
 public:
  SharedLibrary() = default;
  SharedLibrary(SharedLibrary&& other) noexcept;
  SharedLibrary& operator=(SharedLibrary&& other) noexcept;
  SharedLibrary(const SharedLibrary&) = delete;
  SharedLibrary& operator=(const SharedLibrary&) = delete;
  ~SharedLibrary();

  // `file` as a path, or as a bare name found by the platform's search.
  // Not loaded() when it failed; problem() then says why.
  static SharedLibrary Load(const std::string& file);

  bool loaded() const { return handle_ != nullptr; }
  const std::string& problem() const { return problem_; }
  // The library's own definition of `name`; nullptr when it has none (and
  // problem() says so).
  void* Function(const char* name);

 private:
  void* handle_ = nullptr;
  std::string problem_;
};

}  // namespace korvena
