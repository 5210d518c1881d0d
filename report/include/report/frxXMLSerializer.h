#pragma once
// The template serializer: a tree of report objects to XML elements and back.
//
// Contract
// - Generic: it works from the published-property declarations (frxClassProps.h) and
//   knows by name only the document element's special cases (the report object ignores
//   a "Name" attribute and gets no "loaded" notification) and the memo text (the
//   IsMemoView seam). Objects are created through the class registry.
// - One element per object (class name, or "inherited" for an ancestor's object), one
//   attribute per published property in index order, sub-objects as dotted paths, the
//   memo text as " Text" and the raw-data properties last as " PropData".
// - Raw data ("PropData"): a class defines raw-data properties in its DefineProperties
//   hook on a TfrxFiler: by name, with a reader and a writer over a property byte stream
//   (or raw bytes), and whether it has data. The stream is a sequence of records: a name
//   (one length byte and the name) and a value that starts with a type byte. Reading
//   understands the standard value types (0 end, 1 list, 2/3/4 8/16/32-bit integers,
//   5 extended, 6 short text, 7 identifier, 8/9 false/true, 10 raw bytes, 11 set,
//   12 long text, 13 nil, 14 collection, 15 single, 16 currency, 17 date, 18 wide text,
//   19 64-bit integer, 20 UTF-8 text) and steps over records whose name the class does
//   not define; a record that cannot be read ends that attribute without a message.
//   Writers choose the smallest integer type. The report object (which comes later)
//   defines its "Left", "Top", "Datasets", "Variables" and "Style" records through this
//   hook, reading collection items with LoadPersistentFromText on filer.Serializer().
// - Errors: malformed XML raises TfrxInvalidXMLException ("Invalid file format") out of
//   LoadRoot. Everything else is collected in ErrorTexts (sorted, case-insensitive, each
//   message once) and loading goes on: unknown classes ("Nie znaleziono klasy" + name,
//   the subtree skipped), conversion and assignment errors of one attribute, objects
//   nested deeper than TfrxSerializerLimits::kMaxDepth.
// - Lifetime: one serializer per load or save, on one stream. Pending references live
//   with it and are resolved after the whole document is read.

#include <functional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Stream.h"
#include "report/frxClassComponent.h"
#include "report/frxXML.h"

class TfrxXMLSerializer;

// Resource limits of template loading, in one place.
struct TfrxSerializerLimits {
  static constexpr int kMaxDepth = 256;         // nesting of objects in a template
  static constexpr int kMaxPropDataDepth = 64;  // nesting of lists in a property byte stream
};

// A malformed property byte stream (truncated, unknown value type, nesting too deep).
class EfrxPropDataError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The value types of property byte streams.
enum TfrxValueType : uint8_t {
  vaNull = 0, vaList = 1, vaInt8 = 2, vaInt16 = 3, vaInt32 = 4, vaExtended = 5, vaString = 6,
  vaIdent = 7, vaFalse = 8, vaTrue = 9, vaBinary = 10, vaSet = 11, vaLString = 12, vaNil = 13,
  vaCollection = 14, vaSingle = 15, vaCurrency = 16, vaDate = 17, vaWString = 18, vaInt64 = 19,
  vaUTF8String = 20,
};

// Writes values of a property byte stream.
class TfrxPropWriter {
 public:
  void WriteListBegin() { bytes_ += char(vaList); }
  void WriteListEnd() { bytes_ += char(vaNull); }
  // The smallest of the 8-, 16-, 32- and 64-bit integer types that holds the value.
  void WriteInteger(int64_t value);
  void WriteBoolean(bool value) { bytes_ += char(value ? vaTrue : vaFalse); }
  // Short text (6) up to 255 bytes, long text (12) beyond.
  void WriteString(std::string_view text);
  // Always long text (12).
  void WriteLongString(std::string_view text);
  void WriteBinary(std::string_view bytes);  // raw bytes (10)
  // The name of a record (one length byte, at most 255 bytes).
  void WritePropName(std::string_view name);
  const std::string& Bytes() const { return bytes_; }

 private:
  void WriteRaw32(uint32_t v);
  std::string bytes_;
};

// Reads values of a property byte stream; every read raises EfrxPropDataError when the
// stream ends early or holds another type than asked.
class TfrxPropReader {
 public:
  explicit TfrxPropReader(std::string_view bytes) : bytes_(bytes) {}
  bool AtEnd() const { return pos_ >= bytes_.size(); }
  TfrxValueType NextValue() const;
  bool EndOfList() const { return NextValue() == vaNull; }
  void ReadListBegin();
  void ReadListEnd();
  int64_t ReadInteger();
  bool ReadBoolean();
  // Short, long, UTF-8 (as 8-bit) or wide (as 8-bit) text, or an identifier.
  std::string ReadString();
  std::string ReadBinary();
  // A record's name.
  std::string ReadPropName();
  // Steps over one value of any standard type.
  void SkipValue(int depth = 0);

 private:
  uint8_t Byte();
  std::string_view Take(uint64_t count);
  uint32_t Raw32();
  std::string_view bytes_;
  size_t pos_ = 0;
};

