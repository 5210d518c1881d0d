#pragma once
// The system's printers and the application's current printer (the one printing uses
// unless a report names another). Printers come from Qt PrintSupport (CUPS here); with
// no printer installed the list is empty, there is no current printer and nothing fails.
// Window thread only.

#include <QString>
#include <QStringList>
#include <optional>
#include <stdexcept>

#include "platform/Paper.h"

class QPageSize;
class QPrinter;
class QWidget;

namespace printers {

// A printer index outside the list.
class EPrinterError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Printer names in the order the system gives them.
QStringList Names();

// Index of the current printer in Names(); the system's default printer until one is
// chosen; -1 when there is none.
int CurrentIndex();
QString CurrentName();

// Makes the printer at `index` of Names() current; throws EPrinterError otherwise.
void SetCurrentIndex(int index);

// The device set up for the current printer: page and other options chosen in the
// setup dialog stay with it for the life of the process.
QPrinter& CurrentPrinter();

// A page size as the paper table knows it: its Windows paper code (256 for a size
// without one) and its portrait width and height in millimetres.
paper::TPrinterPaper PaperOf(const QPageSize& size);

// The current printer's default paper, portrait; none without a printer. It is the
// paper layer's default printer paper (paper::DefaultPrinterPaper) wherever this
// layer is part of the program.
std::optional<paper::TPrinterPaper> DefaultPaper();

// The system's printer setup dialog for the current printer; true when confirmed.
// A printer chosen in the dialog becomes the current printer.
bool ShowSetupDialog(QWidget* parent);

}  // namespace printers
