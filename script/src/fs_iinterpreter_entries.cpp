// The entry classes of the symbol table: variables, parameters, procedures, members
// of host classes and the classes themselves.
#include <cctype>
#include <mutex>
#include <unordered_set>

#include "fs_limits.h"
#include "script/fs_iexpression.h"
#include "script/fs_iinterpreter.h"

namespace {

std::string Upper(std::string_view s) {
  std::string out(s);
  for (char& c : out) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return out;
}

bool SameText(std::string_view a, std::string_view b) { return a.size() == b.size() && Upper(a) == Upper(b); }

// Every live host object, so that an integer from a script is taken as an object only
// when it is one.
std::mutex liveObjectsLock;
std::unordered_set<const TfsHostObject*>& LiveObjects() {
  static auto* objects = new std::unordered_set<const TfsHostObject*>();  // outlives static objects
  return *objects;
}

}  // namespace

Variant fsConvertToType(ScriptType type, const Variant& value) {
  // Null and Empty stay what they are: a variable may be cleared whatever its type.
  if (value.isArray() || value.isNull() || value.isEmpty()) return value;
  switch (type) {
    case stInteger: return Variant(fsVarToInteger(value));
    case stBoolean: return Variant(fsVarToBoolean(value));
    case stFloat: return Variant(fsVarToFloat(value));
    default: return value;
  }
}

std::string TypeCodeToName(ScriptType code, std::string_view typeName) {
  if ((code == stClass || code == stEnum) && !typeName.empty()) return std::string(typeName);
  switch (code) {
    case stInteger: return "Integer";
    case stBoolean: return "Boolean";
    case stFloat: return "Extended";
    case stChar: return "Char";
    case stString: return "String";
    case stClass: return "Class";
    case stArray: return "Array";
    case stEnum: return "Enum";
    default: return "Variant";
  }
}

ScriptType TypeNameToCode(std::string_view name, const TfsScript* script) {
  const TfsCustomVariable* entry = script ? script->FindSymbol(name) : nullptr;
  return entry ? entry->TypeCode : stClass;
}

bool TfsHostClass::InheritsFrom(const TfsHostClass* other) const {
  for (const TfsHostClass* c = this; c; c = c->parent_)
    if (c == other) return true;
  return false;
}

bool TfsHostClass::InheritsFrom(std::string_view className) const {
  for (const TfsHostClass* c = this; c; c = c->parent_)
    if (SameText(c->name_, className)) return true;
  return false;
}

TfsHostObject::TfsHostObject() {
  std::lock_guard<std::mutex> lock(liveObjectsLock);
  LiveObjects().insert(this);
}

TfsHostObject::TfsHostObject(const TfsHostObject&) : TfsHostObject() {}

TfsHostObject::~TfsHostObject() {
  std::lock_guard<std::mutex> lock(liveObjectsLock);
  LiveObjects().erase(this);
}

Variant fsObjectToVariant(const TfsHostObject* object) {
  return Variant(static_cast<int64_t>(reinterpret_cast<std::intptr_t>(object)));
}

TfsHostObject* fsVariantToObject(const Variant& value) {
  if (value.isArray() || !value.isOrdinal() || value.kind() == VarKind::Boolean) return nullptr;
  auto* object = reinterpret_cast<TfsHostObject*>(static_cast<std::intptr_t>(value.toInt64()));
  std::lock_guard<std::mutex> lock(liveObjectsLock);
  return LiveObjects().count(object) ? object : nullptr;
}

TfsItemList& TfsItemList::Add(std::unique_ptr<TfsItemList> item) {
  items_.push_back(std::move(item));
  return *items_.back();
}

std::unique_ptr<TfsItemList> TfsItemList::Remove(TfsItemList* item) {
  for (auto it = items_.begin(); it != items_.end(); ++it) {
    if (it->get() != item) continue;
    std::unique_ptr<TfsItemList> taken = std::move(*it);
    items_.erase(it);
    return taken;
  }
  return nullptr;
}

