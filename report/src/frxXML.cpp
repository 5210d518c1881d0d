// The XML tree: items, attribute access and the document with its paging store.
#include "report/frxXML.h"

#include <filesystem>

#include "frxXML_attributes.h"
#include "platform/Memory.h"

namespace {

// Paged-out subtrees free their memory to the heap. Every few megabytes paged out, a heap
// holding much free memory hands it back to the system, so that paging lowers the
// resident memory; a heap that reuses the memory for new pages is left alone.
constexpr int64_t kCheckMemoryAfterBytes = 4 * 1024 * 1024;
constexpr size_t kKeepFreeHeapBytes = 16 * 1024 * 1024;

}  // namespace

// ---- TfrxXMLItem ----

TfrxXMLItem::~TfrxXMLItem() {
  std::vector<TfrxXMLItem*> children = std::move(children_);
  children_.clear();
  for (TfrxXMLItem* child : children) child->parent_ = nullptr;
  // Released without recursion, so that a deeply nested tree read from a hostile file
  // cannot exhaust the stack.
  std::vector<TfrxXMLItem*> pending = std::move(children);
  while (!pending.empty()) {
    TfrxXMLItem* item = pending.back();
    pending.pop_back();
    for (TfrxXMLItem* grandchild : item->children_) {
      grandchild->parent_ = nullptr;
      pending.push_back(grandchild);
    }
    item->children_.clear();
    delete item;
  }
  if (parent_) parent_->Detach(this);
}

void TfrxXMLItem::Detach(TfrxXMLItem* child) {
  // Searched from the end: trees are usually trimmed from their last children.
  for (size_t i = children_.size(); i-- > 0;) {
    if (children_[i] == child) {
      children_.erase(children_.begin() + static_cast<std::ptrdiff_t>(i));
      break;
    }
  }
  child->parent_ = nullptr;
}

TfrxXMLItem* TfrxXMLItem::Add() {
  auto* item = new TfrxXMLItem;
  item->parent_ = this;
  children_.push_back(item);
  return item;
}

void TfrxXMLItem::AddItem(TfrxXMLItem* item) {
  if (!item) throw std::invalid_argument("TfrxXMLItem::AddItem: no item");
  for (const TfrxXMLItem* up = this; up; up = up->parent_)
    if (up == item) throw std::invalid_argument("TfrxXMLItem::AddItem: an item cannot contain itself");
  if (item->parent_) item->parent_->Detach(item);
  item->parent_ = this;
  children_.push_back(item);
}

void TfrxXMLItem::InsertItem(int index, TfrxXMLItem* item) {
  AddItem(item);
  if (index < 0 || index >= Count()) index = Count() - 1;
  children_.pop_back();
  children_.insert(children_.begin() + index, item);
}

int TfrxXMLItem::Find(std::string_view name) const {
  for (size_t i = 0; i < children_.size(); ++i)
    if (frxxml::SameText(children_[i]->Name, name)) return static_cast<int>(i);
  return -1;
}

TfrxXMLItem* TfrxXMLItem::FindItem(std::string_view name) {
  int index = Find(name);
  if (index >= 0) return children_[static_cast<size_t>(index)];
  TfrxXMLItem* item = Add();
  item->Name = name;
  return item;
}

int TfrxXMLItem::IndexOf(const TfrxXMLItem* item) const {
  for (size_t i = 0; i < children_.size(); ++i)
    if (children_[i] == item) return static_cast<int>(i);
  return -1;
}

void TfrxXMLItem::Clear() {
  std::vector<TfrxXMLItem*> children = std::move(children_);
  children_.clear();
  for (TfrxXMLItem* child : children) {
    child->parent_ = nullptr;
    delete child;
  }
  if (Pageable) Resident = false;
}

void TfrxXMLItem::TakeChildren(TfrxXMLItem& from) {
  for (TfrxXMLItem* child : from.children_) {
    child->parent_ = this;
    children_.push_back(child);
  }
  from.children_.clear();
}

std::string TfrxXMLItem::Prop(std::string_view name) const {
  std::string pattern(name);
  pattern += "=\"";
  size_t at = frxxml::FindAttribute(Text, pattern);
  if (at == std::string::npos) return std::string();
  size_t value = at + pattern.size();
  size_t closing = Text.find('"', value);
  if (closing == std::string::npos) return std::string();
  return UnescapeXMLText(std::string_view(Text).substr(value, closing - value));
}

void TfrxXMLItem::SetProp(std::string_view name, std::string_view value) {
  std::string pattern(name);
  pattern += "=\"";
  size_t at = frxxml::FindAttribute(Text, pattern);
  if (at == std::string::npos) {
    at = Text.size();
  } else {
    size_t closing = Text.find('"', at + pattern.size());
    Text.erase(at, closing == std::string::npos ? std::string::npos : closing + 1 - at);
  }
  std::string attribute;
  if (at > 0 && Text[at - 1] != ' ') attribute += ' ';
  attribute += pattern;
  attribute += EscapeXMLText(value);
  attribute += '"';
  Text.insert(at, attribute);
}

