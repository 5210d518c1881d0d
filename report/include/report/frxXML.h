#pragma once
// The XML tree of templates, prepared reports, style files and message texts.
//
// The tree knows elements and their attribute text only. An element's attributes stay
// one raw, still escaped string (`Text`) and are looked up inside it by `Prop`; character
// data, DOCTYPE, CDATA and processing instructions are not kept. Everything is 8-bit
// text; whether string values are UTF-8 or the system code page is the document's
// `LegacyText` flag, interpreted by the serializer.
//
// Ownership: an item owns its children. Deleting an item deletes its subtree and removes
// it from its parent's list. Adding an item that has a parent moves it.
//
// Paging: a `Pageable` item may keep its children in the document's paging store
// instead of memory (`Resident` false). `PageOutItem` appends the subtree to a temporary
// file the document creates; a partial load leaves marked subtrees in the source stream,
// which the caller keeps open until the document is cleared or reloaded. Each item
// remembers which of the two stores its `StoreOffset` refers to. The store is released
// (the temporary file deleted) on `Clear`, on reload and on destruction.
//
// Errors: every syntax error raises TfrxInvalidXMLException ("Invalid file format") with
// the byte offset where it was found; the tree keeps what was read before it.

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Convert.h"
#include "platform/Stream.h"
#include "platform/Variant.h"

class TfrxXMLDocument;

class TfrxInvalidXMLException : public std::runtime_error {
 public:
  explicit TfrxInvalidXMLException(int64_t offset) : std::runtime_error("Invalid file format"), offset_(offset) {}
  // Byte offset in the stream where the error was found.
  int64_t Offset() const { return offset_; }

 private:
  int64_t offset_;
};

// A `&#...;` reference whose digits are not a decimal number: a conversion error like
// any other failed conversion of an attribute value.
class TfrxXMLConvertError : public EConvertError {
 public:
  using EConvertError::EConvertError;
};

class TfrxXMLItem {
 public:
  // Which store holds a pageable item's subtree at `StoreOffset`.
  enum class TStoreKind : uint8_t { None, Source, Temporary };

  TfrxXMLItem() = default;
  TfrxXMLItem(const TfrxXMLItem&) = delete;
  TfrxXMLItem& operator=(const TfrxXMLItem&) = delete;
  ~TfrxXMLItem();

  std::string Name;           // element name as in the tag
  std::string Text;           // attribute text as in the file, still escaped
  void* Data = nullptr;       // free slot for the tree's user; never stored
  bool Pageable = false;      // the subtree may live in the paging store
  bool Resident = true;       // the children are in memory
  int64_t StoreOffset = 0;    // where the element's tag starts in the paging store
  TStoreKind StoreKind = TStoreKind::None;

  TfrxXMLItem* Parent() const { return parent_; }
  int Count() const { return static_cast<int>(children_.size()); }
  TfrxXMLItem* Items(int index) const { return children_.at(static_cast<size_t>(index)); }

  TfrxXMLItem* Add();
  void AddItem(TfrxXMLItem* item);
  void InsertItem(int index, TfrxXMLItem* item);
  // Index of the first child named `name` (case-insensitive), or -1.
  int Find(std::string_view name) const;
  // That child; appended with this name when there is none.
  TfrxXMLItem* FindItem(std::string_view name);
  int IndexOf(const TfrxXMLItem* item) const;
  // Deletes all children; a pageable item becomes non-resident.
  void Clear();

  // The unescaped value of attribute `name`, "" when absent.
  std::string Prop(std::string_view name) const;
  // Replaces the attribute's value in place, or appends the attribute.
  void SetProp(std::string_view name, std::string_view value);

 private:
  friend class TfrxXMLDocument;
  void Detach(TfrxXMLItem* child);
  // Moves all children of `from` to the end of this item's list.
  void TakeChildren(TfrxXMLItem& from);

  TfrxXMLItem* parent_ = nullptr;
  std::vector<TfrxXMLItem*> children_;
};

class TfrxXMLDocument {
 public:
  TfrxXMLDocument();
  TfrxXMLDocument(const TfrxXMLDocument&) = delete;
  TfrxXMLDocument& operator=(const TfrxXMLDocument&) = delete;
  ~TfrxXMLDocument();

  bool Indented = false;    // writer option: two-space indentation and CR LF lines
  bool LegacyText = true;   // string values are 8-bit code-page text, not UTF-8
  std::string TempDir;      // folder of the paging file; empty: the system's

  TfrxXMLItem* Root() const { return root_.get(); }

