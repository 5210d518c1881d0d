// TRxMemoryData: definitions, record layout, states, editing and the cursor.
#include "tables/RxMemDS.h"

#include <algorithm>
#include <cstring>

#include "RxMemDS_keyindex.h"
#include "RxMemDS_values.h"
#include "platform/Convert.h"
#include "platform/ErrorBox.h"
#include "platform/ListError.h"

namespace {

// Longest text field a definition may ask for.
constexpr int kMaxTextSize = 8192;

char UpperAscii(char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; }

// Bytes a non-blob field takes after its has-value byte.
size_t DataSize(const TFieldDef& def) {
  switch (def.DataType) {
    case TFieldType::ftString: return static_cast<size_t>(def.Size) + 1;
    case TFieldType::ftInteger:
    case TFieldType::ftAutoInc: return sizeof(int32_t);
    case TFieldType::ftBoolean: return 1;
    case TFieldType::ftFloat:
    case TFieldType::ftDate:
    case TFieldType::ftTime:
    case TFieldType::ftDateTime: return sizeof(double);
    case TFieldType::ftBlob:
    case TFieldType::ftUnknown: break;
  }
  return 0;
}

}  // namespace

size_t TRxMemoryData::NameHash::operator()(std::string_view name) const noexcept {
  size_t hash = 14695981039346656037ull;  // FNV-1a over the upper-cased bytes
  for (char c : name) hash = (hash ^ static_cast<unsigned char>(UpperAscii(c))) * 1099511628211ull;
  return hash;
}

bool TRxMemoryData::NameEqual::operator()(std::string_view a, std::string_view b) const noexcept {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return UpperAscii(x) == UpperAscii(y);
         });
}

TRxMemoryData::TRxMemoryData(std::string name)
    : name_(std::move(name)), keyIndex_(std::make_unique<TIntegerKeyIndex>()) {}

TRxMemoryData::~TRxMemoryData() = default;

// --- definitions and fields --------------------------------------------------------------

void TRxMemoryData::AddFieldDef(std::string name, TFieldType type, int size) {
  if (Active()) throw EDatabaseError("Cannot perform this operation on an open dataset");
  for (const auto& def : fieldDefs_) {
    if (NameEqual()(def.Name, name)) throw EDatabaseError("Duplicate field name '" + name + "'");
  }
  if (type == TFieldType::ftString && (size < 1 || size > kMaxTextSize)) {
    throw EDatabaseError("Invalid field size");
  }
  fieldDefs_.push_back({std::move(name), type, type == TFieldType::ftString ? size : 0});
}

void TRxMemoryData::ClearFieldDefs() {
  if (Active()) throw EDatabaseError("Cannot perform this operation on an open dataset");
  fieldDefs_.clear();
}

TField& TRxMemoryData::Fields(int index) {
  if (index < 0 || index >= FieldCount()) RaiseListIndexError(index);
  return *fields_[static_cast<size_t>(index)];
}

TField* TRxMemoryData::FindField(std::string_view name) {
  const auto found = fieldIndex_.find(name);
  return found == fieldIndex_.end() ? nullptr : fields_[static_cast<size_t>(found->second)].get();
}

TField& TRxMemoryData::FieldByName(std::string_view name) {
  if (TField* field = FindField(name)) return *field;
  throw EDatabaseError("Field '" + std::string(name) + "' not found");
}

std::vector<std::string> TRxMemoryData::FieldNames() const {
  std::vector<std::string> names;
  names.reserve(fields_.size());
  for (const auto& field : fields_) names.push_back(field->FieldName());
  return names;
}

// --- open and close ----------------------------------------------------------------------