// ---- TfrxXMLDocument ----

TfrxXMLDocument::TfrxXMLDocument() : root_(std::make_unique<TfrxXMLItem>()) {}

TfrxXMLDocument::~TfrxXMLDocument() {
  root_.reset();
  ReleaseStore();
}

void TfrxXMLDocument::Clear() {
  root_->Clear();
  ReleaseStore();
}

void TfrxXMLDocument::ReleaseStore() {
  sourceStore_ = nullptr;
  if (tempFile_) {
    std::string name = tempFile_->FileName();
    tempFile_.reset();
    std::error_code ignored;
    std::filesystem::remove(name, ignored);
  }
}

TStream& TfrxXMLDocument::TemporaryStore() {
  if (!tempFile_) {
    std::error_code error;
    bool usable = !TempDir.empty() && std::filesystem::is_directory(TempDir, error);
    tempFile_ = TFileStream::CreateTemporary(usable ? TempDir : SystemTempFolder(), "fr");
  }
  return *tempFile_;
}

void TfrxXMLDocument::LoadFromStream(TStream& stream, bool allowPartialLoading) {
  ReleaseStore();
  root_->Clear();
  root_->Name.clear();
  root_->Text.clear();
  root_->Pageable = false;
  root_->Resident = true;
  root_->StoreOffset = 0;
  root_->StoreKind = TfrxXMLItem::TStoreKind::None;
  if (allowPartialLoading) sourceStore_ = &stream;
  TfrxXMLReader reader(stream);
  reader.ReadHeader();
  LegacyText = reader.LegacyText();
  if (!reader.ReadElement(*root_, allowPartialLoading)) {
    // A closing tag or nothing where the document element belongs: an empty document.
    root_->Name.clear();
    root_->Text.clear();
  }
}

void TfrxXMLDocument::SaveToStream(TStream& stream) {
  TfrxXMLWriter writer(stream, Indented, this);
  writer.WriteHeader();
  writer.WriteItem(*root_);
  writer.Flush();
}

void TfrxXMLDocument::LoadFromFile(const std::string& path) {
  TFileStream file(path, TFileMode::OpenRead, TFileShare::DenyWrite);
  LoadFromStream(file, false);
}

void TfrxXMLDocument::SaveToFile(const std::string& path) {
  TFileStream file(path, TFileMode::Create);
  SaveToStream(file);
}

void TfrxXMLDocument::PageOutItem(TfrxXMLItem* item) {
  if (!item || !item->Pageable || !item->Resident) return;
  TStream& store = TemporaryStore();
  // The subtree is collected first and appended with one write: one system call per
  // page instead of one per chunk, and no half-written copy when writing fails.
  TMemoryStream copy;
  TfrxXMLWriter writer(copy, false, this);
  writer.WriteItem(*item);
  writer.Flush();
  int64_t offset = store.Seek(0, TSeekOrigin::End);
  store.WriteBuffer(copy.Memory(), copy.Size());
  // Only a completely written copy makes the item non-resident: after a failed write
  // its children are still in memory.
  item->StoreOffset = offset;
  item->StoreKind = TfrxXMLItem::TStoreKind::Temporary;
  item->Clear();
  pagedOutSinceReturn_ += copy.Size();
  if (pagedOutSinceReturn_ > kCheckMemoryAfterBytes) {
    ReturnFreedMemoryToSystem(kKeepFreeHeapBytes);
    pagedOutSinceReturn_ = 0;
  }
}

void TfrxXMLDocument::PageInItem(TfrxXMLItem* item) {
  if (!item || !item->Pageable || item->Resident) return;
  TStream* store = nullptr;
  switch (item->StoreKind) {
    case TfrxXMLItem::TStoreKind::None:
      // Cleared without ever being stored: there is nothing to bring back.
      item->Resident = true;
      return;
    case TfrxXMLItem::TStoreKind::Source: store = sourceStore_; break;
    case TfrxXMLItem::TStoreKind::Temporary: store = tempFile_.get(); break;
  }
  if (!store) return;  // the store was released; the item has nothing to bring back
  int64_t saved = store->Position();
  TfrxXMLItem copy;
  try {
    store->SetPosition(item->StoreOffset);
    {
      TfrxXMLReader reader(*store);
      // A different element at the offset means the store was changed under us.
      if (!reader.ReadElement(copy, false) || !frxxml::SameText(copy.Name, item->Name))
        throw TfrxInvalidXMLException(item->StoreOffset);
    }
    store->SetPosition(saved);
  } catch (...) {
    store->SetPosition(saved);
    throw;
  }
  item->TakeChildren(copy);
  item->Resident = true;
}