TfsCustomVariable::TfsCustomVariable(std::string name, ScriptType type, std::string declaredType)
    : TypeCode(type), DeclaredType(std::move(declaredType)), name_(std::move(name)), upperName_(Upper(name_)) {}

TfsParamItem& TfsCustomVariable::Param(int index) const { return static_cast<TfsParamItem&>(*Get(index)); }

TfsParamItem& TfsCustomVariable::AddParam(std::unique_ptr<TfsParamItem> param) {
  return static_cast<TfsParamItem&>(Add(std::move(param)));
}

void TfsCustomVariable::WriteValue(const Variant& value) {
  if (!Locked) value_ = value;
}

Variant TfsCustomVariable::ReadValue() { return value_; }

void TfsVariable::WriteValue(const Variant& value) {
  if (!Locked) value_ = fsConvertToType(TypeCode, value);
}

Variant TfsVariable::ReadValue() {
  if (OnGetVarValue) {
    Variant answer = OnGetVarValue(Name(), TypeCode, value_);
    if (!answer.isNull()) return answer;
  }
  return value_;
}

void TfsStringVariable::WriteValue(const Variant& value) {
  if (Locked) return;
  text_ = fsVarToText(value);
  if (TypeCode == stChar && text_.size() > 1) text_.resize(1);
}

Variant TfsStringVariable::ReadValue() {
  if (OnGetVarValue) {
    Variant answer = OnGetVarValue(Name(), TypeCode, Variant(text_));
    if (!answer.isNull()) return answer;
  }
  return Variant(text_);
}

TfsParamItem::TfsParamItem(std::string name, ScriptType type, std::string declaredType, bool mayOmit, bool byReference)
    : TfsCustomVariable(std::move(name), type, std::move(declaredType)), MayOmit(mayOmit), ByReference(byReference) {}

TfsProcVariable::TfsProcVariable(std::string name, ScriptType type, std::string declaredType, TfsScript& parent,
                                 bool isFunction)
    : TfsCustomVariable(std::move(name), type, std::move(declaredType)),
      isFunction_(isFunction),
      program_(std::make_unique<TfsScript>()) {
  Locked = true;
  program_->ParentScript = &parent;
  program_->SyntaxType = parent.SyntaxType;
  if (isFunction_) TargetEntry = program_->DeclareVariable("Result", DeclaredType.empty() ? "Variant" : DeclaredType, Variant::Null());
}

TfsProcVariable::~TfsProcVariable() = default;

void TfsPropertyHelper::WriteValue(const Variant& value) {
  if (Locked || !OnSetValue) return;
  OnSetValue(Instance(), HostClass, value, UpperName());
}

Variant TfsPropertyHelper::ReadValue() {
  if (!OnGetValue) return Variant(int32_t{0});
  Variant result = OnGetValue(Instance(), HostClass, UpperName());
  if (TypeCode == stBoolean && !result.isArray()) {
    bool isZero = (result.isNumeric() && result.toDouble() == 0.0) || result.isEmpty();
    return Variant(!isZero);
  }
  return result;
}

TfsMethodHelper::TfsMethodHelper(const std::string& declaration, const TfsScript* script)
    : TfsMethodHelper(ParseDeclaration(declaration, script), declaration) {}

TfsMethodHelper::TfsMethodHelper(std::unique_ptr<TfsCustomVariable> parsed, const std::string& declaration)
    : TfsCustomHelper(parsed->Name(), parsed->TypeCode, parsed->DeclaredType), DeclarationText(declaration) {
  SourceArgs = parsed->SourceArgs;
  while (parsed->Count() > 0) {
    auto param = parsed->Remove(parsed->Get(0));
    AddParam(std::unique_ptr<TfsParamItem>(static_cast<TfsParamItem*>(param.release())));
  }
  Locked = true;
}

