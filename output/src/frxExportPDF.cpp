// The PDF export filter: the walk's calls on one TfrxPDFDocument, the target file and
// what happens to it after a failure.

#include "output/frxExportPDF.h"

#include <spawn.h>
#include <sys/wait.h>

#include "platform/FileSystem.h"
#include "platform/Stream.h"
#include "report/frxRes.h"

extern char** environ;

namespace {

// Hands the file to the desktop's default viewer; a missing xdg-open is no error.
void OpenWithDesktop(const std::string& path) {
  const char* argv[] = {"xdg-open", path.c_str(), nullptr};
  pid_t pid = 0;
  if (posix_spawnp(&pid, "xdg-open", nullptr, nullptr, const_cast<char**>(argv), environ) == 0)
    waitpid(pid, nullptr, 0);  // xdg-open returns once the viewer has started
}

}  // namespace

TfrxPDFExport::TfrxPDFExport(TComponent* owner, bool noRegistration) : TfrxCustomExportFilter(owner, noRegistration) {
  SetDefaultExt(frxResources().Get("8708"));
  SetFilterDesc(frxResources().Get("8707"));
  s_.Author = u"Tavrel";
  s_.Subject = u"Tavrel PDF export";
  s_.Creator = u"Tavrel";
}

TfrxPDFExport::~TfrxPDFExport() {
  if (document_) Abandon();
}

const TfrxClassInfo& TfrxPDFExport::StaticClassInfo() {
  static const TfrxEnumType encBits{"TfrxPDFEncBit", {"ePrint", "eModify", "eCopy", "eAnnot"}};
  static const TfrxClassInfo info(
      "TfrxPDFExport", &TfrxCustomExportFilter::StaticClassInfo(), nullptr, [](TfrxClassInfo& c) {
        using F = TfrxPDFExport;
        TfrxPublish<F> p(c);
        p.Boolean("Compressed", &F::Compressed, &F::SetCompressed).Default(1);
        p.Boolean("EmbeddedFonts", &F::EmbeddedFonts, &F::SetEmbeddedFonts).Default(1);
        p.Boolean("EmbedFontsIfProtected", &F::EmbedFontsIfProtected, &F::SetEmbedFontsIfProtected).Default(1);
        p.Boolean("SubsetFonts", &F::SubsetFonts, &F::SetSubsetFonts).Default(0);
        p.Boolean("OpenAfterExport", &F::OpenAfterExport, &F::SetOpenAfterExport).Default(0);
        p.Boolean("PrintOptimized", &F::PrintOptimized, &F::SetPrintOptimized).Default(0);
        p.Boolean("Outline", &F::Outline, &F::SetOutline).Default(0);
        p.Boolean("Background", &F::Background, &F::SetBackground).Default(0);
        p.Boolean("HTMLTags", &F::HTMLTags, &F::SetHTMLTags).Default(1);
        p.WideString("Title", &F::Title, &F::SetTitle);
        p.WideString("Author", &F::Author, &F::SetAuthor);
        p.WideString("Subject", &F::Subject, &F::SetSubject);
        p.WideString("Keywords", &F::Keywords, &F::SetKeywords);
        p.WideString("Creator", &F::Creator, &F::SetCreator);
        p.WideString("Producer", &F::Producer, &F::SetProducer);
        p.String("UserPassword", &F::UserPassword, &F::SetUserPassword);
        p.String("OwnerPassword", &F::OwnerPassword, &F::SetOwnerPassword);
        p.Set("ProtectionFlags", encBits, &F::ProtectionFlags, &F::SetProtectionFlags).Default(kAllPDFPermissions);
        p.Boolean("HideToolbar", &F::HideToolbar, &F::SetHideToolbar).Default(0);
        p.Boolean("HideMenubar", &F::HideMenubar, &F::SetHideMenubar).Default(0);
        p.Boolean("HideWindowUI", &F::HideWindowUI, &F::SetHideWindowUI).Default(0);
        p.Boolean("FitWindow", &F::FitWindow, &F::SetFitWindow).Default(0);
        p.Boolean("CenterWindow", &F::CenterWindow, &F::SetCenterWindow).Default(0);
        p.Boolean("PrintScaling", &F::PrintScaling, &F::SetPrintScaling).Default(0);
      });
  return info;
}

std::string TfrxPDFExport::FilterDescription() const { return frxResources().Get("PDFexport"); }

template <typename F>
void TfrxPDFExport::Step(F&& step) {
  if (!document_ || failed_) return;
  try {
    step();
  } catch (...) {
    failed_ = true;
    throw;
  }
}

bool TfrxPDFExport::StartExport() {
  WrittenFiles().clear();
  failed_ = false;
  target_.clear();
  TStream* out = stream_;
  if (!out) {
    if (FileName().empty()) return false;
    target_ = FileName();
    if (target_.find_first_of("/\\") == std::string::npos && !DefaultPath().empty())
      target_ = DefaultPath() + "/" + target_;
    file_ = std::make_unique<TFileStream>(target_, TFileMode::Create);
    out = file_.get();
  }
  try {
    document_ = std::make_unique<TfrxPDFDocument>(*out, s_, Report());
  } catch (...) {
    Abandon();
    throw;
  }
  return true;
}

void TfrxPDFExport::BeginPage(TfrxComponent& page, int index) {
  Step([&] { document_->BeginPage(page, index); });
}

void TfrxPDFExport::ExportItem(TfrxComponent& object) {
  Step([&] { document_->ExportItem(object); });
}

void TfrxPDFExport::EndPage(TfrxComponent& page, int index) {
  Step([&] { document_->EndPage(); });
}

void TfrxPDFExport::EndExport() {
  if (!document_) return;
  if (failed_) {
    Abandon();
    return;
  }
  try {
    document_->Finish();
  } catch (...) {
    Abandon();
    throw;
  }
  document_.reset();
  file_.reset();
  if (target_.empty()) return;
  WrittenFiles().push_back(target_);
  if (openAfterExport_) OpenWithDesktop(target_);
}

void TfrxPDFExport::Abandon() {
  document_.reset();
  file_.reset();
  if (!target_.empty()) fsys::DeleteOwnFile(target_);
}
