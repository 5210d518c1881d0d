#include "app/JobExportFilters.h"

#include "report/frxClassReport.h"

void TJobFilter::SetShowDialog(bool show) { filter_.SetShowDialog(show); }
void TJobFilter::SetShowProgress(bool show) { filter_.SetShowProgress(show); }
void TJobFilter::SetFileName(const std::string& fileName) { filter_.SetFileName(fileName); }
std::string TJobFilter::FileName() const { return filter_.FileName(); }

bool TJobFilter::Export(TfrxReport& report) { return report.ExportTo(filter_) && !filter_.Incomplete(); }

std::vector<std::string> TJobFilter::WrittenFiles() const { return filter_.FileNames(); }

TJobExportFilters::TJobExportFilters() {
  JPG_E.SetUseFileCache(true);
  JPG_E.SetShowProgress(false);
  JPG_E.SetOverwritePrompt(false);
}

void TJobExportFilters::AddTo(TJobOutputs& outputs) { outputs.JPG_E = &JpegJob; }
