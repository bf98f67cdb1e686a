#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QTemporaryDir>

#include "shell/kalibro_texts.h"
#include "shell/single_instance.h"

namespace korvena::kalibro {
namespace {

// Processes events until `done` or a generous bound; never a timing assertion.
bool ProcessEventsUntil(const std::function<bool()>& done) {
  QElapsedTimer timer;
  timer.start();
  while (!done() && timer.elapsed() < 10000) QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
  return done();
}

// Each test gets its own runtime directory, so no other copy can answer.
class SingleInstanceTest : public testing::Test {
 protected:
  void SetUp() override {
    saved_ = qgetenv("XDG_RUNTIME_DIR");
    qputenv("XDG_RUNTIME_DIR", runtime_.path().toLocal8Bit());
  }
  void TearDown() override { qputenv("XDG_RUNTIME_DIR", saved_); }

  QTemporaryDir runtime_;
  QByteArray saved_;
};

TEST_F(SingleInstanceTest, SecondCopyBringsTheFirstToTheFront) {
  SingleInstance first(Text(kApplicationTitle));
  int broughtToFront = 0;
  ASSERT_TRUE(first.Listen([&] { ++broughtToFront; }));
  EXPECT_TRUE(SingleInstance(Text(kApplicationTitle)).ActivateRunningCopy());
  EXPECT_TRUE(ProcessEventsUntil([&] { return broughtToFront == 1; }));
  EXPECT_FALSE(SingleInstance("another title").ActivateRunningCopy());
}

TEST_F(SingleInstanceTest, FirstCopyFindsNoneAndServesLaterOnes) {
  SingleInstance first(Text(kApplicationTitle));
  EXPECT_FALSE(first.ActivateRunningCopy());
  ASSERT_TRUE(first.Listen([] {}));
  SingleInstance again(Text(kApplicationTitle));
  ASSERT_TRUE(again.Listen([] {}));  // a socket left behind is taken over
}

// The real program, started while a copy runs, ends at once with status 0
// and without showing its COM dialog (which would never be answered here).
TEST_F(SingleInstanceTest, ProgramEndsWhenACopyRuns) {
  SingleInstance first(Text(kApplicationTitle));
  int broughtToFront = 0;
  ASSERT_TRUE(first.Listen([&] { ++broughtToFront; }));

  QProcess second;
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert("QT_QPA_PLATFORM", "offscreen");
  second.setProcessEnvironment(environment);
  second.start(qEnvironmentVariable("KORVENA_BUILD_DIR", ".") + "/bin/kalibro");
  ASSERT_TRUE(ProcessEventsUntil([&] { return second.state() == QProcess::NotRunning; }))
      << "the second copy did not end";
  EXPECT_EQ(second.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(second.exitCode(), 0);
  EXPECT_TRUE(ProcessEventsUntil([&] { return broughtToFront == 1; }));
  if (second.state() != QProcess::NotRunning) second.kill();
}

}  // namespace
}  // namespace korvena::kalibro
