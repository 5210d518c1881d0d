#pragma once
// The road of one job, without any window: load the template into the report, load the
// data file into the job tables, prepare the report, then run the chosen output action
// (or the designer in service mode). The resident utility's ExecuteFirstJob and the
// command-line job runner both run jobs through TJobSequence.
//
// Contract
// - The caller owns the report, the job tables (with their report datasets registered,
//   so that the template's "Dane", "Seria" and "Sumy" resolve) and the outputs; they
//   must outlive the sequence.
// - Run deletes nothing it was given: the template and the layout file are never touched, and
//   the data file is read whole before anything else uses it. Ending the job (removing
//   the queue entry, deleting the data file) is the caller's, through RunThenRemove, so
//   that it happens whatever Run did.
// - An export writes under a hidden staging name beside its target; the files take their
//   final names only when the export succeeded, and are deleted otherwise, so no output
//   is ever left half-written under the name the user looks for. A file that cannot be
//   renamed fails the export (ExportFailed, with the report's error).
// - Errors: a missing or unreadable data file and every loader error end the job at
//   once with their exception (nothing prepared, nothing output). Errors of loading the
//   template, preparing and exporting are the report's (collected in its Errors, shown
//   by its silent mode): the job goes on. An output this program cannot produce (no
//   export filter, no printing, no preview window, no designer, no mail hand-off) ends
//   the job with EJobOutputUnavailable: a job is never reported done without its output.

#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "jobs/DataFile.h"

class TfrxReport;
class TJobTables;

// The output actions by the index of the action list; any other index is no action.
enum TJobAction : int { jaPrint = 0, jaPreview = 1, jaPdf = 2, jaJpeg = 3, jaEmail = 4 };

// The action list's item text of an action index; "" for no action.
std::string_view JobActionText(int action);

// The settings of the main window a job reads.
struct TJobSettings {
  int Action = jaPrint;      // cb_Akcja's index; outside 0..4: no output action
  bool ServiceMode = false;  // cb_Interact: open the designer instead of an output
  std::string TargetFolder;  // ed_Katalog: PDF and JPEG
  std::string TempFolder;    // ed_KatalogTemp: the PDF of the e-mail action
};

// The output this program cannot produce; the message says which (8-bit system text).
class EJobOutputUnavailable : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// One export filter of the host (PDF_E or JPG_E) as the job uses it. The filter keeps
// its host settings and its properties between jobs.
class TJobExportFilter {
 public:
  virtual ~TJobExportFilter() = default;
  virtual void SetShowDialog(bool show) = 0;
  // Progress of the export through the report's progress (events, window).
  virtual void SetShowProgress(bool show) = 0;
  virtual void SetFileName(const std::string& fileName) = 0;
  virtual std::string FileName() const = 0;
  // report.ExportTo(filter): true when the export ran.
  virtual bool Export(TfrxReport& report) = 0;
  // The files the last export wrote (one PDF, or one JPEG per page).
  virtual std::vector<std::string> WrittenFiles() const = 0;
};

// What the host can do with a prepared report. A member left empty is an output this
// program does not have.
struct TJobOutputs {
  TJobExportFilter* PDF_E = nullptr;
  TJobExportFilter* JPG_E = nullptr;
  // Prints the prepared pages; PrintOptions.ShowDialog is already false.
  std::function<void(TfrxReport& report)> Print;
  // SendJobMail(PDF file, the job's Recipient).
  std::function<void(const std::string& pdfPath, const std::string& recipient)> SendJobMail;
};

// What a job produced.
struct TJobResult {
  std::vector<std::string> Files;  // the files written, in order
  bool OutputRan = false;          // the action (or the designer) ran to its end
  bool ExportFailed = false;       // an export returned false (see the report's Errors)
};

// The document file name: DocumentName with each of blank # $ & * , . / ? @ \ made "_";
// an empty name becomes "Raport".
std::string SafeFileName(std::string_view documentName);

// The report settings the host makes once, before its first job: silent mode, no
// progress, the preview's buttons and zoom, the default printer, PascalScript.
void ApplyReportHostSettings(TfrxReport& report);

class TJobSequence {
 public:
  TJobSequence(TfrxReport& report, TJobTables& tables, TJobOutputs outputs);

  // Runs one job; see the contract above.
  TJobResult Run(const std::string& templatePath, const std::string& dataPath, const TJobSettings& settings);

  // Opens a saved prepared report (".fp3") in place of the template, the data file and
  // preparing, and runs the action on its pages, without any template or data. The
  // document name is the file's name without its extension. Without an action every
  // page is built, so that a damaged page ends the job with its error. A report whose
  // prepared pages are not the store of tavrel_prepared cannot open one
  // (EJobOutputUnavailable).
  TJobResult RunPrepared(const std::string& preparedPath, const TJobSettings& settings);
  // The last job's header (DocumentName, Recipient).
  const TJobHeader& Header() const { return header_; }
  // The errors met loading the last job's template (preparing starts a new list).
  const std::vector<std::string>& TemplateErrors() const { return templateErrors_; }

  // Each step as it runs, as one line of 8-bit text (the runner's --verbose).
  std::function<void(const std::string& line)> OnStep;
  // After the data is loaded and before the report is prepared (the runner's --dump-tables).
  std::function<void()> OnDataLoaded;

 private:
  void Step(const std::string& line) const;
  TJobResult RunAction(const TJobSettings& settings, bool preparedOnly = false);
  TJobResult Export(TJobExportFilter* filter, const char* unavailable, const std::string& folder,
                    const char* extension);

  TfrxReport& report_;
  TJobTables& tables_;
  TJobOutputs outputs_;
  TJobHeader header_;
  std::vector<std::string> templateErrors_;
};

// Reads a whole file as bytes; raises EFOpenError ("Cannot open file ...") when it
// cannot be opened.
std::string ReadWholeFile(const std::string& path);

// Runs `job`, then `remove` whatever happened; an error of the job is raised again
// after the removal. `remove` must not throw.
void RunThenRemove(const std::function<void()>& job, const std::function<void()>& remove);
