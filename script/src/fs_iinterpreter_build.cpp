// The program builder: walks the IL once and turns it into the entries of the
// declarations and the tree of statements, binding every name to its entry. Semantic
// errors raise EfsScriptError with the position of the IL element being built.
#include <cctype>
#include <charconv>
#include <cstdlib>
#include <memory>
#include <typeinfo>
#include <string>
#include <vector>

#include "fs_iinterpreter_program.h"
#include "fs_limits.h"
#include "script/fs_iilparser.h"
#include "script/fs_xml.h"

namespace {

// The source text of an omitted argument's default, which macro functions receive as
// source: a float keeps the "." of source text whatever the locale writes.
std::string DefaultSourceText(const Variant& value) {
  if (value.isNull()) return {};
  if (value.kind() == VarKind::Double || value.kind() == VarKind::Single) {
    char buffer[32];
    auto result = std::to_chars(buffer, buffer + sizeof buffer, value.toDouble());
    return std::string(buffer, result.ptr);
  }
  return fsVarToText(value);
}

std::string Quoted(const std::string& name) { return "'" + name + "'"; }

bool SameText(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i)
    if (std::toupper(static_cast<unsigned char>(a[i])) != std::toupper(static_cast<unsigned char>(b[i]))) return false;
  return true;
}

bool Is(const TfsXMLItem& item, const char* name) { return SameText(item.Name(), name); }

// A parameter as its procedure's sub-program sees it by name: the parameter itself
// belongs to the procedure's parameter list.
class TfsParamAlias : public TfsCustomVariable {
 public:
  explicit TfsParamAlias(TfsParamItem& param) : TfsCustomVariable(param.Name(), param.TypeCode, param.DeclaredType) {
    TargetEntry = &param;
  }
  Variant ReadValue() override { return TargetEntry->ReadValue(); }
  void WriteValue(const Variant& value) override { TargetEntry->WriteValue(value); }
};

// A component of a host object reached by name as a member: always that component.
class TfsFixedComponent : public TfsCustomHelper {
 public:
  explicit TfsFixedComponent(TfsHostObject& component)
      : TfsCustomHelper(component.HostName(), stClass, component.HostClass().Name()), component_(&component) {
    Locked = true;
  }
  Variant ReadValue() override { return fsObjectToVariant(component_); }

 private:
  TfsHostObject* component_;
};

enum class DesignatorMode { Normal, New, Delete };

class Builder {
 public:
  Builder(TfsScript& main, TfsILParser& parser) : main_(main), parser_(parser) {}

  void BuildProgram(const TfsXMLItem& program, TfsScript& script);

 private:
  [[noreturn]] void Fail(const std::string& message, const std::string& position) const {
    throw EfsScriptError(message, position, unit_);
  }

  // Declarations.
  void DeclareProcedures(const TfsXMLItem& element);
  void DeclareProcedure(const TfsXMLItem& element);
  void DeclareParameters(const TfsXMLItem& parameters, TfsProcVariable& procedure);
  void BuildVar(const TfsXMLItem& element, TfsStatement& list);
  void BuildConst(const TfsXMLItem& element);
  void BuildProcedureBody(const TfsXMLItem& element);
  void BuildUses(const TfsXMLItem& element, TfsStatement& list);
  void CheckRedeclared(const TfsScript& script, const std::string& name, const std::string& position) const;
  std::string TypeNameOf(const std::string& name) const;
  ScriptType TypeCodeOf(const std::string& typeName, const std::string& position) const;
  Variant EvaluateNow(const TfsXMLItem& expr);
  void MakeArray(TfsCustomVariable& variable, const TfsXMLItem& array);

  // Statements.
  void BuildList(const TfsXMLItem& element, TfsStatement& list);
  void BuildStatement(const TfsXMLItem& element, TfsStatement& list);
  void BuildChildrenInto(const TfsXMLItem& element, TfsStatement& list, int from = 0);
  template <class T>
  std::unique_ptr<T> New(const TfsXMLItem& element) {
    return std::make_unique<T>(*script_, element.Prop("pos"), unit_);
  }
  std::unique_ptr<TfsStatement> BuildAssignment(const TfsXMLItem& element);
  std::unique_ptr<TfsStatement> BuildCall(const TfsXMLItem& element, DesignatorMode mode);
  std::unique_ptr<TfsStatement> BuildIf(const TfsXMLItem& element);
  std::unique_ptr<TfsStatement> BuildCase(const TfsXMLItem& element);
  std::unique_ptr<TfsStatement> BuildFor(const TfsXMLItem& element);
  std::unique_ptr<TfsStatement> BuildVbFor(const TfsXMLItem& element);
  std::unique_ptr<TfsStatement> BuildCppFor(const TfsXMLItem& element);
  std::unique_ptr<TfsStatement> BuildWhile(const TfsXMLItem& element);
  std::unique_ptr<TfsStatement> BuildRepeat(const TfsXMLItem& element);
  std::unique_ptr<TfsStatement> BuildTry(const TfsXMLItem& element);
  void BuildReturn(const TfsXMLItem& element, TfsStatement& list);
  void BuildWith(const TfsXMLItem& element, TfsStatement& list);
  TfsCustomVariable* ForVariable(const TfsXMLItem& element);

  // Expressions and designators.
  std::unique_ptr<TfsExpression> BuildExpression(const TfsXMLItem& expr);
  void AddToExpression(TfsExpression& e, const TfsXMLItem& expr);
  std::unique_ptr<TfsSetExpression> BuildSet(const TfsXMLItem& set);
  std::unique_ptr<TfsDesignator> BuildDesignator(const TfsXMLItem& dsgn, DesignatorMode mode);
  void ResolveFirst(TfsDesignator& d, const std::string& name, const std::string& position, DesignatorMode mode);
  void ResolveNext(TfsDesignator& d, const std::string& name, const std::string& position);
  void AddMember(TfsDesignator& d, TfsCustomVariable* ref, const std::string& position);
  void FinishDesignator(TfsDesignator& d);
  std::string SourceBetween(const std::string& from, const std::string& to) const;

