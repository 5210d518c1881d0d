#pragma once
// The script program model: the script object TfsScript, its symbol table of typed
// entries, the chain of parent scripts, and the interface through which the host makes
// its own functions, classes and objects callable from scripts.
//
// Host contract (read this before registering anything)
// -----------------------------------------------------
// * Registration is by declaration text. The host calls DeclareFunction with a text
//   such as "function Copy(s: String; from, count: Integer): String" and a call-back;
//   classes come from DeclareClass, their members from the TfsClassVariable operations;
//   objects, variables, constants, enums and types from the other Declare* operations.
//   Names already found (FindSymbol, parents included) are not registered twice: the
//   existing entry is returned (types, constants, variables) or null (classes).
// * Ownership: the script owns every entry it holds and frees it in ClearProgram,
//   RemoveOwnedItems or its destructor; pointers returned by Declare* stay valid until
//   then. Every entry is stamped with CurrentOwner when added; set CurrentOwner to your
//   own tag around your registrations and remove them later with ClearOwnedItems(tag).
//   Tag fsSystemOwner (1) marks the registration modules' entries: ClearProgram keeps
//   them, RemoveSystemModules drops them.
// * Host objects never reach scripts as anything but a Variant of integer kind holding
//   the object reference (fsObjectToVariant / fsVariantToObject). An object the engine
//   must know the class of (DeclareObject, DeclareForm) implements TfsHostObject.
// * Call-backs. A function or method call-back receives the instance (null for global
//   functions), the host class of the member's class (null for globals), the member's
//   upper-cased name and the parameters, and returns a Variant. Two flavours:
//     - TfsCallMethod (array): the parameters arrive as one Variant per declared
//       parameter, in declaration order; elements of var parameters that the call-back
//       changes are copied back into the parameters (and from there, by the caller,
//       into the script's variables).
//     - TfsCallMethodEx (member object): the call-back reads and writes parameter i
//       through the TfsMethodHelper it receives (GetParam/SetParam); index ParamCount()
//       is the value being assigned in an indexed-property write.
//   Indexed properties use one call-back for both directions: reading passes the name
//   + ".GET" with the index values, writing passes the name + ".SET" with the index
//   values followed by the value to store. A property getter receives (instance, host
//   class, name) and returns the value; a setter receives (instance, host class, value,
//   name). A member without a call-back reads as 0. Errors are reported by throwing;
//   the exception leaves the script run with its message.
// * Order of calls for a report-like host: ClearOwnedItems(self), CurrentOwner = self,
//   Declare* ..., CurrentOwner = fsNoOwner, Lines = source, CompileScript().
//
// Compiling: CompileScript parses Lines with the grammar of SyntaxType (fs_iilparser.h)
// and hands the IL to the program builder registered with fsSetProgramBuilder. That
// builder turns the IL into entries and statements; unless another is registered,
// the interpreter's builder does it. ExecuteScript, EvaluateExpression and
// CallScriptFunction run the compiled program.

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/Variant.h"

class TfsScript;
class TfsILParser;
class TfsXMLItem;
class TfsParamItem;
class TfsMethodHelper;
class TfsClassVariable;

// Errors of the engine: the fixed English texts, with the position text and unit name
// of the place they concern when known.
class EfsScriptError : public std::runtime_error {
 public:
  explicit EfsScriptError(const std::string& message, std::string position = {}, std::string unitName = {})
      : std::runtime_error(message), Position(std::move(position)), UnitName(std::move(unitName)) {}
  std::string Position;
  std::string UnitName;
};

// ORDER: the codes are seen by the interpreter's type tables; keep values fixed.
enum ScriptType {
  stInteger = 0,
  stBoolean = 1,
  stFloat = 2,
  stChar = 3,
  stString = 4,
  stClass = 5,
  stArray = 6,
  stVariant = 7,
  stEnum = 8,
  stConstructor = 9,
};

// Display name of a type code ("Integer", "Extended", ...; codes above 8 give "Variant");
// for stClass and stEnum the class or type name when one is given.
std::string TypeCodeToName(ScriptType code, std::string_view typeName = {});
// Type code of a type name through the script's symbol table; unknown names give stClass.
ScriptType TypeNameToCode(std::string_view name, const TfsScript* script);
// A value as a variable of the type holds it: Integer, Boolean, Extended (double) and
// String convert (fs_iexpression.h has the rules); Null, Empty, arrays and the other
// types stay as they are.
Variant fsConvertToType(ScriptType type, const Variant& value);

