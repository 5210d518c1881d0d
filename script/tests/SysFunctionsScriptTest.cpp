// The function library as scripts of each language call it: the declarations decide
// how arguments arrive, var parameters come back into the script's variables, and
// errors reach the script's except blocks with their texts.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/FormatSettings.h"
#include "script/fs_iinterpreter.h"
#include "script/fs_isysrtti.h"

namespace {

struct ScriptCase {
  const char* what;
  const char* language;
  std::vector<std::string> lines;
  const char* expected;  // what ShowMessage wrote, one line per call
};

// Runs the script with the built-in modules; the output, or the error that stopped it.
std::string RunCase(const ScriptCase& c) {
  std::string output;
  TfsShowMessageHandler previous = fsSetShowMessageHandler([&](const std::string& text) { output += text + "\n"; });
  TfsScript script;
  script.AddSystemModules();
  script.SyntaxType = c.language;
  script.Lines = c.lines;
  if (!script.CompileScript()) {
    output += "compile error " + script.ErrorPosition + ": " + script.ErrorMessage;
  } else {
    try {
      script.ExecuteScript();
    } catch (const std::exception& e) {
      output += std::string("stopped: ") + e.what();
    }
  }
  fsSetShowMessageHandler(previous);
  return output;
}

TEST(SysFunctionsInScripts, EdgeCasesInEveryLanguage) {
  TFormatSettings dot = PolishFormatSettings();
  dot.DecimalSeparator = '.';
  dot.ThousandSeparator = ',';
  TScopedFormatSettings settings(dot);
  fsSetRandomSeed(0);
  const ScriptCase cases[] = {
      {"banker's rounding", "PascalScript",
       {"begin ShowMessage(Round(2.5)); ShowMessage(Round(3.5)); ShowMessage(Round(-2.5)) end."}, "2\n4\n-2\n"},
      {"negatives toward zero", "PascalScript",
       {"begin ShowMessage(Trunc(-2.7)); ShowMessage(Int(-2.7)); ShowMessage(Frac(-2.75)) end."}, "-2\n-2\n-0.75\n"},
      {"a float from Int", "PascalScript", {"begin ShowMessage(VarType(Int(2.5))) end."}, "5\n"},
      {"64-bit text", "PascalScript", {"begin ShowMessage(IntToStr(5000000000)) end."}, "5000000000\n"},
      {"Booleans", "PascalScript",
       {"begin ShowMessage(BoolToStr(True)); ShowMessage(StrToBool('true')); ShowMessage(StrToBool('0')) end."},
       "-1\nTrue\nFalse\n"},
      {"Copy and Pos", "PascalScript",
       {"begin ShowMessage(Copy('abcdef', 0, 2)); ShowMessage('[' + Copy('abc', 5, 1) + ']');",
        "ShowMessage(Pos('', 'abc')); ShowMessage('[' + Copy('abc', 1, -2) + ']') end."},
       "ab\n[]\n0\n[]\n"},
      {"NameCase", "PascalScript",
       {"begin ShowMessage(NameCase('hURTOWNIA morwa')); ShowMessage('[' + NameCase(' jan kowalski') + ']') end."},
       "Hurtownia Morwa\n[ jan Kowalski]\n"},
      {"variant arrays", "PascalScript",
       {"var a: Variant;", "begin", "  a := VarArrayCreate([1, 5], varVariant);", "  a[1] := 'pierwszy'; a[2] := 'drugi';",
        "  ShowMessage(Length(a)); SetLength(a, 3); ShowMessage(Length(a)); ShowMessage(a[2])", "end."},
       "5\n2\ndrugi\n"},
      {"Format", "PascalScript", {"begin ShowMessage(Format('%5.1f|%-4d|%s', [3.14159, 7, 'x'])) end."},
       "  3.1|7   |x\n"},
      {"FormatFloat", "PascalScript",
       {"begin ShowMessage(FormatFloat('#,##0.00', 1234.5)); ShowMessage(FormatFloat('0.00;(0.00)', -5)) end."},
       "1,234.50\n(5.00)\n"},
      {"minutes or month", "PascalScript",
       {"var d: TDateTime;", "begin d := EncodeDate(2026, 12, 11) + EncodeTime(14, 5, 0, 0);",
        "ShowMessage(FormatDateTime('hh:mm', d)); ShowMessage(FormatDateTime('dd.mm.yyyy', d)) end."},
       "14:05\n11.12.2026\n"},
      {"calendar", "PascalScript",
       {"begin ShowMessage(DayOfWeek(0)); ShowMessage(DaysInMonth(2000, 2)); ShowMessage(DaysInMonth(1900, 2)) end."},
       "7\n29\n28\n"},
      {"the first Random after seed 0", "PascalScript", {"begin ShowMessage(Random * 4294967296) end."}, "1\n"},
      {"var parameters", "PascalScript",
       {"var s: String; i: Integer; y, m, d: Word;", "begin", "  s := 'abcdef'; Delete(s, 2, 3); ShowMessage(s);",
        "  Insert('XY', s, 2); ShowMessage(s);", "  i := 5; Inc(i); Inc(i, 10); Dec(i, 2); ShowMessage(i);",
        "  DecodeDate(EncodeDate(2024, 2, 29), y, m, d); ShowMessage(IntToStr(d) + '.' + IntToStr(m) + '.' + IntToStr(y))",
        "end."},
       "aef\naXYef\n14\n29.2.2024\n"},
      {"errors reach except blocks", "PascalScript",
       {"begin", "  try StrToInt('abc') except ShowMessage(ExceptionMessage) end;",
        "  try EncodeDate(2026, 13, 1) except ShowMessage(ExceptionMessage) end;",
        "  try Format('%d %d', [1]) except ShowMessage(ExceptionMessage) end;",
        "  try CreateOleObject('Excel.Application') except ShowMessage(ExceptionMessage) end;",
        "  try RaiseException('Brak faktury') except ShowMessage(ExceptionClassName + ': ' + ExceptionMessage) end",
        "end."},
       "'abc' is not a valid integer value\nInvalid argument to date encode\nNo argument for format '%d %d'\n"
       "Automation objects are not available on this platform: 'Excel.Application'\nException: Brak faktury\n"},
      {"an error without except stops the script", "PascalScript", {"begin StrToFloat('1,5'); ShowMessage('dalej') end."},
       "stopped: '1,5' is not a valid floating point value"},
      {"C-like", "C++Script",
       {"{ ShowMessage(Round(2.5)); ShowMessage(Copy(\"abcdef\", 2, 3)); ShowMessage(FormatFloat(\"#,##0.00\", 1234.5)); }"},
       "2\nbcd\n1,234.50\n"},
      {"Basic", "BasicScript",
       {"Dim s", "s = \"abcdef\"", "ShowMessage(Copy(s, 3, 4))", "ShowMessage(IntToStr(5000000000))",
        "ShowMessage(UpperCase(\"faktura\"))"},
       "cdef\n5000000000\nFAKTURA\n"},
      {"JScript", "JScript",
       {"var a = VarArrayCreate([0, 2], varVariant);", "ShowMessage(Length(a));",
        "ShowMessage(Format(\"%s: %.2n\", [\"Suma\", 98765.4321]));"},
       "3\nSuma: 98,765.43\n"},
  };
  for (const ScriptCase& c : cases) EXPECT_EQ(RunCase(c), c.expected) << c.what << " (" << c.language << ")";
}

}  // namespace
