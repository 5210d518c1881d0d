#pragma once
// The program's windows created in their start-up order over a fresh program folder,
// with the standard error box recording its messages instead of showing them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "TempFolder.h"
#include "app/Tavrel.h"
#include "platform/ErrorBox.h"

class AppFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    previousHandler_ = SetStandardErrorHandler([this](const std::string& m) { errors.push_back(m); });
  }
  void TearDown() override {
    windows = {};
    SetStandardErrorHandler(previousHandler_);
  }
  Tfrm_main& Start(bool trayAvailable = true) {
    windows = CreateTavrelWindows(program.Folder(), trayAvailable);
    return *windows.frm_main;
  }

  TempFolder program;
  TTavrelWindows windows;
  std::vector<std::string> errors;

 private:
  StandardErrorHandler previousHandler_;
};