  TfsScript& main_;
  TfsILParser& parser_;
  TfsScript* script_ = nullptr;
  const TfsXMLItem* programRoot_ = nullptr;
  std::string unit_;
  std::vector<TfsCustomVariable*> withList_;
  int withCounter_ = 0;
};

// ---- programs and declarations ---------------------------------------------------------

void Builder::BuildProgram(const TfsXMLItem& program, TfsScript& script) {
  const TfsXMLItem* previousRoot = programRoot_;
  TfsScript* previousScript = script_;
  programRoot_ = &program;
  script_ = &script;
  DeclareProcedures(program);
  if (!script.MainStatement) script.MainStatement = std::make_unique<TfsStatement>(script, "", unit_);
  BuildList(program, static_cast<TfsStatement&>(*script.MainStatement));
  programRoot_ = previousRoot;
  script_ = previousScript;
}

// Pass 1: procedures are known before any statement is built, so that calls may
// precede the text of what they call.
void Builder::DeclareProcedures(const TfsXMLItem& element) {
  for (int i = 0; i < element.Count(); ++i) {
    const TfsXMLItem& child = element[i];
    if (Is(child, "compoundstmt"))
      DeclareProcedures(child);
    else if (Is(child, "procedure") || Is(child, "function"))
      DeclareProcedure(child);
  }
}

std::string Builder::TypeNameOf(const std::string& name) const { return parser_.MapTypeName(programRoot_, name); }

ScriptType Builder::TypeCodeOf(const std::string& typeName, const std::string& position) const {
  TfsCustomVariable* entry = script_->FindSymbol(typeName);
  ScriptType code = entry ? entry->TypeCode : stClass;
  if (code == stClass && !script_->FindClassSymbol(typeName)) Fail(fs_messages::UnknownType + Quoted(typeName), position);
  return code;
}

void Builder::CheckRedeclared(const TfsScript& script, const std::string& name, const std::string& position) const {
  if (script.FindLocalSymbol(name)) Fail(fs_messages::IdentifierRedeclared + Quoted(name), position);
}

void Builder::DeclareProcedure(const TfsXMLItem& element) {
  const TfsXMLItem* nameItem = element.FindItem("name");
  if (!nameItem) return;
  std::string name = nameItem->Prop("text");
  std::string position = element.Prop("pos");
  CheckRedeclared(*script_, name, nameItem->Prop("pos"));
  bool isFunction = Is(element, "function");
  std::string typeName = "Variant";
  ScriptType code = stVariant;
  if (const TfsXMLItem* type = element.FindItem("type")) {
    typeName = TypeNameOf(type->Prop("text"));
    if (SameText(typeName, "void")) {
      isFunction = false;
    } else {
      code = TypeCodeOf(typeName, type->Prop("pos"));
    }
  }
  auto procedure = std::make_unique<TfsProcVariable>(name, isFunction ? code : stVariant,
                                                     isFunction ? typeName : "Variant", *script_, isFunction);
  procedure->SourcePoint = position;
  procedure->DeclUnit = unit_;
  procedure->Program().OnGetVarValue = script_->OnGetVarValue;
  procedure->Program().HighLetters = script_->HighLetters;
  if (isFunction && procedure->TargetEntry) {
    // The result holds the declared type's values.
    procedure->TargetEntry->TypeCode = code;
    procedure->TargetEntry->DeclaredType = typeName;
  }
  TfsProcVariable& added = *procedure;
  script_->AddEntry(name, std::move(procedure));
  if (const TfsXMLItem* parameters = element.FindItem("parameters")) DeclareParameters(*parameters, added);
}

void Builder::DeclareParameters(const TfsXMLItem& parameters, TfsProcVariable& procedure) {
  TfsScript& program = procedure.Program();
  bool varGroup = false;
  for (int g = 0; g < parameters.Count(); ++g) {
    const TfsXMLItem& group = parameters[g];
    if (Is(group, "varparams")) {
      varGroup = true;
      continue;
    }
    if (!Is(group, "var")) continue;
    std::string typeName = "Variant";
    if (const TfsXMLItem* type = group.FindItem("type")) typeName = TypeNameOf(type->Prop("text"));
    ScriptType code = TypeCodeOf(typeName, group.Prop("pos"));
    bool hasDefault = false;
    Variant defaultValue = Variant::Null();
    if (const TfsXMLItem* init = group.FindItem("init")) {
      if (const TfsXMLItem* expr = init->FindItem("expr")) {
        hasDefault = true;
        defaultValue = EvaluateNow(*expr);
      }
    }
    bool nextByReference = false;
    for (int i = 0; i < group.Count(); ++i) {
      const TfsXMLItem& leaf = group[i];
      if (Is(leaf, "varparam")) nextByReference = true;
      if (!Is(leaf, "ident")) continue;
      std::string name = leaf.Prop("text");
      CheckRedeclared(program, name, leaf.Prop("pos"));
      auto param = std::make_unique<TfsParamItem>(name, code, typeName, hasDefault, varGroup || nextByReference);
      param->DefaultValue = defaultValue;
      param->SourcePoint = leaf.Prop("pos");
      param->DeclUnit = unit_;
      TfsParamItem& added = procedure.AddParam(std::move(param));
      program.AddEntry(name, std::make_unique<TfsParamAlias>(added));
      nextByReference = false;
    }
    varGroup = false;
  }
}

Variant Builder::EvaluateNow(const TfsXMLItem& expr) {
  std::unique_ptr<TfsExpression> e = BuildExpression(expr);
  try {
    return e->ReadValue();
  } catch (const EfsScriptError&) {
    throw;
  } catch (const std::exception& error) {
    Fail(error.what(), expr.Prop("pos"));
  }
}

