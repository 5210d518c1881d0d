// Running speed of the interpreter. The closing figures compare the additions loop with
// the same loop in CPython on the same machine (see the README's script section): the
// interpreter should not be slower.
#include <benchmark/benchmark.h>

#include <string>
#include <vector>

#include "../tests/ScriptHost.h"

namespace {

void Compile(TfsScript& script, std::string& output, std::vector<std::string> lines) {
  DeclareTestHost(script, output);
  script.Lines = std::move(lines);
  if (!script.CompileScript()) throw std::runtime_error(script.ErrorMessage + " at " + script.ErrorPosition);
}

// for i := 1 to 10000000 do s := s + 1 (Python: for i in range(10000000): s = s + 1).
void BM_TenMillionIntegerAdditions(benchmark::State& state) {
  std::string output;
  TfsScript script;
  Compile(script, output, {"var i, s: Integer;", "begin", "  s := 0;", "  for i := 1 to 10000000 do s := s + 1", "end."});
  for (auto _ : state) {
    script.ExecuteScript();
    if (script.FindSymbol("s")->ReadValue().toInt32() != 10000000) state.SkipWithError("wrong sum");
  }
}
BENCHMARK(BM_TenMillionIntegerAdditions)->Unit(benchmark::kMillisecond);

// An event handler as report scripts write them, called once per data row for 1,000 rows:
// it reads the row's values, computes the gross amount and VAT, keeps running totals and
// builds the line's description.
void BM_ThousandRowEventHandler(benchmark::State& state) {
  std::string output;
  TfsScript script;
  Compile(script, output,
          {"var Suma, SumaVat: Extended; Opis: String; Wiersze: Integer;",
           "procedure PozycjaOnBeforePrint(Sender: Variant; Ilosc: Integer; Cena: Extended; Stawka: Integer);",
           "var Netto, Vat: Extended;",
           "begin",
           "  Netto := Ilosc * Cena;",
           "  if Stawka in [5, 8, 23] then Vat := Netto * Stawka / 100 else Vat := 0;",
           "  Suma := Suma + Netto + Vat;",
           "  SumaVat := SumaVat + Vat;",
           "  case Ilosc of",
           "    1: Opis := 'sztuka';",
           "    2..4: Opis := 'sztuki';",
           "  else",
           "    Opis := 'sztuk';",
           "  end;",
           "  Wiersze := Wiersze + 1",
           "end;",
           "begin end."});
  Variant args = Variant::Array(0, 3);
  for (auto _ : state) {
    for (int row = 0; row < 1000; ++row) {
      args.at(0) = Variant::Null();
      args.at(1) = Variant(int32_t{row % 7 + 1});
      args.at(2) = Variant(12.5 + row % 10);
      args.at(3) = Variant(int32_t{row % 3 == 0 ? 8 : 23});
      script.CallScriptFunction("PozycjaOnBeforePrint", args);
    }
  }
  state.SetItemsProcessed(state.iterations() * 1000);
}
BENCHMARK(BM_ThousandRowEventHandler)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
