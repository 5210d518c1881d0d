// Named styles: the items, the report's collection with its files and ApplyStyles, and
// the style sheet.
#include "platform/CodePage.h"
#include "platform/Stream.h"
#include "report/frxClassStyles.h"
#include "report/frxXMLSerializer.h"

// ---------------------------------------------------------------------------------------
// TfrxStyleItem

TfrxStyleItem::TfrxStyleItem(TfrxStyles& owner) : owner_(owner), fontProps_(font_, nullptr) {}

const TfrxClassInfo& TfrxStyleItem::StaticClassInfo() {
  static const TfrxClassInfo info("TfrxStyleItem", nullptr, nullptr, [](TfrxClassInfo& c) {
    using I = TfrxStyleItem;
    TfrxPublish<I> p(c);
    p.String("Name", &I::Name, &I::SetName);
    p.Integer("Color", &I::Color, &I::SetColor);
    p.Object("Font", "TFont", &I::FontProps);
    p.Object("Frame", "TfrxFrame", &I::FramePtr);
  });
  return info;
}
TFRX_REGISTER_CLASS(TfrxStyleItem);

void TfrxStyleItem::SetName(const std::string& name) {
  TfrxStyleItem* other = owner_.Find(name);
  if (other && other != this) throw EComponentError("Duplicate name");
  name_ = name;
}

void TfrxStyleItem::Assign(const TfrxStyleItem& source) {
  color_ = source.color_;
  font_ = source.font_;
  frame_.Assign(source.frame_);
}

// ---------------------------------------------------------------------------------------
// TfrxStyles

TfrxStyleItem& TfrxStyles::Add() {
  int n = 1;
  while (Find("Style" + std::to_string(n))) ++n;
  auto& item = *items_.emplace_back(std::make_unique<TfrxStyleItem>(*this));
  item.SetName("Style" + std::to_string(n));
  return item;
}

void TfrxStyles::Delete(int index) {
  if (index >= 0 && index < Count()) items_.erase(items_.begin() + index);
}

TfrxStyleItem* TfrxStyles::Find(std::string_view name) const {
  for (const auto& item : items_)
    if (frxSameText(item->Name(), name)) return item.get();
  return nullptr;
}

std::vector<std::string> TfrxStyles::GetList() const {
  std::vector<std::string> list;
  for (const auto& item : items_) list.push_back(item->Name());
  return list;
}

void TfrxStyles::ApplyStyles() const {
  if (!report_) return;
  for (TfrxComponent* c : report_->AllObjects()) {
    if (!c->IsMemoView()) continue;
    // Memo views publish their style name; setting it again copies the style.
    const TfrxPropInfo* style = c->ClassInfo().FindProperty("Style");
    if (!style || style->Kind != TfrxPropKind::String || !style->SetStr) continue;
    std::string name = style->GetStr(*c);
    style->SetStr(*c, Find(name) ? name : std::string());
  }
}

std::vector<std::string> TfrxStyles::LoadFromXMLItem(const TfrxXMLItem& element, bool legacyText) {
  Clear();
  name_.clear();
  if (!frxSameText(element.Name, "style")) return {};
  TfrxXMLSerializer serializer;
  serializer.LegacyText = legacyText;
  name_ = element.Prop("Name");
  if (!legacyText) name_ = codepage::Utf8ToAnsi(name_);
  for (int i = 0; i < element.Count(); ++i) {
    const TfrxXMLItem& child = *element.Items(i);
    if (frxSameText(child.Name, "item")) serializer.LoadPersistentFromText(report_, Add(), child.Text);
  }
  ApplyStyles();
  return serializer.ErrorTexts();
}

std::vector<std::string> TfrxStyles::LoadFromStream(TStream& stream) {
  TfrxXMLDocument document;
  document.LoadFromStream(stream);
  return LoadFromXMLItem(*document.Root(), document.LegacyText);
}

std::vector<std::string> TfrxStyles::LoadFromFile(const std::string& fileName) {
  TFileStream file(fileName, TFileMode::OpenRead, TFileShare::DenyWrite);
  return LoadFromStream(file);
}

void TfrxStyles::SaveToXMLItem(TfrxXMLItem& element) const {
  element.Name = "style";
  element.Text.clear();
  element.Clear();
  element.SetProp("Name", name_);
  TfrxXMLSerializer serializer;
  for (const auto& item : items_) {
    TfrxXMLItem* child = element.Add();
    child->Name = "item";
    child->Text = serializer.PropertiesToAttributes(*item);
  }
}

void TfrxStyles::SaveToStream(TStream& stream) const {
  TfrxXMLDocument document;
  document.Indented = true;
  SaveToXMLItem(*document.Root());
  document.SaveToStream(stream);
}

void TfrxStyles::SaveToFile(const std::string& fileName) const {
  // Written to memory first, so that a failing save leaves the old file whole.
  TMemoryStream data;
  SaveToStream(data);
  data.SaveToFile(fileName);
}

// ---------------------------------------------------------------------------------------
// TfrxStyleSheet

void TfrxStyleSheet::Delete(int index) {
  if (index >= 0 && index < Count()) items_.erase(items_.begin() + index);
}

TfrxStyles& TfrxStyleSheet::Add() { return *items_.emplace_back(std::make_unique<TfrxStyles>()); }

TfrxStyles* TfrxStyleSheet::Find(std::string_view name) const {
  for (const auto& styles : items_)
    if (frxSameText(styles->Name(), name)) return styles.get();
  return nullptr;
}

std::vector<std::string> TfrxStyleSheet::GetList() const {
  std::vector<std::string> list;
  for (const auto& styles : items_) list.push_back(styles->Name());
  return list;
}

std::vector<std::string> TfrxStyleSheet::LoadFromStream(TStream& stream) {
  Clear();
  TfrxXMLDocument document;
  document.LoadFromStream(stream);
  const TfrxXMLItem& root = *document.Root();
  if (!frxSameText(root.Name, "stylesheet")) return {};
  std::vector<std::string> errors;
  for (int i = 0; i < root.Count(); ++i) {
    const TfrxXMLItem& child = *root.Items(i);
    if (!frxSameText(child.Name, "style")) continue;
    std::vector<std::string> more = Add().LoadFromXMLItem(child, document.LegacyText);
    errors.insert(errors.end(), more.begin(), more.end());
  }
  return errors;
}

std::vector<std::string> TfrxStyleSheet::LoadFromFile(const std::string& fileName) {
  TFileStream file(fileName, TFileMode::OpenRead, TFileShare::DenyWrite);
  return LoadFromStream(file);
}

void TfrxStyleSheet::SaveToStream(TStream& stream) const {
  TfrxXMLDocument document;
  document.Indented = true;
  document.Root()->Name = "stylesheet";
  for (const auto& styles : items_) styles->SaveToXMLItem(*document.Root()->Add());
  document.SaveToStream(stream);
}

void TfrxStyleSheet::SaveToFile(const std::string& fileName) const {
  TMemoryStream data;
  SaveToStream(data);
  data.SaveToFile(fileName);
}
