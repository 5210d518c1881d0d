#pragma once
// TfrxReport: the root of every report template and the one object through which the
// rest of the system does report work. It owns the component tree (its pages), the
// list of datasets the template uses, the report variables, the styles, the script
// text, four option records and the errors met while loading or preparing; it reaches
// the script engine, the report engine, the prepared pages, the preview and the
// designer through the seams of report/frxReportSeams.h.
//
// Contract
// - Ownership: the report owns its children (pages) and everything named above; it only
//   refers to datasets, which register themselves in the application-wide list. A
//   dataset that is destroyed is dropped from every reference the report holds.
// - Errors: loading and preparing collect messages in Errors (sorted, compared without
//   regard to case, no duplicates) and report them once at the end through ShowErrors,
//   as EngineOptions.NewSilentMode says: a message box, nothing, or an
//   EfrxReportError raised to the caller.
// - Texts are 8-bit (Windows-1250); errors are exceptions carrying the message.
// - Without a script engine (no TfrxReportScript plugged in) the default empty program
//   prepares without error, a script with statements fails to compile with a clear
//   message, and Calc of a text that is not a known name raises an error that names
//   the expression. Without an engine Prepare runs every step but produces no pages.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "report/frxClassDataSet.h"
#include "report/frxClassStyles.h"
#include "report/frxClassView.h"
#include "report/frxReportSeams.h"
#include "report/frxVariables.h"

class TfrxDrawText;

class TStream;
class TfrxReport;
class TfrxFiler;
class TfrxPropReader;
class TfrxPropWriter;
class TfrxXMLSerializer;

