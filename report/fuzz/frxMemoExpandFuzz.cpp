// Fuzz entry point of memo text expansion: the input's first line is the memo's
// ExpressionDelimiters, the second its display format ("<kind digit><format text>"), the
// rest its text (Windows-1250). Every name an expression asks for is answered by the host
// with a value chosen from the name, so that expansion, the " #" formats and the display
// formats all run; a failing expression must raise EfrxReportError and leave its message
// in the report's errors, anything else must never escape.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/CodePage.h"
#include "platform/FormatSettings.h"
#include "report/frxClassMemo.h"
#include "report/frxClassReport.h"

namespace {

std::string_view NextLine(std::string_view& input) {
  const size_t end = input.find('\n');
  std::string_view line = input.substr(0, end);
  input = end == std::string_view::npos ? std::string_view() : input.substr(end + 1);
  return line;
}

// Values of every kind the formats meet, picked by the name's length; names that start
// with "x" are unknown, so errors are exercised too.
void AnswerName(const std::string& name, Variant& value) {
  if (!name.empty() && name[0] == 'x') return;
  switch (name.size() % 7) {
    case 0: value = Variant(int32_t{0}); break;
    case 1: value = Variant(-1234.5678); break;
    case 2: value = Variant::Date(45658.75); break;
    case 3: value = Variant(true); break;
    case 4: value = Variant(name); break;
    case 5: value = Variant(int64_t{-9007199254740993}); break;
    default: value = Variant(std::string("12,5")); break;
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const TScopedFormatSettings polish(PolishFormatSettings());
  std::string_view input(reinterpret_cast<const char*>(data), size);
  const std::string delimiters(NextLine(input));
  const std::string_view format = NextLine(input);

  TfrxReport report;
  report.EngineOptions().NewSilentMode = simSilent;
  report.OnGetValue = AnswerName;
  auto* memo = new TfrxMemoView(&report);
  memo->SetName("Memo1");
  memo->SetBounds(0, 0, 200, 40);
  memo->SetExpressionDelimiters(delimiters);
  if (!format.empty()) {
    memo->DisplayFormat().SetKind(static_cast<TfrxFormatKind>(static_cast<unsigned char>(format[0]) % 4));
    memo->DisplayFormat().SetFormatStr(std::string(format.substr(1)));
    memo->DisplayFormat().SetDecimalSeparator(format.size() > 1 ? std::string(1, format[1]) : std::string());
  }
  memo->SetHideZeros(size % 2 == 0);
  memo->SetSuppressRepeated(size % 3 == 0);
  memo->SetText(codepage::ToWide(input));
  for (int pass = 0; pass < 2; ++pass) {
    memo->BeforePrint();
    try {
      memo->FetchData();
    } catch (const EfrxReportError&) {
      if (report.Errors().Empty()) std::abort();  // a failure always leaves its message
    }
    memo->AfterPrint();
  }
  return 0;
}
