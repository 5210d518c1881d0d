// Fuzz target for the XML document reader. The first byte chooses partial loading (odd)
// or a full load; the rest is the document. A loaded document is also written back,
// which brings every subtree left in the source in again, and its attributes are read.
#include <cstddef>
#include <cstdint>

#include "report/frxXML.h"

namespace {

void ReadAttributes(const TfrxXMLItem& item) {
  for (const char* name : {"Name", "Text", "x", "l"}) {
    try {
      item.Prop(name);
    } catch (const TfrxXMLConvertError&) {
      // A bad &#...; reference is reported to the serializer; not a fault here.
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  bool partial = data[0] & 1;
  TMemoryStream source;
  source.WriteBuffer(data + 1, static_cast<int64_t>(size - 1));
  source.SetPosition(0);
  TfrxXMLDocument doc;
  try {
    doc.LoadFromStream(source, partial);
    TMemoryStream out;
    doc.SaveToStream(out);
    TfrxXMLItem* root = doc.Root();
    ReadAttributes(*root);
    for (int i = 0; i < root->Count() && i < 64; ++i) {
      doc.PageInItem(root->Items(i));
      ReadAttributes(*root->Items(i));
    }
  } catch (const TfrxInvalidXMLException&) {
  }
  return 0;
}
