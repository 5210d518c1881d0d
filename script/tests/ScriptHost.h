#pragma once
// A small host for running scripts in tests: the standard type names and constants a
// script expects, ShowMessage writing into a text, and helpers that compile and run.

#include <string>
#include <vector>

#include "platform/FormatSettings.h"
#include "script/fs_iexpression.h"
#include "script/fs_iinterpreter.h"

struct ScriptRun {
  bool compiled = false;
  std::string error;     // compile error message, or the run-time exception's text
  std::string position;  // of a compile error
  std::string output;    // what ShowMessage wrote, one line per call
};

// The type entries the built-in library declares.
inline void DeclareTestTypes(TfsScript& script) {
  const char* integers[] = {"Byte", "Word", "Integer", "Longint", "Cardinal", "TColor"};
  for (const char* name : integers) script.DeclareType(name, stInteger);
  script.DeclareType("Boolean", stBoolean);
  const char* floats[] = {"Real", "Single", "Double", "Extended", "Currency", "TDate", "TTime", "TDateTime"};
  for (const char* name : floats) script.DeclareType(name, stFloat);
  script.DeclareType("Char", stChar);
  script.DeclareType("String", stString);
  script.DeclareType("Variant", stVariant);
  script.DeclareType("Pointer", stVariant);
  script.DeclareType("Array", stArray);
  script.DeclareType("Constructor", stConstructor);
}

// Declares what the tests' scripts use into `script`; ShowMessage appends to `output`.
inline void DeclareTestHost(TfsScript& script, std::string& output) {
  DeclareTestTypes(script);
  script.DeclareConstant("True", "Boolean", Variant(true));
  script.DeclareConstant("False", "Boolean", Variant(false));
  script.DeclareConstant("Null", "Variant", Variant::Null());
  script.DeclareVariable("ExceptionClassName", "String", Variant(std::string()));
  script.DeclareVariable("ExceptionMessage", "String", Variant(std::string()));
  script.DeclareFunction("procedure ShowMessage(Msg: Variant)",
                         [&output](TfsHostObject*, const TfsHostClass*, const std::string&, std::vector<Variant>& p) {
                           output += fsVarToText(p[0]) + "\n";
                           return Variant();
                         });
  script.DeclareFunction("procedure RaiseException(Msg: String)",
                         [](TfsHostObject*, const TfsHostClass*, const std::string&, std::vector<Variant>& p) -> Variant {
                           throw std::runtime_error(fsVarToText(p[0]));
                         });
}

// Numbers and dates are written with the fixed Polish record, whatever the machine's locale.
inline ScriptRun RunScript(const std::string& language, const std::vector<std::string>& lines) {
  TScopedFormatSettings polish(PolishFormatSettings());
  ScriptRun run;
  TfsScript script;
  DeclareTestHost(script, run.output);
  script.SyntaxType = language;
  script.Lines = lines;
  run.compiled = script.CompileScript();
  if (!run.compiled) {
    run.error = script.ErrorMessage;
    run.position = script.ErrorPosition;
    return run;
  }
  try {
    script.ExecuteScript();
  } catch (const std::exception& e) {
    run.error = e.what();
  }
  return run;
}