void Builder::MakeArray(TfsCustomVariable& variable, const TfsXMLItem& array) {
  std::vector<VariantArray::Bound> bounds;
  long long total = 1;
  for (int i = 0; i < array.Count(); ++i) {
    const TfsXMLItem& dim = array[i];
    if (!Is(dim, "dim")) continue;
    std::vector<const TfsXMLItem*> exprs;
    for (int j = 0; j < dim.Count(); ++j)
      if (Is(dim[j], "expr")) exprs.push_back(&dim[j]);
    if (exprs.empty()) continue;
    // A bound written once may reach the IL twice (the range form was tried first):
    // two copies of one expression are one bound.
    bool range = exprs.size() >= 2 && exprs[0]->Text() != exprs[1]->Text();
    int64_t low = 0, high = 0;
    if (range) {
      low = fsVarToInteger(EvaluateNow(*exprs[0]));
      high = fsVarToInteger(EvaluateNow(*exprs[1]));
    } else {
      high = static_cast<int64_t>(fsVarToInteger(EvaluateNow(*exprs[0]))) - 1;
    }
    if (high < low) high = low - 1;
    total *= (high - low + 1);
    if (total > fs_limits::kMaxArrayElements) Fail(fs_limits::kArraySizeMessage, dim.Prop("pos"));
    bounds.push_back({low, high});
  }
  if (bounds.empty()) bounds.push_back({0, 0});
  variable.MutableValue() = Variant::Array(std::move(bounds));
  variable.DeclaredType = TypeCodeToName(variable.TypeCode, variable.DeclaredType);
  variable.TypeCode = stArray;
}

void Builder::BuildVar(const TfsXMLItem& element, TfsStatement& list) {
  const TfsXMLItem* type = element.FindItem("type");
  bool typeFirst = type && element.Count() > 0 && &element[0] == type;
  std::string typeName = type ? TypeNameOf(type->Prop("text")) : "Variant";
  ScriptType code = type ? TypeCodeOf(typeName, type->Prop("pos")) : stVariant;
  // What follows an ident applies to it alone when the type comes first.
  auto ownPart = [&](int identIndex, const char* name) -> const TfsXMLItem* {
    if (!typeFirst) return element.FindItem(name);
    for (int j = identIndex + 1; j < element.Count() && !Is(element[j], "ident"); ++j)
      if (Is(element[j], name)) return &element[j];
    return nullptr;
  };
  for (int i = 0; i < element.Count(); ++i) {
    const TfsXMLItem& leaf = element[i];
    if (!Is(leaf, "ident")) continue;
    std::string name = leaf.Prop("text");
    CheckRedeclared(*script_, name, leaf.Prop("pos"));
    std::unique_ptr<TfsCustomVariable> variable;
    if (code == stChar || code == stString)
      variable = std::make_unique<TfsStringVariable>(name, code, typeName);
    else
      variable = std::make_unique<TfsVariable>(name, code, typeName);
    switch (code) {
      case stBoolean: variable->MutableValue() = Variant(false); break;
      case stInteger: case stClass: variable->MutableValue() = Variant(int32_t{0}); break;
      case stFloat: variable->MutableValue() = Variant(0.0); break;
      case stChar: case stString: variable->WriteValue(Variant(std::string())); break;
      default: break;
    }
    variable->SourcePoint = leaf.Prop("pos");
    variable->DeclUnit = unit_;
    variable->OnGetVarValue = script_->OnGetVarValue;
    if (const TfsXMLItem* array = ownPart(i, "array")) MakeArray(*variable, *array);
    TfsCustomVariable& added = *variable;
    script_->AddEntry(name, std::move(variable));
    if (const TfsXMLItem* init = ownPart(i, "init")) {
      const TfsXMLItem* expr = init->FindItem("expr");
      if (!expr) continue;
      auto statement = New<TfsAssignmentStmt>(*init);
      statement->Expression = BuildExpression(*expr);
      fsCheckAssignable(added.TypeCode, added.DeclaredType, statement->Expression->TypeCode,
                        statement->Expression->DeclaredType, *script_, expr->Prop("pos"));
      statement->Target = &added;
      statement->Source = statement->Expression.get();
      main_.NoteStatementLine(unit_, statement->SourcePoint);
      list.Add(std::move(statement));
    }
  }
}

void Builder::BuildConst(const TfsXMLItem& element) {
  const TfsXMLItem* ident = element.FindItem("ident");
  const TfsXMLItem* expr = element.FindItem("expr");
  if (!ident || !expr) return;
  std::string name = ident->Prop("text");
  CheckRedeclared(*script_, name, ident->Prop("pos"));
  std::unique_ptr<TfsExpression> e = BuildExpression(*expr);
  auto constant = std::make_unique<TfsVariable>(name, e->TypeCode, e->DeclaredType);
  try {
    constant->MutableValue() = e->ReadValue();
  } catch (const EfsScriptError&) {
    throw;
  } catch (const std::exception& error) {
    Fail(error.what(), expr->Prop("pos"));
  }
  constant->Locked = true;
  constant->SourcePoint = ident->Prop("pos");
  constant->DeclUnit = unit_;
  script_->AddEntry(name, std::move(constant));
}

void Builder::BuildProcedureBody(const TfsXMLItem& element) {
  const TfsXMLItem* nameItem = element.FindItem("name");
  if (!nameItem) return;
  auto* procedure = dynamic_cast<TfsProcVariable*>(script_->FindLocalSymbol(nameItem->Prop("text")));
  if (!procedure) return;
  std::vector<TfsCustomVariable*> outerWith;
  outerWith.swap(withList_);  // a with of the caller does not reach into a procedure
  BuildProgram(element, procedure->Program());
  withList_.swap(outerWith);
}

void Builder::BuildUses(const TfsXMLItem& element, TfsStatement& list) {
  std::string previousUnit = unit_;
  unit_ = element.Prop("unit");
  std::string il = script_->OnGetILUnit ? script_->OnGetILUnit(unit_) : std::string();
  if (!il.empty()) {
    TfsXMLDocument document;
    document.LoadFromString(il);
    BuildProgram(document.Root(), *script_);
  } else {
    for (int i = 0; i < element.Count(); ++i)
      if (Is(element[i], "program")) BuildProgram(element[i], *script_);
  }
  (void)list;
  unit_ = previousUnit;
}

