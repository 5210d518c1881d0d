#include "app/JobExportFilters.h"

#include "platform/IniFile.h"
#include "report/frxClassReport.h"

namespace {

// The maker's name as the PDF files carry it, and its address.
constexpr char16_t kMaker[] = u"Ostrand Tavrel";
constexpr char16_t kMakerWithAddress[] = u"Ostrand Tavrel (https://tavrel.ostrand.example)";

}  // namespace

void TJobFilter::SetShowDialog(bool show) { filter_.SetShowDialog(show); }
void TJobFilter::SetShowProgress(bool show) { filter_.SetShowProgress(show); }
void TJobFilter::SetFileName(const std::string& fileName) { filter_.SetFileName(fileName); }
std::string TJobFilter::FileName() const { return filter_.FileName(); }

bool TJobFilter::Export(TfrxReport& report) { return report.ExportTo(filter_) && !filter_.Incomplete(); }

std::vector<std::string> TJobFilter::WrittenFiles() const { return filter_.FileNames(); }

TJobExportFilters::TJobExportFilters() {
  PDF_E.SetUseFileCache(true);
  PDF_E.SetShowProgress(false);
  PDF_E.SetOverwritePrompt(false);
  PDF_E.SetPrintOptimized(false);
  PDF_E.SetOutline(false);
  PDF_E.SetBackground(false);
  PDF_E.SetHTMLTags(true);
  PDF_E.SetAuthor(kMaker);
  PDF_E.SetSubject(kMakerWithAddress);
  PDF_E.SetCreator(kMakerWithAddress);
  PDF_E.SetProtectionFlags(kAllPDFPermissions);
  PDF_E.SetHideToolbar(false);
  PDF_E.SetHideMenubar(false);
  PDF_E.SetHideWindowUI(false);
  PDF_E.SetFitWindow(false);
  PDF_E.SetCenterWindow(false);
  PDF_E.SetPrintScaling(false);
  JPG_E.SetUseFileCache(true);
  JPG_E.SetShowProgress(false);
  JPG_E.SetOverwritePrompt(false);
}

void TJobExportFilters::AddTo(TJobOutputs& outputs) {
  outputs.PDF_E = &PdfJob;
  outputs.JPG_E = &JpegJob;
}

void TJobExportFilters::ReadSettings(const TIniFile& ini) {
  PDF_E.SetSubsetFonts(ini.ReadInteger("MAIN", kPdfSubsetFontsKey, 0) == 1);
}
