#pragma once
// The prepared pages store: the output of a report run, kept as one XML tree.
//
// Contract
// - What is kept: every template page and object that takes part in output is copied
//   once per run into a source page (RegisterSourcePage). Each output object is one XML
//   element named by a short alias (b1, m7, ...) that the dictionary resolves to its
//   source copy, carrying only its differences from that copy. Pages are rebuilt from
//   the tree on demand (BuildPage); the most recently built ones are cached.
// - Order of calls for one run (the engine's): StartRun, RegisterSourcePage for every
//   report page, StartPass, then StartOutputPage / EmitBand / SetAsideFrom /
//   PutBackSetAside / AddAnchor / outline calls / CountLogicalPage, with DoublePass a
//   DropPassOutput and a second pass, then EndRun. Between runs the store answers
//   BuildPage, PageSize, DrawPageTo and the file operations.
// - Ownership: the store belongs to its report (created through the report's seam) and
//   owns its tree, source pages, dictionary, outline, picture cache and page cache.
//   Pages returned by BuildPage belong to the page cache: valid until the next call
//   that changes the store or builds another page; never free them.
// - Paging: with the engine option UseFileCache, page elements beyond the first two are
//   written to a temporary file once more than MaxMemSize megabytes were recorded, and
//   pages leaving the page cache are paged out too; BuildPage brings them back.
// - Errors: reading a prepared-report file that is not one raises the XML reader's
//   TfrxInvalidXMLException ("Invalid file format") and leaves the store cleared; a file
//   that is XML but not a sound prepared report raises EfrxPreparedReportError naming
//   the place. Objects of classes this program does not know are skipped with
//   "Nie znaleziono klasy" and the class name in the report's Errors, once per class.
// - Threads: the window thread only.

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <set>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "report/frxClassPicture.h"
#include "report/frxClassReport.h"
#include "report/frxXML.h"

class TCanvas;
class TStream;
class TfrxPreviewPages;

// A prepared-report file that is well-formed XML but not a sound prepared report.
class EfrxPreparedReportError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Limits of what a prepared-report file may ask for, in one place.
struct TfrxPreparedLimits {
  static constexpr int kMaxObjectDepth = 256;                  // nesting of objects in a page
  static constexpr int kMaxOutlineDepth = 256;                 // nesting of outline items read back
  static constexpr int64_t kMaxPictureBytes = 256LL << 20;     // one cached picture
};

// --- the dictionary ----------------------------------------------------------------------

// Aliases (sorted) to source names ("Page0.Memo1") and their source objects.
class TfrxDictionary {
 public:
  void Add(const std::string& alias, const std::string& sourceName, TfrxComponent* object);
  // Adds under the first free alias of the prefix (see the store's notes) and returns it.
  std::string AddUnique(const std::string& prefix, const std::string& sourceName, TfrxComponent* object);
  // The object or the source name of an alias; none / "" for an unknown alias.
  TfrxComponent* GetObject(std::string_view alias) const;
  std::string GetSourceName(std::string_view alias) const;
  bool Contains(std::string_view alias) const { return entries_.count(alias) != 0; }
  void Clear() { entries_.clear(); }
  int Count() const { return static_cast<int>(entries_.size()); }
  // Every alias in sorted order with its source name.
  void ForEach(const std::function<void(const std::string& alias, const std::string& sourceName)>& visit) const;

  // The fresh alias of a prefix: halving from 10000 finds the end of a dense run of
  // numbers quickly, then the first free number upwards is taken.
  std::string CreateUniqueName(const std::string& prefix) const;

 private:
  struct TEntry {
    std::string SourceName;
    TfrxComponent* Object = nullptr;
  };
  std::map<std::string, TEntry, std::less<>> entries_;
};

// --- the picture cache -------------------------------------------------------------------

// The store's picture cache: pictures kept once and referred to by a 1-based index. (The
// picture views see the store itself as their picture cache; this is where it keeps
// the bytes.) Entries live in streams: memory
// streams, or temporary files "frPic..." when file caching is on. A stream is started
// when there is none or the last one has grown beyond kMaxStreamBytes.
class TfrxPictureCacheStreams {
 public:
  static constexpr int64_t kMaxStreamBytes = 1789569705;

  TfrxPictureCacheStreams() = default;
  TfrxPictureCacheStreams(const TfrxPictureCacheStreams&) = delete;
  TfrxPictureCacheStreams& operator=(const TfrxPictureCacheStreams&) = delete;