// ---- statements -----------------------------------------------------------------------

void Builder::BuildList(const TfsXMLItem& element, TfsStatement& list) { BuildChildrenInto(element, list); }

void Builder::BuildChildrenInto(const TfsXMLItem& element, TfsStatement& list, int from) {
  for (int i = from; i < element.Count(); ++i) BuildStatement(element[i], list);
}

void Builder::BuildStatement(const TfsXMLItem& element, TfsStatement& list) {
  std::unique_ptr<TfsStatement> statement;
  if (Is(element, "assignstmt")) {
    statement = BuildAssignment(element);
  } else if (Is(element, "callstmt")) {
    statement = BuildCall(element, DesignatorMode::Normal);
  } else if (Is(element, "delete")) {
    statement = BuildCall(element, DesignatorMode::Delete);
  } else if (Is(element, "ifstmt")) {
    statement = BuildIf(element);
  } else if (Is(element, "casestmt")) {
    statement = BuildCase(element);
  } else if (Is(element, "forstmt")) {
    statement = BuildFor(element);
  } else if (Is(element, "vbforstmt")) {
    statement = BuildVbFor(element);
  } else if (Is(element, "cppforstmt")) {
    statement = BuildCppFor(element);
  } else if (Is(element, "whilestmt")) {
    statement = BuildWhile(element);
  } else if (Is(element, "repeatstmt")) {
    statement = BuildRepeat(element);
  } else if (Is(element, "trystmt")) {
    statement = BuildTry(element);
  } else if (Is(element, "break")) {
    statement = New<TfsBreakStmt>(element);
  } else if (Is(element, "continue")) {
    statement = New<TfsContinueStmt>(element);
  } else if (Is(element, "exit")) {
    statement = New<TfsExitStmt>(element);
  } else if (Is(element, "return")) {
    BuildReturn(element, list);
  } else if (Is(element, "with")) {
    BuildWith(element, list);
  } else if (Is(element, "compoundstmt") || Is(element, "thenstmt") || Is(element, "elsestmt") ||
             Is(element, "finallystmt") || Is(element, "exceptstmt")) {
    BuildList(element, list);
  } else if (Is(element, "uses")) {
    BuildUses(element, list);
  } else if (Is(element, "var")) {
    BuildVar(element, list);
  } else if (Is(element, "const")) {
    BuildConst(element);
  } else if (Is(element, "procedure") || Is(element, "function")) {
    BuildProcedureBody(element);
  }
  if (!statement) return;
  main_.NoteStatementLine(unit_, statement->SourcePoint);
  list.Add(std::move(statement));
}

std::unique_ptr<TfsStatement> Builder::BuildAssignment(const TfsXMLItem& element) {
  const TfsXMLItem* dsgn = element.FindItem("dsgn");
  const TfsXMLItem* expr = element.FindItem("expr");
  const TfsXMLItem* modificator = element.FindItem("modificator");
  if (!dsgn || !expr) Fail(fs_messages::VariableRequired, element.Prop("pos"));
  std::unique_ptr<TfsDesignator> target = BuildDesignator(*dsgn, DesignatorMode::Normal);
  if (target->Locked) Fail(fs_messages::LeftSideCannotBeAssigned, dsgn->Prop("pos"));
  std::unique_ptr<TfsExpression> e = BuildExpression(*expr);
  fsCheckAssignable(target->TypeCode, target->DeclaredType, e->TypeCode, e->DeclaredType, *script_, expr->Prop("pos"));

  TfsCustomVariable* variable = target->Kind == 1 ? target->Item(0).Ref : nullptr;
  std::unique_ptr<TfsAssignmentStmt> statement;
  std::unique_ptr<TfsExpressionNode> operand;
  auto isTarget = [variable](const TfsExpressionNode* node) {
    auto* d = dynamic_cast<const TfsDesignatorNode*>(node);
    return variable && d && d->Designator().Kind == 1 && d->Designator().Item(0).Ref == variable;
  };
  if (modificator) {
    std::string m = modificator->Prop("text");
    TfsOperator op = m == "-" ? TfsOperator::Subtract
                     : m == "*" ? TfsOperator::Multiply
                     : m == "/" ? TfsOperator::Divide
                                : TfsOperator::Add;
    statement = std::make_unique<TfsAssignOperateStmt>(*script_, element.Prop("pos"), unit_, op);
  } else if (auto* op = dynamic_cast<TfsOperatorNode*>(&e->Root()); op && variable && op->Left && op->Right) {
    // x := x op y runs as a compound assignment (the same result, one lookup less).
    bool commutes = variable->TypeCode != stString && variable->TypeCode != stVariant;
    TfsOperator arithmetic = TfsOperator::Add;
    bool known = true;
    switch (op->Code) {
      case opPlus: arithmetic = TfsOperator::Add; break;
      case opMinus: arithmetic = TfsOperator::Subtract; break;
      case opMultiply: arithmetic = TfsOperator::Multiply; break;
      case opDivide: arithmetic = TfsOperator::Divide; break;
      default: known = false;
    }
    if (known && isTarget(op->Left.get())) {
      operand = std::move(op->Right);
    } else if (known && commutes && (op->Code == opPlus || op->Code == opMultiply) && isTarget(op->Right.get())) {
      operand = std::move(op->Left);
    }
    if (operand) statement = std::make_unique<TfsAssignOperateStmt>(*script_, element.Prop("pos"), unit_, arithmetic);
  }
  if (!statement) statement = std::make_unique<TfsAssignmentStmt>(*script_, element.Prop("pos"), unit_);
  statement->Target = variable ? variable : target.get();
  if (auto* compound = dynamic_cast<TfsAssignOperateStmt*>(statement.get()); compound && variable)
    compound->InPlace = typeid(*variable) == typeid(TfsVariable) && !variable->OnGetVarValue && !variable->Locked &&
                        (variable->TypeCode == stInteger || variable->TypeCode == stVariant);
  statement->Designator = std::move(target);
  if (operand) {
    operand->Parent = nullptr;
    statement->SourceNode = std::move(operand);
    statement->Source = statement->SourceNode.get();
  } else if (e->LoneOperand()) {
    statement->SourceNode = e->TakeRoot();
    statement->Source = statement->SourceNode.get();
  } else {
    statement->Source = e.get();
  }
  statement->Expression = std::move(e);
  return statement;
}

