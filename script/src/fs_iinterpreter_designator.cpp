// Designators at run time: reading and writing a chain of entries, calls with their
// arguments and var parameters, string and array indexing, and calling a script
// procedure (recursion, the depth limit, the running sub-program).
#include <cctype>
#include <vector>

#include "fs_iinterpreter_program.h"
#include "fs_limits.h"

namespace {

// Nesting of script procedure calls on this thread, and where the outermost one began.
thread_local int callDepth = 0;
thread_local std::uintptr_t callStackBase = 0;

// The values of a sub-program's own variables and parameters, kept across a recursive call.
class SavedLocals {
 public:
  explicit SavedLocals(TfsScript& program) {
    for (TfsItemList* entry : program.Entries()) {
      auto* variable = dynamic_cast<TfsCustomVariable*>(entry);
      if (!variable || dynamic_cast<TfsProcVariable*>(variable) || variable->Locked) continue;
      saved_.push_back({variable, variable->MutableValue()});
      if (auto* text = dynamic_cast<TfsStringVariable*>(variable)) texts_.push_back({text, text->Text()});
    }
  }
  ~SavedLocals() {
    for (auto& [variable, value] : saved_) variable->MutableValue() = std::move(value);
    for (auto& [variable, text] : texts_) variable->RestoreText(std::move(text));
  }
  SavedLocals(const SavedLocals&) = delete;
  SavedLocals& operator=(const SavedLocals&) = delete;

 private:
  std::vector<std::pair<TfsCustomVariable*, Variant>> saved_;
  std::vector<std::pair<TfsStringVariable*, std::string>> texts_;
};

int IndexOf(const Variant& value) { return fsVarToInteger(value); }

}  // namespace

TfsStringHelper::TfsStringHelper() : TfsCustomHelper("__StringHelper", stChar, "Char") {
  AddParam(std::make_unique<TfsParamItem>("Index", stInteger, "Integer", false, false));
  Locked = false;
}

Variant TfsStringHelper::ReadValue() {
  std::string text = fsVarToText(OwnerInstance);
  int index = IndexOf(Param(0).ReadValue());
  if (index < 1 || static_cast<size_t>(index) > text.size()) return Variant(std::string());
  return Variant(std::string(1, text[static_cast<size_t>(index) - 1]));
}

void TfsStringHelper::WriteValue(const Variant& value) {
  std::string text = fsVarToText(OwnerInstance);
  int index = IndexOf(Param(0).ReadValue());
  std::string c = fsVarToText(value);
  // Outside the string nothing is written: the text stays whole.
  if (index < 1 || static_cast<size_t>(index) > text.size() || c.empty()) return;
  text[static_cast<size_t>(index) - 1] = c[0];
  if (OwnerEntry) OwnerEntry->WriteValue(Variant(text));
}

TfsArrayHelper::TfsArrayHelper(TfsCustomVariable* array, int dimensions, ScriptType elementType,
                               std::string elementTypeName)
    : TfsCustomHelper("__ArrayHelper", elementType, std::move(elementTypeName)), array_(array) {
  for (int i = 0; i < dimensions; ++i)
    AddParam(std::make_unique<TfsParamItem>("Index" + std::to_string(i), stVariant, "Variant", i > 0, false));
}

Variant* TfsArrayHelper::Element(Variant& array) {
  if (!array.isArray()) return nullptr;
  VariantArray& a = array.array();
  size_t dimensions = a.bounds.size();
  if (dimensions == 0 || dimensions > 3 || static_cast<int>(dimensions) > ParamCount()) return nullptr;
  int64_t offset = 0;
  for (size_t d = 0; d < dimensions; ++d) {
    Variant index = Param(static_cast<int>(d)).ReadValue();
    if (index.isNull()) return nullptr;
    int64_t i = IndexOf(index);
    const VariantArray::Bound& b = a.bounds[d];
    if (i < b.low || i > b.high) throw EVariantError("Index out of bounds: " + std::to_string(i));
    offset = offset * b.count() + (i - b.low);
  }
  return &a.items[static_cast<size_t>(offset)];
}

Variant TfsArrayHelper::ReadValue() {
  if (array_) {
    Variant* element = Element(array_->MutableValue());
    return element ? *element : Variant::Null();
  }
  Variant copy = OwnerInstance;
  Variant* element = Element(copy);
  return element ? *element : Variant::Null();
}

void TfsArrayHelper::WriteValue(const Variant& value) {
  if (array_) {
    if (Variant* element = Element(array_->MutableValue())) *element = fsConvertToType(TypeCode, value);
    return;
  }
  Variant copy = OwnerInstance;
  if (Variant* element = Element(copy)) {
    *element = value;
    if (OwnerEntry) OwnerEntry->WriteValue(copy);
  }
}