void TRxMemoryData::Open() {
  if (Active()) return;
  Fire(BeforeOpen);
  // The layout is built aside first, so that a definition the layout cannot hold
  // leaves the table closed and unchanged.
  std::vector<std::unique_ptr<TField>> fields;
  std::unordered_map<std::string, int, NameHash, NameEqual> index;
  size_t offset = 0;
  size_t blobs = 0;
  for (const auto& def : fieldDefs_) {
    if (def.DataType == TFieldType::ftUnknown) {
      throw EDatabaseError("Field '" + def.Name + "' is of an unknown type");
    }
    const int number = static_cast<int>(fields.size());
    size_t slot = 0;
    if (def.DataType == TFieldType::ftBlob) {
      slot = blobs++;
    } else {
      slot = offset;
      offset += 1 + DataSize(def);
    }
    fields.push_back(std::unique_ptr<TField>(new TField(*this, number, def, slot)));
    fields.back()->SetReadOnly(def.DataType == TFieldType::ftAutoInc);
    index.emplace(def.Name, number);
  }
  fields_ = std::move(fields);
  fieldIndex_ = std::move(index);
  blockSize_ = offset;
  blobCount_ = blobs;
  ResetRecords();
  const TField* key = filterKeyField_.empty() ? nullptr : FindField(filterKeyField_);
  keyField_ = key ? key->Index() : -1;
  state_ = TDataSetState::dsBrowse;
  Fire(AfterOpen);
  DataEvent(TDataEvent::deUpdateState);
}

void TRxMemoryData::Close() {
  if (!Active()) return;
  CheckCanMove();
  Fire(BeforeClose);
  pending_.reset();
  modified_ = false;
  ResetRecords();
  records_.shrink_to_fit();
  fields_.clear();
  fieldIndex_.clear();
  keyField_ = -1;
  state_ = TDataSetState::dsInactive;
  Fire(AfterClose);
  DataEvent(TDataEvent::deUpdateState);
}

void TRxMemoryData::ResetRecords() {
  records_.clear();
  keyIndex_->Clear();
  lastId_ = INT32_MIN;
  lastAutoInc_ = 0;
  cursor_ = -1;
  bof_ = true;
  eof_ = true;
  acceptance_ = Acceptance::Unknown;
}

void TRxMemoryData::SetCapacity(int value) {
  if (value < 0 || value < RecordCount()) {
    throw EListError("List capacity out of bounds (" + std::to_string(value) + ")");
  }
  records_.reserve(static_cast<size_t>(value));
}

void TRxMemoryData::CheckActive() const {
  if (!Active()) throw EDatabaseError("Cannot perform this operation on a closed dataset");
}

// A move, a new record or emptying from inside the filter callback would pull the
// records from under the scan that called it.
void TRxMemoryData::CheckCanMove() const {
  CheckActive();
  if (state_ == TDataSetState::dsFilter) {
    throw EDatabaseError("Cannot perform this operation while the dataset filters its records");
  }
}

void TRxMemoryData::Fire(const TDataSetNotifyEvent& event) {
  if (event) event(*this);
}

// --- editing -----------------------------------------------------------------------------

void TRxMemoryData::CheckBrowseMode() {
  CheckActive();
  if (state_ != TDataSetState::dsEdit && state_ != TDataSetState::dsInsert) return;
  if (modified_) {
    Post();
  } else {
    Cancel();
  }
}

void TRxMemoryData::BeginNewRecord(bool append) {
  CheckCanMove();
  CheckBrowseMode();
  Fire(BeforeInsert);
  Fire(BeforeScroll);
  auto record = NewRecord(nullptr);
  beforeInsert_ = {cursor_, bof_, eof_, acceptance_};
  insertAt_ = append ? RecordCount() : std::clamp(cursor_, 0, RecordCount());
  pending_ = std::move(record);
  modified_ = false;
  cursor_ = insertAt_;
  bof_ = false;
  eof_ = append;
  state_ = TDataSetState::dsInsert;
  DataEvent(TDataEvent::deUpdateState);
  Fire(AfterInsert);
  Fire(AfterScroll);
}

void TRxMemoryData::Append() { BeginNewRecord(true); }

void TRxMemoryData::Insert() { BeginNewRecord(false); }

void TRxMemoryData::Edit() {
  CheckCanMove();
  if (state_ == TDataSetState::dsEdit || state_ == TDataSetState::dsInsert) return;
  const Record* current = ActiveRecord();
  if (!current) throw EDatabaseError("No data found");
  Fire(BeforeEdit);
  pending_ = NewRecord(current);
  modified_ = false;
  state_ = TDataSetState::dsEdit;
  DataEvent(TDataEvent::deUpdateState);
  Fire(AfterEdit);
}

