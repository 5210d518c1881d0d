#pragma once
// The export filters the host carries for its jobs, with the host settings of the job
// execution (no dialog, no progress, no overwrite question, a file cache), and the face
// each shows the job road (TJobExportFilter). The resident utility's main window and
// tavrel-render each own one TJobExportFilters and put it into their TJobOutputs.

#include <string>
#include <vector>

#include "jobs/JobSequence.h"
#include "output/frxExportImage.h"

class TfrxCustomExportFilter;

// A report export filter as the job road uses it. An export succeeds when the walk ran
// and the filter wrote everything it was asked to: a page image that could not be
// saved (its error in the report's Errors) fails the job's export, so that the pages
// written are not published as if the document were whole.
class TJobFilter final : public TJobExportFilter {
 public:
  explicit TJobFilter(TfrxCustomExportFilter& filter) : filter_(filter) {}
  void SetShowDialog(bool show) override;
  void SetShowProgress(bool show) override;
  void SetFileName(const std::string& fileName) override;
  std::string FileName() const override;
  bool Export(TfrxReport& report) override;
  std::vector<std::string> WrittenFiles() const override;

 private:
  TfrxCustomExportFilter& filter_;
};

struct TJobExportFilters {
  TJobExportFilters();
  TJobExportFilters(const TJobExportFilters&) = delete;
  TJobExportFilters& operator=(const TJobExportFilters&) = delete;

  // Fills the export members of `outputs` with the filters held here.
  void AddTo(TJobOutputs& outputs);

  TfrxJPEGExport JPG_E{nullptr};
  TJobFilter JpegJob{JPG_E};
};
