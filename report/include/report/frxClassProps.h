#pragma once
// Published properties: the one declaration of every persistent class's properties.
//
// Contract
// - Every persistent class (a TPersistent: components, frames, fonts, formats, ...)
//   describes itself with one TfrxClassInfo, built once in the class's
//   StaticClassInfo() from a list of declarations (TfrxPublish<T>). Each declaration
//   gives the property's name, kind, enumeration or class type, declared default,
//   stored condition and its getter and setter. Nothing else in the system repeats
//   this: the template serializer writes and reads attributes from it, the script
//   engine reads and writes properties by name from it (as Variants, frxGetPropValue /
//   frxSetPropValue), and the difference writer takes its value texts from the same
//   encoders.
// - Order: Properties() lists the published properties in index order: those of the
//   base classes first, then each derived class's in its declaration order. A class
//   may declare a property without publishing it (Protected()); a derived class then
//   publishes it by name (Publish("Color")), optionally with its own default or stored
//   condition. Publishing or redeclaring a name the base class already publishes
//   replaces that entry in place, keeping its position.
// - Kinds and their values (what getters and setters exchange):
//     Integer, Char, WideChar, Enumeration (booleans included), Set: an ordinal
//       (int64); a set is the sum of 2^ordinal of its members;
//     Float: double; String: 8-bit text; WideString: UTF-16 text; Variant: Variant;
//     Reference: a TfrxComponent* (none = nullptr), checked against the declared class
//       name on setting;
//     Strings / WideStrings: the list's whole text (lines each followed by CR LF, the
//       platform's Text form; a wide list is set from 8-bit text);
//     Object: a sub-object that the owner owns (Frame, Font, ...), reached by pointer.
// - Defaults: an ordinal property with a declared default is stored only when its
//   value differs from it; one without a declared default is always stored. A float
//   declared with a default is stored when it differs from it (the classes' own
//   "stored when different" rule). Stored(...) adds a condition of the object.
// - Lifetime: class infos are function-local statics and live for the whole process;
//   TfrxPropInfo pointers stay valid for ever.
// - Errors: setters raise the classes' own errors (a rejected name, ...); the value
//   readers raise EConvertError with the platform's text for bad numbers or names.

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "platform/Convert.h"
#include "platform/Variant.h"

class TPersistent;
class TfrxComponent;
class TfrxClassInfo;
class TfrxFiler;

enum class TfrxPropKind : uint8_t {
  Integer,
  Char,
  WideChar,
  Enumeration,
  Set,
  Float,
  String,
  WideString,
  Variant,
  Reference,
  Strings,
  WideStrings,
  Object,
};

// An enumeration type: its name as scripts see it ("TfrxAlign", "Boolean") and the
// value names by ordinal. A set property names the enumeration of its members.
struct TfrxEnumType {
  std::string Name;
  std::vector<std::string> Values;

  // The value's name, or empty for an ordinal outside the type.
  std::string_view NameOf(int64_t ordinal) const;
  // The ordinal of a name compared without regard to ASCII case, or -1.
  int IndexOf(std::string_view name) const;
  bool IsBoolean() const;
};

// "Boolean": False, True.
const TfrxEnumType& frxBooleanType();

class TfrxPropInfo {
 public:
  std::string Name;
  TfrxPropKind Kind = TfrxPropKind::Integer;
  const TfrxEnumType* Enum = nullptr;  // Enumeration, Set
  std::string ClassName;               // Object: the sub-object's class; Reference: the target's
  std::optional<int64_t> Default;      // ordinal kinds
  std::optional<double> FloatDefault;  // Float
  bool Published = true;

  // Accessors by kind; a missing setter makes the property read-only.
  std::function<int64_t(const TPersistent&)> GetOrd;
  std::function<void(TPersistent&, int64_t)> SetOrd;
  std::function<double(const TPersistent&)> GetFloat;
  std::function<void(TPersistent&, double)> SetFloat;
  std::function<std::string(const TPersistent&)> GetStr;       // String; Strings (list text)
  std::function<void(TPersistent&, const std::string&)> SetStr;  // String; Strings, WideStrings
  std::function<std::u16string(const TPersistent&)> GetWStr;     // WideString; WideStrings
  std::function<void(TPersistent&, const std::u16string&)> SetWStr;
  std::function<Variant(const TPersistent&)> GetVar;
  std::function<void(TPersistent&, const Variant&)> SetVar;
  std::function<TfrxComponent*(const TPersistent&)> GetRef;
  std::function<void(TPersistent&, TfrxComponent*)> SetRef;
  std::function<TPersistent*(TPersistent&)> GetObject;

  std::function<bool(const TPersistent&)> StoredFn;  // empty: always
  bool StoredFlag = true;

