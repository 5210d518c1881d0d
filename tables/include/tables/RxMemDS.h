#pragma once
// TRxMemoryData: a table held in memory, with typed fields, a current-record cursor,
// browse / edit / insert states, an optional record filter supplied by a callback, and
// notifications to its owner and to readers.
//
// Contract:
// - Field definitions are added while the table is closed. Open builds one TField per
//   definition and the record layout; the TField objects live until Close, so readers
//   that keep field pointers must drop them when the table closes (AfterClose,
//   BeforeClose or a data listener tell them).
// - A record is one fixed-size block: for each non-blob field in definition order a
//   has-value byte and the field's data (a text field of size N takes N+1 bytes,
//   zero-terminated); blob fields are byte strings beside the block. Every record gets
//   an identifier from a per-table counter that starts at INT32_MIN (the first record
//   gets INT32_MIN + 1); the identifier is the record's bookmark and never changes.
// - Text is 8-bit text in the system code page; one character is one byte. A text
//   longer than its field is cut to the field's size. An empty text reads as null.
// - The cursor runs from -1 (before the first record) to the record count. RecNo is the
//   position plus 1 over all records, filtered or not, and 1 before the first record
//   when records exist. RecordCount counts every record regardless of the filter.
// - With Filtered on and OnFilterRecord set, every move that looks for a record asks
//   the callback about each candidate in list order. During the callback the table is
//   in the filter state and the ordinary field access reads the candidate; an error
//   escaping the callback goes to the standard error box and the accept flag keeps the
//   value it had. A callback assigned while Filtered is on applies from the next move.
// - A filter on one field's integer value may name that field (SetFilterKeyField) and
//   answer OnFilterKey: the table then indexes its records by that field and offers the
//   callback only the candidates the key allows, so a move costs the records it visits.
// - AfterScroll fires after First and Last, after Next, Prior, Locate, GotoBookmark and
//   setting RecNo when they changed the current record, after Append and Insert as soon
//   as the new record is current, and after the move to the first record that follows
//   a real change of Filtered. Post, Cancel, EmptyTable and Open never fire it.
// - Moves, Append, Insert, Locate, GotoBookmark and a change of Filtered first finish a
//   pending edit or insert: posted when a field was set, discarded otherwise.
// - Errors are EDatabaseError (the system's own texts), EListError for a field index
//   outside the definitions, EConvertError / EVariantError for values a field cannot
//   take. A failed operation leaves the table as it was.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/Variant.h"

class EDatabaseError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The types a field can have. ftUnknown stands for a definition whose type the record
// layout cannot hold: opening a table with one fails.
enum class TFieldType {
  ftUnknown,
  ftString,
  ftInteger,
  ftAutoInc,   // 32-bit integer numbered by Post from a per-table counter starting at 1
  ftBoolean,
  ftFloat,
  ftDate,
  ftTime,
  ftDateTime,  // date and time: days since 30 December 1899, fraction = time of day
  ftBlob,
};

enum class TDataSetState { dsInactive, dsBrowse, dsEdit, dsInsert, dsFilter };

// What a data listener is told.
enum class TDataEvent {
  deDataSetChange,  // records stored, dropped or emptied, filter switched
  deDataSetScroll,  // the current record changed
  deRecordChange,   // a field of the current record was set
  deUpdateState,    // opened, closed, or entered or left edit / insert
};

struct TFieldDef {
  std::string Name;
  TFieldType DataType = TFieldType::ftString;
  int Size = 0;  // characters of a text field; ignored for the other types
};

class TRxMemoryData;
class TIntegerKeyIndex;

// One field of an open table; reads and writes the table's current record (in the
// filter state: the candidate record).
class TField {
 public:
  TField(const TField&) = delete;
  TField& operator=(const TField&) = delete;

  const std::string& FieldName() const { return def_.Name; }
  TFieldType DataType() const { return def_.DataType; }
  int Size() const { return def_.Size; }
  int Index() const { return index_; }
  TRxMemoryData& DataSet() const { return *table_; }
  bool IsBlob() const { return def_.DataType == TFieldType::ftBlob; }

  // The label shown for the field; the field name unless a label was given.
  const std::string& DisplayName() const { return displayLabel_.empty() ? def_.Name : displayLabel_; }
  void SetDisplayLabel(std::string label) { displayLabel_ = std::move(label); }
  // Characters a grid or report gives the field: its size for text, 20 for date and
  // time, 10 otherwise.
  int DisplayWidth() const;

  bool ReadOnly() const { return readOnly_; }
  void SetReadOnly(bool value) { readOnly_ = value; }

  // Null when the record has no value here (an empty text included) or there is no
  // current record. Text reads as String, integers as Integer, floats as Double, dates
  // as Date, booleans as Boolean, blobs as String holding the bytes.
  Variant Value() const;
  // Null and Empty clear the field; other values are converted to the field's type.
  void SetValue(const Variant& value);
  void Clear() { SetValue(Variant::Null()); }
  bool IsNull() const { return Value().isNull(); }

