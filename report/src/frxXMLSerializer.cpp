#include "report/frxXMLSerializer.h"

#include <memory>

#include "platform/CodePage.h"
#include "platform/Convert.h"
#include "report/frxRes.h"

namespace {

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }

bool IsTComponentName(const TfrxPropInfo* prop) {
  static const TfrxPropInfo* name = TComponent::StaticClassInfo().FindProperty("Name");
  return prop == name;
}

// A list's text as stored: the lines joined by CR LF, one trailing CR LF removed.
std::string WithoutTrailingLineBreak(std::string text) {
  if (text.size() >= 2 && text.compare(text.size() - 2, 2, "\r\n") == 0) text.resize(text.size() - 2);
  return text;
}
std::u16string WithoutTrailingLineBreak(std::u16string text) {
  if (text.size() >= 2 && text.compare(text.size() - 2, 2, u"\r\n") == 0) text.resize(text.size() - 2);
  return text;
}

// Pairs of hexadecimal digits up to the first character that is not one: what follows
// is absent (a truncated stream).
std::string FromHex(std::string_view hex) {
  std::string bytes;
  bytes.reserve(hex.size() / 2);
  for (size_t i = 0; i + 1 < hex.size(); i += 2) {
    int hi = HexDigitValue(hex[i]), lo = HexDigitValue(hex[i + 1]);
    if (hi < 0 || lo < 0) break;
    bytes += static_cast<char>(hi * 16 + lo);
  }
  return bytes;
}

// "<TfrxMasterData Name="MasterData1"> is skipped: a band belongs on a report page, not
// in TfrxReport" - the element as the template has it, so that its author finds it.
std::string MisplacedMessage(const TfrxXMLItem& item, const TfrxClassInfo& cls, const TfrxComponent& parent) {
  std::string element = "<" + item.Name;
  std::string name = item.Prop("Name");
  if (!name.empty()) element += " Name=\"" + name + "\"";
  std::string in = parent.ClassName();
  if (!parent.Name().empty()) in += " " + parent.Name();
  return element + "> is skipped: " + cls.Placement() + ", not in " + in;
}

std::string EnumText(const TfrxPropInfo& prop, int64_t ordinal) {
  std::string_view name = prop.Enum ? prop.Enum->NameOf(ordinal) : std::string_view();
  return name.empty() ? std::to_string(ordinal) : std::string(name);
}

}  // namespace

bool TfrxXMLSerializer::CaselessLess::operator()(const std::string& a, const std::string& b) const {
  size_t n = std::min(a.size(), b.size());
  for (size_t i = 0; i < n; ++i) {
    char x = LowerAscii(a[i]), y = LowerAscii(b[i]);
    if (x != y) return static_cast<unsigned char>(x) < static_cast<unsigned char>(y);
  }
  return a.size() < b.size();
}

TfrxComponent* TfrxXMLSerializer::RootReport() const {
  return RootOwner && RootOwner->IsReportObject() ? RootOwner : nullptr;
}

// ---------------------------------------------------------------------------------------
// Writing

std::string TfrxXMLSerializer::ReferenceText(const TfrxComponent* target) const {
  const TComponent* owner = target->Owner();
  const TfrxComponent* report = RootReport();
  if (!owner || owner == RootOwner || (report && owner == report->Owner())) return target->Name();
  // An object of a form or data module: the module's name in front.
  if (!owner->Name().empty()) return owner->Name() + "." + target->Name();
  return {};
}

std::string TfrxXMLSerializer::PropData(TPersistent& object, TPersistent* ancestor) {
  TfrxFiler filer(*this, ancestor);
  object.DefineProperties(filer);
  if (filer.Definitions().empty()) return {};
  TfrxPropWriter writer;
  for (const TfrxFiler::TDefinition& d : filer.Definitions()) {
    if (!d.HasData) continue;
    writer.WritePropName(d.Name);
    if (d.Binary) {
      TMemoryStream data;
      if (d.WriteBinary) d.WriteBinary(data);
      writer.WriteBinary(data.DataString());
    } else if (d.Write) {
      d.Write(writer);
    }
  }
  return writer.Bytes();
}

