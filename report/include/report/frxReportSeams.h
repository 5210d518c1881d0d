#pragma once
// Where the report object meets the collaborators that live in other libraries: the
// script engine, the report engine, the prepared pages store, the preview and the
// designer, and the windows it may have to show. The report library declares these
// interfaces and never includes its collaborators' headers; the programs plug the
// implementations in through frxSetReportCollaborators (or a test per report).
//
// Contract
// - Ownership: a report creates its script, pages and engine once, in its constructor,
//   through the registered factories (in that order: pages, then the engine given the
//   pages, then pages.SetEngine), and destroys them with itself. A factory that is not
//   registered (or returns none) leaves that collaborator absent; every report
//   operation then does what it can without it, as described at each operation of
//   TfrxReport. Factories registered later apply to reports created later.
// - Threads: everything runs on the window thread.
// - Errors: collaborators raise std::exception-derived errors carrying the message
//   text; the report records them in its Errors where the report's rules say so.

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/Variant.h"

class TfrxReport;
class TfrxComponent;
class TfrxCustomExportFilter;  // the export filter framework (output library)

// An error of the script's compiler: the position text ("line:column") and the message.
struct TfrxScriptError {
  std::string Position;
  std::string Message;
};

// The script engine as the report uses it (TfsScript with the expression cache).
// Order of calls for one preparation: Reset, AddObject for every object of the
// report in tree order, RegisterReport, Compile; when Compile succeeded, Execute when
// HasMainStatements; then any number of Evaluate / CallProcedure / variable calls
// while the engine runs. Terminate may come at any time and makes Execute and
// CallProcedure return as soon as possible. After the run the report may reload its
// template from the copy it kept (Prepare): the objects registered by AddObject are
// then gone, and the script must not touch them again before the next Reset.
class TfrxReportScript {
 public:
  virtual ~TfrxReportScript() = default;

  // Clears the program, the registrations and the expression cache, and sets the
  // language the cache compiles expressions in.
  virtual void Reset(const std::string& language) = 0;
  // Registers an object of the report under its name.
  virtual void AddObject(const std::string& name, TfrxComponent* object) = 0;
  // Registers the objects "Report", "Engine" and "Outline", the variables "Value"
  // (variant) and "Self" (TfrxView), and the functions the report answers: "Get"
  // (TfrxReport::ScriptGet), "Set" (ScriptSet), the macro function IIF (ScriptIIF)
  // and the macro functions SUM, AVG, MIN, MAX, COUNT (ScriptAggregate). Macro
  // functions hand their arguments over as source text.
  virtual void RegisterReport(TfrxReport& report) = 0;
  // Compiles the lines in the language; false with the error filled on failure.
  virtual bool Compile(const std::vector<std::string>& lines, const std::string& language,
                       TfrxScriptError& error) = 0;
  // Whether the compiled main block has statements.
  virtual bool HasMainStatements() const = 0;
  virtual void Execute() = 0;
  virtual void Terminate() = 0;
  // Runs a script procedure with the object as its one argument.
  virtual void CallProcedure(const std::string& name, TfrxComponent* argument) = 0;
  // Evaluates an expression through the expression cache. On failure returns false
  // with the error text (the script's own English text).
  virtual bool Evaluate(const std::string& expression, Variant& result, std::string& errorText) = 0;
  // A script variable (not a procedure or method) of that name.
  virtual bool FindVariable(const std::string& name, Variant& value) const = 0;
  // The variables "Value" and "Self".
  virtual void SetValueVariable(const Variant& value) = 0;
  virtual void SetSelfVariable(TfrxComponent* view) = 0;
  // The report object a script value stands for (as Calc gives "MasterData1" back), or
  // none when the value is no object of the report.
  virtual TfrxComponent* ComponentOfValue(const Variant& value) const { return nullptr; }
};

class TfrxReportEngine;

// The prepared pages store (TfrxPreviewPages) as the report uses it.
class TfrxReportPages {
 public:
  virtual ~TfrxReportPages() = default;
  virtual void SetEngine(TfrxReportEngine* engine) = 0;
  virtual void ClearAll() = 0;
  virtual int Count() const = 0;
  // Index of the output page being written (-1 when empty).
  virtual int CurrentPage() const = 0;
  virtual int LogicalPageNo() const = 0;
  virtual int LogicalTotalPages() const = 0;
  virtual void PrintPages() = 0;
  virtual bool ExportPages(TfrxCustomExportFilter& filter) = 0;
};