// Who added an entry. 0: nobody in particular; 1: the registration modules.
using TfsOwnerTag = std::uintptr_t;
constexpr TfsOwnerTag fsNoOwner = 0;
constexpr TfsOwnerTag fsSystemOwner = 1;
inline TfsOwnerTag fsOwnerTagOf(const void* owner) { return reinterpret_cast<std::uintptr_t>(owner); }

// A class of the host, as scripts see it: a name, the parent class, and optionally a
// way to create an instance (what a script's "TMyClass.Create" falls back to).
class TfsHostClass {
 public:
  TfsHostClass(std::string name, const TfsHostClass* parent, std::function<class TfsHostObject*()> newInstance = {})
      : name_(std::move(name)), parent_(parent), newInstance_(std::move(newInstance)) {}
  const std::string& Name() const { return name_; }
  const TfsHostClass* Parent() const { return parent_; }
  bool InheritsFrom(const TfsHostClass* other) const;
  bool InheritsFrom(std::string_view className) const;  // case-insensitive
  TfsHostObject* NewInstance() const { return newInstance_ ? newInstance_() : nullptr; }

 private:
  std::string name_;
  const TfsHostClass* parent_;
  std::function<TfsHostObject*()> newInstance_;
};

// A host object whose class the engine may ask for. Objects owning named components
// (forms, data modules) list them, so that scripts reach them as members. Every live
// host object is known to the engine, so that a script handing any integer where an
// object is expected reaches no object at all rather than a wild one.
class TfsHostObject {
 public:
  TfsHostObject();
  TfsHostObject(const TfsHostObject&);
  TfsHostObject& operator=(const TfsHostObject&) = default;
  virtual ~TfsHostObject();
  virtual const TfsHostClass& HostClass() const = 0;
  virtual std::string HostName() const { return {}; }
  virtual int HostComponentCount() const { return 0; }
  virtual TfsHostObject* HostComponent(int index) const { return nullptr; }
};

Variant fsObjectToVariant(const TfsHostObject* object);
// The object held by an integer variant; null for 0, Null, Empty, non-integers and
// integers that are no live host object.
TfsHostObject* fsVariantToObject(const Variant& value);

using TfsCallMethod = std::function<Variant(TfsHostObject* instance, const TfsHostClass* hostClass,
                                            const std::string& methodName, std::vector<Variant>& params)>;
using TfsCallMethodEx = std::function<Variant(TfsHostObject* instance, const TfsHostClass* hostClass,
                                              const std::string& methodName, TfsMethodHelper& caller)>;
using TfsGetValue = std::function<Variant(TfsHostObject* instance, const TfsHostClass* hostClass,
                                          const std::string& propName)>;
using TfsSetValue = std::function<void(TfsHostObject* instance, const TfsHostClass* hostClass, const Variant& value,
                                       const std::string& propName)>;
// Value-request hook of variables: a non-Null answer replaces the stored value.
using TfsGetVarValueEvent = std::function<Variant(const std::string& varName, ScriptType varType,
                                                  const Variant& storedValue)>;

// Owning list of child objects; every script object derives from it.
class TfsItemList {
 public:
  TfsItemList() = default;
  TfsItemList(const TfsItemList&) = delete;
  TfsItemList& operator=(const TfsItemList&) = delete;
  virtual ~TfsItemList() = default;
  virtual void Clear() { items_.clear(); }  // frees the children

  int Count() const { return static_cast<int>(items_.size()); }
  TfsItemList* Get(int index) const { return items_[static_cast<size_t>(index)].get(); }
  TfsItemList& Add(std::unique_ptr<TfsItemList> item);
  // Takes the child out without freeing it.
  std::unique_ptr<TfsItemList> Remove(TfsItemList* item);

 private:
  std::vector<std::unique_ptr<TfsItemList>> items_;
};

// An entry of the symbol table. Its children are its parameters (TfsParamItem).
class TfsCustomVariable : public TfsItemList {
 public:
  TfsCustomVariable(std::string name, ScriptType type, std::string declaredType);

