#include "platform/MessageBox.h"

#include <QApplication>
#include <QMessageBox>
#include <string>

#include "platform/CodePage.h"
#include "platform/ErrorBox.h"

namespace messagebox {

void ShowError(std::string_view text, QWidget* parent) {
  const QString message = QString::fromStdU16String(codepage::ToWide(text));
  QMessageBox::critical(parent, QApplication::applicationName(), message);
}

void InstallStandardErrorBox() {
  SetStandardErrorHandler([](const std::string& message) { ShowError(message); });
}

}  // namespace messagebox
