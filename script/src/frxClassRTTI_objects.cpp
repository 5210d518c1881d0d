// Stand-ins of report objects, kept while their objects live, and report classes
// declared from their published properties.
#include <map>
#include <vector>

#include "frxClassRTTI_private.h"
#include "report/frxClassBand.h"
#include "report/frxClassDataSet.h"
#include "report/frxClassDialog.h"
#include "report/frxClassMemo.h"
#include "report/frxClassPage.h"
#include "report/frxClassPicture.h"
#include "report/frxClassStyles.h"
#include "report/frxVariables.h"
#include "report/frxClassReport.h"
#include "report/frxClassView.h"
#include "script/fs_iexpression.h"
#include "script/fs_igraphicsrtti.h"

namespace {

// Keeps the stand-ins and hears of every anchor's removal, so that a stand-in never
// outlives its object.
class TStandIns final : public TComponent {
 public:
  TStandIns() : TComponent(nullptr) {}

  TfsHostObject& Keep(const void* target, const std::string& kind, TComponent* anchor,
                      const std::function<std::unique_ptr<TfsHostObject>()>& make) {
    auto key = std::make_pair(target, kind);
    auto found = refs_.find(key);
    if (found != refs_.end()) return *found->second;
    TfsHostObject& ref = *refs_.emplace(key, make()).first->second;
    if (anchor) {
      byAnchor_[anchor].push_back(key);
      FreeNotification(anchor);
    }
    return ref;
  }

  void Notification(TComponent* component, TOperation operation) override {
    TComponent::Notification(component, operation);
    if (operation != opRemove) return;
    auto found = byAnchor_.find(component);
    if (found == byAnchor_.end()) return;
    for (const auto& key : found->second) refs_.erase(key);
    byAnchor_.erase(found);
  }

 private:
  std::map<std::pair<const void*, std::string>, std::unique_ptr<TfsHostObject>> refs_;
  std::map<TComponent*, std::vector<std::pair<const void*, std::string>>> byAnchor_;
};

// For the whole process: reports anywhere may hand their objects to scripts.
TStandIns& StandIns() {
  static auto* standIns = new TStandIns();
  return *standIns;
}

// A picture view's picture reaches TPicture's members of the graphics module.
class TPictureRef final : public TfrxPersistentRef, public TfsPictureAccess {
 public:
  TPictureRef(const TfsHostClass& cls, TfrxPicture& picture, TComponent* anchor)
      : TfrxPersistentRef(cls, picture, anchor), picture_(picture) {}
  const TPicture& Picture() const override { return picture_.Graphic(); }
  void LoadPicture(const std::string& fileName) override { picture_.LoadFromFile(fileName); }

