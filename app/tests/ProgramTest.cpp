// The program itself, started as a user starts it.
#include <gtest/gtest.h>

#include <QProcess>
#include <QProcessEnvironment>
#include <QThread>

#include "TempFolder.h"
#include "platform/SingleInstance.h"

namespace {

class ProgramTest : public ::testing::Test {
 protected:
  void SetUp() override {
    auto environment = QProcessEnvironment::systemEnvironment();
    environment.insert("XDG_RUNTIME_DIR", QString::fromStdString(runtime.Folder()));
    environment.insert("QT_QPA_PLATFORM", "offscreen");
    process.setProcessEnvironment(environment);
    previous_ = qgetenv("XDG_RUNTIME_DIR");
    qputenv("XDG_RUNTIME_DIR", runtime.Folder().c_str());
  }
  void TearDown() override {
    if (process.state() != QProcess::NotRunning) {
      process.kill();
      process.waitForFinished(10000);
    }
    qputenv("XDG_RUNTIME_DIR", previous_);
  }

  TempFolder runtime;
  QProcess process;

 private:
  QByteArray previous_;
};

TEST_F(ProgramTest, SecondStartEndsAtOnceSilently) {
  TSingleInstanceLock running;  // stands for the instance that runs already
  ASSERT_EQ(running.Acquire("OneCopyMutex"), TSingleInstanceLock::Result::Acquired);
  process.start(TAVREL_PROGRAM, {});
  ASSERT_TRUE(process.waitForFinished(30000));
  EXPECT_EQ(process.exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(process.exitCode(), 0);
  EXPECT_EQ(process.readAllStandardOutput(), "");
  EXPECT_EQ(process.readAllStandardError(), "");
}

TEST_F(ProgramTest, FirstStartKeepsRunningAndHoldsTheLock) {
  process.start(TAVREL_PROGRAM, {});
  ASSERT_TRUE(process.waitForStarted(10000));
  // Probing the lock while the program is still taking it would make the program
  // the second instance: wait until it has its lock file open, then give it time.
  const std::string lockFile = TSingleInstanceLock::LockFilePath("OneCopyMutex");
  for (int i = 0; i < 400 && !std::filesystem::exists(lockFile); ++i) QThread::msleep(50);
  QThread::msleep(500);
  TSingleInstanceLock probe;
  const bool held = probe.Acquire("OneCopyMutex") == TSingleInstanceLock::Result::HeldElsewhere;
  EXPECT_TRUE(held);
  EXPECT_EQ(process.state(), QProcess::Running);
  QProcess second;
  second.setProcessEnvironment(process.processEnvironment());
  second.start(TAVREL_PROGRAM, {});
  ASSERT_TRUE(second.waitForFinished(30000));
  EXPECT_EQ(second.exitCode(), 0);
  EXPECT_EQ(second.readAllStandardOutput() + second.readAllStandardError(), "");
  EXPECT_EQ(process.state(), QProcess::Running);
}

}  // namespace