std::unique_ptr<TfsStatement> Builder::BuildCall(const TfsXMLItem& element, DesignatorMode mode) {
  const TfsXMLItem* dsgn = element.FindItem("dsgn");
  if (!dsgn) Fail(fs_messages::VariableRequired, element.Prop("pos"));
  auto statement = New<TfsCallStmt>(element);
  statement->Designator = BuildDesignator(*dsgn, mode);
  if (const TfsXMLItem* modificator = element.FindItem("modificator")) {
    if (statement->Designator->Locked) Fail(fs_messages::LeftSideCannotBeAssigned, dsgn->Prop("pos"));
    statement->Modifier = modificator->Prop("text") == "-" ? '-' : '+';
  }
  return statement;
}

std::unique_ptr<TfsStatement> Builder::BuildIf(const TfsXMLItem& element) {
  auto statement = New<TfsIfStmt>(element);
  for (int i = 0; i < element.Count(); ++i) {
    const TfsXMLItem& child = element[i];
    if (Is(child, "expr") && !statement->Condition) {
      statement->Condition = BuildExpression(child);
    } else if (Is(child, "thenstmt")) {
      BuildList(child, *statement);
    } else if (Is(child, "elsestmt")) {
      statement->ElsePart = New<TfsStatement>(child);
      BuildList(child, *statement->ElsePart);
    }
  }
  if (!statement->Condition) Fail(fs_messages::IncompatibleTypes, element.Prop("pos"));
  return statement;
}

std::unique_ptr<TfsStatement> Builder::BuildCase(const TfsXMLItem& element) {
  auto statement = New<TfsCaseStmt>(element);
  for (int i = 0; i < element.Count(); ++i) {
    const TfsXMLItem& child = element[i];
    if (i == 0) {
      statement->Condition = BuildExpression(child);
    } else if (Is(child, "caseselector")) {
      const TfsXMLItem* set = child.FindItem("set");
      if (!set) continue;
      auto selector = New<TfsCaseSelector>(child);
      selector->Set = BuildSet(*set);
      // A selector without a statement selects doing nothing.
      for (int j = 0; j < child.Count(); ++j)
        if (&child[j] != set) BuildStatement(child[j], *selector);
      statement->Add(std::move(selector));
    } else if (i + 1 == element.Count()) {
      statement->ElsePart = New<TfsStatement>(child);
      BuildStatement(child, *statement->ElsePart);
    }
  }
  return statement;
}

TfsCustomVariable* Builder::ForVariable(const TfsXMLItem& element) {
  const TfsXMLItem* ident = element.FindItem("ident");
  if (!ident) Fail(fs_messages::ForLoopVariable, element.Prop("pos"));
  TfsDesignator probe(*script_);
  ResolveFirst(probe, ident->Prop("text"), ident->Prop("pos"), DesignatorMode::Normal);
  TfsCustomVariable* variable = probe.Item(probe.ItemCount() - 1).Ref;
  bool numeric = dynamic_cast<TfsVariable*>(variable) && !dynamic_cast<TfsStringVariable*>(variable) &&
                 !variable->Locked &&
                 (variable->TypeCode == stInteger || variable->TypeCode == stFloat || variable->TypeCode == stVariant);
  if (!numeric || probe.ItemCount() != 1) Fail(fs_messages::ForLoopVariable, ident->Prop("pos"));
  return variable;
}

std::unique_ptr<TfsStatement> Builder::BuildFor(const TfsXMLItem& element) {
  auto statement = New<TfsForStmt>(element);
  statement->Variable = ForVariable(element);
  int bound = 0;
  for (int i = 0; i < element.Count(); ++i) {
    const TfsXMLItem& child = element[i];
    if (Is(child, "ident")) continue;
    if (Is(child, "downto")) {
      statement->Down = true;
    } else if (Is(child, "expr") && bound < 2) {
      std::unique_ptr<TfsExpression> e = BuildExpression(child);
      fsCheckAssignable(statement->Variable->TypeCode, statement->Variable->DeclaredType, e->TypeCode, e->DeclaredType,
                        *script_, child.Prop("pos"));
      (bound++ == 0 ? statement->StartBound : statement->EndBound) = std::move(e);
    } else {
      BuildStatement(child, *statement);
    }
  }
  if (bound < 2) Fail(fs_messages::ForLoopVariable, element.Prop("pos"));
  return statement;
}

std::unique_ptr<TfsStatement> Builder::BuildVbFor(const TfsXMLItem& element) {
  auto statement = New<TfsVbForStmt>(element);
  statement->Variable = ForVariable(element);
  int bound = 0;
  for (int i = 0; i < element.Count(); ++i) {
    const TfsXMLItem& child = element[i];
    if (Is(child, "ident")) continue;
    if (Is(child, "expr") && bound < 3) {
      std::unique_ptr<TfsExpression> e = BuildExpression(child);
      fsCheckAssignable(statement->Variable->TypeCode, statement->Variable->DeclaredType, e->TypeCode, e->DeclaredType,
                        *script_, child.Prop("pos"));
      (bound == 0 ? statement->StartBound : bound == 1 ? statement->EndBound : statement->Step) = std::move(e);
      ++bound;
    } else {
      BuildStatement(child, *statement);
    }
  }
  if (bound < 2) Fail(fs_messages::ForLoopVariable, element.Prop("pos"));
  return statement;
}