  // Whether later streams are temporary files, and in which folder ("" the system's).
  void SetFileCaching(bool inFile, const std::string& tempDir);
  bool FileCaching() const { return inFile_; }
  // Deletes every entry and the temporary files.
  void Clear();
  int Count() const { return static_cast<int>(entries_.size()); }
  // Opens an entry at the end of the last stream and lets `write` put the bytes there;
  // returns its index (1-based).
  int Add(const std::function<void(TStream&)>& write);
  int AddBytes(std::string_view bytes);
  // The bytes of entry `index` (1-based); empty for an index outside the entries.
  std::string Bytes(int index);
  // The names of the temporary files (tests check they go).
  std::vector<std::string> FileNames() const;

 private:
  struct TEntry {
    int Stream = 0;
    int64_t Offset = 0;
  };
  TStream& LastStream();
  std::vector<std::unique_ptr<TStream>> streams_;
  std::vector<TEntry> entries_;
  bool inFile_ = false;
  std::string tempDir_;
};

// --- the outline -------------------------------------------------------------------------

// The outline (bookmark tree) of the prepared pages.
class TfrxCustomOutline {
 public:
  virtual ~TfrxCustomOutline() = default;
  // Items at the current level (0 without a current item).
  virtual int Count() const = 0;
  virtual void AddItem(const std::string& text, int top) = 0;
  virtual void LevelInto(int index) = 0;
  virtual void LevelRoot() = 0;
  virtual void LevelUp() = 0;
  struct TItem {
    std::string Text;
    int Page = 0;
    int Top = 0;
  };
  virtual TItem ItemAt(int index) const = 0;
  // Moves the items after `item` (and everything below them) to the next page, shifted
  // so that the one right after it lands at `newTop`.
  virtual void ShiftFrom(TfrxXMLItem* item, int newTop) = 0;
  virtual TfrxXMLItem* LastItem() const = 0;
};

class TfrxOutline final : public TfrxCustomOutline {
 public:
  explicit TfrxOutline(TfrxPreviewPages& pages) : pages_(pages) {}
  int Count() const override;
  // The item is added under the current item, on the store's CurrentPage, and becomes
  // the current item. Scripts give the text only: the top is then the engine's CurY.
  void AddItem(const std::string& text, int top) override;
  void AddItem(const std::string& text);
  void LevelInto(int index) override;
  void LevelRoot() override;
  void LevelUp() override;
  TItem ItemAt(int index) const override;
  void ShiftFrom(TfrxXMLItem* item, int newTop) override;
  TfrxXMLItem* LastItem() const override;

  TfrxXMLItem* CurrentItem() const;
  // Forgets the current item (the tree was cleared or reloaded).
  void Reset() { current_ = nullptr; }

 private:
  TfrxPreviewPages& pages_;
  TfrxXMLItem* current_ = nullptr;  // none: the "outline" element
};

// --- the store -----------------------------------------------------------------------------

enum class TfrxNewPageMode : uint8_t { Append, Reuse };

// The store as its users see it: the engine writes, the preview, printing and the export
// filters read. Every operation is abstract here, in the order the store's users expect
// to find them. Picture views being recorded find the store as their picture cache.
class TfrxCustomPreviewPages : public TfrxReportPages, public TfrxPictureCache {
 public:
  // --- reading pages
  int Count() const override = 0;
  // The page object of an index, or none (empty store, unreadable page).
  virtual TfrxComponent* BuildPage(int index) = 0;
  struct TPageSize {
    int Width = 0, Height = 0;
    bool operator==(const TPageSize&) const = default;
  };
  virtual TPageSize PageSize(int index) = 0;
  void ClearAll() override = 0;

  // --- writing a run (the engine)
  virtual void StartRun() = 0;
  virtual void EmitBand(TfrxComponent& band) = 0;
  virtual void StartOutputPage(TfrxComponent& templatePage) = 0;
  virtual void RegisterSourcePage(TfrxComponent& templatePage) = 0;
  virtual void RegisterSourceObject(TfrxComponent& object) = 0;
  virtual void StartPass() = 0;
  virtual void DropPassOutput() = 0;
  virtual void SetAsideFrom(int position) = 0;
  virtual void EndRun() = 0;
  virtual void CountLogicalPage() = 0;
  virtual void CloseLogicalNumbering() = 0;
  virtual void PutBackSetAside(double y, double x) = 0;
  virtual void MoveAnchorsDown(int index, int newTop) = 0;
  int CachePicture(const TfrxPictureView& view) override = 0;
  virtual bool PageHasBand(const TfrxComponent& band) = 0;
  virtual int ObjectPosition() = 0;
  virtual int AnchorPosition() const = 0;
  virtual double LowestBandBottom(double x) = 0;
  int LogicalPageNo() const override = 0;
  int LogicalTotalPages() const override = 0;