// The report engine (TfrxEngine) as the report uses it.
class TfrxReportEngine {
 public:
  virtual ~TfrxReportEngine() = default;
  // Runs all passes; true when pages were produced. Errors go to the report's Errors.
  virtual bool RunReport() = 0;
  virtual bool Running() const = 0;
  // Whether the pass running is the last one (always, in a run of one pass).
  virtual bool FinalPass() const = 0;
  // The position of the next band on the page being written, in pixels.
  virtual double CurY() const = 0;
  // The engine's notification list, cleared before each preparation of the script.
  virtual void ClearNotifyList() = 0;
  virtual double StartDate() const = 0;
  virtual double StartTime() const = 0;
  virtual int TotalPages() const = 0;
  virtual int RowNo() const = 0;
  virtual int RowNoThrough() const = 0;
  virtual Variant FetchAggregateValue(const std::string& function, const std::string& expression, int flags,
                                      const Variant& band) = 0;
};

// A preview control the host puts in its own window (the report's Preview).
class TfrxCustomPreview {
 public:
  virtual ~TfrxCustomPreview() = default;
  // Connects the control to the report and its prepared pages, and shows them again.
  virtual void ConnectAndRefresh(TfrxReport& report) = 0;
};

// What a preview window is asked to do by ShowPrepared: show the report's prepared
// pages, modally when `modal` (returning when the window is closed), otherwise as a
// free window (its own task-bar entry unless `mdiChild`). When the window has been
// shown it calls report.RunPendingPrepare(), which prepares the pages that ShowReport
// left to be built while the window is open.
using TfrxPreviewWindowFactory = std::function<void(TfrxReport& report, bool modal, bool mdiChild)>;

// The designer: an editor window on the report that changes the template in place;
// returns whether it changed the report.
using TfrxDesignerFactory = std::function<bool(TfrxReport& report, bool modal, bool mdiChild)>;

// What a report's long operations report their progress as.
enum class TfrxProgressType : uint8_t { Running, Exporting, Printing };

// The progress window of a report that shows its progress: made when an operation
// starts, given the caption of every step, destroyed when the operation stops. Its
// cancel button sets the report's Terminated.
class TfrxProgressWindow {
 public:
  virtual ~TfrxProgressWindow() = default;
  // The caption of the current step, 8-bit system text ("Eksportowanie strony 3").
  virtual void ShowCaption(const std::string& caption) = 0;
};
using TfrxProgressWindowFactory = std::function<std::unique_ptr<TfrxProgressWindow>(TfrxReport& report)>;

struct TfrxReportCollaborators {
  std::function<std::unique_ptr<TfrxReportScript>(TfrxReport&)> Script;
  std::function<std::unique_ptr<TfrxReportPages>(TfrxReport&)> Pages;
  std::function<std::unique_ptr<TfrxReportEngine>(TfrxReport&, TfrxReportPages*)> Engine;
  TfrxPreviewWindowFactory PreviewWindow;
  TfrxDesignerFactory Designer;
  // None where no display exists: progress is then only the report's events.
  TfrxProgressWindowFactory ProgressWindow;
  // Lets the window system handle what is pending (a repaint, a click on Cancel); long
  // operations call it at their fixed points. None: nothing to process.
  std::function<void()> ProcessMessages;
};

// Replaces the registered collaborators and returns the previous ones.
TfrxReportCollaborators frxSetReportCollaborators(TfrxReportCollaborators collaborators);
const TfrxReportCollaborators& frxReportCollaborators();

// --- windows the report may show -------------------------------------------------------

// A modal message box with an error icon: text and title are 8-bit system text. Without
// a handler the text goes to the standard error box (platform/ErrorBox.h).
using TfrxErrorBoxHandler = std::function<void(const std::string& text, const std::string& title)>;
TfrxErrorBoxHandler frxSetErrorBoxHandler(TfrxErrorBoxHandler handler);
void frxShowErrorBox(const std::string& text, const std::string& title);

// The question of template inheritance when the ancestor and the current template have
// objects of the same names: delete the current template's duplicates or rename them.
// Without a handler the duplicates are renamed, so nothing of either template is lost.
enum class TfrxDuplicatesAnswer { Delete, Rename };
using TfrxDuplicatesQuestion = std::function<TfrxDuplicatesAnswer(const std::vector<std::string>& names)>;
TfrxDuplicatesQuestion frxSetDuplicatesQuestion(TfrxDuplicatesQuestion question);
TfrxDuplicatesAnswer frxAskDuplicates(const std::vector<std::string>& names);

// The password window of a protected template: fills the entered text and returns true,
// or false when the user cancelled. Without a handler no password can be entered.
using TfrxPasswordQuestion = std::function<bool(std::string& password)>;
TfrxPasswordQuestion frxSetPasswordQuestion(TfrxPasswordQuestion question);
bool frxAskPassword(std::string& password);
