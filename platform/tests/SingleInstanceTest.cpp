#include "platform/SingleInstance.h"

#include <gtest/gtest.h>

#include <cstdlib>

#include "TempFolder.h"

namespace {

class SingleInstanceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    const char* saved = std::getenv("XDG_RUNTIME_DIR");
    hadRuntime_ = saved != nullptr;
    if (saved) savedRuntime_ = saved;
    ::setenv("XDG_RUNTIME_DIR", runtime_.Folder().c_str(), 1);
  }
  void TearDown() override {
    if (hadRuntime_) ::setenv("XDG_RUNTIME_DIR", savedRuntime_.c_str(), 1);
    else ::unsetenv("XDG_RUNTIME_DIR");
  }
  TempFolder runtime_;
  bool hadRuntime_ = false;
  std::string savedRuntime_;
};

TEST_F(SingleInstanceTest, SecondHolderIsRefusedUntilTheFirstLetsGo) {
  auto first = std::make_unique<TSingleInstanceLock>();
  ASSERT_EQ(first->Acquire("OneCopyMutex"), TSingleInstanceLock::Result::Acquired);
  EXPECT_TRUE(runtime_.Exists("OneCopyMutex.lock"));
  TSingleInstanceLock second;
  EXPECT_EQ(second.Acquire("OneCopyMutex"), TSingleInstanceLock::Result::HeldElsewhere);
  TSingleInstanceLock other;
  EXPECT_EQ(other.Acquire("OtherLock"), TSingleInstanceLock::Result::Acquired);
  first.reset();
  EXPECT_EQ(second.Acquire("OneCopyMutex"), TSingleInstanceLock::Result::Acquired);
}

TEST_F(SingleInstanceTest, UnusableRuntimeFolderIsReported) {
  ::setenv("XDG_RUNTIME_DIR", (runtime_.Folder() + "missing").c_str(), 1);
  TSingleInstanceLock lock;
  EXPECT_EQ(lock.Acquire("OneCopyMutex"), TSingleInstanceLock::Result::Unavailable);
}

}  // namespace