  bool IsOrdinal() const;
  bool IsStored(const TPersistent& object) const;
  bool IsReadOnly() const;
  // True when the ordinal or float value equals the declared default.
  bool IsDefaultValue(const TPersistent& object) const;
  // The sub-object of an Object property (const view).
  const TPersistent* SubObject(const TPersistent& object) const;
};

// Creates an instance of a registered component class as the last child of `owner`.
using TfrxComponentFactory = TfrxComponent* (*)(TfrxComponent* owner);

class TfrxClassInfo {
 public:
  // `declare` fills the class's own declarations (a TfrxPublish<T> over this info).
  TfrxClassInfo(std::string name, const TfrxClassInfo* parent, TfrxComponentFactory factory,
                const std::function<void(TfrxClassInfo&)>& declare);
  TfrxClassInfo(const TfrxClassInfo&) = delete;
  TfrxClassInfo& operator=(const TfrxClassInfo&) = delete;

  const std::string& Name() const { return name_; }
  const TfrxClassInfo* Parent() const { return parent_; }
  TfrxComponentFactory Factory() const { return factory_; }

  // Published properties in index order (base classes first).
  const std::vector<const TfrxPropInfo*>& Properties() const { return published_; }
  // A published property by name, compared without regard to ASCII case.
  const TfrxPropInfo* FindProperty(std::string_view name) const;
  // A declared property, published or not, of this class or a base (nearest first).
  const TfrxPropInfo* FindDeclared(std::string_view name) const;

  bool InheritsFrom(const TfrxClassInfo& other) const;
  bool InheritsFrom(std::string_view className) const;  // ASCII case-insensitive

  // Used by TfrxPublish while the class is being declared; the published list is
  // formed from the declarations once `declare` has run.
  TfrxPropInfo& AddDeclaration(std::unique_ptr<TfrxPropInfo> prop);

  // Where objects of the class may stand in a template: `accepts` judges a parent, and
  // `placement` says the rule in words for the load error ("a band belongs on a report
  // page"). Derived classes inherit the nearest rule; without one any parent is fine.
  using TParentRule = std::function<bool(const TfrxComponent& parent)>;
  void SetParentRule(TParentRule accepts, std::string placement);
  bool AcceptsParent(const TfrxComponent& parent) const;
  // The words of the nearest rule, empty without one.
  const std::string& Placement() const;

 private:
  const TfrxClassInfo* RuleHolder() const;

  void PublishDeclaration(const TfrxPropInfo* prop);

  std::string name_;
  const TfrxClassInfo* parent_;
  TfrxComponentFactory factory_;
  std::vector<std::unique_ptr<TfrxPropInfo>> declared_;
  std::vector<const TfrxPropInfo*> published_;
  TParentRule parentRule_;
  std::string placement_;
};

// The root of every class with published properties.
class TPersistent {
 public:
  virtual ~TPersistent() = default;
  virtual const TfrxClassInfo& ClassInfo() const = 0;
  const std::string& ClassName() const { return ClassInfo().Name(); }
  bool InheritsFrom(std::string_view className) const { return ClassInfo().InheritsFrom(className); }
  bool InheritsFrom(const TfrxClassInfo& cls) const { return ClassInfo().InheritsFrom(cls); }
  // The streaming hook: properties the class stores itself instead of publishing them
  // (raw data, collections), defined on the filer by name (frxXMLSerializer.h).
  virtual void DefineProperties(TfrxFiler& filer) {}
};

// Declares StaticClassInfo() and the ClassInfo() override; put it in the public part of
// each persistent class and define StaticClassInfo() in the class's source file.
#define TFRX_PERSISTENT_CLASS                      \
  static const TfrxClassInfo& StaticClassInfo();   \
  const TfrxClassInfo& ClassInfo() const override { return StaticClassInfo(); }

namespace frx_detail {
template <class S>
struct SetterArg;
template <class C, class A>
struct SetterArg<void (C::*)(A)> {
  using type = std::remove_cvref_t<A>;
};
}  // namespace frx_detail

// The declaration list of class T. Getters are member functions (or members of a base)
// callable on a const T; setters are member functions taking the value, or nullptr for
// a read-only property. Each call declares one property; Default, Stored and
// Protected modify the property declared last.
template <class T>
class TfrxPublish {
 public:
  explicit TfrxPublish(TfrxClassInfo& info) : info_(info) {}

