#pragma once
// TfrxPDFExport: the export filter that writes the prepared pages as one PDF 1.5 file,
// object by object (the document itself is TfrxPDFDocument, frxExportPDF_document.h).
//
// Contract
// - Output: the host's Stream when one is set (neither created nor closed here), else
//   the file FileName (a name without a folder takes DefaultPath), created anew. Without
//   either, StartExport returns false and nothing is written.
// - Failure: an error while writing (a folder that cannot be written, a full disk)
//   reaches the walk, which puts it into the report's Errors; EndExport then deletes the
//   file it had begun, so no truncated PDF is left under the name, and FileNames() stays
//   empty. Only a file completed by EndExport is listed in FileNames().
// - Fonts: EmbeddedFonts is on at creation (glyph indices only mean something with the
//   very font file that made them); SubsetFonts embeds only the glyphs used. Both are
//   settings of the filter, kept between exports.
// - An encrypted file (either password set) embeds its fonts as EmbedFontsIfProtected says.

#include <memory>
#include <string>

#include "output/frxClassExport.h"
#include "output/frxExportPDF_document.h"

class TStream;
class TFileStream;

class TfrxPDFExport : public TfrxCustomExportFilter {
 public:
  explicit TfrxPDFExport(TComponent* owner, bool noRegistration = false);
  ~TfrxPDFExport() override;
  TFRX_PERSISTENT_CLASS

  // --- published -----------------------------------------------------------------------
  bool Compressed() const { return s_.Compressed; }
  void SetCompressed(bool v) { s_.Compressed = v; }
  bool EmbeddedFonts() const { return s_.EmbeddedFonts; }
  void SetEmbeddedFonts(bool v) { s_.EmbeddedFonts = v; }
  bool EmbedFontsIfProtected() const { return s_.EmbedFontsIfProtected; }
  void SetEmbedFontsIfProtected(bool v) { s_.EmbedFontsIfProtected = v; }
  // Embed only the glyphs the document uses (same glyph indices; far smaller files).
  bool SubsetFonts() const { return s_.SubsetFonts; }
  void SetSubsetFonts(bool v) { s_.SubsetFonts = v; }
  bool OpenAfterExport() const { return openAfterExport_; }
  void SetOpenAfterExport(bool v) { openAfterExport_ = v; }
  bool PrintOptimized() const { return s_.PrintOptimized; }
  void SetPrintOptimized(bool v) { s_.PrintOptimized = v; }
  bool Outline() const { return s_.Outline; }
  void SetOutline(bool v) { s_.Outline = v; }
  bool Background() const { return s_.Background; }
  void SetBackground(bool v) { s_.Background = v; }
  bool HTMLTags() const { return s_.HTMLTags; }
  void SetHTMLTags(bool v) { s_.HTMLTags = v; }
  const std::u16string& Title() const { return s_.Title; }
  void SetTitle(const std::u16string& v) { s_.Title = v; }
  const std::u16string& Author() const { return s_.Author; }
  void SetAuthor(const std::u16string& v) { s_.Author = v; }
  const std::u16string& Subject() const { return s_.Subject; }
  void SetSubject(const std::u16string& v) { s_.Subject = v; }
  const std::u16string& Keywords() const { return s_.Keywords; }
  void SetKeywords(const std::u16string& v) { s_.Keywords = v; }
  const std::u16string& Creator() const { return s_.Creator; }
  void SetCreator(const std::u16string& v) { s_.Creator = v; }
  const std::u16string& Producer() const { return s_.Producer; }
  void SetProducer(const std::u16string& v) { s_.Producer = v; }
  const std::string& UserPassword() const { return s_.UserPassword; }
  void SetUserPassword(const std::string& v) { s_.UserPassword = v; }
  const std::string& OwnerPassword() const { return s_.OwnerPassword; }
  void SetOwnerPassword(const std::string& v) { s_.OwnerPassword = v; }
  TfrxPDFEncBits ProtectionFlags() const { return s_.ProtectionFlags; }
  void SetProtectionFlags(TfrxPDFEncBits v) { s_.ProtectionFlags = v & kAllPDFPermissions; }
  // The permission value P of the flags (-64 plus 4, 8, 16, 32).
  int32_t Permissions() const { return PdfPermissionValue(s_.ProtectionFlags); }
  bool HideToolbar() const { return s_.HideToolbar; }
  void SetHideToolbar(bool v) { s_.HideToolbar = v; }
  bool HideMenubar() const { return s_.HideMenubar; }
  void SetHideMenubar(bool v) { s_.HideMenubar = v; }
  bool HideWindowUI() const { return s_.HideWindowUI; }
  void SetHideWindowUI(bool v) { s_.HideWindowUI = v; }
  bool FitWindow() const { return s_.FitWindow; }
  void SetFitWindow(bool v) { s_.FitWindow = v; }
  bool CenterWindow() const { return s_.CenterWindow; }
  void SetCenterWindow(bool v) { s_.CenterWindow = v; }
  bool PrintScaling() const { return s_.PrintScaling; }
  void SetPrintScaling(bool v) { s_.PrintScaling = v; }

  // --- other members -------------------------------------------------------------------
  // The host's target stream (not owned); none: FileName.
  TStream* Stream() const { return stream_; }
  void SetStream(TStream* stream) { stream_ = stream; }
  // Fixed identifier and dates for reproducible files (tests).
  TfrxPDFSettings& Settings() { return s_; }

  // --- the filter ----------------------------------------------------------------------
  // "PDF dokument".
  std::string FilterDescription() const override;
  bool StartExport() override;
  void BeginPage(TfrxComponent& page, int index) override;
  void ExportItem(TfrxComponent& object) override;
  void EndPage(TfrxComponent& page, int index) override;
  void EndExport() override;

 private:
  // Runs one step of the document; an error marks the export failed and goes on.
  template <typename F>
  void Step(F&& step);
  void Abandon();

  TfrxPDFSettings s_;
  bool openAfterExport_ = false;
  TStream* stream_ = nullptr;
  std::string target_;  // the file being written, empty for a host stream
  std::unique_ptr<TFileStream> file_;
  std::unique_ptr<TfrxPDFDocument> document_;
  bool failed_ = false;
};