void TfrxXMLSerializer::WriteProperties(TPersistent& object, const std::string& prefix, TPersistent* ancestor,
                                        std::string& out, std::string& rawData) {
  auto attr = [&](const std::string& name, const std::string& value) {
    out += ' ';
    out += prefix;
    out += name;
    out += "=\"";
    out += value;
    out += '"';
  };
  for (const TfrxPropInfo* prop : object.ClassInfo().Properties()) {
    if (IsTComponentName(prop) || !prop->IsStored(object)) continue;
    const TfrxPropInfo& p = *prop;
    switch (p.Kind) {
      case TfrxPropKind::Integer:
      case TfrxPropKind::Char:
      case TfrxPropKind::WideChar:
      case TfrxPropKind::Enumeration:
      case TfrxPropKind::Set: {
        int64_t v = p.GetOrd(object);
        if (!WriteDefaults) {
          if (ancestor ? v == p.GetOrd(*ancestor) : (p.Default && v == *p.Default)) break;
        }
        attr(p.Name, p.Kind == TfrxPropKind::Enumeration ? EnumText(p, v) : std::to_string(v));
        break;
      }
      case TfrxPropKind::Float: {
        double v = p.GetFloat(object);
        if (!WriteDefaults && ancestor && std::abs(v - p.GetFloat(*ancestor)) < 0.000001) break;
        attr(p.Name, frxFloatToStr(v));
        break;
      }
      case TfrxPropKind::String:
      case TfrxPropKind::WideString: {
        std::string v = p.Kind == TfrxPropKind::String ? p.GetStr(object) : codepage::FromWide(p.GetWStr(object));
        if (v.empty()) break;
        if (!WriteDefaults && ancestor) {
          std::string a = p.Kind == TfrxPropKind::String ? p.GetStr(*ancestor) : codepage::FromWide(p.GetWStr(*ancestor));
          if (a == v) break;
        }
        attr(p.Name, EscapeXMLText(v));
        break;
      }
      case TfrxPropKind::Variant: {
        std::string v = VariantToXMLText(p.GetVar(object));
        if (v.empty()) break;
        if (!WriteDefaults && ancestor && v == VariantToXMLText(p.GetVar(*ancestor))) break;
        attr(p.Name, v);
        break;
      }
      case TfrxPropKind::Reference: {
        const TfrxComponent* target = p.GetRef(object);
        const TfrxComponent* other = ancestor ? p.GetRef(*ancestor) : nullptr;
        if (ancestor) {
          if (!target && !other) break;
          if (target && other && frxSameText(target->Name(), other->Name())) break;
          if (!target) {
            attr(p.Name, "nil");
            break;
          }
        }
        if (!target) break;
        std::string text = ReferenceText(target);
        if (!text.empty()) attr(p.Name, EscapeXMLText(text));
        break;
      }
      case TfrxPropKind::Strings: {
        std::string text = p.GetStr(object);
        if (ancestor && text == p.GetStr(*ancestor)) break;
        attr(p.Name + ".Text", EscapeXMLText(WithoutTrailingLineBreak(text)));
        break;
      }
      case TfrxPropKind::WideStrings: break;  // the memo text has its own attribute
      case TfrxPropKind::Object: {
        TPersistent* sub = p.GetObject(object);
        if (!sub) break;
        TPersistent* subAncestor = ancestor ? p.GetObject(*ancestor) : nullptr;
        WriteProperties(*sub, prefix + p.Name + ".", subAncestor, out, rawData);
        break;
      }
    }
  }

  if (auto* memo = dynamic_cast<TfrxComponent*>(&object); memo && memo->IsMemoView()) {
    std::u16string text = WithoutTrailingLineBreak(memo->MemoText());
    auto* ancestorMemo = dynamic_cast<TfrxComponent*>(ancestor);
    bool same = ancestorMemo && WithoutTrailingLineBreak(ancestorMemo->MemoText()) == text;
    if (!text.empty() && !same) attr("Text", EscapeXMLText(codepage::WideToUtf8(text)));
  }

  std::string data = PropData(object, ancestor);
  if (!data.empty()) {
    if (!ancestor || frxCRC32(data) != frxCRC32(PropData(*ancestor, nullptr))) {
      rawData += ' ';
      rawData += prefix;
      rawData += "PropData=\"";
      rawData += BytesToHex(data);
      rawData += '"';
    }
  }
}

