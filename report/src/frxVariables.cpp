#include "report/frxVariables.h"

#include <algorithm>

#include "platform/CodePage.h"
#include "platform/Stream.h"
#include "report/frxXML.h"

const TfrxClassInfo& TfrxVariable::StaticClassInfo() {
  static const TfrxClassInfo info("TfrxVariable", nullptr, nullptr, [](TfrxClassInfo& c) {
    TfrxPublish<TfrxVariable> p(c);
    p.String("Name", &TfrxVariable::Name, &TfrxVariable::SetName);
    p.VariantValue("Value", &TfrxVariable::Value, &TfrxVariable::SetValue);
  });
  return info;
}

TfrxVariable& TfrxVariables::Add() { return *items_.emplace_back(std::make_unique<TfrxVariable>()); }

TfrxVariable& TfrxVariables::Insert(int index) {
  index = std::clamp(index, 0, Count());
  return **items_.insert(items_.begin() + index, std::make_unique<TfrxVariable>());
}

void TfrxVariables::Delete(int index) {
  if (index >= 0 && index < Count()) items_.erase(items_.begin() + index);
}

void TfrxVariables::Assign(const TfrxVariables& source) {
  if (&source == this) return;
  items_.clear();
  for (const auto& v : source.items_) items_.push_back(std::make_unique<TfrxVariable>(v->Name(), v->Value()));
}

int TfrxVariables::IndexOf(std::string_view name) const {
  for (int i = 0; i < Count(); ++i)
    if (frxSameText(items_[static_cast<size_t>(i)]->Name(), name)) return i;
  return -1;
}

Variant TfrxVariables::Get(std::string_view name) const {
  int i = IndexOf(name);
  return i < 0 ? Variant::Null() : Items(i).Value();
}

void TfrxVariables::Set(std::string_view name, const Variant& value) {
  int i = IndexOf(name);
  TfrxVariable& v = i < 0 ? Add() : Items(i);
  if (i < 0) v.SetName(std::string(name));
  v.SetValue(value);
}

std::vector<std::string> TfrxVariables::GetCategoriesList() const {
  std::vector<std::string> list;
  for (const auto& v : items_)
    if (v->IsCategory()) list.push_back(v->Name().substr(1));
  return list;
}

int TfrxVariables::CategoryIndex(std::string_view category) const {
  if (category.empty()) return -1;
  for (int i = 0; i < Count(); ++i) {
    const TfrxVariable& v = Items(i);
    if (v.IsCategory() && frxSameText(std::string_view(v.Name()).substr(1), category)) return i;
  }
  return -1;
}

int TfrxVariables::BlockEnd(int header) const {
  int i = header + 1;
  while (i < Count() && !Items(i).IsCategory()) ++i;
  return i;
}

std::vector<std::string> TfrxVariables::GetVariablesList(std::string_view category) const {
  std::vector<std::string> list;
  int header = CategoryIndex(category);
  if (!category.empty() && header < 0) return list;
  for (int i = header + 1; i < BlockEnd(header); ++i) list.push_back(Items(i).Name());
  return list;
}

void TfrxVariables::DeleteCategory(std::string_view category) {
  int header = CategoryIndex(category);
  if (header < 0) return;
  items_.erase(items_.begin() + header, items_.begin() + BlockEnd(header));
}

void TfrxVariables::DeleteVariable(std::string_view name) { Delete(IndexOf(name)); }

void TfrxVariables::AddVariable(std::string_view category, std::string_view name, const Variant& value) {
  if (int i = IndexOf(name); i >= 0) {
    Items(i).SetValue(value);
    return;
  }
  int header = CategoryIndex(category);
  if (!category.empty() && header < 0) {
    Add().SetName(" " + std::string(category));
    header = Count() - 1;
  }
  TfrxVariable& v = Insert(BlockEnd(header));
  v.SetName(std::string(name));
  v.SetValue(value);
}

// The two attributes as the template serializer writes a string and a variant property:
// 8-bit text, escaped, not written when empty; read back UTF-8 decoded only from a
// document whose declaration says its strings are UTF-8 (LegacyText off).
namespace {

void AppendAttribute(std::string& text, std::string_view name, const std::string& value8) {
  if (value8.empty()) return;
  text += ' ';
  text += name;
  text += "=\"";
  text += EscapeXMLText(value8);
  text += '"';
}

std::string ReadAttribute(const TfrxXMLItem& item, std::string_view name, bool legacy) {
  std::string value = item.Prop(name);
  return legacy ? value : codepage::Utf8ToAnsi(value);
}

std::string VariantText(const Variant& v) { return UnescapeXMLText(VariantToXMLText(v)); }

}  // namespace

void TfrxVariables::SaveToStream(TStream& stream) const {
  TfrxXMLDocument doc;
  doc.Indented = true;
  doc.Root()->Name = "variables";
  for (const auto& v : items_) {
    TfrxXMLItem* item = doc.Root()->Add();
    item->Name = "item";
    AppendAttribute(item->Text, "Name", v->Name());
    AppendAttribute(item->Text, "Value", VariantText(v->Value()));
  }
  doc.SaveToStream(stream);
}

void TfrxVariables::LoadFromStream(TStream& stream) {
  TfrxXMLDocument doc;
  doc.LoadFromStream(stream);
  std::vector<std::unique_ptr<TfrxVariable>> loaded;
  for (int i = 0; i < doc.Root()->Count(); ++i) {
    const TfrxXMLItem& item = *doc.Root()->Items(i);
    if (!frxSameText(item.Name, "item")) continue;
    loaded.push_back(std::make_unique<TfrxVariable>(ReadAttribute(item, "Name", doc.LegacyText),
                                                    Variant(ReadAttribute(item, "Value", doc.LegacyText))));
  }
  items_ = std::move(loaded);
}

void TfrxVariables::LoadFromFile(const std::string& path) {
  TFileStream f(path, TFileMode::OpenRead, TFileShare::DenyWrite);
  LoadFromStream(f);
}

void TfrxVariables::SaveToFile(const std::string& path) const {
  TFileStream f(path, TFileMode::Create);
  SaveToStream(f);
}

TfrxVariables& frxGlobalVariables() {
  static TfrxVariables variables;
  return variables;
}
