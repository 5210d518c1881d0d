#include "script/fs_xml.h"

#include <cctype>
#include <cstdio>

#include "fs_limits.h"

namespace {

constexpr const char* kInvalidFormat = "Invalid file format";

bool SameTextAt(std::string_view text, size_t at, std::string_view what) {
  if (at + what.size() > text.size()) return false;
  for (size_t i = 0; i < what.size(); ++i)
    if (std::tolower(static_cast<unsigned char>(text[at + i])) != std::tolower(static_cast<unsigned char>(what[i])))
      return false;
  return true;
}

bool SameText(std::string_view a, std::string_view b) { return a.size() == b.size() && SameTextAt(a, 0, b); }

// Start of the value of attribute `name` in `text`, or npos. The attribute must follow
// a blank (or the start of the text) and be written name="value".
size_t FindValue(std::string_view text, std::string_view name) {
  for (size_t i = 0; i + name.size() + 2 <= text.size(); ++i) {
    if (i > 0 && text[i - 1] != ' ') continue;
    if (SameTextAt(text, i, name) && text[i + name.size()] == '=' && text[i + name.size() + 1] == '"')
      return i + name.size() + 2;
  }
  return std::string_view::npos;
}

std::string DecodeValue(std::string_view raw) {
  std::string out;
  out.reserve(raw.size());
  for (size_t i = 0; i < raw.size(); ++i) {
    if (raw[i] == '&') {
      if (raw.compare(i, 6, "&quot;") == 0) {
        out += '"';
        i += 5;
        continue;
      }
      if (i + 1 < raw.size() && raw[i + 1] == '#') {
        size_t j = i + 2;
        unsigned code = 0;
        while (j < raw.size() && std::isdigit(static_cast<unsigned char>(raw[j])) && j - i < 12)
          code = code * 10 + static_cast<unsigned>(raw[j++] - '0');
        if (j > i + 2 && j < raw.size() && raw[j] == ';') {
          out += static_cast<char>(code & 0xFF);
          i = j;
          continue;
        }
      }
    }
    out += raw[i];
  }
  return out;
}

void WriteItem(const TfsXMLItem& item, bool indent, int level, const std::string& lineBreak, std::string& out) {
  if (indent) out.append(static_cast<size_t>(level) * 2, ' ');
  out += '<';
  out += item.Name();
  if (!item.Text().empty()) {
    out += ' ';
    out += item.Text();
  }
  if (item.Count() == 0) {
    out += "/>";
    if (indent) out += lineBreak;
    return;
  }
  out += '>';
  if (indent) out += lineBreak;
  for (int i = 0; i < item.Count(); ++i) WriteItem(item[i], indent, level + 1, lineBreak, out);
  if (indent) out.append(static_cast<size_t>(level) * 2, ' ');
  out += "</";
  out += item.Name();
  out += '>';
  if (indent) out += lineBreak;
}

// Reads tags one after another; characters between tags are ignored.
class TagReader {
 public:
  explicit TagReader(std::string_view text) : text_(text) {}

  // The next tag text without "<" and ">", comments skipped; false at the end.
  bool Next(std::string_view& tag) {
    for (;;) {
      size_t open = text_.find('<', pos_);
      if (open == std::string_view::npos) return false;
      if (text_.compare(open + 1, 3, "!--") == 0) {
        size_t close = text_.find("-->", open + 4);
        if (close == std::string_view::npos) throw EfsXMLError(kInvalidFormat);
        pos_ = close + 3;
        continue;
      }
      size_t i = open + 1;
      while (i < text_.size() && text_[i] != '>') {
        if (text_[i] == '<') throw EfsXMLError(kInvalidFormat);
        ++i;
      }
      if (i >= text_.size()) throw EfsXMLError(kInvalidFormat);
      tag = text_.substr(open + 1, i - open - 1);
      pos_ = i + 1;
      return true;
    }
  }

 private:
  std::string_view text_;
  size_t pos_ = 0;
};

}  // namespace

