// Reading tags and elements from a stream in fixed blocks.
#include <algorithm>
#include <cstring>

#include "frxXML_attributes.h"
#include "report/frxXML.h"

namespace {

constexpr std::string_view kPagingMarker = "ld=\"0\"";

}  // namespace

TfrxXMLReader::TfrxXMLReader(TStream& stream) : stream_(stream), buf_(new char[kBlockSize]) {
  blockStart_ = stream.Position();
  size_ = stream.Size();
  tag_.reserve(kBlockSize);
}

TfrxXMLReader::~TfrxXMLReader() {
  try {
    stream_.SetPosition(Position());
  } catch (...) {
    // Repositioning a stream that just failed must not hide the original error.
  }
}

void TfrxXMLReader::Fail() const { throw TfrxInvalidXMLException(Position()); }

bool TfrxXMLReader::FillBuffer() {
  blockStart_ += bufLen_;
  bufPos_ = 0;
  bufLen_ = 0;
  if (blockStart_ >= size_) return false;
  stream_.SetPosition(blockStart_);
  int64_t want = std::min<int64_t>(kBlockSize, size_ - blockStart_);
  bufLen_ = static_cast<int>(stream_.Read(buf_.get(), want));
  return bufLen_ > 0;
}

// tag := '<' chars-without-'<' '>' ; comment := '<!--' ... '-->' (skipped)
void TfrxXMLReader::ReadTag(std::string& name, std::string& text) {
  name.clear();
  text.clear();
  for (;;) {
    // Anything up to the next '<' is skipped: text, line breaks, a byte-order mark.
    for (;;) {
      if (bufPos_ >= bufLen_ && !FillBuffer()) return;
      const char* start = buf_.get() + bufPos_;
      const void* lt = std::memchr(start, '<', static_cast<size_t>(bufLen_ - bufPos_));
      if (lt) {
        bufPos_ += static_cast<int>(static_cast<const char*>(lt) - start) + 1;
        break;
      }
      bufPos_ = bufLen_;
    }

    // A comment is recognised by its first three characters, before any '>' or '<'
    // inside it could end or break the tag.
    tag_.clear();
    bool comment = false;
    if (bufLen_ - bufPos_ >= 3) {
      comment = std::memcmp(buf_.get() + bufPos_, "!--", 3) == 0;
      if (comment) bufPos_ += 3;
    } else {
      while (tag_.size() < 3) {
        if (bufPos_ >= bufLen_ && !FillBuffer()) Fail();
        char c = buf_[bufPos_];
        if (c == '>' || c == '<') break;
        tag_ += c;
        ++bufPos_;
      }
      comment = tag_ == "!--";
    }
    if (comment) {
      // Ends at "--" followed by '>'; after two '-' any other character, a third '-'
      // included, starts the count again.
      int dashes = 0;
      for (;;) {
        if (bufPos_ >= bufLen_ && !FillBuffer()) return;  // the input ends inside the comment
        char c = buf_[bufPos_++];
        if (c == '-') {
          dashes = dashes == 2 ? 0 : dashes + 1;
        } else if (c == '>' && dashes == 2) {
          break;
        } else {
          dashes = 0;
        }
      }
      continue;
    }

    std::string_view tag;
    for (;;) {
      if (bufPos_ >= bufLen_ && !FillBuffer()) Fail();  // the input ends inside a tag
      const char* start = buf_.get() + bufPos_;
      size_t avail = static_cast<size_t>(bufLen_ - bufPos_);
      const char* gt = static_cast<const char*>(std::memchr(start, '>', avail));
      size_t len = gt ? static_cast<size_t>(gt - start) : avail;
      const void* lt = std::memchr(start, '<', len);
      if (lt) {
        bufPos_ += static_cast<int>(static_cast<const char*>(lt) - start);
        Fail();
      }
      if (gt && tag_.empty()) {
        tag = std::string_view(start, len);  // the whole tag lies in this block
      } else {
        tag_.append(start, len);
        tag = tag_;
      }
      bufPos_ += static_cast<int>(len);
      if (gt) {
        ++bufPos_;
        break;
      }
    }

    if (!tag.empty() && tag.back() == ' ') tag.remove_suffix(1);
    size_t space = tag.find(' ');
    if (space == std::string_view::npos) {
      name.assign(tag);
    } else {
      name.assign(tag.substr(0, space));
      text.assign(tag.substr(space + 1));
    }
    return;
  }
}