  const std::string& Name() const { return name_; }
  const std::string& UpperName() const { return upperName_; }
  ScriptType TypeCode;
  std::string DeclaredType;  // class name for stClass, type name for stEnum
  bool Locked = false;       // assignments are ignored
  bool SourceArgs = false;   // receives the source text of its arguments (macros)
  bool ResultUsed = true;
  TfsOwnerTag OwnerTag = fsNoOwner;
  TfsCustomVariable* TargetEntry = nullptr;
  std::string SourcePoint;
  std::string DeclUnit;
  TfsGetVarValueEvent OnGetVarValue;

  int ParamCount() const { return Count(); }
  TfsParamItem& Param(int index) const;
  TfsParamItem& AddParam(std::unique_ptr<TfsParamItem> param);

  // ORDER: slot 1 and 2 after Clear.
  virtual void WriteValue(const Variant& value);  // nothing when Locked
  virtual Variant ReadValue();
  const Variant& StoredValue() const { return value_; }
  // The stored value itself, for the interpreter's direct stores (for-loop variables,
  // array elements in place, locals saved across recursion).
  Variant& MutableValue() { return value_; }

 protected:
  Variant value_ = Variant::Null();

 private:
  std::string name_;
  std::string upperName_;
};

class TfsVariable : public TfsCustomVariable {
 public:
  using TfsCustomVariable::TfsCustomVariable;
  void WriteValue(const Variant& value) override;  // converted to the declared type
  Variant ReadValue() override;                     // the hook first, then the stored value
};

// A variable of type Char or String, kept as native 8-bit text.
class TfsStringVariable : public TfsVariable {
 public:
  using TfsVariable::TfsVariable;
  void WriteValue(const Variant& value) override;
  Variant ReadValue() override;
  const std::string& Text() const { return text_; }
  void RestoreText(std::string text) { text_ = std::move(text); }

 private:
  std::string text_;
};

// Names a type; has no value.
class TfsTypeVariable : public TfsCustomVariable {
 public:
  using TfsCustomVariable::TfsCustomVariable;
};

class TfsParamItem : public TfsCustomVariable {
 public:
  TfsParamItem(std::string name, ScriptType type, std::string declaredType, bool mayOmit, bool byReference);
  bool MayOmit;
  bool ByReference;
  Variant DefaultValue = Variant::Null();
};

// A procedure or function declared by a script. Its locals and parameters live in a
// sub-program whose parent is the declaring script; a function's "Result" variable is
// TargetEntry. Calling it is the program builder's business.
class TfsProcVariable : public TfsCustomVariable {
 public:
  TfsProcVariable(std::string name, ScriptType type, std::string declaredType, TfsScript& parent, bool isFunction);
  ~TfsProcVariable() override;
  bool IsFunction() const { return isFunction_; }
  TfsScript& Program() const { return *program_; }
  bool InCall = false;
  // Calls the procedure with the parameters as they are set (the interpreter).
  Variant ReadValue() override;

 private:
  bool isFunction_;
  std::unique_ptr<TfsScript> program_;
};

// Base of compiled expressions.
class TfsCustomExpression : public TfsCustomVariable {
 public:
  using TfsCustomVariable::TfsCustomVariable;
};

// A member of an object: what it belongs to is filled in by the caller before each use.
class TfsCustomHelper : public TfsCustomVariable {
 public:
  using TfsCustomVariable::TfsCustomVariable;
  Variant OwnerInstance = Variant::Null();  // the instance, as integer
  TfsCustomVariable* OwnerEntry = nullptr;
  TfsScript* HomeScript = nullptr;
  const TfsHostClass* HostClass = nullptr;

 protected:
  TfsHostObject* Instance() const { return fsVariantToObject(OwnerInstance); }
};

class TfsPropertyHelper : public TfsCustomHelper {
 public:
  using TfsCustomHelper::TfsCustomHelper;
  TfsGetValue OnGetValue;
  TfsSetValue OnSetValue;
  bool ViaClassInfo = false;  // always false: host classes carry no property information
  void WriteValue(const Variant& value) override;
  Variant ReadValue() override;
};

class TfsMethodHelper : public TfsCustomHelper {
 public:
  // Name, type and parameters come from the declaration text (ParseDeclaration).
  TfsMethodHelper(const std::string& declaration, const TfsScript* script);
  std::string DeclarationText;
  std::string Category;
  std::string Description;
  bool IsIndexProperty = false;
  TfsCallMethod OnCall;
  TfsCallMethodEx OnCallEx;