std::unique_ptr<TfsStatement> Builder::BuildCppFor(const TfsXMLItem& element) {
  // Initialisers, the condition, increments, the body: the items around the one `expr`.
  auto statement = New<TfsCppForStmt>(element);
  statement->InitStatement = New<TfsStatement>(element);
  statement->StepStatement = New<TfsStatement>(element);
  int last = element.Count() - 1;
  for (int i = 0; i <= last; ++i) {
    const TfsXMLItem& child = element[i];
    if (Is(child, "expr") && !statement->Condition)
      statement->Condition = BuildExpression(child);
    else if (!statement->Condition)
      BuildStatement(child, *statement->InitStatement);
    else if (i < last)
      BuildStatement(child, *statement->StepStatement);
    else
      BuildStatement(child, *statement);
  }
  if (!statement->Condition) Fail(fs_messages::IncompatibleTypes, element.Prop("pos"));
  return statement;
}

std::unique_ptr<TfsStatement> Builder::BuildWhile(const TfsXMLItem& element) {
  auto statement = New<TfsWhileStmt>(element);
  for (int i = 0; i < element.Count(); ++i) {
    if (Is(element[i], "expr") && !statement->Condition)
      statement->Condition = BuildExpression(element[i]);
    else
      BuildStatement(element[i], *statement);
  }
  if (!statement->Condition) Fail(fs_messages::IncompatibleTypes, element.Prop("pos"));
  return statement;
}

std::unique_ptr<TfsStatement> Builder::BuildRepeat(const TfsXMLItem& element) {
  auto statement = New<TfsRepeatStmt>(element);
  int last = element.Count() - 1;
  if (last >= 0 && Is(element[last], "inverse")) {
    statement->NegateCondition = true;
    --last;
  }
  if (last < 0 || !Is(element[last], "expr")) Fail(fs_messages::IncompatibleTypes, element.Prop("pos"));
  statement->Condition = BuildExpression(element[last]);
  for (int i = 0; i < last; ++i) BuildStatement(element[i], *statement);
  return statement;
}

std::unique_ptr<TfsStatement> Builder::BuildTry(const TfsXMLItem& element) {
  auto statement = New<TfsTryStmt>(element);
  statement->HandlerPart = New<TfsStatement>(element);
  for (int i = 0; i < element.Count(); ++i) {
    const TfsXMLItem& child = element[i];
    if (Is(child, "exceptstmt")) {
      statement->CatchForm = true;
      BuildList(child, *statement->HandlerPart);
    } else if (Is(child, "finallystmt")) {
      BuildList(child, *statement->HandlerPart);
    } else {
      BuildStatement(child, *statement);
    }
  }
  return statement;
}

void Builder::BuildReturn(const TfsXMLItem& element, TfsStatement& list) {
  if (const TfsXMLItem* expr = element.FindItem("expr")) {
    TfsXMLItem assign("assignstmt", "pos=\"" + fsXMLEscape(element.Prop("pos")) + "\"");
    TfsXMLItem& dsgn = assign.Add("dsgn", assign.Text());
    dsgn.Add("node", "text=\"Result\" " + assign.Text());
    assign.AddCopy(*expr);
    BuildStatement(assign, list);
  }
  BuildStatement(TfsXMLItem("exit", "pos=\"" + fsXMLEscape(element.Prop("pos")) + "\""), list);
}

void Builder::BuildWith(const TfsXMLItem& element, TfsStatement& list) {
  size_t pushed = 0;
  int last = element.Count() - 1;
  for (int i = 0; i < last; ++i) {
    const TfsXMLItem& dsgn = element[i];
    if (!Is(dsgn, "dsgn")) continue;
    std::unique_ptr<TfsDesignator> designator = BuildDesignator(dsgn, DesignatorMode::Normal);
    if (designator->TypeCode != stClass && designator->TypeCode != stVariant)
      Fail(fs_messages::ClassTypeRequired, dsgn.Prop("pos"));
    std::string name = "_WithList_" + std::to_string(++withCounter_);
    auto variable = std::make_unique<TfsVariable>(name, designator->TypeCode, designator->DeclaredType);
    TfsCustomVariable* hidden = variable.get();
    script_->AddEntry(name, std::move(variable));
    auto statement = New<TfsWithStmt>(dsgn);
    statement->Designator = std::move(designator);
    statement->Variable = hidden;
    list.Add(std::move(statement));
    withList_.push_back(hidden);
    ++pushed;
  }
  if (last >= 0) BuildStatement(element[last], list);
  withList_.resize(withList_.size() - pushed);
}

// ---- expressions and designators ------------------------------------------------------

std::string Builder::SourceBetween(const std::string& from, const std::string& to) const {
  if (!unit_.empty()) return {};  // a unit's text is not at hand
  auto offset = [this](const std::string& position) -> long {
    size_t colon = position.find(':');
    if (colon == std::string::npos) return -1;
    return parser_.Parser().OffsetOfPosition(std::atoi(position.c_str()), std::atoi(position.c_str() + colon + 1));
  };
  long a = offset(from), b = offset(to);
  const std::string& source = parser_.Parser().Source();
  if (a < 1 || b < a || static_cast<size_t>(b) > source.size()) return {};
  std::string text = source.substr(static_cast<size_t>(a - 1), static_cast<size_t>(b - a));
  while (!text.empty() && (text.back() == ' ' || text.back() == '\r' || text.back() == '\n')) text.pop_back();
  return text;
}

std::unique_ptr<TfsExpression> Builder::BuildExpression(const TfsXMLItem& expr) {
  auto e = std::make_unique<TfsExpression>(*script_);
  e->SourcePoint = expr.Prop("pos");
  e->SourceText = SourceBetween(expr.Prop("pos"), expr.Prop("pos1"));
  AddToExpression(*e, expr);
  e->Finalize();
  return e;
}