void TRxMemoryData::Post() {
  CheckActive();
  if (state_ != TDataSetState::dsEdit && state_ != TDataSetState::dsInsert) {
    throw EDatabaseError("Dataset not in edit or insert mode");
  }
  Fire(BeforePost);
  if (state_ == TDataSetState::dsInsert) {
    if (lastId_ == INT32_MAX) throw EDatabaseError("Too many records");
    for (const auto& field : fields_) {
      if (field->DataType() == TFieldType::ftAutoInc) {
        WriteValue(*field, *pending_, Variant(lastAutoInc_ + 1));
      }
    }
    ++lastAutoInc_;
    pending_->id = ++lastId_;
    const auto key = IndexKeyOf(*pending_);
    records_.insert(records_.begin() + insertAt_, std::move(*pending_));
    if (keyField_ >= 0) keyIndex_->Inserted(insertAt_, key);
    cursor_ = insertAt_;
  } else {
    Record& stored = records_[static_cast<size_t>(cursor_)];
    if (keyField_ >= 0) keyIndex_->Changed(cursor_, IndexKeyOf(stored), IndexKeyOf(*pending_));
    stored = std::move(*pending_);
  }
  pending_.reset();
  modified_ = false;
  acceptance_ = Acceptance::Unknown;
  state_ = TDataSetState::dsBrowse;
  Fire(AfterPost);
  DataEvent(TDataEvent::deDataSetChange);
}

void TRxMemoryData::Cancel() {
  CheckActive();
  if (state_ != TDataSetState::dsEdit && state_ != TDataSetState::dsInsert) return;
  Fire(BeforeCancel);
  if (state_ == TDataSetState::dsInsert) {
    cursor_ = beforeInsert_.cursor;
    bof_ = beforeInsert_.bof;
    eof_ = beforeInsert_.eof;
    acceptance_ = beforeInsert_.acceptance;
  }
  pending_.reset();
  modified_ = false;
  state_ = TDataSetState::dsBrowse;
  Fire(AfterCancel);
  DataEvent(TDataEvent::deDataSetChange);
}

void TRxMemoryData::EmptyTable() {
  if (!Active()) return;
  CheckCanMove();
  CheckBrowseMode();
  ResetRecords();
  DataEvent(TDataEvent::deDataSetChange);
}

// --- field storage -----------------------------------------------------------------------

const TRxMemoryData::Record* TRxMemoryData::ActiveRecord() {
  switch (state_) {
    case TDataSetState::dsBrowse:
      if (cursor_ < 0 || cursor_ >= RecordCount() || !CurrentAccepted()) return nullptr;
      return &records_[static_cast<size_t>(cursor_)];
    case TDataSetState::dsEdit:
    case TDataSetState::dsInsert:
      return pending_.get();
    case TDataSetState::dsFilter:
      if (filterScratch_) return filterScratch_.get();
      return &records_[static_cast<size_t>(filterIndex_)];
    case TDataSetState::dsInactive:
      break;
  }
  return nullptr;
}

TRxMemoryData::Record& TRxMemoryData::WritableRecord(const TField& field) {
  switch (state_) {
    case TDataSetState::dsEdit:
    case TDataSetState::dsInsert:
      if (field.ReadOnly()) throw EDatabaseError("Field '" + field.DisplayName() + "' cannot be modified");
      modified_ = true;
      return *pending_;
    case TDataSetState::dsFilter:
      // The callback may write to the candidate; the writes stay in a scratch copy.
      if (!filterScratch_) filterScratch_ = NewRecord(&records_[static_cast<size_t>(filterIndex_)]);
      return *filterScratch_;
    case TDataSetState::dsBrowse:
    case TDataSetState::dsInactive:
      break;
  }
  throw EDatabaseError("Dataset not in edit or insert mode");
}

