// The report's script seam over the script engine, and its expression cache.
#include "script/fs_ireportscript.h"

#include "report/frxClassReport.h"
#include "script/frxClassRTTI.h"
#include "script/fs_iexpression.h"
#include "script/fs_iinterpreter.h"

namespace {

// Report objects reach scripts as the stand-ins of the report classes module.
Variant ObjectValue(TfrxComponent* object) { return object ? frxScriptValue(object) : Variant::Null(); }

// An object of the report; one the report lacks (a report without an engine) is nil of
// its class, so that scripts naming it compile and fail clearly only if they run.
void DeclareReportObject(TfsScript& script, const std::string& name, const Variant& value, const char* className) {
  if (name.empty() || script.FindLocalSymbol(name)) return;
  if (TfsHostObject* host = fsVariantToObject(value))
    script.DeclareObject(name, *host);
  else
    script.DeclareVariable(name, className, Variant(int32_t{0}));
}

std::string Text(const Variant& value) { return value.isNull() ? std::string() : fsVarToText(value); }

}  // namespace

TfsReportScript::TfsReportScript(TfrxReport& report) : report_(&report), script_(std::make_unique<TfsScript>(&report)) {
  script_->AddSystemModules();
  NewCache();
}

TfsReportScript::~TfsReportScript() = default;

void TfsReportScript::NewCache() {
  expressions_.clear();
  cache_ = std::make_unique<TfsScript>();
  cache_->ParentScript = script_.get();
  cache_->SyntaxType = language_;
}

void TfsReportScript::Reset(const std::string& language) {
  language_ = language;
  script_->ClearProgram();
  script_->SyntaxType = language;
  NewCache();
}

void TfsReportScript::AddObject(const std::string& name, TfrxComponent* object) {
  if (name.empty() || !object) return;
  // A class the modules do not list (a dataset of the host's, a view of a plug-in) is
  // declared for good, like the listed ones.
  script_->CurrentOwner = fsSystemOwner;
  frxDeclareScriptClass(*script_, object->ClassInfo());
  script_->CurrentOwner = fsOwnerTagOf(this);
  DeclareReportObject(*script_, name, ObjectValue(object), "TfrxComponent");
  script_->CurrentOwner = fsNoOwner;
}

void TfsReportScript::RegisterReport(TfrxReport& report) {
  TfsScript& s = *script_;
  s.CurrentOwner = fsOwnerTagOf(this);
  DeclareReportObject(s, "Report", ObjectValue(&report), "TfrxReport");
  DeclareReportObject(s, "Engine", frxScriptEngineValue(report), "TfrxEngine");
  DeclareReportObject(s, "Outline", frxScriptOutlineValue(report), "TfrxOutline");
  s.DeclareVariable("Value", "Variant", Variant::Null());
  s.DeclareVariable("Self", "TfrxView", Variant(int32_t{0}));
  TfrxReport* r = &report;
  s.DeclareFunction("function Get(Name: String): Variant",
                    [r](TfsHostObject*, const TfsHostClass*, const std::string&, std::vector<Variant>& p) {
                      return r->ScriptGet(Text(p[0]));
                    });
  s.DeclareFunction("procedure Set(Name: String; Value: Variant)",
                    [r](TfsHostObject*, const TfsHostClass*, const std::string&, std::vector<Variant>& p) {
                      r->ScriptSet(Text(p[0]), p[1]);
                      return Variant();
                    });
  s.DeclareFunction("macrofunction IIF(Expr: Boolean; TrueValue, FalseValue: Variant): Variant",
                    [r](TfsHostObject*, const TfsHostClass*, const std::string&, std::vector<Variant>& p) {
                      return r->ScriptIIF(Text(p[0]), Text(p[1]), Text(p[2]));
                    });
  auto aggregate = [r](TfsHostObject*, const TfsHostClass*, const std::string& name, std::vector<Variant>& p) {
    if (name == "COUNT") return r->ScriptAggregate(name, std::string(), Text(p[0]), Text(p[1]));
    return r->ScriptAggregate(name, Text(p[0]), Text(p[1]), Text(p[2]));
  };
  for (const char* name : {"SUM", "AVG", "MIN", "MAX"})
    s.DeclareFunction(std::string("macrofunction ") + name +
                          "(Expr: Variant; Band: Variant = 0; Flags: Integer = 0): Variant",
                      aggregate);
  s.DeclareFunction("macrofunction COUNT(Band: Variant = 0; Flags: Integer = 0): Variant", aggregate);
  s.CurrentOwner = fsNoOwner;
}

bool TfsReportScript::Compile(const std::vector<std::string>& lines, const std::string& language,
                              TfrxScriptError& error) {
  script_->SyntaxType = language;
  script_->Lines = lines;
  if (script_->CompileScript()) return true;
  error.Position = script_->ErrorPosition;
  error.Message = script_->ErrorMessage;
  return false;
}

bool TfsReportScript::HasMainStatements() const {
  return script_->MainStatement && script_->MainStatement->Count() > 0;
}

void TfsReportScript::Execute() { script_->ExecuteScript(); }

void TfsReportScript::Terminate() { script_->TerminateScript(); }

void TfsReportScript::CallProcedure(const std::string& name, TfrxComponent* argument) {
  Variant args = Variant::Array(0, 0);
  args.at(0) = ObjectValue(argument);
  TfrxBandEventScope scope(argument);
  script_->CallScriptFunction(name, args);
}

bool TfsReportScript::Evaluate(const std::string& expression, Variant& result, std::string& errorText) {
  try {
    if (script_->RunningProgram) {
      // Called from a running procedure: its locals are in scope.
      result = script_->EvaluateExpression(expression);
      if (!script_->EvaluateFailed) return true;
      errorText = Text(result);
      result = Variant::Null();
      return false;
    }
    auto found = expressions_.find(expression);
    if (found == expressions_.end()) {
      CachedExpression compiled;
      std::string function = "fsCalc" + std::to_string(expressions_.size() + 1);
      cache_->SyntaxType = language_;
      cache_->Lines = fsExpressionFunction(language_, function, expression);
      if (cache_->CompileScript())
        compiled.function = function;
      else
        compiled.error = cache_->ErrorMessage;
      found = expressions_.emplace(expression, compiled).first;
    }
    if (found->second.function.empty()) {
      errorText = found->second.error;
      return false;
    }
    result = cache_->CallScriptFunction(found->second.function, Variant());
    return true;
  } catch (const std::exception& e) {
    errorText = e.what();
    result = Variant::Null();
    return false;
  }
}

bool TfsReportScript::FindVariable(const std::string& name, Variant& value) const {
  auto* variable = dynamic_cast<TfsVariable*>(script_->FindLocalSymbol(name));
  if (!variable) return false;
  value = variable->ReadValue();
  return true;
}

void TfsReportScript::SetValueVariable(const Variant& value) {
  if (TfsCustomVariable* variable = script_->FindLocalSymbol("Value")) variable->WriteValue(value);
}

void TfsReportScript::SetSelfVariable(TfrxComponent* view) {
  if (TfsCustomVariable* variable = script_->FindLocalSymbol("Self")) variable->WriteValue(ObjectValue(view));
}

TfrxComponent* TfsReportScript::ComponentOfValue(const Variant& value) const {
  return dynamic_cast<TfrxComponent*>(frxScriptObject(value));
}

void fsUseScriptEngineForReports() {
  TfrxReportCollaborators collaborators = frxReportCollaborators();
  frxRegisterScriptModules();
  collaborators.Script = [](TfrxReport& report) { return std::make_unique<TfsReportScript>(report); };
  frxSetReportCollaborators(std::move(collaborators));
}
