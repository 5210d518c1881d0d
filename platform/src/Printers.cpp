#include "platform/Printers.h"

#include <QPageSize>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <memory>

namespace printers {
namespace {

struct State {
  bool chosen = false;  // false: follow the system's default printer
  QString name;
  std::unique_ptr<QPrinter> printer;
};

State& Current() {
  static State state;
  return state;
}

// Pages set up from the printer take this layer's answer.
[[maybe_unused]] const bool kPaperSourceInstalled =
    (paper::SetDefaultPrinterPaperSource([] { return DefaultPaper(); }), true);

}  // namespace

QStringList Names() { return QPrinterInfo::availablePrinterNames(); }

QString CurrentName() {
  const State& state = Current();
  return state.chosen ? state.name : QPrinterInfo::defaultPrinterName();
}

int CurrentIndex() {
  const QString name = CurrentName();
  return name.isEmpty() ? -1 : static_cast<int>(Names().indexOf(name));
}

void SetCurrentIndex(int index) {
  const QStringList names = Names();
  if (index < 0 || index >= names.size())
    throw EPrinterError("Printer index out of range");
  State& state = Current();
  state.chosen = true;
  state.name = names[index];
  if (state.printer) state.printer->setPrinterName(state.name);
}

QPrinter& CurrentPrinter() {
  State& state = Current();
  if (!state.printer) state.printer = std::make_unique<QPrinter>();
  const QString name = CurrentName();
  if (!name.isEmpty() && state.printer->printerName() != name) state.printer->setPrinterName(name);
  return *state.printer;
}

paper::TPrinterPaper PaperOf(const QPageSize& size) {
  const QSizeF mm = size.size(QPageSize::Millimeter);
  const int code = size.windowsId();
  return {code > 0 && paper::Find(code) ? code : paper::kCustomPaper, mm.width(), mm.height(), false};
}

std::optional<paper::TPrinterPaper> DefaultPaper() {
  const QString name = CurrentName();
  if (name.isEmpty()) return std::nullopt;
  const QPrinterInfo info = QPrinterInfo::printerInfo(name);
  if (info.isNull() || !info.defaultPageSize().isValid()) return std::nullopt;
  return PaperOf(info.defaultPageSize());
}

bool ShowSetupDialog(QWidget* parent) {
  QPrinter& printer = CurrentPrinter();
  QPrintDialog dialog(&printer, parent);
  if (dialog.exec() != QDialog::Accepted) return false;
  const int index = static_cast<int>(Names().indexOf(printer.printerName()));
  if (index >= 0) SetCurrentIndex(index);
  return true;
}

}  // namespace printers
