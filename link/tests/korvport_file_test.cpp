#include <gtest/gtest.h>

#include "korvena/link/korvport_port.h"
#include "korvena/platform/scratch_folder.h"

namespace korvena {
namespace {

#if !defined(_WIN32)
// An installed system has the soname beside the driver; a till's folder may
// hold a copy under the plain name. With neither, the library search is
// asked for the soname, which a package always installs.
TEST(KorvportFile, BesideTheDriverTheSonameComesFirstThenThePlainName) {
  ScratchFolder dir;
  EXPECT_EQ(KorvportFileFor(dir.path()), "libkorvena.so.1");
  dir.Write("libkorvena.so", "");
  EXPECT_EQ(KorvportFileFor(dir.path()), dir / "libkorvena.so");
  dir.Write("libkorvena.so.1", "");
  EXPECT_EQ(KorvportFileFor(dir.path()), dir / "libkorvena.so.1");
}
#endif

}  // namespace
}  // namespace korvena
