#pragma once
// The script engine behind a report: TfsReportScript implements the report's script
// seam (TfrxReportScript) over a TfsScript, with the expression cache through which
// memo texts, conditions and Calc are evaluated. It lives in its own small library
// (tavrel_script_report, over tavrel_script and tavrel_report), so that neither of the
// two depends on the other; the programs link it and call fsUseScriptEngineForReports
// once at start-up.
//
// Contract
// - A report creates one TfsReportScript in its constructor (through the collaborator
//   factory) and calls it in the order the seam describes: Reset, AddObject...,
//   RegisterReport, Compile, Execute, then Evaluate / CallProcedure while the engine
//   runs. The registration modules (the built-in functions and classes) are added
//   once, when the script is created.
// - Expressions are compiled once per distinct text and language into small functions
//   of a cache script whose parent is the report's script, so they see its variables
//   and procedures; a call from inside a running script procedure evaluates in that
//   procedure's scope instead (uncached). Reset empties the cache.
// - Report objects reach scripts under their names, as objects of the report classes
//   (frxClassRTTI.h): "Report", "Engine", "Outline", every named object of the report,
//   "Self" (the view being printed) and the argument of every event procedure.
//   fsUseScriptEngineForReports registers the class modules (frxRegisterScriptModules).

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "report/frxReportSeams.h"

class TfsScript;

class TfsReportScript : public TfrxReportScript {
 public:
  explicit TfsReportScript(TfrxReport& report);
  ~TfsReportScript() override;

  void Reset(const std::string& language) override;
  void AddObject(const std::string& name, TfrxComponent* object) override;
  void RegisterReport(TfrxReport& report) override;
  bool Compile(const std::vector<std::string>& lines, const std::string& language, TfrxScriptError& error) override;
  bool HasMainStatements() const override;
  void Execute() override;
  void Terminate() override;
  void CallProcedure(const std::string& name, TfrxComponent* argument) override;
  bool Evaluate(const std::string& expression, Variant& result, std::string& errorText) override;
  bool FindVariable(const std::string& name, Variant& value) const override;
  void SetValueVariable(const Variant& value) override;
  void SetSelfVariable(TfrxComponent* view) override;
  TfrxComponent* ComponentOfValue(const Variant& value) const override;

  TfsScript& Script() const { return *script_; }

 private:
  struct CachedExpression {
    std::string function;  // the compiled function's name, empty when it failed
    std::string error;
  };
  void NewCache();

  TfrxReport* report_;
  std::unique_ptr<TfsScript> script_;
  std::unique_ptr<TfsScript> cache_;
  std::map<std::string, CachedExpression> expressions_;
  std::string language_ = "PascalScript";
};

// Registers TfsReportScript as the script of every report created afterwards (the
// other collaborators stay as they are).
void fsUseScriptEngineForReports();