 private:
  TfrxPicture& picture_;
};

const TfsHostClass& InternClass(const TfrxClassInfo& cls) {
  const std::string parent = cls.Parent() ? cls.Parent()->Name() : "TPersistent";
  if (cls.Parent()) InternClass(*cls.Parent());
  std::function<TfsHostObject*()> make;
  if (cls.Factory()) {
    std::string name = cls.Name();
    make = [name] { return new frx_rtti::TPendingComponent(fsHostClass(name)); };
  }
  return fsHostClass(cls.Name(), parent, std::move(make));
}

// The property of the object's own class: a class may publish what its base keeps protected.
const TfrxPropInfo& PropOf(TPersistent& object, const std::string& name) {
  const TfrxPropInfo* prop = object.ClassInfo().FindDeclared(name);
  if (!prop) throw EfsScriptError(std::string(fs_messages::UndeclaredIdentifier) + "'" + name + "'");
  return *prop;
}


// The value as the property's kind takes it, converted by the script's rules first.
Variant ScriptValueFor(const TfrxPropInfo& prop, const Variant& value) {
  switch (prop.Kind) {
    case TfrxPropKind::Integer:
    case TfrxPropKind::Set:
      return Variant(int64_t{fsVarToInteger(value)});
    case TfrxPropKind::Enumeration:
      if (prop.Enum && prop.Enum->IsBoolean()) return Variant(fsVarToBoolean(value));
      return Variant(int64_t{fsVarToInteger(value)});
    case TfrxPropKind::Float:
      return Variant(fsVarToFloat(value));
    case TfrxPropKind::String:
    case TfrxPropKind::Strings:
    case TfrxPropKind::Char:
      return Variant(fsVarToText(value));
    case TfrxPropKind::WideString:
    case TfrxPropKind::WideChar:
    case TfrxPropKind::WideStrings:
      return value.isText() ? Variant(value.toWide()) : Variant(fsVarToText(value));
    default:
      return value;
  }
}

// A class or enumeration a property names, declared when the script does not know it.
std::string ClassTypeName(TfsScript& script, const std::string& name) {
  if (!script.FindClassSymbol(name)) {
    if (const TfrxClassInfo* cls = frx_rtti::ClassInfoNamed(name))
      frxDeclareScriptClass(script, *cls);
    else
      fsDeclareClass(script, name, "TPersistent");
  }
  return name;
}

std::string EnumTypeName(TfsScript& script, const TfrxEnumType& type) {
  if (type.IsBoolean()) return "Boolean";
  if (!script.FindSymbol(type.Name)) script.DeclareType(type.Name, stEnum);
  return type.Name;
}

std::string PropTypeName(TfsScript& script, const TfrxPropInfo& prop) {
  switch (prop.Kind) {
    case TfrxPropKind::Integer: return "Integer";
    case TfrxPropKind::Char:
    case TfrxPropKind::WideChar: return "Char";
    case TfrxPropKind::Enumeration:
    case TfrxPropKind::Set: return prop.Enum ? EnumTypeName(script, *prop.Enum) : "Integer";
    case TfrxPropKind::Float: return "Extended";
    case TfrxPropKind::Variant: return "Variant";
    case TfrxPropKind::Reference:
    case TfrxPropKind::Object: return ClassTypeName(script, prop.ClassName);
    default: return "String";
  }
}

void DeclarePublished(TfsScript& script, TfsClassVariable& cls, const TfrxClassInfo& info) {
  for (const TfrxPropInfo* prop : info.Properties()) {
    if (cls.LookupMember(prop->Name)) continue;  // an ancestor's, or added by hand
    const bool writable = prop->Kind != TfrxPropKind::Object && !prop->IsReadOnly();
    fsDeclareObjectProperty(cls, prop->Name, PropTypeName(script, *prop), writable);
  }
}

}  // namespace

namespace {

// Band events running now (nested: a band shown from another band's event).
int bandEventDepth = 0;

bool InsideBand(const TfrxComponent* object) {
  for (; object; object = object->Parent())
    if (dynamic_cast<const TfrxBand*>(object)) return true;
  return false;
}

bool ReportRunning(const TfrxComponent& object) {
  auto* report = dynamic_cast<const TfrxReport*>(object.IsReportObject() ? &object : object.OwningReport());
  return report && report->Engine() && report->Engine()->Running();
}

}  // namespace

TfrxBandEventScope::TfrxBandEventScope(const TfrxComponent* sender) : counted_(InsideBand(sender)) {
  if (counted_) ++bandEventDepth;
}

TfrxBandEventScope::~TfrxBandEventScope() {
  if (counted_) --bandEventDepth;
}

