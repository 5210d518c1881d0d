#pragma once
// The program's windows open in the middle of the desktop.
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

inline void CentreOnScreen(QWidget* window) {
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    QRect frame = window->frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    window->move(frame.topLeft());
  }
}
