#pragma once
// Stand-ins for the script engine, the engine and the prepared pages, plugged into a
// report through its seams, and small registered classes for templates.

#include <functional>
#include <string>
#include <vector>

#include "report/frxClassReport.h"

// Evaluates integer literals, one "a*b" or "a+b" of integers, and 'text'; "x/0" fails
// with the evaluator's division-by-zero text; anything else fails naming the text.
class TestScript : public TfrxReportScript {
 public:
  void Reset(const std::string& language) override { calls.push_back("Reset " + language); }
  void AddObject(const std::string& name, TfrxComponent*) override { calls.push_back("AddObject " + name); }
  void RegisterReport(TfrxReport&) override { calls.push_back("RegisterReport"); }
  bool Compile(const std::vector<std::string>& lines, const std::string&, TfrxScriptError& error) override {
    calls.push_back("Compile");
    if (compileError.Message.empty()) return true;
    error = compileError;
    return false;
  }
  bool HasMainStatements() const override { return hasStatements; }
  void Execute() override {
    calls.push_back("Execute");
    if (onExecute) onExecute();
  }
  void Terminate() override { calls.push_back("Terminate"); }
  void CallProcedure(const std::string& name, TfrxComponent* argument) override {
    calls.push_back("Call " + name + (argument ? " " + argument->Name() : ""));
  }
  bool Evaluate(const std::string& expression, Variant& result, std::string& errorText) override;
  bool FindVariable(const std::string& name, Variant& value) const override {
    for (const auto& [n, v] : variables)
      if (n == name) {
        value = v;
        return true;
      }
    return false;
  }
  void SetValueVariable(const Variant& value) override { valueVariable = value; }
  void SetSelfVariable(TfrxComponent* view) override { selfVariable = view; }

  std::vector<std::string> calls;
  TfrxScriptError compileError;
  bool hasStatements = false;
  std::function<void()> onExecute;
  std::vector<std::pair<std::string, Variant>> variables;
  Variant valueVariable;
  TfrxComponent* selfVariable = nullptr;
};

class TestPages : public TfrxReportPages {
 public:
  void SetEngine(TfrxReportEngine* e) override { engine = e; }
  void ClearAll() override { ++cleared; }
  int Count() const override { return 0; }
  int CurrentPage() const override { return currentPage; }
  int LogicalPageNo() const override { return 3; }
  int LogicalTotalPages() const override { return 7; }
  void PrintPages() override { ++printed; }
  bool ExportPages(TfrxCustomExportFilter&) override { return true; }

  TfrxReportEngine* engine = nullptr;
  int cleared = 0, printed = 0, currentPage = 4;
};

class TestEngine : public TfrxReportEngine {
 public:
  bool RunReport() override {
    ++runs;
    running = true;
    bool ok = onRun ? onRun() : true;
    running = false;
    return ok;
  }
  bool Running() const override { return running; }
  bool FinalPass() const override { return true; }
  double CurY() const override { return 0; }
  void ClearNotifyList() override {}
  double StartDate() const override { return 46000; }
  double StartTime() const override { return 0.5; }
  int TotalPages() const override { return 9; }
  int RowNo() const override { return 11; }
  int RowNoThrough() const override { return 12; }
  Variant FetchAggregateValue(const std::string& function, const std::string& expression, int flags,
                              const Variant& band) override {
    return Variant(function + "(" + expression + ")/" + std::to_string(flags) + "/" + std::to_string(band.toInt64()));
  }

  std::function<bool()> onRun;
  int runs = 0;
  bool running = false;
};

// A report with the three stand-ins plugged in; the pointers stay owned by the report.
struct PluggedReport {
  PluggedReport() {
    auto s = std::make_unique<TestScript>();
    auto p = std::make_unique<TestPages>();
    auto e = std::make_unique<TestEngine>();
    script = s.get();
    pages = p.get();
    engine = e.get();
    report.SetScript(std::move(s));
    report.SetPreviewPages(std::move(p), std::move(e));
  }
  TfrxReport report;
  TestScript* script = nullptr;
  TestPages* pages = nullptr;
  TestEngine* engine = nullptr;
};

// Collects the error boxes the report shows.
struct ErrorBoxes {
  ErrorBoxes() {
    previous = frxSetErrorBoxHandler([this](const std::string& text, const std::string& title) {
      shown.push_back({text, title});
    });
  }
  ~ErrorBoxes() { frxSetErrorBoxHandler(previous); }
  ErrorBoxes(const ErrorBoxes&) = delete;
  ErrorBoxes& operator=(const ErrorBoxes&) = delete;
  struct Box {
    std::string text, title;
  };
  std::vector<Box> shown;
  TfrxErrorBoxHandler previous;
};

// A page and a text view, registered for the templates of the tests.
class TfrxTestInvoicePage : public TfrxComponent {
 public:
  explicit TfrxTestInvoicePage(TfrxComponent* owner) : TfrxComponent(owner) {}
  TFRX_PERSISTENT_CLASS
  bool IsPageObject() const override { return true; }
};

class TfrxTestTextView : public TfrxView {
 public:
  explicit TfrxTestTextView(TfrxComponent* owner) : TfrxView(owner) {}
  TFRX_PERSISTENT_CLASS
  const std::string& Caption() const { return caption_; }
  void SetCaption(const std::string& v) { caption_ = v; }

 private:
  std::string caption_;
};

// The folder of the fixtures, with a trailing "/".
std::string FixturePath(const std::string& name);
// An 8-bit text from UTF-8 source text.
std::string Ansi(const char* utf8);