  // Deletes Root's children (its Name and Text stay) and releases the paging store.
  void Clear();
  // Reads the declaration and the document element from the stream's current position.
  // With partial loading, subtrees marked ld="0" stay in `stream`, which then becomes the
  // paging store and must stay open and unchanged until the document is cleared or reloaded.
  void LoadFromStream(TStream& stream, bool allowPartialLoading = false);
  void SaveToStream(TStream& stream);
  void LoadFromFile(const std::string& path);
  void SaveToFile(const std::string& path);

  void PageOutItem(TfrxXMLItem* item);
  void PageInItem(TfrxXMLItem* item);

  // The temporary paging file, "" until the first page-out.
  std::string TempFileName() const { return tempFile_ ? tempFile_->FileName() : std::string(); }

 private:
  void ReleaseStore();
  TStream& TemporaryStore();

  std::unique_ptr<TfrxXMLItem> root_;
  TStream* sourceStore_ = nullptr;           // the stream of a partial load, not owned
  std::unique_ptr<TFileStream> tempFile_;    // created on the first page-out
  int64_t pagedOutSinceReturn_ = 0;          // bytes paged out since memory was last handed back
};

// Reads tags and elements from a stream in blocks. Leaves the stream positioned just
// after the last byte it consumed when it is destroyed.
class TfrxXMLReader {
 public:
  static constexpr int kBlockSize = 4096;

  explicit TfrxXMLReader(TStream& stream);
  TfrxXMLReader(const TfrxXMLReader&) = delete;
  TfrxXMLReader& operator=(const TfrxXMLReader&) = delete;
  ~TfrxXMLReader();

  // Reads the declaration; raises the format error when the first tag is not one.
  void ReadHeader();
  bool LegacyText() const { return legacy_; }

  // One tag: its name and its attribute text. Both empty at the end of input.
  void ReadTag(std::string& name, std::string& text);

  // Reads one element with its subtree into `item`. Returns false when the tag read was an
  // end marker (a closing tag or the end of input) instead of an element.
  bool ReadElement(TfrxXMLItem& item, bool partialLoading);

  // Logical position: the stream offset of the next byte to consume.
  int64_t Position() const { return blockStart_ + bufPos_; }

 private:
  enum class TTagKind { EndMarker, Leaf, Open };
  bool FillBuffer();
  TTagKind Classify(TfrxXMLItem& item) const;
  void FinishElement(TfrxXMLItem& item, int64_t start, bool partialLoading) const;
  void SkipChildren(const std::string& name);
  void CheckClosingTag(const std::string& closing, const std::string& name) const;
  [[noreturn]] void Fail() const;

  TStream& stream_;
  std::unique_ptr<char[]> buf_;
  int bufLen_ = 0;
  int bufPos_ = 0;
  int64_t blockStart_ = 0;
  int64_t size_ = 0;
  bool legacy_ = true;
  std::string tag_;  // collects a tag that spans blocks
};

// Writes the declaration and elements; output is handed to the stream in chunks.
class TfrxXMLWriter {
 public:
  static constexpr size_t kChunkSize = 4096;

  // `document` pages non-resident items in while they are written; may be null.
  TfrxXMLWriter(TStream& stream, bool indented, TfrxXMLDocument* document = nullptr);
  TfrxXMLWriter(const TfrxXMLWriter&) = delete;
  TfrxXMLWriter& operator=(const TfrxXMLWriter&) = delete;
  ~TfrxXMLWriter();

  void WriteHeader();
  void WriteItem(TfrxXMLItem& item, int level = 0);
  void Flush();

 private:
  void WriteStartTag(const TfrxXMLItem& item, int level, bool hasChildren);
  void WriteEndTag(const TfrxXMLItem& item, int level);
  void Indent(int level);
  void EndLine();
  void MaybeFlush() {
    if (out_.size() > kChunkSize) Flush();
  }

  TStream& stream_;
  bool indented_;
  TfrxXMLDocument* document_;
  std::string out_;
};

// The six characters LF, CR, ", &, <, > as &#NN; references; "&quot;" becomes "&#34;".
std::string EscapeXMLText(std::string_view s);
// Decimal &#NN; references and &quot; &amp; &lt; &gt;; everything else is kept. A
// reference whose digits are not a decimal number raises TfrxXMLConvertError ("'x41' is
// not a valid integer value"), an EConvertError; one that has no ';'
// before the end of the value is kept as it stands.
std::string UnescapeXMLText(std::string_view s);
// Attribute text of a variant value (escaped).
std::string VariantToXMLText(const Variant& v);
