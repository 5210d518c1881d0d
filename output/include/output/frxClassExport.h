#pragma once
// The export filter framework: TfrxCustomExportFilter, the base of every filter that
// turns prepared pages into a file (PDF, JPEG), the application-wide list of filters,
// the page-range syntax, and the walk that drives a filter over the pages.
//
// Contract
// - Order of calls for one export (the walk, started by TfrxReport::ExportTo through
//   the store's ExportPages): Report is set; ShowSettings when ShowDialog (a result
//   other than mrOk ends the walk, which returns false); OnBeginExport; StartExport
//   (false: nothing else is called and the walk returns true); then for every selected
//   page BeginPage, ExportItem for the page background ("_pagebackground", a temporary
//   picture view), then for each band of the page the band and each of its objects in
//   order, EndPage; finally EndExport. EndPage and EndExport also run when an error
//   interrupts the page or the pages.
// - Geometry: while a page is exported its Left and Top are the paper position of its
//   printable area (left margin, or the right margin on odd page indexes with
//   MirrorMargins; top margin), in pixels at 96 per inch, so every object's AbsLeft and
//   AbsTop are paper positions.
// - Objects handed to ExportItem are prepared as the page's final values require: a memo
//   with an active highlight takes the highlight's font; "[TOTALPAGES#]" and
//   "[COPYNAME#]" are replaced; automatic widths are measured again. They belong to the
//   store's page cache (or, for the background, to the walk): never keep them past the
//   call.
// - Errors: an error raised by a filter or the walk ends the export; its message goes to
//   the report's Errors and is reported through ShowErrors, and the walk returns false.
//   A malformed PageNumbers raises EConvertError to the caller of ExportTo.
// - Registration: a filter created without `noRegistration` is in frxExportFilters()
//   for its lifetime (the preview's export menu is built from it).
// - Threads: the window thread only.

#include <functional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "report/frxClassComponent.h"

class TfrxReport;
class TfrxPreviewPages;

// Modal results of ShowSettings.
constexpr int mrOk = 1;
constexpr int mrCancel = 2;

class TfrxCustomExportFilter : public TComponent {
 public:
  explicit TfrxCustomExportFilter(TComponent* owner, bool noRegistration = false);
  ~TfrxCustomExportFilter() override;
  TFRX_PERSISTENT_CLASS

  // --- published -----------------------------------------------------------------------
  // Ask for the settings (ShowSettings) before exporting.
  bool ShowDialog() const { return showDialog_; }
  void SetShowDialog(bool v) { showDialog_ = v; }
  const std::string& FileName() const { return fileName_; }
  void SetFileName(const std::string& v) { fileName_ = v; }
  // Also export objects whose Printable is false (filters that honour it).
  bool ExportNotPrintable() const { return exportNotPrintable_; }
  void SetExportNotPrintable(bool v) { exportNotPrintable_ = v; }
  // Filters may keep intermediate data in temporary files.
  bool UseFileCache() const { return useFileCache_; }
  void SetUseFileCache(bool v) { useFileCache_ = v; }
  // The folder used when FileName has none (filters that honour it).
  const std::string& DefaultPath() const { return defaultPath_; }
  void SetDefaultPath(const std::string& v) { defaultPath_ = v; }
  bool ShowProgress() const { return showProgress_; }
  void SetShowProgress(bool v) { showProgress_ = v; }
  // Ask before overwriting an existing file (in the filters' save dialogs).
  bool OverwritePrompt() const { return overwritePrompt_; }
  void SetOverwritePrompt(bool v) { overwritePrompt_ = v; }
  // Fired before StartExport.
  std::function<void(TfrxCustomExportFilter& sender)> OnBeginExport;

