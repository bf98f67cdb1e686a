#include <cerrno>
#include <cstring>

#include "korvena/platform/whole_files.h"

namespace korvena {

std::string FileErrorText(int error) {
  // The two refusals of our own read better than the system's wording.
  if (error == ELOOP) return "it is a symbolic link, which is not followed";
  if (error == EINVAL) return "it is not a regular file";
  return std::strerror(error);
}

}  // namespace korvena