std::string fsXMLEscape(std::string_view value) {
  std::string out;
  out.reserve(value.size());
  for (char c : value) {
    switch (c) {
      case '\r': out += "&#13;"; break;
      case '\n': out += "&#10;"; break;
      case '"': out += "&#34;"; break;
      case '<': out += "&#60;"; break;
      case '>': out += "&#62;"; break;
      // Every ampersand is escaped so that a script text holding "&#65;" or "&quot;"
      // comes back unchanged when the IL is read.
      case '&': out += "&#38;"; break;
      default: out += c;
    }
  }
  return out;
}

std::string TfsXMLItem::Prop(std::string_view name) const {
  size_t start = FindValue(text_, name);
  if (start == std::string_view::npos) return {};
  size_t end = text_.find('"', start);
  if (end == std::string::npos) end = text_.size();
  return DecodeValue(std::string_view(text_).substr(start, end - start));
}

bool TfsXMLItem::HasProp(std::string_view name) const { return FindValue(text_, name) != std::string_view::npos; }

TfsXMLItem* TfsXMLItem::FindItem(std::string_view name) const {
  for (const auto& item : items_)
    if (SameText(item->name_, name)) return item.get();
  return nullptr;
}

TfsXMLItem& TfsXMLItem::Add(std::string name, std::string text) {
  return Add(std::make_unique<TfsXMLItem>(std::move(name), std::move(text)));
}

TfsXMLItem& TfsXMLItem::Add(std::unique_ptr<TfsXMLItem> item) {
  item->parent_ = this;
  items_.push_back(std::move(item));
  return *items_.back();
}

TfsXMLItem& TfsXMLItem::AddCopy(const TfsXMLItem& source) {
  TfsXMLItem& copy = Add(source.name_, source.text_);
  for (const auto& child : source.items_) copy.AddCopy(*child);
  return copy;
}

void TfsXMLDocument::SetRoot(std::unique_ptr<TfsXMLItem> root) { root_ = root ? std::move(root) : std::make_unique<TfsXMLItem>(); }

std::unique_ptr<TfsXMLItem> TfsXMLDocument::TakeRoot() {
  auto root = std::move(root_);
  root_ = std::make_unique<TfsXMLItem>();
  return root;
}

void TfsXMLDocument::LoadFromString(std::string_view text) {
  root_ = std::make_unique<TfsXMLItem>();
  TagReader reader(text);
  std::string_view tag;
  if (!reader.Next(tag) || tag.compare(0, 4, "?xml") != 0) throw EfsXMLError(kInvalidFormat);

  std::unique_ptr<TfsXMLItem> root;
  std::vector<TfsXMLItem*> open;
  while (reader.Next(tag)) {
    if (!tag.empty() && tag.back() == ' ') tag.remove_suffix(1);
    size_t blank = tag.find(' ');
    std::string_view name = tag.substr(0, blank);
    std::string_view attrs = blank == std::string_view::npos ? std::string_view() : tag.substr(blank + 1);
    if (!name.empty() && name.front() == '/') {
      if (open.empty() || !SameText(name.substr(1), open.back()->Name())) throw EfsXMLError(kInvalidFormat);
      open.pop_back();
      if (open.empty()) break;
      continue;
    }
    bool empty = false;
    if (!attrs.empty() && attrs.back() == '/') {
      attrs.remove_suffix(1);
      empty = true;
    } else if (attrs.empty() && !name.empty() && name.back() == '/') {
      name.remove_suffix(1);
      empty = true;
    }
    TfsXMLItem* item;
    if (!root) {
      root = std::make_unique<TfsXMLItem>(std::string(name), std::string(attrs));
      item = root.get();
    } else {
      item = &open.back()->Add(std::string(name), std::string(attrs));
    }
    if (empty) {
      if (open.empty()) break;
      continue;
    }
    if (static_cast<int>(open.size()) >= fs_limits::kMaxXMLDepth) {
      char message[96];
      std::snprintf(message, sizeof message, fs_limits::kXMLDepthMessage, fs_limits::kMaxXMLDepth);
      throw EfsXMLError(message);
    }
    open.push_back(item);
  }
  if (!root || !open.empty()) throw EfsXMLError(kInvalidFormat);
  root_ = std::move(root);
}

std::string TfsXMLDocument::SaveToString(bool indent) const {
  std::string out = "<?xml version=\"1.0\"?>";
  out += LineBreak;
  WriteItem(*root_, indent, 0, LineBreak, out);
  return out;
}
