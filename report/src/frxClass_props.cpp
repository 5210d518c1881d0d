#include <langinfo.h>
#include <locale.h>

#include <algorithm>
#include <atomic>
#include <charconv>
#include <cmath>
#include <cstdio>
#include <map>
#include <mutex>
#include <stdexcept>

#include "report/frxClassComponent.h"
#include "report/frxClassProps.h"

#include "frxClass_standard.h"

// ---------------------------------------------------------------------------------------
// Enumerations

static char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }

bool frxSameText(std::string_view a, std::string_view b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  return true;
}

std::string_view TfrxEnumType::NameOf(int64_t ordinal) const {
  if (ordinal < 0 || ordinal >= static_cast<int64_t>(Values.size())) return {};
  return Values[static_cast<size_t>(ordinal)];
}

int TfrxEnumType::IndexOf(std::string_view name) const {
  for (size_t i = 0; i < Values.size(); ++i)
    if (frxSameText(Values[i], name)) return static_cast<int>(i);
  return -1;
}

bool TfrxEnumType::IsBoolean() const { return this == &frxBooleanType(); }

const TfrxEnumType& frxBooleanType() {
  static const TfrxEnumType type{"Boolean", {"False", "True"}};
  return type;
}

// ---------------------------------------------------------------------------------------
// Property declarations

bool TfrxPropInfo::IsOrdinal() const {
  return Kind == TfrxPropKind::Integer || Kind == TfrxPropKind::Char || Kind == TfrxPropKind::WideChar ||
         Kind == TfrxPropKind::Enumeration || Kind == TfrxPropKind::Set;
}

bool TfrxPropInfo::IsStored(const TPersistent& object) const {
  if (!StoredFlag) return false;
  if (StoredFn && !StoredFn(object)) return false;
  if (Kind == TfrxPropKind::Float && FloatDefault) return GetFloat(object) != *FloatDefault;
  return true;
}

bool TfrxPropInfo::IsReadOnly() const {
  switch (Kind) {
    case TfrxPropKind::Integer:
    case TfrxPropKind::Char:
    case TfrxPropKind::WideChar:
    case TfrxPropKind::Enumeration:
    case TfrxPropKind::Set: return !SetOrd;
    case TfrxPropKind::Float: return !SetFloat;
    case TfrxPropKind::String:
    case TfrxPropKind::Strings:
    case TfrxPropKind::WideStrings: return !SetStr;
    case TfrxPropKind::WideString: return !SetWStr;
    case TfrxPropKind::Variant: return !SetVar;
    case TfrxPropKind::Reference: return !SetRef;
    case TfrxPropKind::Object: return false;
  }
  return true;
}

bool TfrxPropInfo::IsDefaultValue(const TPersistent& object) const {
  if (IsOrdinal()) return Default && GetOrd(object) == *Default;
  if (Kind == TfrxPropKind::Float) return FloatDefault && GetFloat(object) == *FloatDefault;
  return false;
}

const TPersistent* TfrxPropInfo::SubObject(const TPersistent& object) const {
  // Reaching a sub-object does not change the owner; the accessor only needs a
  // non-const path because the same accessor serves writing.
  return GetObject ? GetObject(const_cast<TPersistent&>(object)) : nullptr;
}

// ---------------------------------------------------------------------------------------
// Class infos

TfrxClassInfo::TfrxClassInfo(std::string name, const TfrxClassInfo* parent, TfrxComponentFactory factory,
                             const std::function<void(TfrxClassInfo&)>& declare)
    : name_(std::move(name)), parent_(parent), factory_(factory) {
  if (parent_) published_ = parent_->published_;
  if (declare) declare(*this);
  for (const auto& prop : declared_)
    if (prop->Published) PublishDeclaration(prop.get());
}

TfrxPropInfo& TfrxClassInfo::AddDeclaration(std::unique_ptr<TfrxPropInfo> prop) {
  declared_.push_back(std::move(prop));
  return *declared_.back();
}

void TfrxClassInfo::PublishDeclaration(const TfrxPropInfo* prop) {
  for (auto& entry : published_) {
    if (frxSameText(entry->Name, prop->Name)) {
      entry = prop;
      return;
    }
  }
  published_.push_back(prop);
}

const TfrxPropInfo* TfrxClassInfo::FindProperty(std::string_view name) const {
  for (const TfrxPropInfo* p : published_)
    if (frxSameText(p->Name, name)) return p;
  return nullptr;
}

