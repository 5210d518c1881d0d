#pragma once
// The classes module: the host platform's basic classes as scripts see them - TObject,
// TPersistent, collections, TList, TStrings and TStringList, streams over the platform's
// streams, TComponent - with the file-mode and seek constants and the TDuplicates and
// TPrinterOrientation enumerations.
//
// Contract
// - Lists, string lists and streams that a script creates are TfsScriptObjects: the
//   script frees them with Free. Other modules hand such objects to scripts too (a
//   component's Objects list) and keep them themselves; Free does nothing to those.
// - Host collections (a report's variables, its styles) implement TfsCollectionObject, so
//   that TCollection's Count, Items and Clear reach them.
// - Errors: an index outside a list raises "List index out of bounds (N)"; file errors
//   carry the platform's texts. Nothing a script does with these classes crashes.

#include <memory>
#include <string>
#include <vector>

#include "platform/Stream.h"
#include "script/fs_ihostclasses.h"

// A list of objects (as script values).
class TfsList : public TfsScriptObject {
 public:
  TfsList();
  std::vector<Variant> Items;
};

// A list of lines, each with an object, with the name=value view; sorted on demand.
class TfsStrings : public TfsScriptObject {
 public:
  TfsStrings();
  explicit TfsStrings(const TfsHostClass& cls) : TfsScriptObject(cls) {}
  struct TItem {
    std::string Text;
    Variant Object = Variant(int32_t{0});
  };
  std::vector<TItem> Items;
  bool Sorted = false;
  int Duplicates = 0;  // dupIgnore, dupAccept, dupError

  int Count() const { return static_cast<int>(Items.size()); }
  // Appends (or, sorted, inserts in order); returns the index.
  int Add(const std::string& text, const Variant& object = Variant(int32_t{0}));
  void Insert(int index, const std::string& text, const Variant& object = Variant(int32_t{0}));
  void Delete(int index);
  int IndexOf(const std::string& text) const;  // case-insensitive
  int IndexOfName(const std::string& name) const;
  std::string Text() const;  // each line followed by CR LF
  void SetText(const std::string& text);
  std::vector<std::string> Lines() const;
  void SetLines(const std::vector<std::string>& lines);
  // Binary search of a sorted list: true when found; `index` is where it is or would go.
  bool Find(const std::string& text, int& index) const;
  void Sort();
  void CheckIndex(int index) const;
};

// A stream a script reads and writes.
class TfsStreamObject : public TfsScriptObject {
 public:
  TfsStreamObject(const TfsHostClass& cls, std::unique_ptr<TStream> stream);
  TStream& Stream() const { return *stream_; }

 private:
  std::unique_ptr<TStream> stream_;
};

// A host collection as TCollection's members reach it.
class TfsCollectionObject {
 public:
  virtual ~TfsCollectionObject() = default;
  virtual int CollectionCount() const = 0;
  virtual Variant CollectionItem(int index) = 0;
  virtual void CollectionClear() = 0;
};

// Parameter `index` of a call as a stream or a string list, or the error
// "Object is nil or not a TStream: 'MEMBER'".
TStream& fsStreamArg(const TfsMethodHelper& args, int index, const std::string& member);
TfsStrings& fsStringsArg(const TfsMethodHelper& args, int index, const std::string& member);
// The bytes from the stream's position to its end.
std::string fsReadRest(TStream& stream);

// "List index out of bounds (N)".
[[noreturn]] void fsListIndexError(int index);

std::unique_ptr<TfsRTTIModule> fsCreateClassesRTTI(TfsScript& script);
