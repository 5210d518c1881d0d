#pragma once
// An export filter that writes one small file per export, or fails as a filter does:
// false, nothing written, or a file cut short when the disk fills. It records how it
// was used, for the tests of the job's road.

#include <fstream>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "jobs/JobSequence.h"
#include "platform/FileSystem.h"

class TFakeExportFilter : public TJobExportFilter {
 public:
  void SetShowDialog(bool show) override { showDialog = show; }
  void SetShowProgress(bool show) override { showProgress = show; }
  void SetFileName(const std::string& name) override { fileName_ = name; }
  std::string FileName() const override { return fileName_; }
  bool Export(TfrxReport&) override {
    ++exports;
    dialogAtExport = showDialog;
    written_.clear();
    if (fail) return false;
    std::ofstream file(fsys::NativePath(fileName_), std::ios::binary);
    if (!file) return false;
    const std::string bytes = content ? content() : std::string("%PDF-1.4\n%%EOF\n");
    if (diskFullAfter >= 0 && static_cast<size_t>(diskFullAfter) < bytes.size()) {
      // What a filter leaves when a write fails: the file cut where the disk filled.
      file << bytes.substr(0, static_cast<size_t>(diskFullAfter));
      file.close();
      if (raiseWhenFull) throw std::runtime_error("No space left on device");
      return false;
    }
    file << bytes;
    written_.push_back(fileName_);
    if (pages > 0) {
      // One file per page named as the image export names them: "x.jpg" gives "x.1.jpg"...
      file.close();
      fsys::DeleteFile(fileName_);
      written_.clear();
      const size_t dot = fileName_.rfind('.');
      for (int page = 1; page <= pages; ++page) {
        const std::string name = fileName_.substr(0, dot) + "." + std::to_string(page) + fileName_.substr(dot);
        std::ofstream(fsys::NativePath(name), std::ios::binary) << bytes;
        written_.push_back(name);
      }
    }
    return true;
  }
  std::vector<std::string> WrittenFiles() const override { return written_; }

  // What the file holds; a minimal PDF when not set.
  std::function<std::string()> content;
  bool fail = false;
  // The disk fills after this many bytes (-1: never); the export then returns false,
  // or raises when `raiseWhenFull`.
  int diskFullAfter = -1;
  bool raiseWhenFull = false;
  // Writes this many page files instead of one file (0: one file under FileName).
  int pages = 0;
  bool showDialog = false;
  bool showProgress = false;
  bool dialogAtExport = true;
  int exports = 0;

 private:
  std::string fileName_;
  std::vector<std::string> written_;
};