const TfrxPropInfo* TfrxClassInfo::FindDeclared(std::string_view name) const {
  for (const TfrxClassInfo* c = this; c; c = c->parent_) {
    for (auto it = c->declared_.rbegin(); it != c->declared_.rend(); ++it)
      if (frxSameText((*it)->Name, name)) return it->get();
  }
  return nullptr;
}

void TfrxClassInfo::SetParentRule(TParentRule accepts, std::string placement) {
  parentRule_ = std::move(accepts);
  placement_ = std::move(placement);
}

const TfrxClassInfo* TfrxClassInfo::RuleHolder() const {
  for (const TfrxClassInfo* c = this; c; c = c->parent_)
    if (c->parentRule_) return c;
  return nullptr;
}

bool TfrxClassInfo::AcceptsParent(const TfrxComponent& parent) const {
  const TfrxClassInfo* holder = RuleHolder();
  return !holder || holder->parentRule_(parent);
}

const std::string& TfrxClassInfo::Placement() const {
  static const std::string none;
  const TfrxClassInfo* holder = RuleHolder();
  return holder ? holder->placement_ : none;
}

bool TfrxClassInfo::InheritsFrom(const TfrxClassInfo& other) const {
  for (const TfrxClassInfo* c = this; c; c = c->parent_)
    if (c == &other) return true;
  return false;
}

bool TfrxClassInfo::InheritsFrom(std::string_view className) const {
  for (const TfrxClassInfo* c = this; c; c = c->parent_)
    if (frxSameText(c->name_, className)) return true;
  return false;
}

// ---------------------------------------------------------------------------------------
// Registry

namespace {
struct Caseless {
  using is_transparent = void;
  bool operator()(std::string_view a, std::string_view b) const {
    return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                        [](char x, char y) { return LowerAscii(x) < LowerAscii(y); });
  }
};
struct Registry {
  std::mutex lock;
  std::map<std::string, const TfrxClassInfo*, Caseless> classes;
};
Registry& TheRegistry() {
  static Registry registry;
  return registry;
}
}  // namespace

void frxRegisterClass(const TfrxClassInfo& cls) {
  Registry& r = TheRegistry();
  std::lock_guard guard(r.lock);
  r.classes.emplace(cls.Name(), &cls);
}

const TfrxClassInfo* frxFindClass(std::string_view name) {
  frxRegisterStandardClasses();
  Registry& r = TheRegistry();
  std::lock_guard guard(r.lock);
  auto found = r.classes.find(name);
  return found == r.classes.end() ? nullptr : found->second;
}

// ---------------------------------------------------------------------------------------
// Float texts

static char LocaleDecimalSeparator() {
  locale_t env = newlocale(LC_NUMERIC_MASK, "", static_cast<locale_t>(nullptr));
  if (!env) return '.';
  const char* radix = nl_langinfo_l(RADIXCHAR, env);
  char separator = (radix && radix[0] && !radix[1]) ? radix[0] : '.';
  freelocale(env);
  return separator;
}

static std::atomic<char>& DecimalSeparatorSlot() {
  static std::atomic<char> slot{LocaleDecimalSeparator()};
  return slot;
}

char frxDecimalSeparator() { return DecimalSeparatorSlot().load(); }
void frxSetDecimalSeparator(char separator) { DecimalSeparatorSlot().store(separator); }

std::string frxFloatToStr(double value) {
  if (std::isnan(value)) return "NAN";
  if (std::isinf(value)) return value > 0 ? "INF" : "-INF";
  if (value == 0) return "0";
  // 15 significant digits in scientific form give the digits and the exponent.
  char buf[40];
  std::snprintf(buf, sizeof buf, "%.14e", value);
  std::string text(buf);
  size_t e = text.find('e');
  int exponent = std::atoi(text.c_str() + e + 1);
  bool negative = text[0] == '-';
  std::string digits;
  for (size_t i = negative ? 1 : 0; i < e; ++i)
    if (text[i] != '.') digits += text[i];
  while (digits.size() > 1 && digits.back() == '0') digits.pop_back();
  const char sep = frxDecimalSeparator();
  std::string out = negative ? "-" : "";
  if (exponent >= 15 || exponent < -5) {
    out += digits[0];
    if (digits.size() > 1) {
      out += sep;
      out += digits.substr(1);
    }
    out += 'E';
    out += std::to_string(exponent);
  } else if (exponent < 0) {
    out += '0';
    out += sep;
    out.append(static_cast<size_t>(-exponent - 1), '0');
    out += digits;
  } else {
    size_t intDigits = static_cast<size_t>(exponent) + 1;
    if (digits.size() <= intDigits) {
      out += digits;
      out.append(intDigits - digits.size(), '0');
    } else {
      out += digits.substr(0, intDigits);
      out += sep;
      out += digits.substr(intDigits);
    }
  }
  return out;
}