std::string TfrxXMLSerializer::PropertiesToAttributes(TPersistent& object, const std::string& prefix,
                                                      TPersistent* ancestor) {
  auto* component = dynamic_cast<TfrxComponent*>(&object);
  if (!RootOwner && component) RootOwner = component;
  if (component) {
    component->SetWriting(true);
    if (!ancestor && AncestorLookup) ancestor = AncestorLookup(component->Name());
  }
  auto* ancestorComponent = dynamic_cast<TfrxComponent*>(ancestor);
  if (ancestorComponent) ancestorComponent->SetWriting(true);
  std::string out, rawData;
  try {
    WriteProperties(object, prefix, ancestor, out, rawData);
  } catch (...) {
    if (component) component->SetWriting(false);
    if (ancestorComponent) ancestorComponent->SetWriting(false);
    throw;
  }
  if (component) component->SetWriting(false);
  if (ancestorComponent) ancestorComponent->SetWriting(false);
  return out + rawData;
}

void TfrxXMLSerializer::WriteElement(TfrxComponent* object, TfrxXMLItem& item, bool isRoot, bool saveChildren,
                                     bool saveAsClassName) {
  item.Name = object->IsAncestor() && !saveAsClassName ? "inherited" : object->ClassName();
  std::string attributes = PropertiesToAttributes(*object);
  item.Text = isRoot ? attributes : "Name=\"" + object->Name() + "\"" + attributes;
  if (!saveChildren) return;
  for (TfrxComponent* child : object->Objects())
    WriteElement(child, *item.Add(), false, saveChildren, saveAsClassName);
}

void TfrxXMLSerializer::SaveRoot(TfrxComponent* object, bool saveChildren, bool saveAsClassName, TfrxXMLItem* item) {
  if (!RootOwner) RootOwner = object;
  if (item) {
    WriteElement(object, *item, true, saveChildren, saveAsClassName);
    return;
  }
  TfrxXMLDocument document;
  document.Indented = true;
  WriteElement(object, *document.Root(), true, saveChildren, saveAsClassName);
  if (stream_) document.SaveToStream(*stream_);
}

std::string TfrxXMLSerializer::ObjectToText(TfrxComponent* object) {
  return object->ClassName() + PropertiesToAttributes(*object);
}

void TfrxXMLSerializer::WriteBareElement(TfrxComponent* object) {
  if (!stream_) return;
  stream_->WriteString("<" + ObjectToText(object) + "/>");
}

// ---------------------------------------------------------------------------------------
// Reading attributes

std::string TfrxXMLSerializer::DecodeString(const std::string& value) const {
  return LegacyText ? value : codepage::Utf8ToAnsi(value);
}

