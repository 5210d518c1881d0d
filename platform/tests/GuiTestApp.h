#pragma once
// One QApplication for a test program (fonts and widgets need it); headless unless the
// environment says otherwise.
#include <QApplication>
#include <QtGlobal>

inline void EnsureGuiApp() {
  static int argc = 1;
  static char name[] = "tavrel-test";
  static char* argv[] = {name, nullptr};
  static QApplication* app = [] {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    return new QApplication(argc, argv);
  }();
  (void)app;
}