  template <class G, class S>
  TfrxPublish& Integer(std::string name, G get, S set) {
    return Ordinal(std::move(name), TfrxPropKind::Integer, nullptr, get, set);
  }
  template <class G, class S>
  TfrxPublish& Char(std::string name, G get, S set) {
    return Ordinal(std::move(name), TfrxPropKind::Char, nullptr, get, set);
  }
  template <class G, class S>
  TfrxPublish& WideChar(std::string name, G get, S set) {
    return Ordinal(std::move(name), TfrxPropKind::WideChar, nullptr, get, set);
  }
  template <class G, class S>
  TfrxPublish& Enum(std::string name, const TfrxEnumType& type, G get, S set) {
    return Ordinal(std::move(name), TfrxPropKind::Enumeration, &type, get, set);
  }
  template <class G, class S>
  TfrxPublish& Boolean(std::string name, G get, S set) {
    return Ordinal(std::move(name), TfrxPropKind::Enumeration, &frxBooleanType(), get, set);
  }
  template <class G, class S>
  TfrxPublish& Set(std::string name, const TfrxEnumType& members, G get, S set) {
    return Ordinal(std::move(name), TfrxPropKind::Set, &members, get, set);
  }

  template <class G, class S>
  TfrxPublish& Float(std::string name, G get, S set) {
    auto& p = Begin(std::move(name), TfrxPropKind::Float);
    p.GetFloat = [get](const TPersistent& o) { return static_cast<double>(std::invoke(get, Self(o))); };
    if constexpr (!std::is_null_pointer_v<S>) {
      p.SetFloat = [set](TPersistent& o, double v) {
        std::invoke(set, Self(o), static_cast<typename frx_detail::SetterArg<S>::type>(v));
      };
    }
    return *this;
  }

  template <class G, class S>
  TfrxPublish& String(std::string name, G get, S set) {
    auto& p = Begin(std::move(name), TfrxPropKind::String);
    p.GetStr = [get](const TPersistent& o) { return std::string(std::invoke(get, Self(o))); };
    if constexpr (!std::is_null_pointer_v<S>)
      p.SetStr = [set](TPersistent& o, const std::string& v) { std::invoke(set, Self(o), v); };
    return *this;
  }

  template <class G, class S>
  TfrxPublish& WideString(std::string name, G get, S set) {
    auto& p = Begin(std::move(name), TfrxPropKind::WideString);
    p.GetWStr = [get](const TPersistent& o) { return std::u16string(std::invoke(get, Self(o))); };
    if constexpr (!std::is_null_pointer_v<S>)
      p.SetWStr = [set](TPersistent& o, const std::u16string& v) { std::invoke(set, Self(o), v); };
    return *this;
  }

  template <class G, class S>
  TfrxPublish& VariantValue(std::string name, G get, S set) {
    auto& p = Begin(std::move(name), TfrxPropKind::Variant);
    p.GetVar = [get](const TPersistent& o) { return Variant(std::invoke(get, Self(o))); };
    if constexpr (!std::is_null_pointer_v<S>)
      p.SetVar = [set](TPersistent& o, const Variant& v) { std::invoke(set, Self(o), v); };
    return *this;
  }

  // A reference to a component of class `className` (or a descendant).
  template <class G, class S>
  TfrxPublish& Reference(std::string name, std::string className, G get, S set) {
    auto& p = Begin(std::move(name), TfrxPropKind::Reference);
    p.ClassName = std::move(className);
    p.GetRef = [get](const TPersistent& o) -> TfrxComponent* { return std::invoke(get, Self(o)); };
    if constexpr (!std::is_null_pointer_v<S>)
      p.SetRef = [set](TPersistent& o, TfrxComponent* v) { std::invoke(set, Self(o), v); };
    return *this;
  }

  // A string list, reached through its whole text.
  template <class G, class S>
  TfrxPublish& Strings(std::string name, G getText, S setText) {
    auto& p = Begin(std::move(name), TfrxPropKind::Strings);
    p.GetStr = [getText](const TPersistent& o) { return std::string(std::invoke(getText, Self(o))); };
    if constexpr (!std::is_null_pointer_v<S>)
      p.SetStr = [setText](TPersistent& o, const std::string& v) { std::invoke(setText, Self(o), v); };
    return *this;
  }

  // A wide string list: read as wide text, set from 8-bit text.
  template <class G, class S>
  TfrxPublish& WideStrings(std::string name, G getText, S setText) {
    auto& p = Begin(std::move(name), TfrxPropKind::WideStrings);
    p.GetWStr = [getText](const TPersistent& o) { return std::u16string(std::invoke(getText, Self(o))); };
    if constexpr (!std::is_null_pointer_v<S>)
      p.SetStr = [setText](TPersistent& o, const std::string& v) { std::invoke(setText, Self(o), v); };
    return *this;
  }

  // An owned sub-object of class `className`; `get` returns a pointer to it.
  template <class G>
  TfrxPublish& Object(std::string name, std::string className, G get) {
    auto& p = Begin(std::move(name), TfrxPropKind::Object);
    p.ClassName = std::move(className);
    p.GetObject = [get](TPersistent& o) -> TPersistent* { return std::invoke(get, static_cast<T&>(o)); };
    return *this;
  }