Variant TfsMethodHelper::GetParam(int index) const {
  if (index == ParamCount() && assigning_) return assigned_;
  if (index < 0 || index >= ParamCount()) return Variant::Null();
  return Param(index).ReadValue();
}

void TfsMethodHelper::SetParam(int index, const Variant& value) {
  if (index >= 0 && index < ParamCount()) Param(index).WriteValue(value);
}

Variant TfsMethodHelper::Call(const std::string& name, const Variant* assigned) {
  if (OnCallEx) {
    assigning_ = assigned != nullptr;
    if (assigned) assigned_ = *assigned;
    struct Reset {
      TfsMethodHelper& m;
      ~Reset() { m.assigning_ = false; m.assigned_ = Variant(); }
    } reset{*this};
    return OnCallEx(Instance(), HostClass, name, *this);
  }
  if (!OnCall) return Variant(int32_t{0});
  std::vector<Variant> params;
  params.reserve(static_cast<size_t>(ParamCount()) + 1);
  for (int i = 0; i < ParamCount(); ++i) params.push_back(Param(i).ReadValue());
  if (assigned) params.push_back(*assigned);
  Variant result = OnCall(Instance(), HostClass, name, params);
  for (int i = 0; i < ParamCount(); ++i)
    if (Param(i).ByReference) Param(i).WriteValue(params[static_cast<size_t>(i)]);
  return result;
}

Variant TfsMethodHelper::ReadValue() { return Call(IsIndexProperty ? UpperName() + ".GET" : UpperName(), nullptr); }

void TfsMethodHelper::WriteValue(const Variant& value) {
  if (IsIndexProperty && !Locked) Call(UpperName() + ".SET", &value);
}

TfsComponentHelper::TfsComponentHelper(TfsHostObject& component)
    : TfsCustomHelper(component.HostName(), stClass, component.HostClass().Name()), component_(&component) {
  Locked = true;
}

Variant TfsComponentHelper::ReadValue() { return fsObjectToVariant(component_); }

TfsEventHelper::TfsEventHelper(std::string name, TfsEventAdapterClass adapterClass, TfsSetEvent setEvent)
    : TfsCustomHelper(std::move(name), stString, "String"),
      adapterClass_(std::move(adapterClass)),
      setEvent_(std::move(setEvent)) {}

void TfsEventHelper::WriteValue(const Variant& value) {
  std::string handlerName = fsVarToText(value);
  if (handlerName == "0") {
    if (setEvent_) setEvent_(Instance(), Name(), nullptr);
    return;
  }
  auto* handler = dynamic_cast<TfsProcVariable*>(HomeScript ? HomeScript->FindSymbol(handlerName) : nullptr);
  if (!handler) throw EfsScriptError(fs_messages::EventHandlerProcedure);
  if (!adapterClass_) return;
  std::unique_ptr<TfsCustomEvent> adapter = adapterClass_(Instance(), *handler);
  TfsCustomEvent* hooked = adapter.get();
  HomeScript->AddEntry("", std::move(adapter));
  if (setEvent_) setEvent_(Instance(), Name(), hooked);
}

TfsClassVariable::TfsClassVariable(const TfsHostClass& hostClass, std::string ancestorName)
    : TfsCustomVariable(hostClass.Name(), stClass, hostClass.Name()),
      hostClass_(&hostClass),
      ancestorName_(std::move(ancestorName)) {
  AddParam(std::make_unique<TfsParamItem>("", stVariant, "Variant", true, false));
}

template <class T>
T& TfsClassVariable::AddMember(std::unique_ptr<T> member) {
  member->HostClass = hostClass_;
  member->OwnerTag = OwnerTag;
  return static_cast<T&>(members_.Add(std::move(member)));
}

TfsMethodHelper& TfsClassVariable::DeclareMethod(const std::string& declaration, TfsCallMethodEx call) {
  auto method = std::make_unique<TfsMethodHelper>(declaration, HomeScript);
  method->OnCallEx = std::move(call);
  return AddMember(std::move(method));
}