double frxStrToFloat(std::string_view text) {
  std::string cleaned;
  cleaned.reserve(text.size());
  for (char c : text) {
    if (c == ' ') continue;
    cleaned += (c == ',') ? '.' : c;
  }
  double value = 0;
  const char* begin = cleaned.data();
  const char* end = begin + cleaned.size();
  if (begin != end && *begin == '+') ++begin;
  auto [ptr, ec] = std::from_chars(begin, end, value);
  if (cleaned.empty() || ec != std::errc() || ptr != end || !std::isfinite(value))
    throw EConvertError("'" + std::string(text) + "' is not a valid floating point value");
  return value;
}

// ---------------------------------------------------------------------------------------
// Access by name

TfrxPropTarget frxFindProp(TPersistent& root, std::string_view dottedName) {
  TPersistent* current = &root;
  std::string_view rest = dottedName;
  for (;;) {
    size_t dot = rest.find('.');
    if (dot != std::string_view::npos) {
      const TfrxPropInfo* part = current->ClassInfo().FindProperty(rest.substr(0, dot));
      if (part && part->Kind == TfrxPropKind::Object) {
        TPersistent* sub = part->GetObject(*current);
        if (sub) {
          current = sub;
          rest = rest.substr(dot + 1);
          continue;
        }
      }
    }
    // The remaining dotted name as a whole: matches only when it has no dot left.
    const TfrxPropInfo* prop = current->ClassInfo().FindProperty(rest);
    if (!prop) return {};
    return {current, prop};
  }
}

Variant frxGetPropValue(const TPersistent& object, const TfrxPropInfo& prop) {
  switch (prop.Kind) {
    case TfrxPropKind::Enumeration:
      if (prop.Enum && prop.Enum->IsBoolean()) return Variant(prop.GetOrd(object) != 0);
      return Variant(static_cast<int32_t>(prop.GetOrd(object)));
    case TfrxPropKind::Integer:
    case TfrxPropKind::Set: return Variant(static_cast<int32_t>(prop.GetOrd(object)));
    case TfrxPropKind::Char: return Variant(std::string(1, static_cast<char>(prop.GetOrd(object))));
    case TfrxPropKind::WideChar: return Variant(std::u16string(1, static_cast<char16_t>(prop.GetOrd(object))));
    case TfrxPropKind::Float: return Variant(prop.GetFloat(object));
    case TfrxPropKind::String:
    case TfrxPropKind::Strings: return Variant(prop.GetStr(object));
    case TfrxPropKind::WideString:
    case TfrxPropKind::WideStrings: return Variant(prop.GetWStr(object));
    case TfrxPropKind::Variant: return prop.GetVar(object);
    case TfrxPropKind::Reference:
    case TfrxPropKind::Object: return Variant();
  }
  return Variant();
}

void frxSetPropValue(TPersistent& object, const TfrxPropInfo& prop, const Variant& value) {
  if (prop.IsReadOnly() || prop.Kind == TfrxPropKind::Object || prop.Kind == TfrxPropKind::Reference)
    throw std::invalid_argument("Property " + prop.Name + " cannot be set from a value");
  switch (prop.Kind) {
    case TfrxPropKind::Enumeration:
      if (prop.Enum && prop.Enum->IsBoolean()) {
        prop.SetOrd(object, value.toBool() ? 1 : 0);
        return;
      }
      [[fallthrough]];
    case TfrxPropKind::Integer:
    case TfrxPropKind::Set: prop.SetOrd(object, value.toInt64()); return;
    case TfrxPropKind::Char: {
      std::string s = value.toString8();
      prop.SetOrd(object, s.empty() ? 0 : static_cast<unsigned char>(s[0]));
      return;
    }
    case TfrxPropKind::WideChar: {
      std::u16string s = value.toWide();
      prop.SetOrd(object, s.empty() ? 0 : s[0]);
      return;
    }
    case TfrxPropKind::Float: prop.SetFloat(object, value.toDouble()); return;
    case TfrxPropKind::String:
    case TfrxPropKind::Strings:
    case TfrxPropKind::WideStrings: prop.SetStr(object, value.toString8()); return;
    case TfrxPropKind::WideString: prop.SetWStr(object, value.toWide()); return;
    case TfrxPropKind::Variant: prop.SetVar(object, value); return;
    case TfrxPropKind::Reference:
    case TfrxPropKind::Object: return;
  }
}
