#include "korvena/platform/message_box.h"

#include <cstdio>

namespace korvena {

void ShowWarningBox(const std::string& caption, const std::string& text) {
  std::fprintf(stderr, "%s: %s\n", caption.c_str(), text.c_str());
  std::fflush(stderr);
}

}  // namespace korvena