  // For member-object call-backs: parameter i, or the value being assigned at i == ParamCount().
  Variant GetParam(int index) const;
  void SetParam(int index, const Variant& value);

  void WriteValue(const Variant& value) override;  // indexed-property write
  Variant ReadValue() override;                     // the call

 private:
  TfsMethodHelper(std::unique_ptr<TfsCustomVariable> parsed, const std::string& declaration);
  Variant Call(const std::string& name, const Variant* assigned);
  Variant assigned_;
  bool assigning_ = false;
};

// An owned component of a form: its value is the component.
class TfsComponentHelper : public TfsCustomHelper {
 public:
  explicit TfsComponentHelper(TfsHostObject& component);
  Variant ReadValue() override;
  void SetComponent(TfsHostObject& component) { component_ = &component; }

 private:
  TfsHostObject* component_;
};

class TfsProcVariable;

// An adapter between a host event and a script procedure, created when a script
// assigns a procedure to an event property. Concrete adapters know the host event's
// arguments; they call Handler() with them.
class TfsCustomEvent : public TfsItemList {
 public:
  TfsCustomEvent(TfsHostObject* instance, TfsProcVariable& handler) : instance_(instance), handler_(&handler) {}
  TfsHostObject* Instance() const { return instance_; }
  TfsProcVariable& Handler() const { return *handler_; }

 private:
  TfsHostObject* instance_;
  TfsProcVariable* handler_;
};
using TfsEventAdapterClass = std::function<std::unique_ptr<TfsCustomEvent>(TfsHostObject* instance, TfsProcVariable& handler)>;
// Hooks `adapter` to the host event (or unhooks it when adapter is null).
using TfsSetEvent = std::function<void(TfsHostObject* instance, const std::string& eventName, TfsCustomEvent* adapter)>;

class TfsEventHelper : public TfsCustomHelper {
 public:
  TfsEventHelper(std::string name, TfsEventAdapterClass adapterClass, TfsSetEvent setEvent);
  // The value is the name of a script procedure, or "0" to clear the event.
  void WriteValue(const Variant& value) override;

 private:
  TfsEventAdapterClass adapterClass_;
  TfsSetEvent setEvent_;
};

// A registered class. Reading it yields a new instance of the host class, unless the
// hidden parameter holds a value, which is then returned (and reset).
class TfsClassVariable : public TfsCustomVariable {
 public:
  TfsClassVariable(const TfsHostClass& hostClass, std::string ancestorName);
  const TfsHostClass& HostClass() const { return *hostClass_; }
  const std::string& AncestorName() const { return ancestorName_; }
  const TfsItemList& MemberList() const { return members_; }
  TfsCustomHelper* DefaultMember = nullptr;
  TfsScript* HomeScript = nullptr;  // where ancestors are looked up

  TfsMethodHelper& DeclareMethod(const std::string& declaration, TfsCallMethodEx call);
  TfsMethodHelper& DeclareConstructor(const std::string& declaration, TfsCallMethodEx call);
  TfsPropertyHelper& DeclareProperty(const std::string& name, const std::string& typeName, TfsGetValue getter,
                                     TfsSetValue setter = {});
  TfsMethodHelper& DeclareIndexProperty(const std::string& name, const std::string& indexTypes,
                                        const std::string& typeName, TfsCallMethodEx call, bool readOnly = false);
  TfsMethodHelper& DeclareDefaultProperty(const std::string& name, const std::string& indexTypes,
                                          const std::string& typeName, TfsCallMethodEx call, bool readOnly = false);
  TfsEventHelper& DeclareEvent(const std::string& name, TfsEventAdapterClass adapterClass, TfsSetEvent setEvent);
  TfsComponentHelper& DeclareComponentMember(TfsHostObject& component);

  // The member of that name here or in the registered ancestors, or null.
  TfsCustomHelper* LookupMember(std::string_view name) const;

  Variant ReadValue() override;

 private:
  template <class T>
  T& AddMember(std::unique_ptr<T> member);
  const TfsHostClass* hostClass_;
  std::string ancestorName_;
  TfsItemList members_;
};

