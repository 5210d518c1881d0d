// Parsing speed of long scripts: a report script of 5,000 lines must parse in well
// under a second although the parser backtracks by design.
#include <benchmark/benchmark.h>

#include <string>

#include "script/fs_iilparser.h"
#include "script/fs_iinterpreter.h"

namespace {

// An invoice script of about `lines` lines: procedures with loops, conditions, case
// selectors and expressions over report values.
std::string PascalScript(int lines) {
  std::string s = "var suma, podatek: Extended;\r\n    i, n: Integer;\r\n    opis: String;\r\n";
  int written = 3;
  for (int p = 0; written + 16 < lines; ++p) {
    std::string n = std::to_string(p);
    s += "procedure Pozycja" + n + "(ilosc: Integer; var wartosc: Extended);\r\n"
         "var j: Integer;\r\n"
         "begin\r\n"
         "  wartosc := 0;\r\n"
         "  for j := 1 to ilosc do\r\n"
         "  begin\r\n"
         "    wartosc := wartosc + <Dane.\"Cena\"> * (1 + 23 / 100) - j div 2;\r\n"
         "    if (wartosc > 1000) and not (j in [1, 3..5]) then\r\n"
         "      opis := 'Rabat ' + IntToStr(j) + ' z\xB3'\r\n"
         "    else\r\n"
         "      opis := ''\r\n"
         "  end;\r\n"
         "  case ilosc of\r\n"
         "    1, 2: suma := suma + wartosc\r\n"
         "  else suma := suma - wartosc end\r\n"
         "end;\r\n";
    written += 16;
  }
  s += "begin\r\n";
  for (++written; written < lines - 1; ++written) s += "  Pozycja0(n, suma);\r\n";
  s += "end.\r\n";
  return s;
}

std::string BasicScript(int lines) {
  std::string s;
  for (int written = 0; written + 8 <= lines; written += 8)
    s += "For i = 1 To n\r\n"
         "  suma = suma + <Dane.\"Cena\"> * (1 + 23 / 100) - i \\ 2\r\n"
         "  If suma > 1000 And Not (i In [1, 3..5]) Then\r\n"
         "    opis = \"Rabat \" & i\r\n"
         "  Else\r\n"
         "    opis = \"\"\r\n"
         "  End If\r\n"
         "Next\r\n";
  return s;
}

void Parse(benchmark::State& state, const char* language, const std::string& source) {
  TfsScript script;
  TfsILParser parser(&script);
  parser.LoadGrammar(language);
  for (auto _ : state) {
    bool ok = parser.SourceToIL(source);
    if (!ok) state.SkipWithError(("syntax error " + parser.ErrorPosition + ": " + parser.ErrorMessage).c_str());
    benchmark::DoNotOptimize(ok);
  }
  state.counters["lines"] = static_cast<double>(state.range(0));
  state.counters["bytes"] = static_cast<double>(source.size());
}

void BM_PascalScript(benchmark::State& state) {
  Parse(state, "PascalScript", PascalScript(static_cast<int>(state.range(0))));
}
BENCHMARK(BM_PascalScript)->Arg(500)->Arg(5000)->Unit(benchmark::kMillisecond);

void BM_BasicScript(benchmark::State& state) {
  Parse(state, "BasicScript", BasicScript(static_cast<int>(state.range(0))));
}
BENCHMARK(BM_BasicScript)->Arg(5000)->Unit(benchmark::kMillisecond);

// The whole of CompileScript (grammar fetched from the cache) for a short expression
// function, as the report compiles many of them.
void BM_CompileSmallFunction(benchmark::State& state) {
  TfsScript script;
  script.Lines = {"function fsEvaluateFUNC: Variant; begin Result := <Dane.\"Ilosc\"> * 2 + 1 end; begin end."};
  for (auto _ : state) benchmark::DoNotOptimize(script.CompileScript());
}
BENCHMARK(BM_CompileSmallFunction)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
