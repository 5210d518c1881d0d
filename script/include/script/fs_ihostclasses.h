#pragma once
// What the registration modules of host classes share: host classes interned by name
// (so that the classes, forms, report and INI modules agree on one TComponent, one
// TStrings...), the base of objects that scripts create and free themselves, and the
// declaration of a class that another module may already have declared.
//
// Contract
// - fsHostClass: one TfsHostClass per name for the whole process (names compare without
//   regard to case). The first call for a name fixes its parent and its way of creating
//   instances; later calls return it unchanged. Parents are named classes interned
//   before (an unknown parent name gives a class without parent).
// - TfsScriptObject: an object a script made with a constructor (TStringList.Create).
//   The script owns it and frees it with Free (unless OwnedByScript is cleared); objects
//   a script never frees live until the process ends, as they would in the host platform.
// - fsInstanceOf<T>(instance, member): the instance as the class the member belongs to,
//   or the error "Object is nil or not a T: 'MEMBER'" instead of a crash.

#include <functional>
#include <string>
#include <vector>

#include "script/fs_iinterpreter.h"

const TfsHostClass& fsHostClass(const std::string& name, const std::string& parentName = {},
                                std::function<TfsHostObject*()> newInstance = {});

class TfsScriptObject : public TfsHostObject {
 public:
  explicit TfsScriptObject(const TfsHostClass& cls) : class_(&cls) {}
  const TfsHostClass& HostClass() const override { return *class_; }
  // False for objects another object or the host keeps (a canvas's font, a component's
  // list of objects): Free then leaves them alone.
  bool OwnedByScript = true;

 private:
  const TfsHostClass* class_;
};

namespace fs_hostclasses {
[[noreturn]] void NoInstance(const std::string& member, const char* className);
}

template <class T>
T& fsInstanceOf(TfsHostObject* instance, const std::string& member, const char* className) {
  if (auto* object = dynamic_cast<T*>(instance)) return *object;
  fs_hostclasses::NoInstance(member, className);
}

// The class entry of that name: declared now (host class interned by name, with the
// ancestor) or the one another module declared before.
TfsClassVariable& fsDeclareClass(TfsScript& script, const std::string& name, const std::string& ancestor,
                                 std::function<TfsHostObject*()> newInstance = {});

// An object that serves its properties by name (names arrive upper-cased): the report's
// stand-ins over published properties, and the property bags below. A property declared
// with fsDeclareObjectProperty reaches any such object, so that two modules may declare
// one class (TFont) and each object answers for itself.
class TfsPropertyObject {
 public:
  virtual ~TfsPropertyObject() = default;
  virtual Variant GetProperty(const std::string& name) = 0;
  virtual void SetProperty(const std::string& name, const Variant& value) = 0;
};
TfsPropertyHelper& fsDeclareObjectProperty(TfsClassVariable& cls, const std::string& name, const std::string& typeName,
                                           bool writable = true);

// A script object whose properties are plain values kept by name (fonts, pens and brushes
// a script makes, forms and controls that have no window on this platform).
class TfsPropertyBag : public TfsScriptObject, public TfsPropertyObject {
 public:
  TfsPropertyBag(const TfsHostClass& cls, std::vector<std::pair<std::string, Variant>> defaults = {});
  Variant GetProperty(const std::string& name) override;  // Null when never set
  void SetProperty(const std::string& name, const Variant& value) override;

 private:
  std::vector<std::pair<std::string, Variant>> values_;  // upper-cased names
};

// Declares each comma-separated name as an Integer constant with the value beside it.
struct TfsIntConstant {
  const char* name;
  int value;
};
void fsDeclareIntConstants(TfsScript& script, const std::vector<TfsIntConstant>& constants);
