// TfrxReport: preparing the pages, the script's preparation, and handing the prepared
// pages to the preview, printing, export filters and the designer.
#include <cstdio>

#include "platform/Stream.h"
#include "report/frxClassReport.h"
#include "report/frxRes.h"

namespace {

std::string FormatText(std::string format, const std::string& a, const std::string& b = {}) {
  if (size_t at = format.find("%s"); at != std::string::npos) {
    format.replace(at, 2, a);
    if (size_t at2 = format.find("%s", at + a.size()); at2 != std::string::npos) format.replace(at2, 2, b);
  }
  return format;
}

// The program text without blanks, comments left in.
std::string Squeezed(const std::vector<std::string>& lines) {
  std::string s;
  for (const std::string& line : lines)
    for (char c : line)
      if (static_cast<unsigned char>(c) > ' ') s += static_cast<char>(c >= 'A' && c <= 'Z' ? c + 32 : c);
  return s;
}

// Whether a script is the empty program of its language: a main block without
// statements, which needs no script engine to "run".
bool IsEmptyProgram(const std::vector<std::string>& lines, const std::string& language) {
  std::string s = Squeezed(lines);
  if (s.empty()) return true;
  if (frxSameText(language, "PascalScript")) return s == "beginend.";
  if (frxSameText(language, "C++Script") || frxSameText(language, "JScript")) return s == "{}";
  return false;  // BasicScript: any text is a program
}

// Keeps the template while the script and the engine work on the report, and puts it
// back afterwards: in memory, or in a temporary file in TempDir with UseFileCache.
class TemplateCopy {
 public:
  explicit TemplateCopy(TfrxReport& report) : report_(report) {
    const TfrxEngineOptions& o = report.EngineOptions();
    if (o.UseFileCache) {
      file_ = TFileStream::CreateTemporary(o.TempDir.empty() ? SystemTempFolder() : o.TempDir, "fr");
      stream_ = file_.get();
    } else {
      stream_ = &memory_;
    }
    password_ = report.ReportOptions().Password;
    splicingLine_ = report.PrintOptions().SplicingLine;
    report.ReportOptions().Password.clear();
    try {
      report.SaveToStream(*stream_);
    } catch (...) {
      report.ReportOptions().Password = password_;
      Discard();
      throw;
    }
    report.ReportOptions().Password = password_;
  }
  TemplateCopy(const TemplateCopy&) = delete;
  TemplateCopy& operator=(const TemplateCopy&) = delete;
  ~TemplateCopy() { Discard(); }

  // Reloads the saved template, keeping the errors met so far (and any of the reload).
  void Restore(bool& reloading) {
    std::vector<std::string> errors = report_.Errors().Items();
    stream_->SetPosition(0);
    reloading = true;
    try {
      report_.LoadFromStream(*stream_);
    } catch (...) {
      reloading = false;
      throw;
    }
    reloading = false;
    report_.ReportOptions().Password = password_;
    report_.PrintOptions().SplicingLine = splicingLine_;
    report_.Errors().AddAll(errors);
  }

 private:
  void Discard() {
    if (!file_) return;
    std::string name = file_->FileName();
    file_.reset();
    std::remove(name.c_str());
  }

  TfrxReport& report_;
  TMemoryStream memory_;
  std::unique_ptr<TFileStream> file_;
  TStream* stream_ = nullptr;
  std::string password_;
  int32_t splicingLine_ = 3;
};

}  // namespace

bool TfrxReport::CompileWithoutScriptEngine() {
  if (IsEmptyProgram(scriptText_, scriptLanguage_)) return true;
  errors_.Add(FormatText(frxResources().Get("clScrError"), "1:1", "no script engine is connected"));
  return false;
}

bool TfrxReport::PrepareScript() {
  if (engine_) engine_->ClearNotifyList();
  if (!script_) return CompileWithoutScriptEngine();
  script_->Reset(scriptLanguage_);
  for (TfrxComponent* c : AllObjects()) {
    if (auto* rc = dynamic_cast<TfrxReportComponent*>(c)) {
      rc->SetShiftDistance(0);
      rc->ShiftDependents().clear();
    }
    script_->AddObject(c->Name(), c);
  }
  script_->RegisterReport(*this);
  TfrxScriptError error;
  if (!script_->Compile(scriptText_, scriptLanguage_, error)) {
    errors_.Add(FormatText(frxResources().Get("clScrError"), error.Position, error.Message));
    return false;
  }
  return true;
}

bool TfrxReport::Prepare(bool clearLastReport) {
  if (clearLastReport && pages_) pages_->ClearAll();
  errors_.Clear();
  terminated_ = false;
  bool result = false;

  for (int i = 0; i < dataSets_.Count(); ++i) {
    const TfrxDataSetItem& item = dataSets_.Items(i);
    if (!item.DataSet() && !item.DataSetName().empty())
      errors_.Add(FormatText(frxResources().Get("clDSNotExist"), item.DataSetName()));
  }

  if (errors_.Empty()) {
    std::unique_ptr<TemplateCopy> copy;
    try {
      if (engineOptions_.KeepTemplateCopy) copy = std::make_unique<TemplateCopy>(*this);
      if (OnBeginDoc) OnBeginDoc(*this);
      if (PrepareScript()) {
        if (OnAfterScriptCompile) OnAfterScriptCompile(*this);
        if (script_ && script_->HasMainStatements()) script_->Execute();
        // Without an engine there is nothing that could build pages: no result, but
        // nothing went wrong either.
        if (!terminated_ && engine_ && engine_->RunReport()) {
          if (OnEndDoc) OnEndDoc(*this);
          result = true;
        }
      }
    } catch (const std::exception& e) {
      errors_.Add(e.what());
    }
    if (copy) {
      try {
        copy->Restore(reloading_);
      } catch (const std::exception& e) {
        errors_.Add(e.what());
      }
    }
  }

  if (!errors_.Empty()) {
    result = false;
    ShowErrors(ErrorsReport());
  }
  return result;
}

void TfrxReport::ShowReport(bool clearLastReport) {
  if (clearLastReport && pages_) pages_->ClearAll();
  if (!oldStyleProgress_) {
    preparePending_ = true;
    ShowPrepared();
    // A window that did not ask for the pages (or no window at all) still gets them.
    RunPendingPrepare();
  } else if (Prepare(false)) {
    ShowPrepared();
  }
}

void TfrxReport::RunPendingPrepare() {
  if (!preparePending_) return;
  preparePending_ = false;
  Prepare(false);
}

void TfrxReport::ShowPrepared() {
  if (preview_) {
    preview_->ConnectAndRefresh(*this);
    return;
  }
  const TfrxPreviewWindowFactory& window = frxReportCollaborators().PreviewWindow;
  if (!window) return;  // no preview window in this program
  if (OnPreview) OnPreview(*this);
  window(*this, previewOptions_.Modal, previewOptions_.MDIChild);
}

void TfrxReport::PrintPrepared() {
  if (pages_) pages_->PrintPages();
}

bool TfrxReport::ExportTo(TfrxCustomExportFilter& filter) { return pages_ && pages_->ExportPages(filter); }

bool TfrxReport::OpenDesigner(bool modal, bool mdiChild) {
  const TfrxDesignerFactory& designer = frxReportCollaborators().Designer;
  if (designerOpen_ || !designer) return false;
  designerOpen_ = true;
  bool changed = false;
  try {
    changed = designer(*this, modal, mdiChild);
  } catch (...) {
    designerOpen_ = false;
    throw;
  }
  designerOpen_ = false;
  return changed;
}