namespace frx_rtti {

void CheckNotRunning(const TfrxComponent& object, const std::string& member) {
  if (ReportRunning(object)) throw EfsScriptError("The report is being prepared: '" + member + "'");
}

void CheckTreeMayChange(const TfrxComponent& object, const std::string& member) {
  if (bandEventDepth > 0 && ReportRunning(object))
    throw EfsScriptError("The report engine is placing a band: '" + member + "'");
}

const TfrxClassInfo* ClassInfoNamed(const std::string& name) {
  // Abstract classes and sub-objects, which the class registry does not hold.
  const TfrxClassInfo* classes[] = {
      &TfrxComponent::StaticClassInfo(),     &TfrxReportComponent::StaticClassInfo(), &TfrxDialogComponent::StaticClassInfo(),
      &TfrxView::StaticClassInfo(),          &TfrxStretcheable::StaticClassInfo(),    &TfrxBand::StaticClassInfo(),
      &TfrxPage::StaticClassInfo(),          &TfrxDataSet::StaticClassInfo(),         &TfrxFontProps::StaticClassInfo(),
      &TfrxFrame::StaticClassInfo(),         &TfrxFrameLine::StaticClassInfo(),       &TfrxHighlight::StaticClassInfo(),
      &TfrxFormat::StaticClassInfo(),        &TfrxEngineOptions::StaticClassInfo(),   &TfrxPreviewOptions::StaticClassInfo(),
      &TfrxPrintOptions::StaticClassInfo(),  &TfrxReportOptions::StaticClassInfo(),   &TfrxVariable::StaticClassInfo(),
      &TfrxStyleItem::StaticClassInfo()};
  for (const TfrxClassInfo* cls : classes)
    if (frxSameText(cls->Name(), name)) return cls;
  return frxFindClass(name);
}

TfsHostObject& Keep(const void* target, const std::string& kind, TComponent* anchor,
                    const std::function<std::unique_ptr<TfsHostObject>()>& make) {
  return StandIns().Keep(target, kind, anchor, make);
}

TComponent* AnchorOf(TfsHostObject* instance) {
  auto* ref = dynamic_cast<TfrxScriptRef*>(instance);
  return ref ? ref->Anchor() : nullptr;
}

TfrxComponent* ComponentArg(const TfsMethodHelper& args, int index) {
  return dynamic_cast<TfrxComponent*>(frxScriptObject(args.GetParam(index)));
}

}  // namespace frx_rtti

Variant TfrxPersistentRef::GetProperty(const std::string& name) {
  const TfrxPropInfo& prop = PropOf(*target_, name);
  switch (prop.Kind) {
    case TfrxPropKind::Reference:
      return frxScriptValue(prop.GetRef(*target_));
    case TfrxPropKind::Object:
      return frxScriptValue(prop.GetObject(*target_), Anchor());
    default:
      return frxGetPropValue(*target_, prop);
  }
}

void TfrxPersistentRef::SetProperty(const std::string& name, const Variant& value) {
  const TfrxPropInfo& prop = PropOf(*target_, name);
  if (prop.Kind == TfrxPropKind::Reference) {
    if (!prop.SetRef) throw EfsScriptError(std::string(fs_messages::LeftSideCannotBeAssigned));
    prop.SetRef(*target_, dynamic_cast<TfrxComponent*>(frxScriptObject(value)));
    return;
  }
  frxSetPropValue(*target_, prop, ScriptValueFor(prop, value));
}

Variant frxScriptValue(TPersistent* object, TComponent* anchor) {
  if (!object) return Variant(int32_t{0});
  if (auto* component = dynamic_cast<TComponent*>(object)) anchor = component;
  const TfsHostClass& cls = InternClass(object->ClassInfo());
  return fsObjectToVariant(&frx_rtti::Keep(object, "persistent", anchor, [&]() -> std::unique_ptr<TfsHostObject> {
    if (auto* picture = dynamic_cast<TfrxPicture*>(object)) return std::make_unique<TPictureRef>(cls, *picture, anchor);
    return std::make_unique<TfrxPersistentRef>(cls, *object, anchor);
  }));
}

TPersistent* frxScriptObject(const Variant& value) {
  auto* ref = dynamic_cast<TfrxPersistentRef*>(fsVariantToObject(value));
  return ref ? &ref->Target() : nullptr;
}

void frxDeclareScriptClass(TfsScript& script, const TfrxClassInfo& info) {
  if (script.FindClassSymbol(info.Name())) return;
  if (info.Parent()) frxDeclareScriptClass(script, *info.Parent());
  const std::string ancestor = info.Parent() ? info.Parent()->Name() : "TPersistent";
  InternClass(info);
  TfsClassVariable& cls = fsDeclareClass(script, info.Name(), ancestor);
  frx_rtti::DeclareHandMembers(cls);
  DeclarePublished(script, cls, info);
}

namespace frx_rtti {
// Classes another module declared before (TComponent, TFont) get the published
// properties too.
void CompleteDeclaredClass(TfsScript& script, const TfrxClassInfo& info) {
  TfsClassVariable* cls = script.FindClassSymbol(info.Name());
  if (!cls) return frxDeclareScriptClass(script, info);
  InternClass(info);
  DeclareHandMembers(*cls);
  DeclarePublished(script, *cls, info);
}
}  // namespace frx_rtti