  // --- editing and composing
  virtual void InsertBlankPage(int index) = 0;
  virtual void RemovePage(int index) = 0;
  virtual void ReplacePage(int index, TfrxComponent& page) = 0;
  virtual void DrawPageTo(int index, TCanvas& canvas, double scaleX, double scaleY, double offsetX,
                          double offsetY) = 0;
  virtual void AppendPagesOf(TfrxReport& other) = 0;
  virtual void SetSourcePageSize(TfrxComponent& templatePage, double height, double width) = 0;

  // --- files
  virtual void LoadFromStream(TStream& stream, bool partialLoading = false) = 0;
  virtual void SaveToStream(TStream& stream) = 0;
  virtual bool LoadFromFile(const std::string& fileName, bool raiseIfMissing = false) = 0;
  virtual void SaveToFile(const std::string& fileName) = 0;

  // --- anchors and the outline (also the engine's script methods)
  virtual void AddAnchor(const std::string& text) = 0;
  virtual int GetAnchorPage(const std::string& text) const = 0;
  virtual TfrxCustomOutline& Outline() = 0;

  // --- state
  int CurrentPage() const override { return currentPage_; }
  void SetCurrentPage(int page) { currentPage_ = page; }
  int CurrentPreviewPage() const { return currentPreviewPage_; }
  void SetCurrentPreviewPage(int page) { currentPreviewPage_ = page; }
  TfrxNewPageMode NewPageMode() const { return newPageMode_; }
  void SetNewPageMode(TfrxNewPageMode mode) { newPageMode_ = mode; }
  int RunFirstPage() const { return runFirstPage_; }
  void SetRunFirstPage(int page) { runFirstPage_ = page; }

 protected:
  int currentPage_ = -1;
  int currentPreviewPage_ = 0;
  TfrxNewPageMode newPageMode_ = TfrxNewPageMode::Append;
  int runFirstPage_ = 0;
};

// The walks that draw the pages onto an output (printing, the export filters); they live
// with the outputs, which register them. Without one, PrintPages / ExportPages raise
// EfrxPreparedReportError saying that this program has no such output.
using TfrxPrintWalk = std::function<void(TfrxPreviewPages& pages)>;
using TfrxExportWalk = std::function<bool(TfrxPreviewPages& pages, TfrxCustomExportFilter& filter)>;
TfrxPrintWalk frxSetPrintWalk(TfrxPrintWalk walk);
TfrxExportWalk frxSetExportWalk(TfrxExportWalk walk);

class TfrxPreviewPages final : public TfrxCustomPreviewPages {
 public:
  explicit TfrxPreviewPages(TfrxReport& report);
  ~TfrxPreviewPages() override;
  TfrxPreviewPages(const TfrxPreviewPages&) = delete;
  TfrxPreviewPages& operator=(const TfrxPreviewPages&) = delete;

  void SetEngine(TfrxReportEngine* engine) override { engine_ = engine; }
  TfrxReportEngine* Engine() const { return engine_; }
  TfrxReport& Report() const { return report_; }

  int Count() const override;
  TfrxComponent* BuildPage(int index) override;
  TPageSize PageSize(int index) override;
  void ClearAll() override;

  void StartRun() override;
  void EmitBand(TfrxComponent& band) override;
  void StartOutputPage(TfrxComponent& templatePage) override;
  void RegisterSourcePage(TfrxComponent& templatePage) override;
  void RegisterSourceObject(TfrxComponent& object) override;
  void StartPass() override;
  void DropPassOutput() override;
  void SetAsideFrom(int position) override;
  void EndRun() override;
  void CountLogicalPage() override;
  void CloseLogicalNumbering() override;
  void PutBackSetAside(double y, double x) override;
  void MoveAnchorsDown(int index, int newTop) override;
  int CachePicture(const TfrxPictureView& view) override;
  bool PageHasBand(const TfrxComponent& band) override;
  int ObjectPosition() override;
  int AnchorPosition() const override;
  double LowestBandBottom(double x) override;
  int LogicalPageNo() const override;
  int LogicalTotalPages() const override;

  void InsertBlankPage(int index) override;
  void RemovePage(int index) override;
  void ReplacePage(int index, TfrxComponent& page) override;
  void DrawPageTo(int index, TCanvas& canvas, double scaleX, double scaleY, double offsetX,
                  double offsetY) override;
  void AppendPagesOf(TfrxReport& other) override;
  void SetSourcePageSize(TfrxComponent& templatePage, double height, double width) override;

  void LoadFromStream(TStream& stream, bool partialLoading = false) override;
  void SaveToStream(TStream& stream) override;
  bool LoadFromFile(const std::string& fileName, bool raiseIfMissing = false) override;
  void SaveToFile(const std::string& fileName) override;

  void PrintPages() override;
  bool ExportPages(TfrxCustomExportFilter& filter) override;