TfsDesignator::TfsDesignator(TfsScript& script) : TfsCustomVariable({}, stVariant, "Variant"), script_(&script) {}

TfsDesignatorItem& TfsDesignator::AddItem(TfsCustomVariable* ref, const std::string& position) {
  auto item = std::make_unique<TfsDesignatorItem>();
  item->Ref = ref;
  item->SourcePoint = position;
  return static_cast<TfsDesignatorItem&>(Add(std::move(item)));
}

Variant TfsDesignator::ReadValue() {
  if (Kind == 1) return Item(0).Ref->ReadValue();
  return Evaluate(nullptr);
}

void TfsDesignator::WriteValue(const Variant& value) {
  if (Kind == 1) {
    Item(0).Ref->WriteValue(value);
    return;
  }
  Evaluate(&value);
}

Variant TfsDesignator::Evaluate(const Variant* assigned) {
  Variant current = Variant::Null();
  TfsCustomVariable* previous = nullptr;
  std::vector<Variant> args;
  int count = ItemCount();
  for (int i = 0; i < count; ++i) {
    TfsDesignatorItem& item = Item(i);
    TfsCustomVariable* entry = item.Ref;
    bool last = i + 1 == count;
    args.clear();
    for (int a = 0; a < item.ArgCount(); ++a)
      args.push_back(entry->SourceArgs ? Variant(item.Arg(a).SourceText) : item.Arg(a).ReadValue());

    if (auto* dynamic = dynamic_cast<TfsDynamicMember*>(entry)) dynamic->Args = args;
    auto* procedure = dynamic_cast<TfsProcVariable*>(entry);
    std::unique_ptr<SavedLocals> saved;
    if (procedure && procedure->InCall) saved = std::make_unique<SavedLocals>(procedure->Program());
    int paramCount = entry->ParamCount();
    for (size_t a = 0; a < args.size() && static_cast<int>(a) < paramCount; ++a)
      entry->Param(static_cast<int>(a)).WriteValue(args[a]);

    if (auto* helper = dynamic_cast<TfsCustomHelper*>(entry)) {
      helper->OwnerEntry = previous;
      helper->OwnerInstance = current;
      helper->HomeScript = script_;
    }
    // A declared array is indexed in place: its value need not be read first.
    bool nextIndexesInPlace = !last && dynamic_cast<TfsArrayHelper*>(Item(i + 1).Ref) &&
                              static_cast<TfsArrayHelper*>(Item(i + 1).Ref)->ArrayVariable() == entry;
    if (last && assigned) {
      entry->WriteValue(*assigned);
    } else if (!nextIndexesInPlace) {
      entry->ResultUsed = !last || ResultUsed;
      current = entry->ReadValue();
    }
    // Var parameters go back into the caller's variables, after the caller's locals
    // are restored.
    std::vector<Variant> byReference;
    for (int a = 0; a < item.ArgCount() && a < paramCount; ++a)
      if (entry->Param(a).ByReference) byReference.push_back(entry->Param(a).ReadValue());
    saved.reset();
    size_t next = 0;
    for (int a = 0; a < item.ArgCount() && a < paramCount; ++a)
      if (entry->Param(a).ByReference) item.Arg(a).WriteValue(byReference[next++]);
    previous = entry;
  }
  return current;
}

Variant fsCallProcedure(TfsProcVariable& procedure) {
  if (callDepth >= fs_limits::kMaxCallDepth) throw EfsScriptError(fs_limits::kCallDepthMessage);
  // The frame itself, not a local: sanitizers may keep locals on a heap-allocated stack.
  auto here = reinterpret_cast<std::uintptr_t>(__builtin_frame_address(0));
  if (callDepth == 0) callStackBase = here;
  // The stack grows downwards on every platform we run on.
  if (callStackBase > here && callStackBase - here > fs_limits::kMaxCallStackBytes)
    throw EfsScriptError(fs_limits::kCallStackMessage);
  TfsScript& program = procedure.Program();
  bool wasInCall = procedure.InCall;
  procedure.InCall = true;
  if (procedure.IsFunction() && procedure.TargetEntry) procedure.TargetEntry->MutableValue() = Variant();
  TfsScript* main = &program;
  while (main && !main->IsMainProgram) main = main->ParentScript;
  TfsScript* previousRunning = main ? main->RunningProgram : nullptr;
  if (main) main->RunningProgram = &program;
  ++callDepth;
  struct Restore {
    TfsProcVariable& procedure;
    TfsScript& program;
    TfsScript* main;
    TfsScript* previousRunning;
    bool wasInCall;
    ~Restore() {
      --callDepth;
      // A stop requested for the whole script stays, so that a recursive caller of
      // the same procedure unwinds too.
      bool stopping = main && main->StopRequested;
      program.ExitPending = stopping;
      program.StopRequested = stopping;
      program.RunActive = false;
      if (main) main->RunningProgram = previousRunning;
      procedure.InCall = wasInCall;
    }
  } restore{procedure, program, main, previousRunning, wasInCall};
  program.ExitPending = false;
  program.StopRequested = false;
  program.RunActive = true;
  if (program.MainStatement) static_cast<TfsStatement&>(*program.MainStatement).Execute();
  return procedure.IsFunction() && procedure.TargetEntry ? procedure.TargetEntry->ReadValue() : Variant::Null();
}