Variant TRxMemoryData::ReadValue(const TField& field, const Record& record) const {
  if (field.IsBlob()) {
    const std::string& bytes = record.blobs[field.slot_];
    return bytes.empty() ? Variant::Null() : Variant(bytes);
  }
  const uint8_t* at = record.data.get() + field.slot_;
  if (at[0] == 0) return Variant::Null();
  const uint8_t* data = at + 1;
  switch (field.DataType()) {
    case TFieldType::ftString: {
      const std::string_view text = ReadText(field, record);
      return text.empty() ? Variant::Null() : Variant(std::string(text));
    }
    case TFieldType::ftInteger:
    case TFieldType::ftAutoInc: {
      int32_t value = 0;
      std::memcpy(&value, data, sizeof value);
      return Variant(value);
    }
    case TFieldType::ftBoolean:
      return Variant(data[0] != 0);
    case TFieldType::ftFloat:
    case TFieldType::ftDate:
    case TFieldType::ftTime:
    case TFieldType::ftDateTime: {
      double value = 0;
      std::memcpy(&value, data, sizeof value);
      return field.DataType() == TFieldType::ftFloat ? Variant(value) : Variant::Date(value);
    }
    case TFieldType::ftBlob:
    case TFieldType::ftUnknown:
      break;
  }
  return Variant::Null();
}

std::string_view TRxMemoryData::ReadText(const TField& field, const Record& record) const {
  const uint8_t* at = record.data.get() + field.slot_;
  if (at[0] == 0) return {};
  const char* text = reinterpret_cast<const char*>(at + 1);
  return std::string_view(text, strnlen(text, static_cast<size_t>(field.Size())));
}

// `value` has been converted to the field's type already.
void TRxMemoryData::WriteValue(const TField& field, Record& record, const Variant& value) {
  if (field.IsBlob()) {
    record.blobs[field.slot_] = value.isNull() ? std::string() : value.str();
  } else {
    uint8_t* at = record.data.get() + field.slot_;
    uint8_t* data = at + 1;
    at[0] = value.isNull() ? 0 : 1;
    switch (field.DataType()) {
      case TFieldType::ftString: {
        size_t length = 0;
        if (!value.isNull()) {
          const std::string& text = value.str();
          length = std::min(text.size(), static_cast<size_t>(field.Size()));
          std::memcpy(data, text.data(), length);
        }
        data[length] = 0;
        break;
      }
      case TFieldType::ftInteger:
      case TFieldType::ftAutoInc: {
        const int32_t number = value.isNull() ? 0 : value.toInt32();
        std::memcpy(data, &number, sizeof number);
        break;
      }
      case TFieldType::ftBoolean:
        data[0] = !value.isNull() && value.toBool() ? 1 : 0;
        break;
      case TFieldType::ftFloat:
      case TFieldType::ftDate:
      case TFieldType::ftTime:
      case TFieldType::ftDateTime: {
        const double number = value.isNull() ? 0.0 : value.toDouble();
        std::memcpy(data, &number, sizeof number);
        break;
      }
      case TFieldType::ftBlob:
      case TFieldType::ftUnknown:
        break;
    }
  }
}

// --- filter ------------------------------------------------------------------------------

bool TRxMemoryData::AcceptRecord(int index) {
  if (!FilterActive()) return true;
  const TDataSetState saved = state_;
  state_ = TDataSetState::dsFilter;
  filterIndex_ = index;
  bool accept = true;
  try {
    OnFilterRecord(*this, accept);
  } catch (const std::exception& error) {
    ShowStandardError(error.what());
  } catch (...) {
    ShowStandardError("Unknown error in the record filter");
  }
  filterScratch_.reset();
  filterIndex_ = -1;
  state_ = saved;
  return accept;
}

bool TRxMemoryData::CurrentAccepted() {
  if (!FilterActive()) return true;
  if (acceptance_ == Acceptance::Unknown) {
    acceptance_ = AcceptRecord(cursor_) ? Acceptance::Accepted : Acceptance::Rejected;
  }
  return acceptance_ == Acceptance::Accepted;
}

void TRxMemoryData::SetFiltered(bool value) {
  if (!Active()) {
    filtered_ = value;
    return;
  }
  CheckCanMove();
  CheckBrowseMode();
  if (value == filtered_) return;
  filtered_ = value;
  DataEvent(TDataEvent::deDataSetChange);
  First();
}

// --- cursor ------------------------------------------------------------------------------

