#pragma once
// One PDF file being written from prepared pages: the part of the PDF export that
// needs no filter framework. The export filter (TfrxPDFExport) owns one per export and
// hands it the calls of the export walk.
//
// Contract
// - Order: the constructor writes the header and reserves the page tree (object 1);
//   then per page BeginPage, any number of ExportItem, EndPage; then Finish, which
//   writes the fonts, the page tree, the information, the outline, the catalog, the
//   cross-reference table and the trailer, and flushes. Nothing may follow Finish.
// - The output stream is borrowed; a write error raises the stream's error and leaves
//   the file incomplete (the caller writes to a staging name and discards it).
// - Geometry: objects are placed by AbsLeft/AbsTop (paper positions in pixels at 96 per
//   inch, the walk having moved the page by its margins); a point becomes
//   X = x * 0.75 + left margin (mm) * 0.05, Y = page height - top margin (mm) * 0.05 - y * 0.75.
// - The report (optional) gives the outline and the anchors of links.

#include <array>
#include <ctime>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "output/frxExportPDF_crypt.h"
#include "output/frxPDFFont.h"

class TStream;
class TfrxComponent;
class TfrxCustomMemoView;
class TfrxCustomLineView;
class TfrxReport;
class TfrxShapeView;
class TfrxView;
class TfrxPDFWriter;

struct TfrxPDFSettings {
  bool Compressed = true;
  bool EmbeddedFonts = true;
  bool EmbedFontsIfProtected = true;
  bool SubsetFonts = false;
  bool PrintOptimized = false;
  bool Outline = false;
  bool Background = false;
  bool HTMLTags = true;
  bool ExportNotPrintable = false;
  std::u16string Title, Author, Subject, Keywords, Creator, Producer;
  std::string UserPassword, OwnerPassword;  // 8-bit text
  TfrxPDFEncBits ProtectionFlags = kAllPDFPermissions;
  bool HideToolbar = false, HideMenubar = false, HideWindowUI = false;
  bool FitWindow = false, CenterWindow = false;
  bool PrintScaling = false;
  // Fixed values for reproducible files (tests); otherwise a new GUID and the local time.
  std::optional<std::array<uint8_t, 16>> DocumentId;
  std::optional<std::tm> CreationTime;
};

// The identifier's 16 bytes: the MD5 of a newly generated GUID in its braced text form.
std::array<uint8_t, 16> NewPdfDocumentId();

class TfrxPDFDocument {
 public:
  TfrxPDFDocument(TStream& out, const TfrxPDFSettings& settings, TfrxReport* report);
  ~TfrxPDFDocument();
  TfrxPDFDocument(const TfrxPDFDocument&) = delete;
  TfrxPDFDocument& operator=(const TfrxPDFDocument&) = delete;

  // `index`: the page's index in the prepared pages (for the outline and links).
  void BeginPage(TfrxComponent& page, int index);
  void ExportItem(TfrxComponent& object);
  void EndPage();
  void Finish();

  bool Encrypted() const { return encryption_ != nullptr; }
  bool FontsEmbedded() const { return embedFonts_; }
  int PageCount() const { return static_cast<int>(pageObjects_.size()); }

 private:
  struct TOutlineNode;
  class TPageContent;

  void WriteContentObject(const std::string& content);
  void WritePageObject(int contentObject);
  std::vector<TOutlineNode> CollectOutline() const;
  int WriteOutline();
  void WriteInfo(int number);
  void WriteCatalog(int number, int outlineRoot);
  void WriteTrailer(int64_t xref, int catalog, int info);
  void WriteLink(const TfrxView& view);
  std::string DateString(int number) const;

  TfrxPDFWriter& Writer() { return *writer_; }

  TfrxPDFSettings settings_;
  TfrxReport* report_;
  std::unique_ptr<TfrxPDFWriter> writer_;
  std::array<uint8_t, 16> id_{};
  std::unique_ptr<TfrxPDFEncryption> encryption_;
  bool embedFonts_ = true;
  TfrxPDFFonts fonts_;
  std::tm created_{};

  std::vector<int> pageObjects_;    // page object numbers in page order
  std::vector<int> pageIndexes_;    // prepared page index of each exported page
  std::vector<double> pageHeights_;  // points
  std::unique_ptr<TPageContent> page_;
  std::string annotations_;
  bool finished_ = false;
};
