#include "korvena/loaders/htx_file.h"

#include <cerrno>
#include <cstdio>

#include "korvena/platform/file_names.h"

namespace korvena::loaders {

HtxFile ReadHtxFile(const std::string& name) {
  HtxFile file;
  FILE* in = std::fopen(ResolveFileName(name).c_str(), "rb");
  if (in == nullptr) {
    file.status = errno == ENOENT || errno == ENOTDIR ? HtxFile::kMissing : HtxFile::kUnreadable;
    return file;
  }
  // One byte more than fits tells a file that is too large.
  std::string buffer(kHtxBufferSize + 1, '\0');
  const std::size_t got = std::fread(buffer.data(), 1, buffer.size(), in);
  const bool failed = std::ferror(in) != 0;
  std::fclose(in);
  if (failed) {
    file.status = HtxFile::kUnreadable;
  } else if (got > kHtxBufferSize) {
    file.status = HtxFile::kTooLarge;
  } else {
    buffer.resize(got);
    file.bytes = std::move(buffer);
    file.status = HtxFile::kRead;
  }
  return file;
}

}  // namespace korvena::loaders