// A registration module: declares its functions, classes and constants into the script
// it is created for (in its constructor) and is owned by that script.
class TfsRTTIModule : public TfsItemList {
 public:
  explicit TfsRTTIModule(TfsScript& script) : script_(&script) {}
  TfsScript& Script() const { return *script_; }

 private:
  TfsScript* script_;
};

// ParseDeclaration: a declaration text such as "procedure Inc(var i: Integer; incr:
// Integer = 1)" as an entry with TfsParamItem children.
std::unique_ptr<TfsCustomVariable> ParseDeclaration(const std::string& text, const TfsScript* script);

// The pass after parsing: builds entries and statements from the IL (the interpreter).
// It raises EfsScriptError (message, position, unit) on the first semantic error.
class TfsProgramBuilder {
 public:
  virtual ~TfsProgramBuilder() = default;
  virtual void ILToProgram(TfsScript& script, TfsILParser& parser, const TfsXMLItem& program) = 0;
};
// Process-wide; null restores the interpreter. The builder must outlive every script
// that compiles.
void fsSetProgramBuilder(TfsProgramBuilder* builder);
TfsProgramBuilder* fsProgramBuilder();

class TfsScript {
 public:
  explicit TfsScript(void* owner = nullptr);
  TfsScript(const TfsScript&) = delete;
  TfsScript& operator=(const TfsScript&) = delete;
  ~TfsScript();

  std::string Name;
  void* Owner;
  std::vector<std::string> Lines;
  std::string SyntaxType = "PascalScript";
  std::function<std::string(const std::string& unitName)> OnGetILUnit;
  std::function<std::string(const std::string& unitName)> OnGetUnit;
  std::function<void(TfsScript& script, const std::string& unitName, const std::string& position)> OnRunLine;
  TfsGetVarValueEvent OnGetVarValue;

  TfsScript* ParentScript = nullptr;
  std::string ErrorMessage;
  std::string ErrorPosition;  // "LINE:COLUMN"
  std::string ErrorUnitName;
  std::vector<std::string> UnitFolders{""};
  bool HighLetters = false;
  bool LateMembers = false;
  bool RunActive = false;
  bool StopRequested = false;
  bool ExitPending = false;
  bool BreakPending = false;
  bool ContinuePending = false;
  bool IsMainProgram = false;
  TfsScript* RunningProgram = nullptr;
  bool SystemModulesAdded = false;
  TfsOwnerTag CurrentOwner = fsNoOwner;
  bool EvaluateFailed = false;
  std::unique_ptr<TfsItemList> MainStatement;  // the compiled program body

  // Symbol table.
  void AddEntry(const std::string& name, std::unique_ptr<TfsItemList> object);
  std::unique_ptr<TfsItemList> RemoveEntry(TfsItemList* object);  // not freed
  TfsCustomVariable* FindLocalSymbol(std::string_view name) const;
  TfsCustomVariable* FindSymbol(std::string_view name) const;
  TfsClassVariable* FindClassSymbol(std::string_view name) const;
  int EntryCount() const { return static_cast<int>(table_.size()); }
  // Every entry in table order (names ascending, the newest of a name first).
  std::vector<TfsItemList*> Entries() const;

  bool CompileScript();
  // Runs the main statement. Run-time errors leave as exceptions (EfsScriptError,
  // EVariantError, or the host's own) with the run-state flags reset.
  void ExecuteScript();
  // Compiles the text as one expression in this script's language, in the scope of
  // the running procedure, and returns its value; a compile error text is returned as
  // a string with EvaluateFailed set.
  Variant EvaluateExpression(const std::string& expression);
  // Calls a script procedure of this script with the elements of `args` (an array, or
  // anything else for no arguments); Null when the name is no script procedure.
  Variant CallScriptFunction(const std::string& name, const Variant& args);
  // The same, writing every parameter's value back into the element of its index.
  Variant CallScriptFunctionVar(const std::string& name, Variant& args);
  // The same with a parser of the caller's, whose IL document stays readable afterwards;
  // with `buildProgram` false only the syntax is checked (nothing is declared or built).
  bool CompileScript(TfsILParser& parser, bool buildProgram = true);
  void ClearProgram();
  void RemoveOwnedItems(TfsOwnerTag owner);
  void ClearOwnedItems(TfsOwnerTag owner);
  void AddSystemModules();
  void RemoveSystemModules();
  void TerminateScript();
  void SetScriptVariable(const std::string& name, const Variant& value);
  void ReportRunLine(const std::string& unitName, const std::string& position);
  void NoteStatementLine(const std::string& unitName, const std::string& position);
  bool LineHasStatement(int line, const std::string& unitName) const;

