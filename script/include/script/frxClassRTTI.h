#pragma once
// The report classes module: the report's constants, enumerations, classes and report
// functions as scripts see them. Report objects reach scripts through stand-in host
// objects (one per object, made on first use), so the report library needs to know
// nothing of scripts.
//
// Contract
// - Classes: every report class gets its published properties as members (read and
//   written through the published-property declarations), plus the members added by
//   hand (a memo's Text, Lines, Value, CalcHeight; a dataset's First, Next, Eof,
//   Value[...]; the report's Calc, Variables, Terminated; the engine's ShowBand,
//   FreeSpace, CurY; the outline's AddItem...). Classes met later (a class a template
//   uses that the module does not list) are declared on first use by
//   frxDeclareScriptClass, the same way.
// - Lifetime: a stand-in lives while its object lives. When a report object is
//   destroyed (a template reloaded, an object cleared) its stand-in, and those of its
//   sub-objects, go with it; a script still holding it then reaches "no object", and
//   its members raise "Object is nil or not a ...: 'MEMBER'" rather than touching freed
//   memory.
// - The tree is not changed under the engine: while a report runs, Clear, LoadFromStream
//   and the report's LoadFromFile are refused, and so are Create and moving objects
//   (Parent) during a band's events; the engine's placing members (ShowBand, NewPage,
//   NewColumn, AddAnchor, the outline's AddItem) need a page being built.
// - Errors of the report (a bad value for a property, a read-only property, a dataset
//   without a field) leave the script as exceptions carrying their texts.

#include <memory>

#include "platform/Variant.h"
#include "script/fs_iinterpreter.h"

class TComponent;
class TPersistent;
class TfrxClassInfo;
class TfrxReport;
class TfrxComponent;

// The script value of a persistent object (0 for none). `anchor` is the component whose
// life bounds the object's (the object itself for components, which are their own).
Variant frxScriptValue(TPersistent* object, TComponent* anchor = nullptr);
// The object a script value holds, or null.
TPersistent* frxScriptObject(const Variant& value);

// Held by the report's script while an event procedure of a band or of an object in a
// band runs: the engine is then walking that band's objects, so scripts may not add,
// move or remove report objects ("The report engine is placing a band: 'CREATE'").
class TfrxBandEventScope {
 public:
  explicit TfrxBandEventScope(const TfrxComponent* sender);
  ~TfrxBandEventScope();
  TfrxBandEventScope(const TfrxBandEventScope&) = delete;
  TfrxBandEventScope& operator=(const TfrxBandEventScope&) = delete;

 private:
  bool counted_;
};

// Declares the class (and its ancestors) in the script unless it is declared already.
void frxDeclareScriptClass(TfsScript& script, const TfrxClassInfo& cls);

// The script values of the report's engine and of its prepared pages' outline (0 when
// the report has none).
Variant frxScriptEngineValue(TfrxReport& report);
Variant frxScriptOutlineValue(TfrxReport& report);

std::unique_ptr<TfsRTTIModule> frxCreateReportClassesRTTI(TfsScript& script);

// Registers the classes, graphics, forms, report classes, dialogs and INI files modules,
// in that order, after the built-in functions; once per process.
void frxRegisterScriptModules();
