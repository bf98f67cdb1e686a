#include <stdlib.h>

#include <gtest/gtest.h>

#include "korvena/link/korvport_port.h"

namespace korvena {
namespace {

#if !defined(_WIN32)
// The suite's own library waits and says why an open failed; one with only
// the six calls still binds and works, its port polled as it always was.
TEST(KorvportPort, UsesWaitAndReasonWhereTheLibraryHasThem) {
  setenv("KORVPORT_COM9", "/nonexistent/tty", 1);
  const struct {
    const char* what;
    std::string folder;
    bool waitEndsEmpty;  // false: the port does not wait, the caller reads again
    std::string reason;
  } cases[] = {
      {"the suite's library", "", true, "no such device: /nonexistent/tty"},
      {"a library of six calls", KORVENA_SIX_CALL_LIBRARY_FOLDER, false, ""},
  };
  for (const auto& c : cases) {
    KorvportPort port(c.folder);
    ASSERT_TRUE(port.bound()) << c.what << ": " << port.problem();
    EXPECT_EQ(port.problem(), "") << c.what;
    EXPECT_EQ(port.Open(9, 9600), 0) << c.what;
    EXPECT_EQ(port.OpenProblem(), c.reason) << c.what;
    EXPECT_EQ(port.WaitRead(5), !c.waitEndsEmpty) << c.what;
  }
  unsetenv("KORVPORT_COM9");
}
#endif

}  // namespace
}  // namespace korvena
