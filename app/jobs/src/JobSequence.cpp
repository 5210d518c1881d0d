#include "jobs/JobSequence.h"

#include <filesystem>

#include "StagedOutput.h"
#include "platform/CodePage.h"
#include "platform/FileSystem.h"
#include "platform/Stream.h"
#include "prepared/frxPreviewPages.h"
#include "report/frxClassReport.h"
#include "report/frxRes.h"

namespace {

// The action list's items, by index.
constexpr const char* kActionTexts[] = {"drukowanie", "podgląd wydruku", "eksport do PDF", "eksport do JPG",
                                        "twórz e-mail"};

// The outputs this program may lack, as the user is told (UTF-8 here, 8-bit when raised).
constexpr const char* kNoPdf = "Eksport do PDF nie jest dostępny w tej wersji programu";
constexpr const char* kNoJpeg = "Eksport do JPG nie jest dostępny w tej wersji programu";
constexpr const char* kNoPrinting = "Drukowanie nie jest dostępne w tej wersji programu";
constexpr const char* kNoPreview = "Podgląd wydruku nie jest dostępny w tej wersji programu";
constexpr const char* kNoDesigner = "Projektant raportów nie jest dostępny w tej wersji programu";
constexpr const char* kNoMail = "Tworzenie wiadomości e-mail nie jest dostępne w tej wersji programu";
constexpr const char* kNoPreparedPages = "Otwieranie raportów przygotowanych nie jest dostępne w tej wersji programu";

[[noreturn]] void Unavailable(const char* utf8) { throw EJobOutputUnavailable(codepage::Utf8ToAnsi(utf8)); }

bool IsFileNameReplaced(char c) {
  switch (c) {
    case ' ': case '#': case '$': case '&': case '*': case ',': case '.': case '/': case '?': case '@':
    case '\\':
      return true;
    default:
      return false;
  }
}

}  // namespace

std::string_view JobActionText(int action) {
  return action >= jaPrint && action <= jaEmail ? kActionTexts[action] : "";
}

std::string SafeFileName(std::string_view documentName) {
  std::string name(documentName);
  for (char& c : name)
    if (IsFileNameReplaced(c)) c = '_';
  return name.empty() ? "Raport" : name;
}

void ApplyReportHostSettings(TfrxReport& report) {
  report.EngineOptions().NewSilentMode = simSilent;
  report.SetShowProgress(false);
  report.PreviewOptions().Buttons = (1 << pbPrint) | (1 << pbExport) | (1 << pbZoom) | (1 << pbFind) |
                                    (1 << pbOutline) | (1 << pbPageSetup) | (1 << pbTools) | (1 << pbNavigator);
  report.PreviewOptions().Zoom = 1;
  report.PrintOptions().Printer = frxResources().Get("prDefault");
  report.PrintOptions().PrintOnSheet = 0;
  report.SetScriptLanguage("PascalScript");
  report.SetStoreInDFM(false);
  report.SetDotMatrixReport(false);
}

std::string ReadWholeFile(const std::string& path) {
  TFileStream file(path, TFileMode::OpenRead, TFileShare::DenyWrite);
  std::string bytes(static_cast<size_t>(file.Size()), '\0');
  if (!bytes.empty()) file.ReadBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
  return bytes;
}

void RunThenRemove(const std::function<void()>& job, const std::function<void()>& remove) {
  try {
    job();
  } catch (...) {
    remove();
    throw;
  }
  remove();
}

TJobSequence::TJobSequence(TfrxReport& report, TJobTables& tables, TJobOutputs outputs)
    : report_(report), tables_(tables), outputs_(std::move(outputs)) {}

void TJobSequence::Step(const std::string& line) const {
  if (OnStep) OnStep(line);
}

TJobResult TJobSequence::Run(const std::string& templatePath, const std::string& dataPath,
                             const TJobSettings& settings) {
  header_ = TJobHeader();
  Step("szablon: " + templatePath);
  // A missing template leaves an empty report, and nothing is reported.
  report_.LoadFromFile(templatePath);
  templateErrors_ = report_.Errors().Items();

  Step("plik danych: " + dataPath);
  const std::string text = ReadWholeFile(dataPath);
  LoadDataFile(text, header_, tables_, report_.Variables());
  Step("DocumentName: " + header_.DocumentName);
  Step("Recipient: " + header_.Recipient);
  if (OnDataLoaded) OnDataLoaded();

  // Whatever was prepared (nothing after a failure) is what the output works on.
  report_.Prepare(true);

  // Printing or exporting from a preview or designer opened below asks for its settings.
  report_.PrintOptions().ShowDialog = true;
  if (outputs_.PDF_E) outputs_.PDF_E->SetShowDialog(true);
  if (outputs_.JPG_E) outputs_.JPG_E->SetShowDialog(true);

  if (settings.ServiceMode) {
    Step(codepage::Utf8ToAnsi("akcja: tryb serwisowy"));
    if (!frxReportCollaborators().Designer) Unavailable(kNoDesigner);
    report_.OpenDesigner(true, false);
    TJobResult result;
    result.OutputRan = true;
    return result;
  }
  return RunAction(settings);
}