  std::string AsString() const;  // "" for null
  void SetAsString(std::string_view text) { SetValue(Variant(std::string(text))); }
  // Text fields read through the standard integer conversion, so an empty or
  // non-numeric text raises EConvertError; null in other fields reads as 0.
  int32_t AsInteger() const;
  double AsFloat() const;
  bool AsBoolean() const;
  double AsDateTime() const;
  // The text a reader shows: AsString, except "(BLOB)" for a blob with a value.
  std::string DisplayText() const;

 private:
  friend class TRxMemoryData;
  TField(TRxMemoryData& table, int index, TFieldDef def, size_t slot)
      : table_(&table), index_(index), def_(std::move(def)), slot_(slot) {}

  TRxMemoryData* table_;
  int index_;
  TFieldDef def_;
  size_t slot_;  // offset of the has-value byte in the block, or the blob number
  std::string displayLabel_;
  bool readOnly_ = false;
};

using TDataSetNotifyEvent = std::function<void(TRxMemoryData& DataSet)>;
using TFilterRecordEvent = std::function<void(TRxMemoryData& DataSet, bool& Accept)>;
using TFilterKeyEvent = std::function<std::optional<int32_t>(TRxMemoryData& DataSet)>;
using TDataListener = std::function<void(TRxMemoryData& DataSet, TDataEvent event)>;
using TBookmark = int32_t;

class TRxMemoryData {
 public:
  explicit TRxMemoryData(std::string name = {});
  ~TRxMemoryData();
  TRxMemoryData(const TRxMemoryData&) = delete;
  TRxMemoryData& operator=(const TRxMemoryData&) = delete;

  const std::string& Name() const { return name_; }
  void SetName(std::string name) { name_ = std::move(name); }

  // --- definitions (only while closed) -------------------------------------------------
  void AddFieldDef(std::string name, TFieldType type, int size = 0);
  void ClearFieldDefs();
  const std::vector<TFieldDef>& FieldDefs() const { return fieldDefs_; }

  // --- fields (while open) ---------------------------------------------------------------
  int FieldCount() const { return static_cast<int>(fields_.size()); }
  TField& Fields(int index);                  // EListError outside 0..FieldCount-1
  TField& FieldByName(std::string_view name);  // "Field '%s' not found"
  TField* FindField(std::string_view name);    // names compared without regard to case
  std::vector<std::string> FieldNames() const;

  // --- open and close --------------------------------------------------------------------
  void Open();
  void Close();
  bool Active() const { return state_ != TDataSetState::dsInactive; }
  void SetActive(bool value) { value ? Open() : Close(); }
  TDataSetState State() const { return state_; }
  bool Modified() const { return modified_; }

  // The record list's reserved room; a hint, never less than what is stored.
  int Capacity() const { return static_cast<int>(records_.capacity()); }
  void SetCapacity(int value);

  bool Filtered() const { return filtered_; }
  void SetFiltered(bool value);

  // The field whose value, read as TField::AsInteger reads it, indexes the records for
  // OnFilterKey ("" for none). The index is built on Open (or at once on an open table)
  // and follows every Post and EmptyTable; a name the table lacks indexes nothing.
  void SetFilterKeyField(std::string name);
  const std::string& FilterKeyField() const { return filterKeyField_; }

  // --- editing ---------------------------------------------------------------------------
  void Append();      // new all-null record after the last one, current at once
  void Insert();      // new all-null record at the cursor's position
  void Edit();        // "No data found" when there is no current record
  void Post();        // "Dataset not in edit or insert mode" in browse state
  void Cancel();
  void CheckBrowseMode();
  // Finishes a pending edit or insert, frees all records, restarts the identifiers and
  // puts the cursor before the first record. A closed table is left alone.
  void EmptyTable();

  // --- navigation ------------------------------------------------------------------------
  void First();
  void Next();
  void Prior();
  void Last();
  bool Eof() const { return eof_; }
  bool Bof() const { return bof_; }
  bool IsEmpty() const { return bof_ && eof_; }  // no visible record at the cursor
  int RecordCount() const { return static_cast<int>(records_.size()); }
  int RecNo() const;
  void SetRecNo(int value);  // 1..RecordCount moves there; other numbers do nothing
  // Moves to the first visible record whose fields (names separated by ";") hold the
  // values; false, and the cursor stays, when none does.
  bool Locate(std::string_view keyFields, const std::vector<Variant>& keyValues);

  // --- bookmarks -------------------------------------------------------------------------
  std::optional<TBookmark> GetBookmark();  // none without a stored current record
  bool BookmarkValid(TBookmark bookmark) const;
  void GotoBookmark(TBookmark bookmark);   // "Record not found" for an unknown one