void TfrxXMLSerializer::SetValue(TPersistent& object, const TfrxPropInfo& p, const std::string& value) {
  switch (p.Kind) {
    case TfrxPropKind::Integer:
    case TfrxPropKind::Char:
    case TfrxPropKind::WideChar: p.SetOrd(object, StrToInt(value)); return;
    case TfrxPropKind::Enumeration: {
      // A number is an ordinal, anything else a value name; neither, or an ordinal
      // outside the type, never reaches the property.
      int64_t ordinal;
      if (std::optional<int> n = TryStrToInt(value))
        ordinal = *n;
      else
        ordinal = p.Enum ? p.Enum->IndexOf(value) : -1;
      if (!p.Enum || ordinal < 0 || ordinal >= static_cast<int64_t>(p.Enum->Values.size()))
        throw EConvertError("Invalid property value: " + p.Name + "=\"" + value + "\"");
      p.SetOrd(object, ordinal);
      return;
    }
    case TfrxPropKind::Set: {
      int64_t bits = StrToInt(value);
      int64_t mask = p.Enum ? (int64_t{1} << p.Enum->Values.size()) - 1 : 0xFFFFFFFF;
      p.SetOrd(object, bits & mask);
      return;
    }
    case TfrxPropKind::Float: p.SetFloat(object, frxStrToFloat(value)); return;
    case TfrxPropKind::String: p.SetStr(object, DecodeString(value)); return;
    case TfrxPropKind::WideString:
      p.SetWStr(object, LegacyText ? codepage::ToWide(value) : codepage::Utf8ToWide(value));
      return;
    case TfrxPropKind::Variant: p.SetVar(object, Variant(DecodeString(value))); return;
    case TfrxPropKind::Reference: fixups_.push_back({&object, &p, value}); return;
    case TfrxPropKind::Strings:
    case TfrxPropKind::WideStrings:
    case TfrxPropKind::Object: return;  // reached through their paths
  }
}

void TfrxXMLSerializer::ApplyAttribute(TPersistent& root, std::string_view name, std::string_view rawValue) {
  auto* component = dynamic_cast<TfrxComponent*>(&root);
  // The compact single-letter attributes of output copies.
  if (name.size() == 1 && std::string_view("hltwux").find(name[0]) != std::string_view::npos) {
    if (!component) return;  // no target: applied nowhere
    std::string value = UnescapeXMLText(rawValue);
    switch (name[0]) {
      case 'l': component->SetLeft(frxStrToFloat(value)); return;
      case 't': component->SetTop(frxStrToFloat(value)); return;
      case 'w': component->SetWidth(frxStrToFloat(value)); return;
      case 'h': component->SetHeight(frxStrToFloat(value)); return;
      case 'u':
        if (component->IsMemoView()) component->SetMemoText(codepage::Utf8ToWide(value));
        return;
      case 'x':
        if (component->IsMemoView()) component->SetMemoText(codepage::ToWide(value));
        return;
    }
  }

  // Resolve the dotted path part by part.
  TPersistent* object = &root;
  std::string_view rest = name;
  for (;;) {
    size_t dot = rest.find('.');
    if (dot == std::string_view::npos) break;
    const TfrxPropInfo* part = object->ClassInfo().FindProperty(rest.substr(0, dot));
    if (!part) break;
    std::string_view tail = rest.substr(dot + 1);
    if ((part->Kind == TfrxPropKind::Strings || part->Kind == TfrxPropKind::WideStrings) && frxSameText(tail, "Text")) {
      if (part->SetStr) {
        std::string value = UnescapeXMLText(rawValue);
        part->SetStr(*object, part->Kind == TfrxPropKind::Strings ? DecodeString(value) : value);
      }
      return;
    }
    if (part->Kind != TfrxPropKind::Object) break;
    TPersistent* sub = part->GetObject(*object);
    if (!sub) break;
    object = sub;
    rest = tail;
  }

  if (frxSameText(rest, "PropData")) {
    ReadPropData(*object, rawValue);
    return;
  }
  auto* target = dynamic_cast<TfrxComponent*>(object);
  if (target && frxSameText(rest, "Text") && target->IsMemoView()) {
    target->SetMemoText(codepage::Utf8ToWide(UnescapeXMLText(rawValue)));
    return;
  }
  if (target && target->IsReportObject() && frxSameText(rest, "Name")) return;

  const TfrxPropInfo* prop = object->ClassInfo().FindProperty(rest);
  if (!prop || prop->IsReadOnly() || prop->Kind == TfrxPropKind::Object) return;
  SetValue(*object, *prop, UnescapeXMLText(rawValue));
}