TJobResult TJobSequence::RunPrepared(const std::string& preparedPath, const TJobSettings& settings) {
  header_ = TJobHeader();
  templateErrors_.clear();
  Step("raport przygotowany: " + preparedPath);
  TfrxPreviewPages* pages = frxPreviewPagesOf(report_);
  if (!pages) Unavailable(kNoPreparedPages);
  report_.Errors().Clear();
  pages->LoadFromFile(preparedPath, true);
  header_.DocumentName = std::filesystem::path(preparedPath).stem().string();
  Step("DocumentName: " + header_.DocumentName);
  Step("stron: " + std::to_string(pages->Count()));
  if (settings.Action < jaPrint || settings.Action > jaEmail) {
    int built = 0;
    for (int i = 0; i < pages->Count(); ++i) {
      if (pages->BuildPage(i)) ++built;
      pages->ClearPageCache();
    }
    Step("stron zbudowanych: " + std::to_string(built));
  }
  report_.PrintOptions().ShowDialog = true;
  if (outputs_.PDF_E) outputs_.PDF_E->SetShowDialog(true);
  if (outputs_.JPG_E) outputs_.JPG_E->SetShowDialog(true);
  return RunAction(settings, true);
}

TJobResult TJobSequence::RunAction(const TJobSettings& settings, bool preparedOnly) {
  const std::string_view actionText = JobActionText(settings.Action);
  Step(codepage::Utf8ToAnsi("akcja: " + std::string(actionText.empty() ? "brak" : actionText)));
  TJobResult result;
  switch (settings.Action) {
    case jaPrint:
      report_.PrintOptions().ShowDialog = false;
      if (!outputs_.Print) Unavailable(kNoPrinting);
      outputs_.Print(report_);
      result.OutputRan = true;
      return result;
    case jaPreview:
      if (!report_.Preview() && !frxReportCollaborators().PreviewWindow) Unavailable(kNoPreview);
      // Pages opened from a file are shown as they are; a job's are prepared again.
      if (preparedOnly)
        report_.ShowPrepared();
      else
        report_.ShowReport(true);
      result.OutputRan = true;
      return result;
    case jaPdf:
      return Export(outputs_.PDF_E, kNoPdf, settings.TargetFolder, ".pdf");
    case jaJpeg:
      return Export(outputs_.JPG_E, kNoJpeg, settings.TargetFolder, ".jpg");
    case jaEmail: {
      // Refused before the export, so that no PDF is left behind for a message never made.
      if (!outputs_.SendJobMail) Unavailable(kNoMail);
      result = Export(outputs_.PDF_E, kNoPdf, settings.TempFolder, ".pdf");
      Step("e-mail: " + header_.Recipient);
      outputs_.SendJobMail(outputs_.PDF_E->FileName(), header_.Recipient);
      return result;
    }
    default:
      return result;  // no action selected
  }
}

TJobResult TJobSequence::Export(TJobExportFilter* filter, const char* unavailable, const std::string& folder,
                                const char* extension) {
  if (!filter) Unavailable(unavailable);
  // One level only; a folder that cannot be made shows up as the export's error.
  if (!fsys::DirectoryExists(folder)) fsys::CreateDir(folder);
  const std::string fileStem = SafeFileName(header_.DocumentName);
  const std::string stem = folder + "/" + fileStem;
  // The filter writes under a staging name; only a finished export takes the final one.
  const TStagedOutput staged(folder, fileStem, extension);
  filter->SetFileName(staged.Name());
  filter->SetShowDialog(false);
  Step("plik: " + stem + extension);
  TJobResult result;
  result.OutputRan = true;
  bool exported = false;
  try {
    exported = filter->Export(report_);
  } catch (...) {
    staged.Discard(filter->WrittenFiles());
    filter->SetFileName(stem + extension);
    throw;
  }
  const std::vector<std::string> written = filter->WrittenFiles();
  // The filter keeps the name the user knows, for the mail hand-off and the next job.
  filter->SetFileName(stem + extension);
  if (!exported) {
    staged.Discard(written);
    result.ExportFailed = true;
    return result;
  }
  std::string failed;
  result.Files = staged.Publish(written, stem, failed);
  if (!failed.empty()) {
    report_.Errors().Add(codepage::Utf8ToAnsi("Nie można zapisać pliku ") + failed);
    result.ExportFailed = true;
  }
  return result;
}
