#include "ScriptDialogs.h"

#include <QApplication>
#include <QGuiApplication>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <iostream>
#include <vector>

#include "platform/CodePage.h"
#include "script/fs_idialogsrtti.h"
#include "script/fs_iformsrtti.h"
#include "script/fs_isysrtti.h"

namespace {

QString Wide(const std::string& text) { return QString::fromStdU16String(codepage::ToWide(text)); }

// A window can be shown: a running application on a platform that has a display.
bool HasDisplay() {
  if (!QApplication::instance()) return false;
  const QString platform = QGuiApplication::platformName();
  return platform != QLatin1String("offscreen") && platform != QLatin1String("minimal");
}

QMessageBox::Icon IconOf(int dialogType) {
  switch (dialogType) {
    case 0: return QMessageBox::Warning;
    case 1: return QMessageBox::Critical;
    case 2: return QMessageBox::Information;
    case 3: return QMessageBox::Question;
    default: return QMessageBox::NoIcon;
  }
}

int MessageDlg(const std::string& text, int dialogType, int buttons) {
  if (!HasDisplay()) {
    std::cerr << text << std::endl;
    return fsDefaultDialogAnswer(buttons);
  }
  // The buttons in the order of TMsgDlgButtons, with the modal result each gives.
  struct Button {
    int bit;
    const char* caption;
    int result;
  };
  const Button all[] = {{1, "Tak", 6},          {2, "Nie", 7},          {4, "OK", 1},
                        {8, "Anuluj", 2},       {16, "Przerwij", 3},    {32, "Ponów", 4},
                        {64, "Ignoruj", 5},     {128, "Wszystkie", 8},  {256, "Nie dla wszystkich", 9},
                        {512, "Tak dla wszystkich", 10}};
  QMessageBox box(IconOf(dialogType), QApplication::applicationName(), Wide(text));
  std::vector<std::pair<QAbstractButton*, int>> shown;
  for (const Button& b : all)
    if (buttons & b.bit) shown.emplace_back(box.addButton(QString::fromUtf8(b.caption), QMessageBox::AcceptRole), b.result);
  if (shown.empty()) shown.emplace_back(box.addButton(QStringLiteral("OK"), QMessageBox::AcceptRole), 1);
  box.exec();
  for (const auto& [button, result] : shown)
    if (box.clickedButton() == button) return result;
  return 2;  // closed without an answer: mrCancel
}

bool InputQuery(const std::string& caption, const std::string& prompt, std::string& value) {
  if (!HasDisplay()) return false;
  bool ok = false;
  const QString entered = QInputDialog::getText(nullptr, Wide(caption), Wide(prompt), QLineEdit::Normal, Wide(value), &ok);
  if (ok) value = codepage::FromWide(entered.toStdU16String());
  return ok;
}

}  // namespace

void InstallScriptDialogs() {
  fsSetShowMessageHandler([](const std::string& text) {
    if (!HasDisplay()) {
      std::cerr << text << std::endl;
      return;
    }
    QMessageBox::information(nullptr, QApplication::applicationName(), Wide(text));
  });
  fsSetDialogHandlers({MessageDlg, InputQuery});
  fsSetProcessMessagesHandler([] {
    if (QApplication::instance()) QApplication::processEvents();
  });
}
