// The outline of the prepared pages: "item" elements under the tree's "outline" element,
// each with text, page (0-based) and top.

#include <cmath>

#include "platform/Convert.h"
#include "prepared/frxPreviewPages.h"

namespace {

int IntProp(const TfrxXMLItem& item, std::string_view name) {
  return TryStrToInt(item.Prop(name)).value_or(0);
}

// Adds `delta` pages and `shift` pixels to an item and to everything below it.
void Shift(TfrxXMLItem& item, int shift) {
  item.SetProp("page", std::to_string(IntProp(item, "page") + 1));
  item.SetProp("top", std::to_string(IntProp(item, "top") + shift));
  for (int i = 0; i < item.Count(); ++i) Shift(*item.Items(i), shift);
}

}  // namespace

TfrxXMLItem* TfrxOutline::CurrentItem() const {
  return current_ ? current_ : pages_.Root().FindItem("outline");
}

int TfrxOutline::Count() const { return CurrentItem()->Count(); }

void TfrxOutline::AddItem(const std::string& text, int top) {
  TfrxXMLItem* item = CurrentItem()->Add();
  item->Name = "item";
  item->SetProp("text", text);
  item->SetProp("page", std::to_string(pages_.CurrentPage()));
  item->SetProp("top", std::to_string(top));
  current_ = item;
}

void TfrxOutline::AddItem(const std::string& text) {
  double y = pages_.Engine() ? pages_.Engine()->CurY() : 0;
  AddItem(text, static_cast<int>(std::lround(y)));
}

void TfrxOutline::LevelInto(int index) {
  TfrxXMLItem* current = CurrentItem();
  if (index >= 0 && index < current->Count()) current_ = current->Items(index);
}

void TfrxOutline::LevelRoot() { current_ = nullptr; }

void TfrxOutline::LevelUp() {
  TfrxXMLItem* current = CurrentItem();
  TfrxXMLItem* root = pages_.Root().FindItem("outline");
  if (current != root && current->Parent()) current_ = current->Parent() == root ? nullptr : current->Parent();
}

TfrxCustomOutline::TItem TfrxOutline::ItemAt(int index) const {
  TItem result;
  TfrxXMLItem* current = CurrentItem();
  if (index < 0 || index >= current->Count()) return result;
  TfrxXMLItem* item = current->Items(index);
  result.Text = item->Prop("text");
  result.Page = IntProp(*item, "page");
  result.Top = IntProp(*item, "top");
  return result;
}

void TfrxOutline::ShiftFrom(TfrxXMLItem* item, int newTop) {
  if (!item || !item->Parent()) return;
  TfrxXMLItem* parent = item->Parent();
  int next = parent->IndexOf(item) + 1;
  if (next <= 0 || next >= parent->Count()) return;
  const int shift = newTop - IntProp(*parent->Items(next), "top");
  for (int i = next; i < parent->Count(); ++i) Shift(*parent->Items(i), shift);
}

TfrxXMLItem* TfrxOutline::LastItem() const {
  TfrxXMLItem* current = CurrentItem();
  return current->Count() > 0 ? current->Items(current->Count() - 1) : nullptr;
}
