#pragma once
// Paper: the table of standard paper sizes, keyed by the Windows paper codes that
// templates and printer settings carry, and the default paper of the current printer.
//
// One table serves the report pages (a page's PaperSize code gives its size) and
// printing (paper lists, custom sizes). Code 256 is a user-defined size and is not in
// the table; codes 48 and 49 are reserved and absent too.
//
// The default paper comes from whoever knows the printers: the printing layer plugs a
// source in (SetDefaultPrinterPaperSource); without one, or when the source has no
// printer, the answer is the virtual printer's A4 portrait. Window thread only.

#include <functional>
#include <optional>
#include <span>
#include <string_view>

namespace paper {

constexpr int kCustomPaper = 256;  // a user-defined width and height
constexpr int kA4 = 9;

struct TPaperSize {
  int Code;
  std::string_view Name;
  int Width;   // tenths of a millimetre, portrait
  int Height;  // tenths of a millimetre, portrait
};

// Every standard paper, in code order.
std::span<const TPaperSize> Sizes();
// The entry of a code, or none (256, reserved and unknown codes).
const TPaperSize* Find(int code);

// Width and height in millimetres, portrait.
struct TPaperDimensions {
  double Width = 0;
  double Height = 0;
};
std::optional<TPaperDimensions> DimensionsOf(int code);

// The paper a printer hands out by default.
struct TPrinterPaper {
  int Code = kA4;
  double Width = 210;   // millimetres, as oriented
  double Height = 297;  // millimetres, as oriented
  bool Landscape = false;
};

// The current printer's default paper, or A4 portrait when no source knows one.
TPrinterPaper DefaultPrinterPaper();
// Plugs in (or, with an empty function, takes out) the source of DefaultPrinterPaper.
using TPrinterPaperSource = std::function<std::optional<TPrinterPaper>()>;
void SetDefaultPrinterPaperSource(TPrinterPaperSource source);

}  // namespace paper