// An error reported to the caller (simReThrow, Calc, a failed load asked to raise).
class EfrxReportError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A list of messages kept sorted, compared without regard to case (Windows-1250
// letters included), a duplicate added once.
class TfrxErrorList {
 public:
  void Add(const std::string& message);
  void AddAll(const std::vector<std::string>& messages);
  void Clear() { items_.clear(); }
  bool Empty() const { return items_.empty(); }
  int Count() const { return static_cast<int>(items_.size()); }
  const std::string& operator[](int index) const { return items_.at(static_cast<size_t>(index)); }
  const std::vector<std::string>& Items() const { return items_; }
  // The messages one per line, each followed by CR LF.
  std::string Text() const;

 private:
  std::vector<std::string> items_;
};

// Case-insensitive comparison of 8-bit texts, Polish letters included: <0, 0, >0.
int frxCompareText(std::string_view a, std::string_view b);

// The local date and time now, as days since 30 December 1899 (the time of day the fraction).
double frxNow();

// --- option records ----------------------------------------------------------------------

enum TfrxSilentMode : uint8_t { simMessageBoxes, simSilent, simReThrow };
enum TfrxPrintMode : uint8_t { pmDefault, pmSplit, pmJoin, pmScale };
enum TfrxPrintPages : uint8_t { ppAll, ppOdd, ppEven };
enum TfrxZoomMode : uint8_t { zmDefault, zmWholePage, zmPageWidth, zmManyPages };
enum TfrxPreviewButton : uint8_t {
  pbPrint, pbLoad, pbSave, pbExport, pbZoom, pbFind, pbOutline, pbPageSetup, pbTools, pbEdit,
  pbNavigator, pbExportQuick, pbNoClose, pbNoFullScreen, pbNoEmail
};
using TfrxPreviewButtons = uint16_t;  // bit (1 << button)
constexpr TfrxPreviewButtons frxAllPreviewButtons = (1 << 12) - 1;  // the twelve buttons

const TfrxEnumType& frxSilentModeType();     // "TfrxSilentMode"
const TfrxEnumType& frxPrintModeType();      // "TfrxPrintMode"
const TfrxEnumType& frxPrintPagesType();     // "TfrxPrintPages"
const TfrxEnumType& frxZoomModeType();       // "TfrxZoomMode"
const TfrxEnumType& frxPreviewButtonsType(); // "TfrxPreviewButtons"

class TfrxEngineOptions final : public TPersistent {
 public:
  TFRX_PERSISTENT_CLASS
  // Resets ConvertNulls, IgnoreDevByZero and DoublePass; the rest keep their values.
  void Clear();
  void Assign(const TfrxEngineOptions& source) { *this = source; }

  bool ConvertNulls = true;
  bool DoublePass = false;
  int32_t MaxMemSize = 10;
  bool PrintIfEmpty = true;
  TfrxSilentMode NewSilentMode = simMessageBoxes;
  std::string TempDir;
  bool UseFileCache = false;
  bool IgnoreDevByZero = false;
  // Not published: Prepare saves the template before running and restores it after.
  bool KeepTemplateCopy = true;
  // Not published: dataset names are resolved against the application-wide list.
  bool UseGlobalDataSetList = true;

  bool SilentMode() const { return NewSilentMode == simSilent; }
  void SetSilentMode(bool v) { NewSilentMode = v ? simSilent : simMessageBoxes; }
};

class TfrxPreviewOptions final : public TPersistent {
 public:
  TFRX_PERSISTENT_CLASS
  // Resets the five outline, cache and thumbnail options; the rest keep their values.
  void Clear();
  void Assign(const TfrxPreviewOptions& source) { *this = source; }

  bool AllowEdit = true;
  TfrxPreviewButtons Buttons = frxAllPreviewButtons;
  bool DoubleBuffered = true;
  bool Maximized = true;
  bool MDIChild = false;
  bool Modal = true;
  bool OutlineExpand = true;
  bool OutlineVisible = false;
  int32_t OutlineWidth = 120;
  int32_t PagesInCache = 50;
  bool ShowCaptions = false;
  bool ThumbnailVisible = false;
  double Zoom = 1;
  TfrxZoomMode ZoomMode = zmDefault;
  bool PictureCacheInFile = false;
};

class TfrxPrintOptions final : public TPersistent {
 public:
  TfrxPrintOptions() { Clear(); }
  TFRX_PERSISTENT_CLASS
  void Clear();
  void Assign(const TfrxPrintOptions& source) { *this = source; }

  int32_t Copies = 1;
  bool Collate = true;
  std::string PageNumbers;
  int32_t PagesOnSheet = 0;
  std::string Printer;  // "Domyślny": the default printer
  TfrxPrintMode PrintMode = pmDefault;
  int32_t PrintOnSheet = 0;
  TfrxPrintPages PrintPages = ppAll;
  bool Reverse = false;
  bool ShowDialog = true;
  bool SwapPageSize = false;
  int32_t SplicingLine = 3;  // not published
};

class TfrxReportOptions final : public TPersistent {
 public:
  TfrxReportOptions() { Clear(); }
  TFRX_PERSISTENT_CLASS
  // Empties everything and sets both dates to now.
  void Clear();
  void Assign(const TfrxReportOptions& source) { *this = source; }

  std::string Author;
  bool Compressed = false;
  std::string ConnectionName;
  double CreateDate = 0;  // days since 30 December 1899
  std::string Description;  // list text, lines each followed by CR LF
  std::string InitString;
  std::string Name;
  double LastChange = 0;
  std::string Password;
  std::string VersionBuild, VersionMajor, VersionMinor, VersionRelease;
  // A password entered for this template (so that a reload does not ask again).
  bool PasswordEntered = false;
};

// --- the dataset list ----------------------------------------------------------------------

class TfrxReportDataSets;

class TfrxDataSetItem final : public TPersistent {
 public:
  explicit TfrxDataSetItem(TfrxReportDataSets& owner) : owner_(owner) {}
  TFRX_PERSISTENT_CLASS

  TfrxDataSet* DataSet() const { return dataSet_; }
  void SetDataSet(TfrxDataSet* dataSet);
  // The dataset's alias while the reference is set, else the name as read.
  std::string DataSetName() const;
  // Keeps the name and resolves it by the report's dataset lookup by name.
  void SetDataSetName(const std::string& name);

 private:
  TfrxComponent* DataSetRef() const;
  void SetDataSetRef(TfrxComponent* c);

  TfrxReportDataSets& owner_;
  TfrxDataSet* dataSet_ = nullptr;
  std::string dataSetName_;
};

class TfrxReportDataSets {
 public:
  explicit TfrxReportDataSets(TfrxReport& report) : report_(report) {}
  TfrxReportDataSets(const TfrxReportDataSets&) = delete;
  TfrxReportDataSets& operator=(const TfrxReportDataSets&) = delete;

  TfrxReport& Report() const { return report_; }
  int Count() const { return static_cast<int>(items_.size()); }
  TfrxDataSetItem& Items(int index) const { return *items_.at(static_cast<size_t>(index)); }
  TfrxDataSetItem& Add();
  void Add(TfrxDataSet* dataSet);
  void Delete(int index);
  void Clear();
  // The item of that dataset, or none.
  TfrxDataSetItem* Find(const TfrxDataSet* dataSet) const;
  // The dataset of the list whose alias equals `alias` (ASCII case ignored), or none.
  TfrxDataSet* FindByAlias(std::string_view alias) const;
  // Gives every dataset the report and calls BeginUse; Finalize calls EndUse on exactly
  // those that began (once each, also when one of them fails: the first error is raised
  // after all have ended) and lets them go. A BeginUse that fails ends the ones begun
  // before it and raises.
  void Initialize();
  void Finalize();
  // Drops a dataset that is being destroyed from every item (compares the pointer only).
  void Forget(const TComponent* dataSet);

 private:
  TfrxReport& report_;
  std::vector<std::unique_ptr<TfrxDataSetItem>> items_;
  std::vector<TfrxDataSet*> inUse_;  // begun and not yet ended
};

// --- the report --------------------------------------------------------------------------

using TfrxReportNotify = std::function<void(TfrxReport& report)>;
using TfrxObjectNotify = std::function<void(TfrxComponent& object)>;
using TfrxReportGetValue = std::function<void(const std::string& name, Variant& value)>;
using TfrxReportNewGetValue = std::function<void(TfrxReport& report, const std::string& name, Variant& value)>;
using TfrxLoadTemplateEvent = std::function<void(TfrxReport& report, const std::string& templateName)>;
using TfrxProgressEvent = std::function<void(TfrxReport& report, TfrxProgressType type, int progress)>;

class TfrxReport : public TfrxComponent, public TfrxDataSetReport {
 public:
  static constexpr const char* kVersion = "4.9.85";

  TfrxReport();
  ~TfrxReport() override;
  TFRX_PERSISTENT_CLASS

  bool IsReportObject() const override { return true; }

  // --- owned members ---------------------------------------------------------------------
  TfrxReportDataSets& DataSets() { return dataSets_; }
  TfrxVariables& Variables() { return variables_; }
  TfrxStyles& Styles() { return styles_; }
  // The text layout engine the report's memos measure, split and draw with.
  TfrxDrawText& DrawText() { return *drawText_; }
  TfrxErrorList& Errors() { return errors_; }
  const TfrxErrorList& Errors() const { return errors_; }
  TfrxEngineOptions& EngineOptions() { return engineOptions_; }
  TfrxPreviewOptions& PreviewOptions() { return previewOptions_; }
  TfrxPrintOptions& PrintOptions() { return printOptions_; }
  TfrxReportOptions& ReportOptions() { return reportOptions_; }
  // The fixed names "Date", "Time", "Page", ... set up by Clear.
  const std::vector<std::string>& SystemVariables() const { return systemVariables_; }
  // The datasets enabled for the designer (the lookup list without the global list).
  std::vector<TfrxDataSet*>& EnabledDataSets() { return enabledDataSets_; }
  // Names of the expanded drill-down groups; not emptied by Clear or Prepare.
  std::vector<std::string>& DrillState() { return drillState_; }

  // Collaborators (none when not plugged in).
  TfrxReportScript* Script() const { return script_.get(); }
  TfrxReportEngine* Engine() const { return engine_.get(); }
  TfrxReportPages* PreviewPages() const { return pages_.get(); }
  // Replaces a collaborator of this report (tests, hosts with their own).
  void SetScript(std::unique_ptr<TfrxReportScript> script) { script_ = std::move(script); }
  void SetPreviewPages(std::unique_ptr<TfrxReportPages> pages, std::unique_ptr<TfrxReportEngine> engine);

  // --- published properties ----------------------------------------------------------------
  const std::string& Version() const { return version_; }
  void SetVersion(const std::string& v) { version_ = v; }
  const std::string& ParentReport() const { return parentReport_; }
  // A non-empty name loads the ancestor template and merges this template over it.
  void SetParentReport(const std::string& name);
  TfrxDataSet* DataSet() const { return dataSet_; }
  void SetDataSet(TfrxDataSet* dataSet);
  std::string DataSetName() const;
  void SetDataSetName(const std::string& name);
  bool DotMatrixReport() const { return dotMatrixReport_; }
  void SetDotMatrixReport(bool v) { dotMatrixReport_ = v; }
  const std::string& IniFile() const { return iniFile_; }
  void SetIniFile(const std::string& v) { iniFile_ = v; }
  bool OldStyleProgress() const { return oldStyleProgress_; }
  void SetOldStyleProgress(bool v) { oldStyleProgress_ = v; }
  TfrxCustomPreview* Preview() const { return preview_; }
  void SetPreview(TfrxCustomPreview* preview) { preview_ = preview; }
  const std::string& ScriptLanguage() const { return scriptLanguage_; }
  void SetScriptLanguage(const std::string& v) { scriptLanguage_ = v; }
  std::vector<std::string>& ScriptText() { return scriptText_; }
  const std::vector<std::string>& ScriptText() const { return scriptText_; }
  std::string ScriptTextText() const;
  void SetScriptTextText(const std::string& text);
  bool ShowProgress() const { return showProgress_; }
  void SetShowProgress(bool v) { showProgress_ = v; }
  bool StoreInDFM() const { return storeInDFM_; }
  void SetStoreInDFM(bool v) { storeInDFM_ = v; }
  // Script event names (procedures of the script), empty for none.
  std::string OnStartReport, OnStopReport, OnReportPrint, OnRunDialogs;

  // The file name of the last template loaded from a file, or empty.
  const std::string& FileName() const { return fileName_; }
  void SetFileName(const std::string& v) { fileName_ = v; }

  // --- loading and saving ------------------------------------------------------------------
  void Clear() override;
  // Loads a template file; true when the file exists. A missing file with the default
  // argument leaves an empty report and no error; with `raiseIfMissing` it raises.
  bool LoadFromFile(const std::string& fileName, bool raiseIfMissing = false);
  void LoadFromStream(TStream& stream) override;
  void SaveToStream(TStream& stream, bool saveChildren = true, bool saveAsClassName = false,
                    bool saveDefaults = false) override;
  // Creates the file and saves into it; an absolute ParentReport is made relative first.
  void SaveToFile(const std::string& fileName);

  // The report's own raw-data records: "Left" and "Top" (the design position, kept as
  // the template had it), "Datasets", "Variables" and "Style".
  void DefineProperties(TfrxFiler& filer) override;
  void AppendErrors(const std::vector<std::string>& errors) override { errors_.AddAll(errors); }

  // --- preparing and output ----------------------------------------------------------------
  bool Prepare(bool clearLastReport = true);
  void ShowReport(bool clearLastReport = true);
  void ShowPrepared();
  // The timer tick of ShowReport: prepares without clearing when a preparation is pending.
  void RunPendingPrepare();
  bool PreparePending() const { return preparePending_; }
  void PrintPrepared();
  bool ExportTo(TfrxCustomExportFilter& filter);

  // --- progress of preparing ("running"), printing and exporting -----------------------
  // Start, step (the page number) and stop fire OnProgressStart, OnProgress and
  // OnProgressStop. With ShowProgress (for Running only together with OldStyleProgress)
  // a progress window (the registered ProgressWindow) shows "prExporting",
  // "prPrinting", "prRunning" or, in the first of two passes, "prRunningFirst" with the
  // number; its cancel sets Terminated. Every call lets the window system process
  // pending messages.
  void ProgressStart(TfrxProgressType type);
  void ProgressStep(int progress);
  void ProgressStop();
  // The caption of a step of the running operation ("Eksportowanie strony 3").
  std::string ProgressCaption(int progress) const;
  // The header line "clErrors" and the errors one per line, as ShowErrors is given them.
  std::string ErrorsReport() const;
  // Whether the designer changed the report; nothing (false) without a designer.
  bool OpenDesigner(bool modal = true, bool mdiChild = false);
  bool DesignerOpen() const { return designerOpen_; }

  // --- values --------------------------------------------------------------------------------
  // Reports an error text by EngineOptions.NewSilentMode.
  void ShowErrors(const std::string& text);
  // The dataset of DataSets whose alias matches, ignoring case, or none.
  TfrxDataSet* GetDataset(std::string_view alias) const;
  // Whether a name denotes a dataset field: alias."field" with a dataset of that alias
  // in DataSets and a field name that is not empty. Gives back the dataset and field.
  bool GetDataSetAndField(std::string_view name, TfrxDataSet*& dataSet, std::string& field) const;
  // The value of a name for expressions; found tells whether anything answered.
  Variant LookupValue(const std::string& name, bool& found);
  // Evaluates an expression; `fromScript` marks a call from a script's Calc.
  Variant Calc(const std::string& expression, bool fromScript = false);

  // The answers behind the registered script functions.
  Variant ScriptGet(const std::string& name);
  void ScriptSet(const std::string& name, const Variant& value);
  Variant ScriptIIF(const std::string& expr, const std::string& trueValue, const std::string& falseValue);
  Variant ScriptAggregate(const std::string& function, const std::string& expression, const std::string& band,
                          const std::string& flags);

  std::string CurrentObjectName() const override { return currentObjectName_; }
  void SetCurrentObjectName(const std::string& v) { currentObjectName_ = v; }
  void AddError(const std::string& message) override { errors_.Add(message); }
  bool Terminated() const { return terminated_; }
  // Setting it true also stops the running script.
  void SetTerminated(bool v);

  // Runs the script procedure with the object as its one argument, while the engine
  // runs (or when forced); nothing for an empty name.
  void RunScriptEvent(TfrxComponent* object, const std::string& eventName, bool force = false);
  // The host's OnBeforePrint / OnAfterPrint, then the object's script event.
  void FireBeforePrint(TfrxReportComponent& object);
  void FireAfterPrint(TfrxReportComponent& object);
  void SetScriptValue(const Variant& value);
  void SetScriptSelf(TfrxComponent* view) override;
  std::string ExpressionText(const std::string& expression) override;
  TfrxComponent* FindDataSetByName(const std::string& name) const override;

  void Notification(TComponent* component, TOperation operation) override;

  // --- host events ---------------------------------------------------------------------------
  TfrxObjectNotify OnBeforePrint, OnAfterPrint;
  TfrxReportNotify OnBeginDoc, OnEndDoc, OnAfterScriptCompile, OnPreview, OnBeforeConnect, OnAfterDisconnect;
  TfrxReportGetValue OnGetValue;
  TfrxReportNewGetValue OnNewGetValue;
  TfrxLoadTemplateEvent OnLoadTemplate;
  TfrxProgressEvent OnProgressStart, OnProgress, OnProgressStop;
  // Builds the body of a report page instead of its data bands (the engine calls it with
  // the page, which the host fills with the engine's ShowBand, NewPage and so on).
  TfrxObjectNotify OnManualBuild;

 private:
  void FillSystemVariables();
  bool SystemVariableValue(const std::string& name, Variant& value) const;
  bool PrepareScript();
  bool CompileWithoutScriptEngine();
  void LoadAncestor(const std::string& name);
  std::string FindAncestorFile(const std::string& name) const;
  void ReadCollection(TfrxPropReader& reader, TfrxXMLSerializer& serializer,
                      const std::function<TPersistent&()>& newItem);
  void WriteCollection(TfrxPropWriter& writer, TfrxXMLSerializer& serializer, int count,
                       const std::function<TPersistent&(int)>& item) const;

  // Published-property adaptors.
  TfrxComponent* DataSetRef() const;
  void SetDataSetRef(TfrxComponent* c);
  TfrxEngineOptions* EngineOptionsPtr() { return &engineOptions_; }
  TfrxPreviewOptions* PreviewOptionsPtr() { return &previewOptions_; }
  TfrxPrintOptions* PrintOptionsPtr() { return &printOptions_; }
  TfrxReportOptions* ReportOptionsPtr() { return &reportOptions_; }
  const std::string& OnStartReportName() const { return OnStartReport; }
  void SetOnStartReportName(const std::string& v) { OnStartReport = v; }
  const std::string& OnStopReportName() const { return OnStopReport; }
  void SetOnStopReportName(const std::string& v) { OnStopReport = v; }
  const std::string& OnReportPrintName() const { return OnReportPrint; }
  void SetOnReportPrintName(const std::string& v) { OnReportPrint = v; }

  TfrxReportDataSets dataSets_;
  TfrxVariables variables_;
  std::unique_ptr<TfrxReportScript> script_;
  TfrxEngineOptions engineOptions_;
  TfrxPreviewOptions previewOptions_;
  TfrxPrintOptions printOptions_;
  TfrxReportOptions reportOptions_;
  std::string iniFile_;
  std::vector<std::string> scriptText_;
  TfrxErrorList errors_;
  TfrxStyles styles_;
  std::unique_ptr<TfrxDrawText> drawText_;
  std::vector<std::string> systemVariables_;
  std::vector<TfrxDataSet*> enabledDataSets_;
  std::unique_ptr<TfrxReportPages> pages_;
  std::unique_ptr<TfrxReportEngine> engine_;
  std::vector<std::string> drillState_;

  std::string version_ = kVersion;
  std::string parentReport_;
  TfrxDataSet* dataSet_ = nullptr;
  std::string dataSetName_;
  bool dotMatrixReport_ = false;
  bool oldStyleProgress_ = false;
  TfrxCustomPreview* preview_ = nullptr;
  std::string scriptLanguage_ = "PascalScript";
  bool showProgress_ = true;
  bool storeInDFM_ = true;
  std::string fileName_;
  std::string currentObjectName_;
  bool terminated_ = false;
  bool preparePending_ = false;
  bool designerOpen_ = false;
  bool reloading_ = false;  // reloading the copy kept by Prepare: no password is asked
  TfrxProgressType progressType_ = TfrxProgressType::Running;
  std::unique_ptr<TfrxProgressWindow> progressWindow_;
  int ancestorDepth_ = 0;
  // The design position of the report component as the template had it.
  std::optional<int32_t> designLeft_, designTop_;
};