void Builder::AddToExpression(TfsExpression& e, const TfsXMLItem& expr) {
  for (int i = 0; i < expr.Count(); ++i) {
    const TfsXMLItem& child = expr[i];
    if (Is(child, "op")) {
      std::string text = child.Prop("text");
      if (i + 1 == expr.Count() && text != ")") continue;
      e.PushOperator(text, child.Prop("pos"));
    } else if (Is(child, "number") || Is(child, "string")) {
      e.PushConstant(fsLiteralValue(child.Prop("text")));
    } else if (Is(child, "dsgn")) {
      if (child.Count() > 0 && Is(child[0], "addr")) {
        // @Name: the name itself, for assigning script procedures to events.
        if (child.Count() != 2 || !Is(child[1], "node")) Fail(fs_messages::VariableRequired, child.Prop("pos"));
        e.PushConstant(Variant(child[1].Prop("text")));
      } else {
        e.PushDesignator(BuildDesignator(child, DesignatorMode::Normal));
      }
    } else if (Is(child, "set")) {
      e.PushSet(BuildSet(child));
    } else if (Is(child, "new")) {
      const TfsXMLItem* dsgn = child.FindItem("dsgn");
      if (!dsgn) Fail(fs_messages::ClassTypeRequired, child.Prop("pos"));
      e.PushDesignator(BuildDesignator(*dsgn, DesignatorMode::New));
    } else if (Is(child, "expr")) {
      AddToExpression(e, child);
    }
  }
}

std::unique_ptr<TfsSetExpression> Builder::BuildSet(const TfsXMLItem& set) {
  auto result = std::make_unique<TfsSetExpression>();
  for (int i = 0; i < set.Count(); ++i) {
    if (Is(set[i], "expr"))
      result->Items.push_back(BuildExpression(set[i]));
    else if (Is(set[i], "range"))
      result->Items.push_back(nullptr);
  }
  return result;
}

void Builder::AddMember(TfsDesignator& d, TfsCustomVariable* ref, const std::string& position) {
  TfsDesignatorItem& item = d.AddItem(ref, position);
  if (ref->TypeCode == stConstructor && d.ItemCount() >= 2) {
    item.TypeCode = stClass;
    item.TypeName = d.Item(d.ItemCount() - 2).TypeName;
  } else {
    item.TypeCode = ref->TypeCode;
    item.TypeName = ref->DeclaredType;
  }
}

void Builder::ResolveFirst(TfsDesignator& d, const std::string& name, const std::string& position,
                           DesignatorMode mode) {
  for (auto it = withList_.rbegin(); it != withList_.rend(); ++it) {
    TfsCustomVariable* with = *it;
    if (with->TypeCode == stClass) {
      TfsClassVariable* cls = script_->FindClassSymbol(with->DeclaredType);
      TfsCustomHelper* member = cls ? cls->LookupMember(name) : nullptr;
      if (!member) continue;
      AddMember(d, with, position);
      AddMember(d, member, position);
      return;
    }
    if (with->TypeCode == stVariant && !script_->FindSymbol(name)) {
      AddMember(d, with, position);
      TfsDesignatorItem& item = d.AddItem(nullptr, position);
      item.OwnedRef = std::make_unique<TfsDynamicMember>(name);
      item.Ref = item.OwnedRef.get();
      return;
    }
  }
  TfsCustomVariable* entry = script_->FindSymbol(name);
  if (auto* alias = dynamic_cast<TfsParamAlias*>(entry)) entry = alias->TargetEntry;
  if (!entry) {
    if (parser_.NeedDeclareVars()) Fail(fs_messages::UndeclaredIdentifier + Quoted(name), position);
    // Languages that do not declare variables: the name becomes a global Variant.
    auto variable = std::make_unique<TfsVariable>(name, stVariant, "Variant");
    variable->SourcePoint = position;
    variable->DeclUnit = unit_;
    variable->OnGetVarValue = main_.OnGetVarValue;
    entry = variable.get();
    main_.AddEntry(name, std::move(variable));
  }
  if (mode == DesignatorMode::New) {
    auto* cls = dynamic_cast<TfsClassVariable*>(entry);
    if (!cls) Fail(fs_messages::ClassTypeRequired, position);
    AddMember(d, cls, position);
    if (TfsCustomHelper* create = cls->LookupMember("Create")) AddMember(d, create, position);
    return;
  }
  AddMember(d, entry, position);
}

void Builder::ResolveNext(TfsDesignator& d, const std::string& name, const std::string& position) {
  TfsDesignatorItem& previous = d.Item(d.ItemCount() - 1);
  TfsCustomVariable* entry = previous.Ref;
  bool bracket = name == "[";
  if (auto* method = dynamic_cast<TfsMethodHelper*>(entry); method && method->IsIndexProperty && !previous.Index) {
    if (!bracket) Fail(fs_messages::IndexRequired, position);
    previous.Index = true;
    return;
  }
  auto dynamicMember = [&](const std::string& memberName) {
    TfsDesignatorItem& item = d.AddItem(nullptr, position);
    item.OwnedRef = std::make_unique<TfsDynamicMember>(memberName);
    item.Ref = item.OwnedRef.get();
    item.Index = bracket;
  };
  switch (previous.TypeCode) {
    case stVariant:
      dynamicMember(name);
      return;
    case stChar:
    case stString: {
      if (!bracket) Fail(fs_messages::StringsNoMembers, position);
      TfsDesignatorItem& item = d.AddItem(nullptr, position);
      item.OwnedRef = std::make_unique<TfsStringHelper>();
      item.Ref = item.OwnedRef.get();
      item.Index = true;
      item.TypeCode = stChar;
      item.TypeName = "Char";
      return;
    }
    case stClass: {
      TfsClassVariable* cls = script_->FindClassSymbol(previous.TypeName);
      if (!cls) Fail(fs_messages::UnknownType + Quoted(previous.TypeName), position);
      if (bracket) {
        if (!cls->DefaultMember) {
          char message[512];
          std::snprintf(message, sizeof message, fs_messages::NoDefaultProperty, cls->Name().substr(0, 200).c_str());
          Fail(message, position);
        }
        AddMember(d, cls->DefaultMember, position);
        d.Item(d.ItemCount() - 1).Index = true;
        return;
      }
      if (TfsCustomHelper* member = cls->LookupMember(name)) {
        AddMember(d, member, position);
        return;
      }
      const Variant& value = entry->StoredValue();
      if (TfsHostObject* object = fsVariantToObject(value)) {
        for (int i = 0; i < object->HostComponentCount(); ++i) {
          TfsHostObject* component = object->HostComponent(i);
          if (!component || !SameText(component->HostName(), name)) continue;
          TfsDesignatorItem& item = d.AddItem(nullptr, position);
          item.OwnedRef = std::make_unique<TfsFixedComponent>(*component);
          item.Ref = item.OwnedRef.get();
          item.TypeCode = stClass;
          item.TypeName = component->HostClass().Name();
          return;
        }
      }
      bool unset = value.isNull() || (value.isOrdinal() && value.toInt64() == 0);
      if (unset && !main_.RunActive && main_.LateMembers) {
        dynamicMember(name);
        return;
      }
      Fail(fs_messages::UndeclaredIdentifier + Quoted(name), position);
    }
    case stArray: {
      if (!bracket) Fail(fs_messages::ArrayTypeRequired, position);
      const Variant& value = entry->StoredValue();
      int dimensions = value.isArray() ? static_cast<int>(value.array().bounds.size()) : 1;
      ScriptType elementType = stVariant;
      std::string elementName = entry->DeclaredType.empty() ? "Variant" : entry->DeclaredType;
      if (TfsCustomVariable* type = script_->FindSymbol(elementName)) elementType = type->TypeCode;
      if (elementType == stArray || elementType == stConstructor) elementType = stVariant;
      TfsDesignatorItem& item = d.AddItem(nullptr, position);
      item.OwnedRef = std::make_unique<TfsArrayHelper>(entry, dimensions, elementType, elementName);
      item.Ref = item.OwnedRef.get();
      item.Index = true;
      item.TypeCode = elementType;
      item.TypeName = elementName;
      return;
    }
    default:
      Fail(fs_messages::ArrayTypeRequired, position);
  }
}

