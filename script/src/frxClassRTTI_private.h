#pragma once
// Inside the report classes module: the stand-ins of report objects and the members
// added by hand.

#include <functional>
#include <memory>
#include <string>

#include "report/frxClassComponent.h"
#include "script/frxClassRTTI.h"
#include "script/fs_ihostclasses.h"

// A report-side object as a script holds it. Anchor: the component whose removal ends it.
class TfrxScriptRef : public TfsHostObject {
 public:
  TfrxScriptRef(const TfsHostClass& cls, TComponent* anchor) : class_(&cls), anchor_(anchor) {}
  const TfsHostClass& HostClass() const override { return *class_; }
  TComponent* Anchor() const { return anchor_; }

 private:
  const TfsHostClass* class_;
  TComponent* anchor_;
};

// A persistent object's stand-in: its properties are the published ones.
class TfrxPersistentRef : public TfrxScriptRef, public TfsPropertyObject {
 public:
  TfrxPersistentRef(const TfsHostClass& cls, TPersistent& target, TComponent* anchor)
      : TfrxScriptRef(cls, anchor), target_(&target) {}
  TPersistent& Target() const { return *target_; }
  Variant GetProperty(const std::string& name) override;
  void SetProperty(const std::string& name, const Variant& value) override;

 private:
  TPersistent* target_;
};

// A stand-in for an object that is no TPersistent (the variables, the engine, a line list).
template <class T>
class TfrxScriptRefTo : public TfrxScriptRef {
 public:
  TfrxScriptRefTo(const TfsHostClass& cls, T& target, TComponent* anchor) : TfrxScriptRef(cls, anchor), target_(&target) {}
  T& Target() const { return *target_; }

 private:
  T* target_;
};

namespace frx_rtti {

// What "TfrxMemoView.Create(Owner)" reads before the constructor makes the object.
class TPendingComponent final : public TfsScriptObject {
 public:
  using TfsScriptObject::TfsScriptObject;
};

// The stand-in kept under (target, kind), made by `make` on first use.
TfsHostObject& Keep(const void* target, const std::string& kind, TComponent* anchor,
                    const std::function<std::unique_ptr<TfsHostObject>()>& make);

template <class T>
Variant ValueOf(T* object, const char* className, TComponent* anchor) {
  if (!object) return Variant(int32_t{0});
  return fsObjectToVariant(&Keep(object, className, anchor, [&]() -> std::unique_ptr<TfsHostObject> {
    return std::make_unique<TfrxScriptRefTo<T>>(fsHostClass(className), *object, anchor);
  }));
}

template <class T>
T& TargetOf(TfsHostObject* instance, const std::string& member, const char* className) {
  if (auto* ref = dynamic_cast<TfrxScriptRefTo<T>*>(instance)) return ref->Target();
  fs_hostclasses::NoInstance(member, className);
}

// The persistent object behind the instance, as T.
template <class T>
T& PersistentOf(TfsHostObject* instance, const std::string& member, const char* className) {
  if (auto* ref = dynamic_cast<TfrxPersistentRef*>(instance))
    if (auto* object = dynamic_cast<T*>(&ref->Target())) return *object;
  fs_hostclasses::NoInstance(member, className);
}

TComponent* AnchorOf(TfsHostObject* instance);
// Raise unless the report tree may change now (see frxClassRTTI.h).
void CheckTreeMayChange(const TfrxComponent& object, const std::string& member);
void CheckNotRunning(const TfrxComponent& object, const std::string& member);
// The class info of a report class or sub-object class by name, or null.
const TfrxClassInfo* ClassInfoNamed(const std::string& name);
TfrxComponent* ComponentArg(const TfsMethodHelper& args, int index);

// Hand-added members of the report classes by class name (frxClassRTTI_members.cpp) and
// the classes that are no published classes (frxClassRTTI_report.cpp).
void DeclareHandMembers(TfsClassVariable& cls);
void DeclareReportSideClasses(TfsScript& script);
void DeclareReport(TfsClassVariable& cls);
// Adds the published properties (and hand-added members) to a class another module
// declared before (TComponent, TFont), or declares it.
void CompleteDeclaredClass(TfsScript& script, const TfrxClassInfo& info);

}  // namespace frx_rtti