void TfrxXMLSerializer::AttributesToProperties(std::string_view text, TPersistent& object) {
  size_t pos = 0;
  const size_t end = text.size();
  while (pos < end) {
    while (pos < end && text[pos] == ' ') ++pos;
    size_t eq = text.find('=', pos);
    if (eq == std::string_view::npos) return;
    std::string_view name = text.substr(pos, eq - pos);
    while (!name.empty() && name.back() == ' ') name.remove_suffix(1);
    if (name.empty()) return;
    size_t open = text.find('"', eq + 1);
    if (open == std::string_view::npos) return;
    size_t close = text.find('"', open + 1);
    std::string_view value = text.substr(open + 1, (close == std::string_view::npos ? end : close) - open - 1);
    pos = close == std::string_view::npos ? end : close + 1;
    try {
      ApplyAttribute(object, name, value);
    } catch (const std::bad_alloc&) {
      throw;
    } catch (const std::exception& e) {
      AddError(e.what());
    }
  }
}

void TfrxXMLSerializer::ReadPropData(TPersistent& object, std::string_view hex) {
  std::string bytes = FromHex(hex);
  if (bytes.empty()) return;
  TfrxFiler filer(*this, nullptr);
  object.DefineProperties(filer);
  TfrxPropReader reader(bytes);
  try {
    while (!reader.AtEnd()) {
      std::string name = reader.ReadPropName();
      const TfrxFiler::TDefinition* def = nullptr;
      for (const auto& d : filer.Definitions())
        if (frxSameText(d.Name, name)) def = &d;
      if (!def) {
        reader.SkipValue();  // a record this class does not keep
      } else if (def->Binary) {
        std::string data = reader.ReadBinary();
        TMemoryStream stream;
        stream.WriteString(data);
        stream.SetPosition(0);
        if (def->ReadBinary) def->ReadBinary(stream);
      } else if (def->Read) {
        def->Read(reader);
      } else {
        reader.SkipValue();
      }
    }
  } catch (const EfrxPropDataError&) {
    // A stream that cannot be read ends this attribute; what was read stays.
  }
}

// ---------------------------------------------------------------------------------------
// Reading the tree

void TfrxXMLSerializer::ReadElement(TfrxXMLItem& item, TfrxComponent* root, TfrxComponent* parent, int depth) {
  if (depth > TfrxSerializerLimits::kMaxDepth) {
    AddError("Objects nested deeper than " + std::to_string(TfrxSerializerLimits::kMaxDepth) +
             " levels are skipped");
    return;
  }
  const bool inherited = frxSameText(item.Name, "inherited");
  const TfrxClassInfo* cls = inherited ? nullptr : frxFindClass(item.Name);
  if (!inherited && !cls) {
    AddError(frxResources().Get("xrCantFindClass") + " " + item.Name);
    return;
  }
  TfrxComponent* target = nullptr;
  if (!parent) {
    target = root;
  } else {
    std::string name = item.Prop("Name");
    if (!name.empty() && RootOwner) target = dynamic_cast<TfrxComponent*>(RootOwner->FindComponent(name));
    if (!target) {
      if (inherited) return;
      if (!cls->Factory()) {
        AddError(frxResources().Get("xrCantFindClass") + " " + item.Name);
        return;
      }
      if (!cls->AcceptsParent(*parent)) {
        AddError(MisplacedMessage(item, *cls, *parent));
        return;
      }
      target = cls->Factory()(parent);
      if (!target) {
        AddError(frxResources().Get("xrCantFindClass") + " " + item.Name);
        return;
      }
      // A class made to stand at the root (its factory ignores the owner) would be lost
      // outside the tree when a template nests it: the parent takes it and frees it.
      if (!target->Parent()) target->SetParent(parent);
    }
  }
  target->SetLoading(true);
  loaded_.push_back(target);
  AttributesToProperties(item.Text, *target);
  for (int i = 0; i < item.Count(); ++i) ReadElement(*item.Items(i), root, target, depth + 1);
}

