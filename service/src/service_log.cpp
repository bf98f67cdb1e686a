#include "korvena/service/service_log.h"

#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdarg>
#include <cstdio>

namespace korvena::service {
namespace {

constexpr std::string_view kPrefix = "korvena-service: ";

}  // namespace

std::string LoggableText(std::string_view text) {
  std::string out;
  out.reserve(std::min(text.size(), kMaxLogText));
  bool inQuery = false;
  for (const char raw : text) {
    const unsigned char u = static_cast<unsigned char>(raw);
    const char c = (u < 0x20 || u == 0x7f) ? ' ' : raw;
    if (c == ' ') inQuery = false;
    if (inQuery) continue;
    if (out.size() == kMaxLogText) break;
    out += c;
    // The '?' stays (a question reads as one), the rest of its word goes.
    if (c == '?') inQuery = true;
  }
  return out;
}

void LogLine(const char* format, ...) {
  char text[kMaxLogText + 1];
  va_list arguments;
  va_start(arguments, format);
  const int length = std::vsnprintf(text, sizeof text, format, arguments);
  va_end(arguments);
  if (length < 0) return;
  std::string line(kPrefix);
  line += LoggableText(text);
  line += '\n';
  // One write per line, shorter than a pipe's atomic size: journald's pipe
  // gets each line whole, whichever thread wrote it. Nowhere to tell of a failure.
  while (::write(STDERR_FILENO, line.data(), line.size()) < 0 && errno == EINTR) {
  }
}

}  // namespace korvena::service