void Builder::FinishDesignator(TfsDesignator& d) {
  for (int i = 0; i < d.ItemCount(); ++i) {
    TfsDesignatorItem& item = d.Item(i);
    TfsCustomVariable* entry = item.Ref;
    if (dynamic_cast<TfsDynamicMember*>(entry)) continue;
    int params = entry->ParamCount();
    int required = 0;
    for (int p = 0; p < params; ++p)
      if (!entry->Param(p).MayOmit) required = p + 1;
    int args = item.ArgCount();
    if (args < required) Fail(fs_messages::NotEnoughParameters, item.SourcePoint);
    if (args > params) Fail(fs_messages::TooManyParameters, item.SourcePoint);
    for (int a = 0; a < args; ++a) {
      TfsParamItem& param = entry->Param(a);
      TfsExpression& arg = item.Arg(a);
      fsCheckAssignable(param.TypeCode, param.DeclaredType, arg.TypeCode, arg.DeclaredType, *script_, arg.SourcePoint);
      if (param.ByReference && arg.Locked && !dynamic_cast<TfsMethodHelper*>(entry))
        Fail(fs_messages::VariableRequired, arg.SourcePoint);
    }
    for (int p = args; p < params; ++p) {
      // Omitted trailing arguments are the parameters' defaults.
      auto constant = std::make_unique<TfsExpression>(*script_);
      constant->PushConstant(entry->Param(p).DefaultValue);
      constant->Finalize();
      constant->SourceText = DefaultSourceText(entry->Param(p).DefaultValue);
      item.Add(std::move(constant));
    }
  }
  const TfsDesignatorItem& last = d.Item(d.ItemCount() - 1);
  d.TypeCode = last.TypeCode;
  d.DeclaredType = last.TypeName;
  d.Locked = last.Ref->Locked;
  const TfsCustomVariable* only = d.Item(0).Ref;
  bool plain = dynamic_cast<const TfsVariable*>(only) || dynamic_cast<const TfsParamItem*>(only);
  if (d.ItemCount() == 1 && plain && d.Item(0).ArgCount() == 0) d.Kind = 1;
}

std::unique_ptr<TfsDesignator> Builder::BuildDesignator(const TfsXMLItem& dsgn, DesignatorMode mode) {
  auto d = std::make_unique<TfsDesignator>(*script_);
  d->SourcePoint = dsgn.Prop("pos");
  for (int i = 0; i < dsgn.Count(); ++i) {
    const TfsXMLItem& child = dsgn[i];
    if (Is(child, "node")) {
      std::string text = child.Prop("text");
      if (d->ItemCount() == 0)
        ResolveFirst(*d, text, child.Prop("pos"), mode);
      else
        ResolveNext(*d, text, child.Prop("pos"));
    } else if (Is(child, "expr")) {
      if (d->ItemCount() == 0) Fail(fs_messages::VariableRequired, child.Prop("pos"));
      d->Item(d->ItemCount() - 1).Add(BuildExpression(child));
    } else if (Is(child, "addr")) {
      Fail(fs_messages::VariableRequired, child.Prop("pos"));
    }
  }
  if (d->ItemCount() == 0) Fail(fs_messages::VariableRequired, dsgn.Prop("pos"));
  if (mode == DesignatorMode::Delete) {
    ScriptType type = d->Item(d->ItemCount() - 1).TypeCode;
    if (type != stClass && type != stVariant) Fail(fs_messages::ClassTypeRequired, dsgn.Prop("pos"));
    TfsClassVariable* object = script_->FindClassSymbol("TObject");
    if (TfsCustomHelper* free = object ? object->LookupMember("Free") : nullptr) AddMember(*d, free, dsgn.Prop("pos"));
  }
  FinishDesignator(*d);
  return d;
}

class TfsInterpreterBuilder : public TfsProgramBuilder {
 public:
  void ILToProgram(TfsScript& script, TfsILParser& parser, const TfsXMLItem& program) override {
    Builder builder(script, parser);
    builder.BuildProgram(program, script);
  }
};

}  // namespace

TfsProgramBuilder& fsInterpreterBuilder() {
  static TfsInterpreterBuilder builder;
  return builder;
}