TfsMethodHelper& TfsClassVariable::DeclareConstructor(const std::string& declaration, TfsCallMethodEx call) {
  size_t word = 0;
  while (word < declaration.size() && declaration[word] == ' ') ++word;
  while (word < declaration.size() && declaration[word] != ' ' && declaration[word] != '(') ++word;
  return DeclareMethod("function" + declaration.substr(word) + ": Constructor", std::move(call));
}

TfsPropertyHelper& TfsClassVariable::DeclareProperty(const std::string& name, const std::string& typeName,
                                                     TfsGetValue getter, TfsSetValue setter) {
  auto property = std::make_unique<TfsPropertyHelper>(name, TypeNameToCode(typeName, HomeScript), typeName);
  property->Locked = !setter;
  property->OnGetValue = std::move(getter);
  property->OnSetValue = std::move(setter);
  return AddMember(std::move(property));
}

TfsMethodHelper& TfsClassVariable::DeclareIndexProperty(const std::string& name, const std::string& indexTypes,
                                                        const std::string& typeName, TfsCallMethodEx call,
                                                        bool readOnly) {
  std::string declaration = "function " + name + "(";
  size_t from = 0;
  bool first = true;
  for (;;) {
    size_t comma = indexTypes.find(',', from);
    std::string type = indexTypes.substr(from, comma == std::string::npos ? std::string::npos : comma - from);
    while (!type.empty() && type.front() == ' ') type.erase(0, 1);
    while (!type.empty() && type.back() == ' ') type.pop_back();
    if (!first) declaration += "; ";
    declaration += "p" + type + ": " + type;
    first = false;
    if (comma == std::string::npos) break;
    from = comma + 1;
  }
  declaration += "): " + typeName;
  TfsMethodHelper& method = DeclareMethod(declaration, std::move(call));
  method.IsIndexProperty = true;
  method.Locked = readOnly;
  return method;
}

TfsMethodHelper& TfsClassVariable::DeclareDefaultProperty(const std::string& name, const std::string& indexTypes,
                                                          const std::string& typeName, TfsCallMethodEx call,
                                                          bool readOnly) {
  TfsMethodHelper& method = DeclareIndexProperty(name, indexTypes, typeName, std::move(call), readOnly);
  DefaultMember = &method;
  return method;
}

TfsEventHelper& TfsClassVariable::DeclareEvent(const std::string& name, TfsEventAdapterClass adapterClass,
                                               TfsSetEvent setEvent) {
  return AddMember(std::make_unique<TfsEventHelper>(name, std::move(adapterClass), std::move(setEvent)));
}

TfsComponentHelper& TfsClassVariable::DeclareComponentMember(TfsHostObject& component) {
  return AddMember(std::make_unique<TfsComponentHelper>(component));
}

TfsCustomHelper* TfsClassVariable::LookupMember(std::string_view name) const {
  std::string upper = Upper(name);
  // Ancestors are followed by name; a class that names itself as ancestor ends the walk.
  const TfsClassVariable* cls = this;
  for (int depth = 0; cls && depth < fs_limits::kMaxClassAncestry; ++depth) {
    for (int i = 0; i < cls->members_.Count(); ++i) {
      auto* member = static_cast<TfsCustomHelper*>(cls->members_.Get(i));
      if (member->UpperName() == upper) return member;
    }
    const TfsClassVariable* next = cls->HomeScript ? cls->HomeScript->FindClassSymbol(cls->ancestorName_) : nullptr;
    if (next == cls) break;
    cls = next;
  }
  return nullptr;
}

Variant TfsClassVariable::ReadValue() {
  TfsParamItem& hidden = Param(0);
  Variant held = hidden.ReadValue();
  hidden.WriteValue(Variant::Null());
  if (!held.isNull()) return held;
  return fsObjectToVariant(hostClass_->NewInstance());
}