// The first record from `from` on in the direction `step` that the filter accepts, or -1.
int TRxMemoryData::FindVisible(int from, int step) {
  if (from < 0 || from >= RecordCount()) return -1;
  if (const auto key = IndexedFilterKey()) {
    for (int i = keyIndex_->Candidate(*key, from, step); i >= 0; i = keyIndex_->Candidate(*key, i + step, step)) {
      if (AcceptRecord(i)) return i;
    }
    return -1;
  }
  for (int i = from; i >= 0 && i < RecordCount(); i += step) {
    if (AcceptRecord(i)) return i;
  }
  return -1;
}

std::optional<int32_t> TRxMemoryData::IndexedFilterKey() {
  if (!FilterActive() || !OnFilterKey || keyField_ < 0) return std::nullopt;
  try {
    return OnFilterKey(*this);
  } catch (const std::exception&) {
    return std::nullopt;  // every record is offered, as without a key
  }
}

// The key field as TField::AsInteger reads it, without raising for what it cannot read.
std::optional<int32_t> TRxMemoryData::IndexKeyOf(const Record& record) const {
  if (keyField_ < 0) return std::nullopt;
  const TField& field = *fields_[static_cast<size_t>(keyField_)];
  if (field.DataType() == TFieldType::ftString) return TryStrToInt(ReadText(field, record));
  const Variant value = ReadValue(field, record);
  if (value.isNull()) return 0;
  try {
    return rxmemds::ToFieldValue(TFieldType::ftInteger, value).toInt32();
  } catch (const std::exception&) {
    return std::nullopt;
  }
}

void TRxMemoryData::SetFilterKeyField(std::string name) {
  filterKeyField_ = std::move(name);
  if (!Active()) return;
  const TField* key = filterKeyField_.empty() ? nullptr : FindField(filterKeyField_);
  keyField_ = key ? key->Index() : -1;
  RebuildKeyIndex();
}

void TRxMemoryData::RebuildKeyIndex() {
  keyIndex_->Clear();
  if (keyField_ < 0) return;
  for (int i = 0; i < RecordCount(); ++i) keyIndex_->Inserted(i, IndexKeyOf(records_[static_cast<size_t>(i)]));
}

void TRxMemoryData::MoveTo(int index, Acceptance acceptance) {
  cursor_ = index;
  acceptance_ = acceptance;
  DataEvent(TDataEvent::deDataSetScroll);
  Fire(AfterScroll);
}

void TRxMemoryData::First() {
  CheckCanMove();
  CheckBrowseMode();
  Fire(BeforeScroll);
  const int found = FindVisible(0, 1);
  bof_ = true;
  eof_ = found < 0;
  MoveTo(found, Acceptance::Accepted);
}

void TRxMemoryData::Last() {
  CheckCanMove();
  CheckBrowseMode();
  Fire(BeforeScroll);
  const int found = FindVisible(RecordCount() - 1, -1);
  eof_ = true;
  bof_ = found < 0;
  MoveTo(found, Acceptance::Accepted);
}

void TRxMemoryData::Next() {
  CheckCanMove();
  CheckBrowseMode();
  if (eof_) return;
  Fire(BeforeScroll);
  const int found = FindVisible(cursor_ + 1, 1);
  if (found < 0) {
    eof_ = true;
    return;
  }
  bof_ = false;
  MoveTo(found, Acceptance::Accepted);
}

void TRxMemoryData::Prior() {
  CheckCanMove();
  CheckBrowseMode();
  if (bof_) return;
  Fire(BeforeScroll);
  const int found = cursor_ > 0 ? FindVisible(cursor_ - 1, -1) : -1;
  if (found < 0) {
    bof_ = true;
    return;
  }
  eof_ = false;
  MoveTo(found, Acceptance::Accepted);
}

int TRxMemoryData::RecNo() const {
  if (!Active()) return 0;
  if (cursor_ < 0 && RecordCount() > 0) return 1;
  return cursor_ + 1;
}

void TRxMemoryData::SetRecNo(int value) {
  CheckCanMove();
  CheckBrowseMode();
  if (value < 1 || value > RecordCount() || value == cursor_ + 1) return;
  Fire(BeforeScroll);
  bof_ = false;
  eof_ = false;
  MoveTo(value - 1, Acceptance::Unknown);
}

