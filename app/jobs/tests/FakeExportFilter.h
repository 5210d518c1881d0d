#pragma once
// An export filter that writes one small file per export, or fails as a filter does:
// false, nothing written. It records how it was used, for the tests of the job's road.

#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "jobs/JobSequence.h"
#include "platform/FileSystem.h"

class TFakeExportFilter : public TJobExportFilter {
 public:
  void SetShowDialog(bool show) override { showDialog = show; }
  void SetFileName(const std::string& name) override { fileName_ = name; }
  std::string FileName() const override { return fileName_; }
  bool Export(TfrxReport&) override {
    ++exports;
    dialogAtExport = showDialog;
    written_.clear();
    if (fail) return false;
    std::ofstream file(fsys::NativePath(fileName_), std::ios::binary);
    if (!file) return false;
    file << (content ? content() : std::string("%PDF-1.4\n%%EOF\n"));
    written_.push_back(fileName_);
    return true;
  }
  std::vector<std::string> WrittenFiles() const override { return written_; }

  // What the file holds; a minimal PDF when not set.
  std::function<std::string()> content;
  bool fail = false;
  bool showDialog = false;
  bool dialogAtExport = true;
  int exports = 0;

 private:
  std::string fileName_;
  std::vector<std::string> written_;
};