void TfrxXMLSerializer::LoadRoot(TfrxComponent* object, TfrxXMLItem* item) {
  if (!RootOwner) RootOwner = object;
  std::unique_ptr<TfrxXMLDocument> document;
  if (!item) {
    document = std::make_unique<TfrxXMLDocument>();
    if (!stream_) return;
    document->LoadFromStream(*stream_);
    LegacyText = document->LegacyText;
    item = document->Root();
  }
  loaded_.clear();
  ReadElement(*item, object, nullptr, 0);
  ResolveReferences();
  std::vector<TfrxComponent*> loaded;
  loaded.swap(loaded_);
  for (TfrxComponent* c : loaded) {
    c->SetLoading(false);
    if (!c->IsReportObject()) c->Loaded();
  }
}

// ---------------------------------------------------------------------------------------
// References

TfrxComponent* TfrxXMLSerializer::FindReference(const std::string& name) const {
  if (name.empty()) return nullptr;
  if (RootOwner)
    if (TfrxComponent* found = RootOwner->FindObject(name)) return found;
  size_t dot = name.find('.');
  if (dot != std::string::npos) {
    if (!GlobalLookup) return nullptr;
    TComponent* module = GlobalLookup(std::string_view(name).substr(0, dot));
    if (!module) return nullptr;
    std::string rest = name.substr(dot + 1);
    if (size_t second = rest.find('.'); second != std::string::npos) {
      module = module->FindComponent(rest.substr(0, second));
      if (!module) return nullptr;
      rest = rest.substr(second + 1);
    }
    return dynamic_cast<TfrxComponent*>(module->FindComponent(rest));
  }
  if (!RootOwner) return nullptr;
  if (auto* found = dynamic_cast<TfrxComponent*>(RootOwner->FindComponent(name))) return found;
  if (RootReport() && RootOwner->Owner())
    return dynamic_cast<TfrxComponent*>(RootOwner->Owner()->FindComponent(name));
  return nullptr;
}

void TfrxXMLSerializer::ResolveReferences() {
  std::vector<TfrxFixupItem> pending;
  pending.swap(fixups_);
  for (const TfrxFixupItem& f : pending) {
    TfrxComponent* found = nullptr;
    try {
      found = FindReference(f.Value);
    } catch (const std::bad_alloc&) {
      throw;
    } catch (const std::exception&) {
      throw EComponentError("Missing " + f.Value);
    }
    if (!found || (!f.Prop->ClassName.empty() && !found->InheritsFrom(f.Prop->ClassName))) continue;
    // A reference the object refuses (a circular child band) is an error of this
    // template like any other value; the other references are still resolved.
    try {
      f.Prop->SetRef(*f.Object, found);
    } catch (const std::bad_alloc&) {
      throw;
    } catch (const std::exception& e) {
      AddError(e.what());
    }
  }
}

void TfrxXMLSerializer::CopyPendingReferences(std::vector<TfrxFixupItem>& list) const {
  list.insert(list.end(), fixups_.begin(), fixups_.end());
}

// ---------------------------------------------------------------------------------------
// Objects from text

TfrxComponent* TfrxXMLSerializer::LoadObjectFromText(std::string_view text, TfrxComponent* owner,
                                                     bool skipReferences) {
  while (!text.empty() && static_cast<unsigned char>(text.front()) <= ' ') text.remove_prefix(1);
  while (!text.empty() && static_cast<unsigned char>(text.back()) <= ' ') text.remove_suffix(1);
  if (text.empty()) return nullptr;
  size_t space = text.find(' ');
  std::string className(text.substr(0, space));
  const TfrxClassInfo* cls = frxFindClass(className);
  if (!cls || !cls->Factory()) throw EfrxClassNotFound(className);
  TfrxComponent* object = cls->Factory()(owner);
  RootOwner = owner;
  object->SetLoading(true);
  if (space != std::string_view::npos) AttributesToProperties(text.substr(space + 1), *object);
  if (skipReferences)
    fixups_.clear();
  else
    ResolveReferences();
  object->SetLoading(false);
  if (!object->IsReportObject()) object->Loaded();
  return object;
}

void TfrxXMLSerializer::LoadPersistentFromText(TfrxComponent* owner, TPersistent& persistent, std::string_view text) {
  if (!RootOwner) RootOwner = owner;
  AttributesToProperties(text, persistent);
  ResolveReferences();
}