void TfrxXMLReader::ReadHeader() {
  std::string name, text;
  ReadTag(name, text);
  if (name.compare(0, 4, "?xml") != 0) Fail();
  std::string version;
  size_t at = text.find("version=");
  if (at != std::string::npos) version = text.substr(std::min(text.size(), at + 9), 3);
  legacy_ = version == "1.0" && text.find("standalone=") == std::string::npos;
}

TfrxXMLReader::TTagKind TfrxXMLReader::Classify(TfrxXMLItem& item) const {
  if (item.Name.empty() || item.Name[0] == '/') return TTagKind::EndMarker;
  if (item.Name.back() == '/') {
    item.Name.pop_back();
    return TTagKind::Leaf;
  }
  if (!item.Text.empty() && item.Text.back() == '/') {
    item.Text.pop_back();
    return TTagKind::Leaf;
  }
  return TTagKind::Open;
}

void TfrxXMLReader::CheckClosingTag(const std::string& closing, const std::string& name) const {
  if (closing.size() != name.size() + 1 || !frxxml::SameTextAt(closing, 1, name)) Fail();
}

void TfrxXMLReader::FinishElement(TfrxXMLItem& item, int64_t start, bool partialLoading) const {
  size_t at = frxxml::FindAttribute(item.Text, kPagingMarker);
  if (at == std::string::npos) return;
  // The marker goes with the space before it.
  if (at > 0) item.Text.erase(at - 1, kPagingMarker.size() + 1);
  else item.Text.erase(0, kPagingMarker.size());
  if (!partialLoading) return;
  item.Clear();
  item.StoreOffset = start;
  item.StoreKind = TfrxXMLItem::TStoreKind::Source;
  item.Pageable = true;
  item.Resident = false;
}

// Reads over the children of an element that stays in the source stream, checking their
// syntax as if they were read, without building them.
void TfrxXMLReader::SkipChildren(const std::string& name) {
  std::vector<std::string> open{name};
  std::string tagName, tagText;
  while (!open.empty()) {
    ReadTag(tagName, tagText);
    if (tagName.empty()) {
      open.pop_back();
    } else if (tagName[0] == '/') {
      CheckClosingTag(tagName, open.back());
      open.pop_back();
    } else if (tagName.back() != '/' && (tagText.empty() || tagText.back() != '/')) {
      open.push_back(tagName);
    }
  }
}

// element := start-tag element* (end-tag | end of input) | empty-element-tag
// Read without recursion, so nesting depth is bounded by memory, not by the stack.
bool TfrxXMLReader::ReadElement(TfrxXMLItem& item, bool partialLoading) {
  auto staysInSource = [&](const TfrxXMLItem& element) {
    return partialLoading && frxxml::FindAttribute(element.Text, kPagingMarker) != std::string::npos;
  };

  int64_t start = Position();
  ReadTag(item.Name, item.Text);
  switch (Classify(item)) {
    case TTagKind::EndMarker: return false;
    case TTagKind::Leaf: FinishElement(item, start, partialLoading); return true;
    case TTagKind::Open: break;
  }
  if (staysInSource(item)) {
    SkipChildren(item.Name);
    FinishElement(item, start, partialLoading);
    return true;
  }

  struct Open {
    TfrxXMLItem* item;
    int64_t start;
  };
  std::vector<Open> open{{&item, start}};
  while (!open.empty()) {
    TfrxXMLItem* parent = open.back().item;
    // Added before it is read, so that a syntax error leaves what was read in the tree.
    TfrxXMLItem* child = parent->Add();
    int64_t childStart = Position();
    ReadTag(child->Name, child->Text);
    switch (Classify(*child)) {
      case TTagKind::EndMarker: {
        std::string closing = std::move(child->Name);
        delete child;
        if (!closing.empty()) CheckClosingTag(closing, parent->Name);
        FinishElement(*parent, open.back().start, partialLoading);
        open.pop_back();
        break;
      }
      case TTagKind::Leaf:
        FinishElement(*child, childStart, partialLoading);
        break;
      case TTagKind::Open:
        if (staysInSource(*child)) {
          SkipChildren(child->Name);
          FinishElement(*child, childStart, partialLoading);
        } else {
          open.push_back({child, childStart});
        }
        break;
    }
  }
  return true;
}
