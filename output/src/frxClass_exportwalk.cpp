// The walk that drives an export filter over the prepared pages: page selection, the
// paper position of each page, the page background object, the preparation of every
// object, progress and Cancel, and the report's error rules.
#include <memory>
#include <stdexcept>

#include "output/frxClassExport.h"
#include "prepared/frxPreviewPages.h"
#include "report/frxClassBand.h"
#include "report/frxClassMemo.h"
#include "report/frxClassPage.h"
#include "report/frxClassReport.h"
#include "report/frxRes.h"

namespace {

// The values known only once every page exists, put into an object before a filter
// sees it.
void PrepareForExport(TfrxComponent& object, int pageCount) {
  auto* memo = dynamic_cast<TfrxCustomMemoView*>(&object);
  if (!memo) return;
  if (memo->Highlight().Active()) memo->SetFont(memo->Highlight().Font());
  memo->SetTotalPagesValue(pageCount);
  memo->SetCopyNumber(1);
  memo->SubstituteSecondPass();
  if (memo->AutoWidth()) memo->SetWidth(memo->CalcWidth());
}

// The page's fill, frame and background picture as one view over the printable area;
// filters that want only real content recognise it by its name.
std::unique_ptr<TfrxPictureView> PageBackground(TfrxReportPage& page) {
  auto background = std::make_unique<TfrxPictureView>(nullptr);
  background->SetName("_pagebackground");
  background->SetColor(page.Color());
  background->Frame().Assign(page.Frame());
  if (page.BackPictureVisible() && !page.BackPicture().Empty())
    background->Picture().Assign(page.BackPicture().Graphic());
  background->SetStretched(true);
  background->SetKeepAspectRatio(false);
  background->SetBounds(page.Left(), page.Top(),
                        (page.PaperWidth() - page.LeftMargin() - page.RightMargin()) * fr01cm,
                        (page.PaperHeight() - page.TopMargin() - page.BottomMargin()) * fr01cm);
  return background;
}

class TExportWalk {
 public:
  TExportWalk(TfrxPreviewPages& pages, TfrxCustomExportFilter& filter)
      : pages_(pages), filter_(filter), report_(pages.Report()) {}

  bool Run();

 private:
  void ExportPages();
  void ExportPage(int index);
  void ExportObjects(TfrxComponent& page, int index);
  void ExportPrepared(TfrxComponent& object);

  TfrxPreviewPages& pages_;
  TfrxCustomExportFilter& filter_;
  TfrxReport& report_;
  std::set<int> selected_;
};

bool TExportWalk::Run() {
  pages_.SetCopyNumber(0);
  filter_.SetReport(&report_);
  if (filter_.ShowDialog() && filter_.ShowSettings() != mrOk) return false;
  if (filter_.CurrentPageOnly())
    filter_.SetPageNumbers(report_.Preview() ? std::to_string(pages_.CurrentPreviewPage()) : "1");
  report_.SetTerminated(false);
  filter_.SetIncomplete(false);
  // A malformed range is the caller's error, raised before anything starts.
  selected_ = frxParsePageNumbers(filter_.PageNumbers(), pages_.Count());
  try {
    if (filter_.OnBeginExport) filter_.OnBeginExport(filter_);
    if (!filter_.StartExport()) return true;
    ExportPages();
  } catch (const std::exception& e) {
    report_.Errors().Add(e.what());
    report_.ShowErrors(report_.ErrorsReport());
    return false;
  }
  return true;
}

void TExportWalk::ExportPages() {
  if (filter_.ShowProgress()) report_.ProgressStart(TfrxProgressType::Exporting);
  // Progress and EndExport close the export whatever happened to the pages.
  auto close = [&] {
    if (filter_.ShowProgress()) report_.ProgressStop();
    filter_.EndExport();
  };
  try {
    for (int i = 0; i < pages_.Count(); ++i) {
      ExportPage(i);
      if (report_.Terminated()) break;
      if (const auto& process = frxReportCollaborators().ProcessMessages) process();
    }
  } catch (...) {
    close();
    throw;
  }
  close();
}

void TExportWalk::ExportPage(int index) {
  if (!selected_.empty() && !selected_.count(index + 1)) return;
  TfrxComponent* page = pages_.BuildPage(index);
  if (!page) return;
  if (filter_.ShowProgress()) report_.ProgressStep(index + 1);
  filter_.BeginPage(*page, index);
  try {
    ExportObjects(*page, index);
  } catch (...) {
    filter_.EndPage(*page, index);
    throw;
  }
  filter_.EndPage(*page, index);
  if (!report_.Preview()) {
    pages_.ClearPageCache();
  } else {
    page->SetLeft(0);
    page->SetTop(0);
  }
}

void TExportWalk::ExportObjects(TfrxComponent& page, int index) {
  if (auto* reportPage = dynamic_cast<TfrxReportPage*>(&page)) {
    const bool mirrored = reportPage->MirrorMargins() && index % 2 == 1;
    page.SetLeft((mirrored ? reportPage->RightMargin() : reportPage->LeftMargin()) * fr01cm);
    page.SetTop(reportPage->TopMargin() * fr01cm);
    filter_.ExportItem(*PageBackground(*reportPage));
  }
  const bool firstPage = index == 0, lastPage = index == pages_.Count() - 1;
  for (TfrxComponent* band : page.Objects()) {
    if (filter_.SuppressPageHeadersFooters()) {
      if (!firstPage && dynamic_cast<TfrxPageHeader*>(band)) continue;
      if (!lastPage && dynamic_cast<TfrxPageFooter*>(band)) continue;
    }
    ExportPrepared(*band);
    for (TfrxComponent* object : band->Objects()) ExportPrepared(*object);
  }
}

void TExportWalk::ExportPrepared(TfrxComponent& object) {
  PrepareForExport(object, pages_.Count());
  filter_.ExportItem(object);
}

}  // namespace

bool frxExportPages(TfrxPreviewPages& pages, TfrxCustomExportFilter& filter) {
  return TExportWalk(pages, filter).Run();
}

void frxRegisterExportFilters() { frxSetExportWalk(&frxExportPages); }