  // Publishes a property declared (unpublished) by a base class.
  TfrxPublish& Publish(std::string_view name) {
    const TfrxPropInfo* base = info_.Parent() ? info_.Parent()->FindDeclared(name) : nullptr;
    if (!base) throw std::logic_error("no declared property to publish: " + std::string(name));
    auto copy = std::make_unique<TfrxPropInfo>(*base);
    copy->Published = true;
    last_ = &info_.AddDeclaration(std::move(copy));
    return *this;
  }

  TfrxPublish& Default(int64_t value) {
    if (last_->Kind == TfrxPropKind::Float)
      last_->FloatDefault = static_cast<double>(value);
    else
      last_->Default = value;
    return *this;
  }
  TfrxPublish& DefaultFloat(double value) {
    last_->FloatDefault = value;
    return *this;
  }
  TfrxPublish& NoDefault() {
    last_->Default.reset();
    last_->FloatDefault.reset();
    return *this;
  }
  TfrxPublish& Stored(bool stored) {
    last_->StoredFlag = stored;
    last_->StoredFn = nullptr;
    return *this;
  }
  TfrxPublish& Stored(bool (T::*condition)() const) {
    last_->StoredFlag = true;
    last_->StoredFn = [condition](const TPersistent& o) { return (Self(o).*condition)(); };
    return *this;
  }
  // Declared for derived classes to publish, not published by this class.
  TfrxPublish& Protected() {
    last_->Published = false;
    return *this;
  }

 private:
  static const T& Self(const TPersistent& o) { return static_cast<const T&>(o); }
  static T& Self(TPersistent& o) { return static_cast<T&>(o); }

  TfrxPropInfo& Begin(std::string name, TfrxPropKind kind) {
    auto p = std::make_unique<TfrxPropInfo>();
    p->Name = std::move(name);
    p->Kind = kind;
    last_ = &info_.AddDeclaration(std::move(p));
    return *last_;
  }

  template <class G, class S>
  TfrxPublish& Ordinal(std::string name, TfrxPropKind kind, const TfrxEnumType* type, G get, S set) {
    auto& p = Begin(std::move(name), kind);
    p.Enum = type;
    p.GetOrd = [get](const TPersistent& o) { return static_cast<int64_t>(std::invoke(get, Self(o))); };
    if constexpr (!std::is_null_pointer_v<S>) {
      p.SetOrd = [set](TPersistent& o, int64_t v) {
        std::invoke(set, Self(o), static_cast<typename frx_detail::SetterArg<S>::type>(v));
      };
    }
    return *this;
  }

  TfrxClassInfo& info_;
  TfrxPropInfo* last_ = nullptr;
};

// ---------------------------------------------------------------------------------------
// Class registry: class names to class infos, looked up without regard to ASCII case.
// A class registers itself from its source file (TFRX_REGISTER_CLASS); registering a
// name twice keeps the first.

void frxRegisterClass(const TfrxClassInfo& cls);
const TfrxClassInfo* frxFindClass(std::string_view name);

#define TFRX_REGISTER_CLASS(Class) \
  [[maybe_unused]] static const bool Class##_registered = (frxRegisterClass(Class::StaticClassInfo()), true)

// ---------------------------------------------------------------------------------------
// Value texts shared by the template format and the difference form.

// The decimal separator of float texts: the system locale's (LC_NUMERIC of the
// environment) unless set. Tests and hosts may set it.
char frxDecimalSeparator();
void frxSetDecimalSeparator(char separator);

// The platform's general float text: 15 significant digits, no trailing zeros, the
// decimal separator above, exponent form ("1E20", "1.5E-6") for very large or small values.
std::string frxFloatToStr(double value);
// Every "," and "." is the decimal separator and spaces are removed; raises
// EConvertError "'<text>' is not a valid floating point value".
double frxStrToFloat(std::string_view text);

// ASCII case-insensitive equality, as names and identifiers compare.
bool frxSameText(std::string_view a, std::string_view b);

// ---------------------------------------------------------------------------------------
// Access by name, for scripts and tools.

// A property found by a dotted path ("Frame.LeftLine.Color"): the object that holds it
// and its declaration. Object is null when a part of the path is not a property.
struct TfrxPropTarget {
  TPersistent* Object = nullptr;
  const TfrxPropInfo* Prop = nullptr;
};
TfrxPropTarget frxFindProp(TPersistent& root, std::string_view dottedName);

// The value as scripts see it: ordinals (booleans as Boolean), floats, 8-bit or wide
// text, variants; list texts as 8-bit (or wide) text. References and sub-objects have
// no Variant form here (Empty); script hosts reach them through GetRef / GetObject.
Variant frxGetPropValue(const TPersistent& object, const TfrxPropInfo& prop);
// Sets a value given as a Variant; raises EVariantError for a value of the wrong kind
// and std::invalid_argument for a read-only property.
void frxSetPropValue(TPersistent& object, const TfrxPropInfo& prop, const Variant& value);