  // --- other members -------------------------------------------------------------------
  // Export only the current page (the preview's, or the first without a preview).
  bool CurrentPageOnly() const { return currentPageOnly_; }
  void SetCurrentPageOnly(bool v) { currentPageOnly_ = v; }
  // The page range ("1,3,5-12"); empty for all pages.
  const std::string& PageNumbers() const { return pageNumbers_; }
  void SetPageNumbers(const std::string& v) { pageNumbers_ = v; }
  // The report being exported; set by the walk.
  TfrxReport* Report() const { return report_; }
  void SetReport(TfrxReport* report) { report_ = report; }
  bool NoRegistration() const { return noRegistration_; }
  // Set while the filter runs inside another operation that chooses the file itself: no
  // save dialog, a generated file name.
  bool SlaveExport() const { return slaveExport_; }
  void SetSlaveExport(bool v) { slaveExport_ = v; }
  // The filter's file extension with its dot, and its filter text for save dialogs.
  const std::string& DefaultExt() const { return defaultExt_; }
  const std::string& FilterDesc() const { return filterDesc_; }
  // The files the last export wrote, in order (8-bit names).
  const std::vector<std::string>& FileNames() const { return fileNames_; }
  // Whether some output could not be written while the export went on (its errors were
  // reported by the report's NewSilentMode); cleared by the walk when an export starts.
  bool Incomplete() const { return incomplete_; }
  void SetIncomplete(bool v) { incomplete_ = v; }
  // Page headers only on the first page and page footers only on the last.
  bool SuppressPageHeadersFooters() const { return suppressPageHeadersFooters_; }
  void SetSuppressPageHeadersFooters(bool v) { suppressPageHeadersFooters_ = v; }

  // --- what the walk calls, in slot order ------------------------------------------------
  // The filter's name for menus; the class's name when empty.
  virtual std::string FilterDescription() const { return {}; }
  // mrOk without showing anything.
  virtual int ShowSettings() { return mrOk; }
  // False ends the export before any page.
  virtual bool StartExport() { return true; }
  virtual void ExportItem(TfrxComponent& object) = 0;
  virtual void EndExport() {}
  virtual void EndPage(TfrxComponent& page, int index) {}
  virtual void BeginPage(TfrxComponent& page, int index) {}

 protected:
  void SetDefaultExt(const std::string& v) { defaultExt_ = v; }
  void SetFilterDesc(const std::string& v) { filterDesc_ = v; }
  std::vector<std::string>& WrittenFiles() { return fileNames_; }

 private:
  bool showDialog_ = true;
  std::string fileName_;
  bool exportNotPrintable_ = false;
  bool useFileCache_ = true;
  std::string defaultPath_;
  bool showProgress_ = true;
  bool overwritePrompt_ = false;
  bool currentPageOnly_ = false;
  std::string pageNumbers_;
  TfrxReport* report_ = nullptr;
  bool noRegistration_ = false;
  bool slaveExport_ = false;
  std::string defaultExt_;
  std::string filterDesc_;
  std::vector<std::string> fileNames_;
  bool suppressPageHeadersFooters_ = false;
  bool incomplete_ = false;
};

// The filters registered so far, in creation order.
const std::vector<TfrxCustomExportFilter*>& frxExportFilters();

// The page numbers a range text selects, for a report of `pageCount` pages: comma-
// separated numbers and ranges "a-b", numbered from 1; blanks anywhere are dropped; a
// trailing "-" runs to the last page; a range whose end is below its start selects
// nothing; numbers past the last page select nothing. An empty set means every page
// (an empty text, or parts that select no page at all). A part that is not a number,
// a range without a start included, raises EConvertError.
std::set<int> frxParsePageNumbers(std::string_view text, int pageCount);

// The walk: drives `filter` over the prepared pages (see the contract above).
bool frxExportPages(TfrxPreviewPages& pages, TfrxCustomExportFilter& filter);

// Plugs the walk into the prepared pages store (their ExportPages), for every report.
// The programs call it at start, beside frxRegisterPreviewPages().
void frxRegisterExportFilters();