bool TRxMemoryData::Locate(std::string_view keyFields, const std::vector<Variant>& keyValues) {
  CheckCanMove();
  CheckBrowseMode();
  std::vector<TField*> fields;
  for (size_t start = 0; start <= keyFields.size();) {
    size_t stop = keyFields.find(';', start);
    if (stop == std::string_view::npos) stop = keyFields.size();
    std::string_view name = keyFields.substr(start, stop - start);
    while (!name.empty() && name.front() == ' ') name.remove_prefix(1);
    while (!name.empty() && name.back() == ' ') name.remove_suffix(1);
    if (!name.empty()) fields.push_back(&FieldByName(name));
    start = stop + 1;
  }
  if (fields.empty() || fields.size() != keyValues.size()) {
    throw EDatabaseError("Locate needs one value for each of its fields");
  }
  // Each wanted value as its field stores it; one that the field cannot take matches nothing.
  std::vector<Variant> wanted;
  for (size_t i = 0; i < fields.size(); ++i) {
    try {
      wanted.push_back(rxmemds::ToFieldValue(fields[i]->DataType(), keyValues[i]));
    } catch (const std::exception&) {
      return false;
    }
  }
  for (int i = 0; i < RecordCount(); ++i) {
    if (!RecordMatches(records_[static_cast<size_t>(i)], fields, wanted) || !AcceptRecord(i)) continue;
    Fire(BeforeScroll);
    bof_ = false;
    eof_ = false;
    MoveTo(i, Acceptance::Accepted);
    return true;
  }
  return false;
}

bool TRxMemoryData::RecordMatches(const Record& record, const std::vector<TField*>& fields,
                                  const std::vector<Variant>& values) const {
  for (size_t i = 0; i < fields.size(); ++i) {
    if (!ReadValue(*fields[i], record).identical(values[i])) return false;
  }
  return true;
}

// --- bookmarks ---------------------------------------------------------------------------

std::optional<TBookmark> TRxMemoryData::GetBookmark() {
  if (state_ == TDataSetState::dsInsert || state_ == TDataSetState::dsInactive) return std::nullopt;
  if (state_ == TDataSetState::dsEdit) return records_[static_cast<size_t>(cursor_)].id;
  const Record* current = ActiveRecord();
  if (!current) return std::nullopt;
  return current->id;
}

bool TRxMemoryData::BookmarkValid(TBookmark bookmark) const {
  return std::any_of(records_.begin(), records_.end(), [&](const Record& r) { return r.id == bookmark; });
}

void TRxMemoryData::GotoBookmark(TBookmark bookmark) {
  CheckCanMove();
  CheckBrowseMode();
  const auto found = std::find_if(records_.begin(), records_.end(), [&](const Record& r) { return r.id == bookmark; });
  if (found == records_.end()) throw EDatabaseError("Record not found");
  Fire(BeforeScroll);
  bof_ = false;
  eof_ = false;
  MoveTo(static_cast<int>(found - records_.begin()), Acceptance::Unknown);
}

// --- notifications -----------------------------------------------------------------------

void TRxMemoryData::EnableControls() {
  if (disableCount_ == 0) return;
  if (--disableCount_ == 0 && changedWhileDisabled_) {
    changedWhileDisabled_ = false;
    DataEvent(TDataEvent::deDataSetChange);
  }
}

int TRxMemoryData::AddDataListener(TDataListener listener) {
  listeners_.emplace_back(nextListenerId_, std::move(listener));
  return nextListenerId_++;
}

void TRxMemoryData::RemoveDataListener(int id) {
  std::erase_if(listeners_, [id](const auto& entry) { return entry.first == id; });
}

void TRxMemoryData::DataEvent(TDataEvent event) {
  if (listeners_.empty()) return;
  if (ControlsDisabled()) {
    changedWhileDisabled_ = true;
    return;
  }
  // A listener may remove itself or others while being told.
  const auto listeners = listeners_;
  for (const auto& [id, listener] : listeners) {
    if (listener) listener(*this, event);
  }
}
