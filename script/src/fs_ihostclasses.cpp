// Host classes interned by name and the helpers the class modules share.
#include "script/fs_ihostclasses.h"

#include <map>
#include <memory>


namespace {

std::string Key(const std::string& name) {
  std::string key = name;
  for (char& c : key)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return key;
}

// Lives for the whole process: class entries of every script point at these.
std::map<std::string, std::unique_ptr<TfsHostClass>>& Interned() {
  static auto* classes = new std::map<std::string, std::unique_ptr<TfsHostClass>>();
  return *classes;
}

}  // namespace

const TfsHostClass& fsHostClass(const std::string& name, const std::string& parentName,
                                std::function<TfsHostObject*()> newInstance) {
  auto& classes = Interned();
  auto found = classes.find(Key(name));
  if (found != classes.end()) return *found->second;
  const TfsHostClass* parent = nullptr;
  if (!parentName.empty()) {
    auto p = classes.find(Key(parentName));
    if (p != classes.end()) parent = p->second.get();
  }
  auto cls = std::make_unique<TfsHostClass>(name, parent, std::move(newInstance));
  return *classes.emplace(Key(name), std::move(cls)).first->second;
}

namespace fs_hostclasses {
void NoInstance(const std::string& member, const char* className) {
  throw EfsScriptError("Object is nil or not a " + std::string(className) + ": '" + member + "'");
}
}  // namespace fs_hostclasses

TfsClassVariable& fsDeclareClass(TfsScript& script, const std::string& name, const std::string& ancestor,
                                 std::function<TfsHostObject*()> newInstance) {
  if (TfsClassVariable* existing = script.FindClassSymbol(name)) return *existing;
  TfsClassVariable* cls = script.DeclareClass(fsHostClass(name, ancestor, std::move(newInstance)), ancestor);
  if (!cls) throw EfsScriptError(std::string(fs_messages::IdentifierRedeclared) + "'" + name + "'");
  return *cls;
}

void fsDeclareIntConstants(TfsScript& script, const std::vector<TfsIntConstant>& constants) {
  for (const TfsIntConstant& c : constants) script.DeclareConstant(c.name, "Integer", Variant(int32_t{c.value}));
}

TfsPropertyHelper& fsDeclareObjectProperty(TfsClassVariable& cls, const std::string& name, const std::string& typeName,
                                           bool writable) {
  auto object = [](TfsHostObject* instance, const std::string& member) -> TfsPropertyObject& {
    if (auto* o = dynamic_cast<TfsPropertyObject*>(instance)) return *o;
    fs_hostclasses::NoInstance(member, "TObject");
  };
  TfsSetValue setter;
  // A set written in a script ([fsBold, fsItalic]) arrives as the array of its members,
  // whose flag values (1, 2, 4 ...) make the set's bits.
  const bool isEnum = TypeNameToCode(typeName, cls.HomeScript) == stEnum;
  if (writable)
    setter = [object, isEnum](TfsHostObject* i, const TfsHostClass*, const Variant& v, const std::string& m) {
      if (!isEnum || !v.isArray()) return object(i, m).SetProperty(m, v);
      int64_t bits = 0;
      for (const Variant& member : v.array().items)
        if (member.isOrdinal()) bits |= member.toInt64();
      object(i, m).SetProperty(m, Variant(static_cast<int32_t>(bits)));
    };
  return cls.DeclareProperty(
      name, typeName, [object](TfsHostObject* i, const TfsHostClass*, const std::string& m) { return object(i, m).GetProperty(m); },
      std::move(setter));
}

TfsPropertyBag::TfsPropertyBag(const TfsHostClass& cls, std::vector<std::pair<std::string, Variant>> defaults)
    : TfsScriptObject(cls) {
  for (auto& [name, value] : defaults) SetProperty(Key(name), value);
}

Variant TfsPropertyBag::GetProperty(const std::string& name) {
  for (const auto& [key, value] : values_)
    if (key == name) return value;
  return Variant::Null();
}

void TfsPropertyBag::SetProperty(const std::string& name, const Variant& value) {
  for (auto& [key, stored] : values_)
    if (key == name) {
      stored = value;
      return;
    }
  values_.emplace_back(name, value);
}
