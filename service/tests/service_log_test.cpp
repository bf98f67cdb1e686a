// What a line of the service's log keeps of a text: one event a line, and
// no query string, where a request target would carry its access token.
#include "korvena/service/service_log.h"

#include <gtest/gtest.h>

#include <string>

namespace korvena::service {
namespace {

TEST(ServiceLog, KeepsOneLineAndDropsQueryStrings) {
  const struct {
    std::string text;
    std::string kept;
  } cases[] = {
      {"COM1 is ready", "COM1 is ready"},
      {"journal: disk I/O error\nat step 2\r", "journal: disk I/O error at step 2 "},
      {"GET /v1/events?access_token=abc&x=1 refused", "GET /v1/events? refused"},
      {"is the device there? no", "is the device there? no"},
      {std::string(kMaxLogText + 50, 'x'), std::string(kMaxLogText, 'x')},
  };
  for (const auto& c : cases) EXPECT_EQ(LoggableText(c.text), c.kept) << c.text;
}

}  // namespace
}  // namespace korvena::service