  // Registration.
  TfsCustomVariable* DeclareType(const std::string& typeName, ScriptType type);
  TfsClassVariable* DeclareClass(const TfsHostClass& hostClass, const std::string& ancestorName);
  TfsCustomVariable* DeclareConstant(const std::string& name, const std::string& typeName, const Variant& value);
  TfsCustomVariable* DeclareEnum(const std::string& typeName, const std::string& names);
  TfsCustomVariable* DeclareEnumSet(const std::string& typeName, const std::string& names);
  TfsCustomVariable* DeclareVariable(const std::string& name, const std::string& typeName, const Variant& value);
  TfsCustomVariable* DeclareObject(const std::string& name, TfsHostObject& object);
  TfsMethodHelper& DeclareFunction(const std::string& declaration, TfsCallMethod call, const std::string& category = {},
                                   const std::string& description = {});
  TfsMethodHelper& DeclareFunctionEx(const std::string& declaration, TfsCallMethodEx call,
                                     const std::string& category = {}, const std::string& description = {});
  void DeclareForm(TfsHostObject& form);
  void DeclareComponent(TfsHostObject& form) { DeclareForm(form); }

 private:
  TfsMethodHelper& AddFunction(std::unique_ptr<TfsMethodHelper> helper, const std::string& category,
                               const std::string& description);
  TfsCustomVariable* DeclareEnumValues(const std::string& typeName, const std::string& names, bool flags);
  void RemoveWhere(const std::function<bool(const TfsItemList&)>& drop);
  void ClearStatements();

  std::multimap<std::string, std::unique_ptr<TfsItemList>> table_;  // key: upper-cased name
  std::map<std::string, std::vector<int>> executableLines_;        // unit -> sorted lines
};

// A program in the language that defines the function `name` returning the value of
// `expression` (what EvaluateExpression and the report's expression cache compile).
std::vector<std::string> fsExpressionFunction(const std::string& language, const std::string& name,
                                              const std::string& expression);

// Registration modules: a process-wide list of module classes, instantiated into a
// script by AddSystemModules in list order.
using TfsRTTIModuleClass = std::function<std::unique_ptr<TfsRTTIModule>(TfsScript& script)>;
void fsRegisterRTTIModule(TfsRTTIModuleClass moduleClass);
const std::vector<TfsRTTIModuleClass>& fsRTTIModules();

// Languages: a process-wide list of language names with their grammar texts. The four
// built-in languages are registered before the first look-up.
void fsRegisterLanguage(const std::string& name, const std::string& grammar);
std::vector<std::string> fsLanguageNames();
// The grammar text of a language (case-insensitive); raises "Language '%s' not found".
const std::string& FetchGrammar(const std::string& name);

// The engine's fixed message texts.
namespace fs_messages {
constexpr const char* LanguageNotFound = "Language '%s' not found";
constexpr const char* InvalidLanguage = "Invalid language definition";
constexpr const char* InvalidFormat = "Invalid file format";
constexpr const char* IdentifierRedeclared = "Identifier redeclared: ";
constexpr const char* UnknownType = "Unknown type: ";
constexpr const char* IncompatibleTypes = "Incompatible types";
constexpr const char* UndeclaredIdentifier = "Undeclared identifier: ";
constexpr const char* ClassTypeRequired = "Class type required";
constexpr const char* IndexRequired = "Index required";
constexpr const char* StringsNoMembers = "Strings doesn't have properties or methods";
constexpr const char* NoDefaultProperty = "Class %s does not have a default property";
constexpr const char* ArrayTypeRequired = "Array type required";
constexpr const char* VariableRequired = "Variable required";
constexpr const char* NotEnoughParameters = "Not enough actual parameters";
constexpr const char* TooManyParameters = "Too many actual parameters";
constexpr const char* LeftSideCannotBeAssigned = "Left side cannot be assigned to";
constexpr const char* ForLoopVariable = "For loop variable must be numeric variable";
constexpr const char* EventHandlerProcedure = "Event handler must be a procedure";
}  // namespace fs_messages
