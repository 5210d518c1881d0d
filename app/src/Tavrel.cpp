#include "app/Tavrel.h"

#include <QApplication>
#include <QPainter>
#include <QPixmap>
#include <QSystemTrayIcon>

#include "platform/ErrorBox.h"
#include "platform/FileSystem.h"
#include "platform/MessageBox.h"
#include "platform/SingleInstance.h"

QIcon TavrelIcon() {
  // A printer with a sheet coming out: what the program does, drawn at 32 by 32.
  QPixmap pixmap(32, 32);
  pixmap.fill(Qt::transparent);
  QPainter painter(&pixmap);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(QPen(QColor(40, 40, 60), 1));
  painter.setBrush(QColor(250, 250, 250));
  painter.drawRect(QRectF(9.5, 2.5, 13, 10));  // paper in the tray
  painter.setBrush(QColor(70, 110, 170));
  painter.drawRoundedRect(QRectF(2.5, 11.5, 27, 12), 2, 2);  // body
  painter.setBrush(QColor(250, 250, 250));
  painter.drawRect(QRectF(8.5, 19.5, 15, 11));  // printed sheet
  painter.setPen(QPen(QColor(200, 40, 40), 1.5));
  painter.drawLine(QPointF(11, 23.5), QPointF(21, 23.5));
  painter.drawLine(QPointF(11, 26.5), QPointF(18, 26.5));
  painter.setPen(Qt::NoPen);
  painter.setBrush(QColor(120, 220, 120));
  painter.drawEllipse(QPointF(25.5, 15.5), 1.5, 1.5);  // power light
  painter.end();
  return QIcon(pixmap);
}

TTavrelWindows CreateTavrelWindows(const std::string& programFolder, bool trayAvailable) {
  TTavrelWindows windows;
  windows.frm_main = std::make_unique<Tfrm_main>(programFolder, trayAvailable);
  windows.frm_about = std::make_unique<Tfrm_about>();
  windows.frm_Email = std::make_unique<Tfrm_Email>(programFolder);
  Tfrm_main& main = *windows.frm_main;
  main.SetAboutWindow(windows.frm_about.get());
  main.SetEmailWindow(windows.frm_Email.get());
  main.ReadSettings();
  try {
    main.FillPrinterList();
  } catch (const std::exception& e) {
    ShowStandardError(e.what());
  }
  if (!trayAvailable) main.Pokaprogram1Click();
  return windows;
}

int RunTavrel(int argc, char** argv) {
  // A second start in the same session ends here, silently. When the lock cannot be
  // made at all the program runs unguarded rather than not at all.
  TSingleInstanceLock oneCopy;
  if (oneCopy.Acquire("OneCopyMutex") == TSingleInstanceLock::Result::HeldElsewhere) return 0;

  QApplication application(argc, argv);
  QApplication::setApplicationName(QStringLiteral("Tavrel"));
  QApplication::setWindowIcon(TavrelIcon());
  // Hidden windows and the tray keep the program alive; only "Zamknij program" ends it.
  QApplication::setQuitOnLastWindowClosed(false);
  messagebox::InstallStandardErrorBox();

  const TTavrelWindows windows =
      CreateTavrelWindows(fsys::ProgramFolder(), QSystemTrayIcon::isSystemTrayAvailable());
  return QApplication::exec();
}
