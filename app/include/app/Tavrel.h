#pragma once
// The program's start: one instance per user session, then the three windows in their
// order, the settings, the start-up delay and the printer list, then the message loop.

#include <memory>
#include <string>

#include <QIcon>

#include "app/Unit_about.h"
#include "app/Unit_main.h"
#include "app/unit_email.h"

// The program's own 32 by 32 icon (tray, windows, About).
QIcon TavrelIcon();

struct TTavrelWindows {
  std::unique_ptr<Tfrm_main> frm_main;
  std::unique_ptr<Tfrm_about> frm_about;
  std::unique_ptr<Tfrm_Email> frm_Email;
};

// Creates the windows hidden, in order, then reads the settings and fills the printer
// list as the e-mail window comes into being. A start-up delay that is not a whole
// number is shown in the standard error box and leaves the printer list empty.
// Where there is no notification area the main window is shown, since nothing else
// would lead to it.
TTavrelWindows CreateTavrelWindows(const std::string& programFolder, bool trayAvailable);

// The whole program; returns the exit status.
int RunTavrel(int argc, char** argv);
