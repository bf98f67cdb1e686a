// Windows matches file names without regard to case by itself.
#include "korvena/platform/file_names.h"

namespace korvena {

std::string ResolveFileName(const std::string& path) { return path; }

}  // namespace korvena