  // --- bound controls and readers --------------------------------------------------------
  // While disabled, data listeners are not told; enabling again tells them once that
  // the data changed. Calls nest.
  void DisableControls() { ++disableCount_; }
  void EnableControls();
  bool ControlsDisabled() const { return disableCount_ > 0; }
  int AddDataListener(TDataListener listener);  // returns the id to remove it with
  void RemoveDataListener(int id);

  // --- events ----------------------------------------------------------------------------
  TDataSetNotifyEvent BeforeOpen, AfterOpen, BeforeClose, AfterClose;
  TDataSetNotifyEvent BeforeInsert, AfterInsert, BeforeEdit, AfterEdit;
  TDataSetNotifyEvent BeforePost, AfterPost, BeforeCancel, AfterCancel;
  TDataSetNotifyEvent BeforeScroll, AfterScroll;
  TFilterRecordEvent OnFilterRecord;
  // Asked once per move that looks for a record while the filter is on. An integer K is
  // the promise that OnFilterRecord rejects every record whose key field reads as an
  // integer other than K: only the records holding K or a value that is not an integer
  // are offered to it. No value (or an error) offers every record, as without it.
  TFilterKeyEvent OnFilterKey;

 private:
  friend class TField;
  // Record blocks are allocated zero-filled; see RxMemDS_block.cpp for how.
  struct BlockDeleter {
    size_t size;  // no initializer: keeps the deleter default-constructible inside the class
    void operator()(uint8_t* block) const noexcept;
  };
  struct Record {
    int32_t id = 0;
    std::unique_ptr<uint8_t[], BlockDeleter> data;
    std::vector<std::string> blobs;
  };
  enum class Acceptance { Unknown, Accepted, Rejected };

  void CheckActive() const;
  void CheckCanMove() const;
  void Fire(const TDataSetNotifyEvent& event);
  void DataEvent(TDataEvent event);
  void BeginNewRecord(bool append);
  // An all-null record of this table's layout, or a copy of `source`.
  std::unique_ptr<Record> NewRecord(const Record* source) const;
  bool FilterActive() const { return filtered_ && OnFilterRecord != nullptr; }
  bool AcceptRecord(int index);
  bool CurrentAccepted();
  int FindVisible(int from, int step);
  // OnFilterKey's answer when the index can narrow the filter's candidates.
  std::optional<int32_t> IndexedFilterKey();
  std::optional<int32_t> IndexKeyOf(const Record& record) const;
  void RebuildKeyIndex();
  void MoveTo(int index, Acceptance acceptance);
  bool RecordMatches(const Record& record, const std::vector<TField*>& fields,
                     const std::vector<Variant>& values) const;
  void ResetRecords();

  // The record the field access reads now, or null when there is none.
  const Record* ActiveRecord();
  // The record a field write goes to; raises when the state allows no write.
  Record& WritableRecord(const TField& field);
  Variant ReadValue(const TField& field, const Record& record) const;
  // The stored text of a text field; valid until the record changes.
  std::string_view ReadText(const TField& field, const Record& record) const;
  void WriteValue(const TField& field, Record& record, const Variant& value);

  std::string name_;
  std::vector<TFieldDef> fieldDefs_;
  std::vector<std::unique_ptr<TField>> fields_;
  // Field names are compared without regard to (ASCII) case, and looked up without
  // building a key string.
  struct NameHash {
    using is_transparent = void;
    size_t operator()(std::string_view name) const noexcept;
  };
  struct NameEqual {
    using is_transparent = void;
    bool operator()(std::string_view a, std::string_view b) const noexcept;
  };
  std::unordered_map<std::string, int, NameHash, NameEqual> fieldIndex_;  // name -> index
  size_t blockSize_ = 0;
  size_t blobCount_ = 0;

  std::vector<Record> records_;
  TDataSetState state_ = TDataSetState::dsInactive;
  int cursor_ = -1;
  bool bof_ = true;
  bool eof_ = true;
  bool filtered_ = false;
  Acceptance acceptance_ = Acceptance::Unknown;
  int32_t lastId_ = INT32_MIN;
  int32_t lastAutoInc_ = 0;

  // The pending edit or insert.
  std::unique_ptr<Record> pending_;
  bool modified_ = false;
  int insertAt_ = 0;
  struct CursorPlace { int cursor; bool bof; bool eof; Acceptance acceptance; };
  CursorPlace beforeInsert_{-1, true, true, Acceptance::Unknown};

  // The candidate of the filter state and its scratch copy, made by the first write.
  int filterIndex_ = -1;
  std::unique_ptr<Record> filterScratch_;

  std::string filterKeyField_;
  int keyField_ = -1;  // index of the key field in fields_ while open, -1 for none
  std::unique_ptr<TIntegerKeyIndex> keyIndex_;

  int disableCount_ = 0;
  bool changedWhileDisabled_ = false;
  int nextListenerId_ = 1;
  std::vector<std::pair<int, TDataListener>> listeners_;
};