Variant fsCallProcedureWith(TfsProcVariable& procedure, const std::vector<Variant>& args,
                            std::vector<Variant>* results) {
  std::unique_ptr<SavedLocals> saved;
  if (procedure.InCall) saved = std::make_unique<SavedLocals>(procedure.Program());
  for (size_t i = 0; i < args.size() && static_cast<int>(i) < procedure.ParamCount(); ++i)
    procedure.Param(static_cast<int>(i)).WriteValue(args[i]);
  Variant result = fsCallProcedure(procedure);
  if (results) {
    results->clear();
    for (int i = 0; i < procedure.ParamCount(); ++i) results->push_back(procedure.Param(i).ReadValue());
  }
  return result;
}

Variant TfsProcVariable::ReadValue() { return fsCallProcedure(*this); }

namespace {

// The registered class of a host object: its own class, or the nearest registered ancestor.
TfsClassVariable* ClassOfObject(const TfsScript* script, const TfsHostObject& object) {
  if (!script) return nullptr;
  for (const TfsHostClass* c = &object.HostClass(); c; c = c->Parent())
    if (TfsClassVariable* cls = script->FindClassSymbol(c->Name())) return cls;
  return nullptr;
}

bool SameName(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i]))) return false;
  return true;
}

[[noreturn]] void Undeclared(const std::string& name) {
  throw EfsScriptError(std::string(fs_messages::UndeclaredIdentifier) + "'" + name + "'");
}

}  // namespace

Variant TfsDynamicMember::Access(const Variant* assigned) {
  Variant owner = OwnerInstance;
  TfsHostObject* object = fsVariantToObject(owner);
  bool index = Name() == "[";
  if (index && !object) {
    if (owner.isText()) {
      TfsStringHelper helper;
      helper.OwnerInstance = owner;
      helper.OwnerEntry = OwnerEntry;
      helper.Param(0).WriteValue(Args.empty() ? Variant::Null() : Args[0]);
      if (!assigned) return helper.ReadValue();
      helper.WriteValue(*assigned);
      return Variant();
    }
    if (!owner.isArray()) throw EfsScriptError(fs_messages::ArrayTypeRequired);
    TfsArrayHelper helper(nullptr, 3, stVariant, "Variant");
    helper.OwnerInstance = owner;
    helper.OwnerEntry = OwnerEntry;
    for (size_t i = 0; i < Args.size() && i < 3; ++i) helper.Param(static_cast<int>(i)).WriteValue(Args[i]);
    if (!assigned) return helper.ReadValue();
    helper.WriteValue(*assigned);
    return Variant();
  }
  if (!object) Undeclared(Name());
  TfsClassVariable* cls = ClassOfObject(HomeScript, *object);
  TfsCustomHelper* member = nullptr;
  if (cls) member = index ? cls->DefaultMember : cls->LookupMember(Name());
  if (!member && !index) {
    for (int i = 0; i < object->HostComponentCount(); ++i) {
      TfsHostObject* component = object->HostComponent(i);
      if (component && SameName(component->HostName(), Name())) {
        if (assigned) throw EfsScriptError(fs_messages::LeftSideCannotBeAssigned);
        return fsObjectToVariant(component);
      }
    }
  }
  if (!member) Undeclared(Name());
  member->OwnerInstance = owner;
  member->OwnerEntry = OwnerEntry;
  member->HomeScript = HomeScript;
  for (size_t i = 0; i < Args.size() && static_cast<int>(i) < member->ParamCount(); ++i)
    member->Param(static_cast<int>(i)).WriteValue(Args[i]);
  if (!assigned) return member->ReadValue();
  member->WriteValue(*assigned);
  return Variant();
}