  void AddAnchor(const std::string& text) override;
  int GetAnchorPage(const std::string& text) const override;
  TfrxOutline& Outline() override { return outline_; }

  // Read by memos when they are drawn.
  int CopyNumber() const { return copyNumber_; }
  void SetCopyNumber(int n) { copyNumber_ = n; }
  double PrintScaleFactor() const { return printScaleFactor_; }
  void SetPrintScaleFactor(double f) { printScaleFactor_ = f; }

  // Empties the page cache (the export walk does so after each page).
  void ClearPageCache();
  int PagesInCache() const { return static_cast<int>(pageCache_.size()); }

  // The tree, the dictionary, the source pages and the picture cache (tests, tools).
  TfrxXMLDocument& Document() { return xml_; }
  TfrxXMLItem& Root() const { return *xml_.Root(); }
  TfrxXMLItem& PagesElement() const;
  const TfrxDictionary& Dictionary() const { return dictionary_; }
  TfrxPictureCacheStreams& PictureCache() { return pictures_; }
  int SourcePageCount() const { return static_cast<int>(sourcePages_.size()); }
  TfrxComponent* SourcePage(int index) const { return sourcePages_.at(static_cast<size_t>(index)).get(); }
  // The stored text of a source copy: its class name, then (unless stored in full) the
  // attribute text the serializer writes for it.
  const std::string& StoredText(const TfrxComponent& sourceObject) const;
  // Bytes recorded since the last paging check (an estimate).
  int64_t OutputSize() const { return outputSize_; }

 private:
  struct TPassMarks {
    int Page = -1;
    int Objects = 0;
    int OutlineItems = 0;
  };
  struct TCachedPage {
    int Index = 0;
    std::unique_ptr<TfrxComponent> Page;
  };

  // The named children of the root, created on first use.
  TfrxXMLItem& Child(std::string_view name) const { return *xml_.Root()->FindItem(name); }
  TfrxXMLItem* PageElement(int index) const;
  TfrxXMLItem* CurrentPageElement();
  bool Running() const;
  bool FirstOfTwoPasses() const;
  bool FinalOfTwoPasses() const;
  double CurY() const;

  // Source copies.
  TfrxComponent* CopyForOutput(TfrxComponent& source, TfrxComponent* parent);
  // A new object of the source's class under `parent`, with the source's properties but
  // never its picture: pictures reach the output only through the picture cache.
  static TfrxComponent* NewCopyOf(TfrxComponent& source, TfrxComponent* parent);
  void SetStoredText(TfrxComponent& copy);
  int SourcePageIndexOf(const TfrxComponent& templatePage) const;
  TfrxComponent* FindSource(std::string_view alias) const { return dictionary_.GetObject(alias); }

  // Recording.
  void EmitObject(TfrxComponent& object, TfrxXMLItem& parent);
  std::string FullText(TfrxComponent& object);
  void CheckPaging();

  // Building.
  std::unique_ptr<TfrxComponent> ReadPage(TfrxXMLItem& element);
  void ReadObjects(TfrxXMLItem& element, TfrxComponent& parent, int depth);
  TfrxComponent* ReadObject(TfrxXMLItem& element, TfrxComponent& parent);
  void FetchCachedPicture(TfrxPictureView& view);
  void ReportUnknownClass(const std::string& name);
  void PageOutIfAllowed(int index);

  // Files.
  void WriteReportElement();
  void WriteSourcePages();
  void WriteDictionary();
  void WritePictureCache();
  void CheckOutlineAndAnchors() const;
  void ReadReportElement();
  void ReadSourcePages();
  void ReadDictionary();
  void ReadPictureCache();

  TfrxReport& report_;
  TfrxReportEngine* engine_ = nullptr;
  mutable TfrxXMLDocument xml_;
  TfrxDictionary dictionary_;
  TfrxOutline outline_{*this};
  TfrxPictureCacheStreams pictures_;
  std::vector<std::unique_ptr<TfrxComponent>> sourcePages_;
  std::map<const TfrxComponent*, std::string> storedTexts_;
  std::vector<TCachedPage> pageCache_;  // most recently used first
  TPassMarks marks_;
  int logicalPageCount_ = 0;
  int copyNumber_ = 0;
  double printScaleFactor_ = 1;
  int64_t outputSize_ = 0;
  std::set<std::string, std::less<>> unknownClasses_;
  TStream* loadedFrom_ = nullptr;
};

// Registers TfrxPreviewPages as the prepared pages of reports created from now on.
void frxRegisterPreviewPages();
// The store of a report, when it is one of ours.
TfrxPreviewPages* frxPreviewPagesOf(TfrxReport& report);
