// Writing the declaration and elements, two spaces per level with CR LF or all on one line.
#include "report/frxXML.h"

TfrxXMLWriter::TfrxXMLWriter(TStream& stream, bool indented, TfrxXMLDocument* document)
    : stream_(stream), indented_(indented), document_(document) {
  out_.reserve(2 * kChunkSize);
}

// Output not handed out by Flush is dropped: a write error must reach the caller, which a
// destructor cannot do.
TfrxXMLWriter::~TfrxXMLWriter() = default;

void TfrxXMLWriter::Flush() {
  if (out_.empty()) return;
  stream_.WriteBuffer(out_.data(), static_cast<int64_t>(out_.size()));
  out_.clear();
}

void TfrxXMLWriter::Indent(int level) {
  if (indented_) out_.append(2 * static_cast<size_t>(level), ' ');
}

void TfrxXMLWriter::EndLine() {
  if (indented_) out_ += "\r\n";
  MaybeFlush();
}

void TfrxXMLWriter::WriteHeader() {
  out_ += "<?xml version=\"1.0\" encoding=\"utf-8\"?>";
  EndLine();
}

void TfrxXMLWriter::WriteStartTag(const TfrxXMLItem& item, int level, bool hasChildren) {
  Indent(level);
  out_ += '<';
  out_ += item.Name;
  if (!item.Text.empty() || item.Pageable) {
    if (item.Text.empty() || item.Text.front() != ' ') out_ += ' ';
    out_ += item.Text;
    if (item.Pageable) {
      if (!item.Text.empty() && item.Text.back() != ' ') out_ += ' ';
      out_ += "ld=\"0\"";
    }
  }
  out_ += hasChildren ? ">" : "/>";
  EndLine();
}

void TfrxXMLWriter::WriteEndTag(const TfrxXMLItem& item, int level) {
  Indent(level);
  out_ += "</";
  out_ += item.Name;
  out_ += '>';
  EndLine();
}

// Depth first without recursion. A paged-out item is brought in from the paging store for
// as long as its subtree is being written, then cleared again.
void TfrxXMLWriter::WriteItem(TfrxXMLItem& item, int level) {
  struct Open {
    TfrxXMLItem* item;
    int level;
    int next;
    bool pageOutAfter;
  };
  std::vector<Open> open;
  auto start = [&](TfrxXMLItem* element, int elementLevel) {
    bool broughtIn = false;
    if (element->Pageable && !element->Resident && document_) {
      document_->PageInItem(element);
      broughtIn = element->Resident;
    }
    bool hasChildren = element->Count() > 0;
    WriteStartTag(*element, elementLevel, hasChildren);
    if (hasChildren) open.push_back({element, elementLevel, 0, broughtIn});
    else if (broughtIn) element->Clear();
  };

  start(&item, level);
  while (!open.empty()) {
    Open& top = open.back();
    if (top.next < top.item->Count()) {
      TfrxXMLItem* child = top.item->Items(top.next++);
      start(child, top.level + 1);  // may grow `open`; `top` is not used after this
    } else {
      WriteEndTag(*top.item, top.level);
      if (top.pageOutAfter) top.item->Clear();
      open.pop_back();
    }
  }
}
