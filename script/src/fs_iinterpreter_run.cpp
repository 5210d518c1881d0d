// Running a compiled script: the main block, single expressions in the script's
// language, and calls of script procedures by name from the host.
#include <cctype>

#include "fs_iinterpreter_program.h"

namespace {

std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return s;
}

bool ChainHasModules(const TfsScript* script) {
  for (; script; script = script->ParentScript)
    if (script->SystemModulesAdded) return true;
  return false;
}

std::vector<Variant> ArgumentsOf(const Variant& args) {
  std::vector<Variant> values;
  if (!args.isArray() || args.array().bounds.size() != 1) return values;
  for (const Variant& item : args.array().items) values.push_back(item);
  return values;
}

}  // namespace

std::vector<std::string> fsExpressionFunction(const std::string& language, const std::string& name,
                                              const std::string& expression) {
  std::string l = Lower(language);
  if (l == "c++script") return {"Variant " + name + "() { return " + expression + "; } {}"};
  if (l == "basicscript") return {"function " + name, "return " + expression, "end function"};
  if (l == "jscript") return {"function " + name + "() { return (" + expression + "); }"};
  return {"function " + name + ": Variant; begin Result := " + expression + " end; begin end."};
}

void TfsScript::ExecuteScript() {
  ExitPending = false;
  StopRequested = false;
  BreakPending = false;
  ContinuePending = false;
  RunActive = true;
  IsMainProgram = true;
  struct Reset {
    TfsScript& script;
    ~Reset() {
      script.ExitPending = false;
      script.StopRequested = false;
      script.BreakPending = false;
      script.ContinuePending = false;
      script.RunActive = false;
    }
  } reset{*this};
  if (MainStatement) static_cast<TfsStatement&>(*MainStatement).Execute();
}

Variant TfsScript::EvaluateExpression(const std::string& expression) {
  EvaluateFailed = false;
  TfsScript* scope = RunningProgram ? RunningProgram : this;
  TfsScript temporary;
  temporary.ParentScript = scope;
  temporary.OnGetVarValue = scope->OnGetVarValue;
  temporary.SyntaxType = SyntaxType;
  temporary.HighLetters = HighLetters;
  if (!ChainHasModules(scope)) temporary.AddSystemModules();
  auto runLine = std::move(OnRunLine);
  OnRunLine = nullptr;
  struct Restore {
    TfsScript& script;
    decltype(OnRunLine)& saved;
    ~Restore() { script.OnRunLine = std::move(saved); }
  } restore{*this, runLine};
  temporary.Lines = fsExpressionFunction(SyntaxType, "fsEvaluateFUNC", expression);
  if (!temporary.CompileScript()) {
    EvaluateFailed = true;
    return Variant(temporary.ErrorMessage);
  }
  return temporary.CallScriptFunction("fsEvaluateFUNC", Variant());
}

Variant TfsScript::CallScriptFunction(const std::string& name, const Variant& args) {
  auto* procedure = dynamic_cast<TfsProcVariable*>(FindLocalSymbol(name));
  if (!procedure) return Variant::Null();
  return fsCallProcedureWith(*procedure, ArgumentsOf(args));
}

Variant TfsScript::CallScriptFunctionVar(const std::string& name, Variant& args) {
  auto* procedure = dynamic_cast<TfsProcVariable*>(FindLocalSymbol(name));
  if (!procedure) return Variant::Null();
  std::vector<Variant> results;
  Variant result = fsCallProcedureWith(*procedure, ArgumentsOf(args), &results);
  if (args.isArray() && args.array().bounds.size() == 1) {
    std::vector<Variant>& items = args.array().items;
    for (size_t i = 0; i < items.size() && i < results.size(); ++i) items[i] = results[i];
  }
  return result;
}
