// Any bytes as a script of the language TAVREL_FUZZ_GRAMMAR names, compiled and run for
// a bounded number of statements: compiling must answer with a program or an error, and
// running must end (by its own end, an error, or the host's stop) without crashing,
// hanging or reading out of bounds.
#include <cstddef>
#include <cstdint>
#include <string>

#include "../tests/ScriptHost.h"
#include "script/fs_iinterpreter.h"
#include "script/fs_iscripttool.h"

namespace {
// Statements (and loop passes) a run may take before the host stops it.
constexpr int kStepBudget = 2000;
}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string source(reinterpret_cast<const char*>(data), size);
  std::string output;
  TfsScript script;
  DeclareTestHost(script, output);
  script.SyntaxType = TAVREL_FUZZ_GRAMMAR;
  script.Lines = fsSplitLines(source);
  // Units are never read from disk here: a used unit's text is the input itself.
  script.OnGetUnit = [&source](const std::string&) { return source; };
  if (!script.CompileScript()) return 0;
  int steps = 0;
  script.OnRunLine = [&](TfsScript&, const std::string&, const std::string&) {
    if (++steps == kStepBudget) script.TerminateScript();
  };
  try {
    script.ExecuteScript();
    (void)script.EvaluateExpression("1");
  } catch (const std::exception&) {
    // A run-time error is a proper end of a script.
  }
  return 0;
}
