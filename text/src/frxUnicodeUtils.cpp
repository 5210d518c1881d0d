#include "text/frxUnicodeUtils.h"

#include "platform/CodePage.h"
#include "platform/ListError.h"
#include "platform/Stream.h"

void TWideStrings::CheckIndex(int index) const {
  if (index < 0 || index >= Count()) RaiseListIndexError(index);
}

const std::u16string& TWideStrings::Strings(int index) const {
  CheckIndex(index);
  return items_[static_cast<size_t>(index)].Text;
}

void TWideStrings::SetStrings(int index, std::u16string text) {
  CheckIndex(index);
  items_[static_cast<size_t>(index)].Text = std::move(text);
}

uint32_t TWideStrings::Flags(int index) const {
  CheckIndex(index);
  return items_[static_cast<size_t>(index)].Flags;
}

void TWideStrings::SetFlags(int index, uint32_t flags) {
  CheckIndex(index);
  items_[static_cast<size_t>(index)].Flags = flags;
}

int TWideStrings::Add(std::u16string text, uint32_t flags) {
  items_.push_back({std::move(text), flags});
  return Count() - 1;
}

void TWideStrings::Insert(int index, std::u16string text, uint32_t flags) {
  if (index < 0 || index > Count()) RaiseListIndexError(index);
  items_.insert(items_.begin() + index, {std::move(text), flags});
}

void TWideStrings::Delete(int index) {
  CheckIndex(index);
  items_.erase(items_.begin() + index);
}

int TWideStrings::IndexOf(std::u16string_view text) const {
  for (size_t i = 0; i < items_.size(); ++i)
    if (items_[i].Text == text) return static_cast<int>(i);
  return -1;
}

std::u16string TWideStrings::Text() const {
  size_t size = 0;
  for (const TItem& item : items_) size += item.Text.size() + 2;
  std::u16string out;
  out.reserve(size);
  for (const TItem& item : items_) {
    out += item.Text;
    out += u"\r\n";
  }
  return out;
}

void TWideStrings::SetText(std::u16string_view text) {
  items_.clear();
  size_t start = 0;
  size_t i = 0;
  while (i < text.size()) {
    const char16_t c = text[i];
    if (c == u'\r' || c == u'\n' || c == u'\u2028') {
      items_.push_back({std::u16string(text.substr(start, i - start)), 0});
      i += (c == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ? 2 : 1;
      start = i;
    } else {
      ++i;
    }
  }
  if (start < text.size()) items_.push_back({std::u16string(text.substr(start)), 0});
}

void TWideStrings::LoadFromStream(TStream& stream) {
  const int64_t size = stream.Size() - stream.Position();
  std::string bytes(static_cast<size_t>(size > 0 ? size : 0), '\0');
  if (!bytes.empty()) stream.ReadBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
  if (bytes.size() >= 2 && static_cast<uint8_t>(bytes[0]) == 0xFF &&
      static_cast<uint8_t>(bytes[1]) == 0xFE) {
    std::u16string wide((bytes.size() - 2) / 2, u'\0');
    for (size_t i = 0; i < wide.size(); ++i)
      wide[i] = static_cast<char16_t>(static_cast<uint8_t>(bytes[2 + 2 * i]) |
                                      (static_cast<uint8_t>(bytes[3 + 2 * i]) << 8));
    SetText(wide);
  } else {
    SetText(codepage::ToWide(bytes));
  }
}

void TWideStrings::SaveToStream(TStream& stream) const {
  const std::u16string text = Text();
  std::string bytes(text.size() * 2, '\0');
  for (size_t i = 0; i < text.size(); ++i) {
    bytes[2 * i] = static_cast<char>(text[i] & 0xFF);
    bytes[2 * i + 1] = static_cast<char>(text[i] >> 8);
  }
  stream.WriteString(bytes);
}

void TWideStrings::LoadFromFile(const std::string& path) {
  TFileStream stream(path, TFileMode::OpenRead);
  LoadFromStream(stream);
}

void TWideStrings::SaveToFile(const std::string& path) const {
  TFileStream stream(path, TFileMode::Create);
  SaveToStream(stream);
}