// Where a class's DefineProperties hook defines its raw-data properties.
class TfrxFiler {
 public:
  using TReadProc = std::function<void(TfrxPropReader&)>;
  using TWriteProc = std::function<void(TfrxPropWriter&)>;
  using TReadBinary = std::function<void(TStream&)>;
  using TWriteBinary = std::function<void(TStream&)>;

  TfrxFiler(TfrxXMLSerializer& serializer, const TPersistent* ancestor)
      : serializer_(serializer), ancestor_(ancestor) {}

  void DefineProperty(std::string name, TReadProc read, TWriteProc write, bool hasData);
  void DefineBinaryProperty(std::string name, TReadBinary read, TWriteBinary write, bool hasData);

  // The serializer of the running load or save (collection items reuse it).
  TfrxXMLSerializer& Serializer() const { return serializer_; }
  // The object being compared with when an ancestor is given.
  const TPersistent* Ancestor() const { return ancestor_; }

  struct TDefinition {
    std::string Name;
    TReadProc Read;
    TWriteProc Write;
    TReadBinary ReadBinary;
    TWriteBinary WriteBinary;
    bool HasData = false;
    bool Binary = false;
  };
  const std::vector<TDefinition>& Definitions() const { return definitions_; }

 private:
  TfrxXMLSerializer& serializer_;
  const TPersistent* ancestor_;
  std::vector<TDefinition> definitions_;
};

// A reference read from a template, resolved after the whole document.
struct TfrxFixupItem {
  TPersistent* Object = nullptr;
  const TfrxPropInfo* Prop = nullptr;
  std::string Value;
};

// Standard CRC-32 (initial value all ones, final complement).
uint32_t frxCRC32(std::string_view bytes);

class TfrxXMLSerializer {
 public:
  // `stream` is read by LoadRoot and written by SaveRoot / WriteBareElement when they get
  // no item; it may be null for work on items and texts only.
  explicit TfrxXMLSerializer(TStream* stream = nullptr) : stream_(stream) {}
  TfrxXMLSerializer(const TfrxXMLSerializer&) = delete;
  TfrxXMLSerializer& operator=(const TfrxXMLSerializer&) = delete;

  bool WriteDefaults = false;
  bool LegacyText = true;               // taken from the document on loading
  TfrxComponent* RootOwner = nullptr;   // the report owning the objects; set from the first object
  // The ancestor object of a report object, by name (inherited reports).
  std::function<TfrxComponent*(const std::string& name)> AncestorLookup;
  // Global forms and data modules by name, for "Module.Object" references.
  std::function<TComponent*(std::string_view name)> GlobalLookup;

  void SaveRoot(TfrxComponent* object, bool saveChildren, bool saveAsClassName, TfrxXMLItem* item = nullptr);
  void LoadRoot(TfrxComponent* object, TfrxXMLItem* item = nullptr);

  std::string PropertiesToAttributes(TPersistent& object, const std::string& prefix = {},
                                     TPersistent* ancestor = nullptr);
  void AttributesToProperties(std::string_view text, TPersistent& object);

  // Class name immediately followed by the attribute text.
  std::string ObjectToText(TfrxComponent* object);
  // A new object from "ClassName attr=..." (none for empty text); raises
  // EfrxClassNotFound for an unregistered class.
  TfrxComponent* LoadObjectFromText(std::string_view text, TfrxComponent* owner, bool skipReferences);
  void WriteBareElement(TfrxComponent* object);
  void LoadPersistentFromText(TfrxComponent* owner, TPersistent& persistent, std::string_view text);

  void ResolveReferences();
  void CopyPendingReferences(std::vector<TfrxFixupItem>& list) const;

  // Sorted without regard to case, each message once.
  std::vector<std::string> ErrorTexts() const { return {errors_.begin(), errors_.end()}; }
  void AddError(const std::string& message) { errors_.insert(message); }

 private:
  struct CaselessLess {
    bool operator()(const std::string& a, const std::string& b) const;
  };

  void WriteElement(TfrxComponent* object, TfrxXMLItem& item, bool isRoot, bool saveChildren, bool saveAsClassName);
  void ReadElement(TfrxXMLItem& item, TfrxComponent* root, TfrxComponent* parent, int depth);
  void WriteProperties(TPersistent& object, const std::string& prefix, TPersistent* ancestor, std::string& out,
                       std::string& rawData);
  std::string PropData(TPersistent& object, TPersistent* ancestor);
  void ReadPropData(TPersistent& object, std::string_view hex);
  void ApplyAttribute(TPersistent& object, std::string_view name, std::string_view rawValue);
  void SetValue(TPersistent& object, const TfrxPropInfo& prop, const std::string& value);
  std::string DecodeString(const std::string& value) const;
  std::string ReferenceText(const TfrxComponent* target) const;
  TfrxComponent* FindReference(const std::string& name) const;
  TfrxComponent* RootReport() const;

  TStream* stream_;
  std::set<std::string, CaselessLess> errors_;
  std::vector<TfrxFixupItem> fixups_;
  std::vector<TfrxComponent*> loaded_;
};

// An unregistered class name in LoadObjectFromText.
class EfrxClassNotFound : public std::runtime_error {
 public:
  explicit EfrxClassNotFound(const std::string& name) : std::runtime_error("Class " + name + " not found") {}
};
