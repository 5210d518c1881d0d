#pragma once
// The compiled program: designators (name chains bound to entries), the statement
// classes and their execution. Built by the program builder (fs_iinterpreter_build.cpp)
// from the IL; run by TfsScript::ExecuteScript and by calls of script procedures.

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "fs_iexpression_tree.h"
#include "script/fs_iinterpreter.h"

class TfsXMLItem;

// One step of a name chain: the entry it reads or calls, and its arguments (children,
// TfsExpression) or indices.
class TfsDesignatorItem : public TfsItemList {
 public:
  TfsCustomVariable* Ref = nullptr;
  std::unique_ptr<TfsCustomVariable> OwnedRef;  // helpers made for this item alone
  std::string SourcePoint;
  bool Index = false;
  // The type this step yields (a constructor yields its class).
  ScriptType TypeCode = stVariant;
  std::string TypeName;
  int ArgCount() const { return Count(); }
  TfsExpression& Arg(int i) const { return static_cast<TfsExpression&>(*Get(i)); }
};

// Character access in a string: the owner's value is the string, parameter 0 the index.
class TfsStringHelper : public TfsCustomHelper {
 public:
  TfsStringHelper();
  Variant ReadValue() override;
  void WriteValue(const Variant& value) override;
};

// Element access in an array: of a declared array variable (its storage is used in
// place), or of a variant array held by the owner's value.
class TfsArrayHelper : public TfsCustomHelper {
 public:
  TfsArrayHelper(TfsCustomVariable* array, int dimensions, ScriptType elementType, std::string elementTypeName);
  TfsCustomVariable* ArrayVariable() const { return array_; }
  Variant ReadValue() override;
  void WriteValue(const Variant& value) override;

 private:
  Variant* Element(Variant& array);
  TfsCustomVariable* array_;
};

// A member found by the value it belongs to when the script runs: used where the value
// is a Variant (or an object not yet created when compiling), so its class, string or
// array is known only then. "[" as name indexes the value (array element, character,
// default property).
class TfsDynamicMember : public TfsCustomHelper {
 public:
  explicit TfsDynamicMember(std::string name) : TfsCustomHelper(std::move(name), stVariant, "Variant") {}
  std::vector<Variant> Args;
  Variant ReadValue() override { return Access(nullptr); }
  void WriteValue(const Variant& value) override { Access(&value); }

 private:
  Variant Access(const Variant* assigned);
};

// Designator kinds: 0 general, 1 a lone variable (read and written directly).
class TfsDesignator : public TfsCustomVariable {
 public:
  explicit TfsDesignator(TfsScript& script);
  int Kind = 0;
  TfsScript& Script() const { return *script_; }
  int ItemCount() const { return Count(); }
  TfsDesignatorItem& Item(int i) const { return static_cast<TfsDesignatorItem&>(*Get(i)); }
  TfsDesignatorItem& AddItem(TfsCustomVariable* ref, const std::string& position);

  Variant ReadValue() override;
  void WriteValue(const Variant& value) override;

 private:
  Variant Evaluate(const Variant* assigned);
  TfsScript* script_;
};

// Runs a script procedure with its parameters already set (recursion depth checked).
Variant fsCallProcedure(TfsProcVariable& procedure);
// Sets the parameters from `args`, runs the procedure (keeping the locals of a call
// already running), and fills `results` with the parameters' values afterwards.
Variant fsCallProcedureWith(TfsProcVariable& procedure, const std::vector<Variant>& args,
                            std::vector<Variant>* results = nullptr);

// ---- statements -----------------------------------------------------------------------

class TfsStatement : public TfsItemList {
 public:
  TfsStatement(TfsScript& script, std::string position, std::string unitName)
      : SourcePoint(std::move(position)), UnitName(std::move(unitName)), script_(&script) {}
  virtual void Execute();  // a statement list: runs the children in order
  TfsScript& Script() const { return *script_; }
  TfsStatement& Child(int i) const { return static_cast<TfsStatement&>(*Get(i)); }
  std::string SourcePoint;
  std::string UnitName;

 protected:
  // The per-statement hook; false when the script is being stopped.
  bool Enter() {
    script_->ReportRunLine(UnitName, SourcePoint);
    return !script_->StopRequested;
  }
  // A loop goes on while nothing asked it to stop.
  bool KeepLooping() const { return !script_->BreakPending && !script_->ExitPending && !script_->StopRequested; }
  // Before every pass of a loop after the first: the hook again (so that a host may
  // stop a loop whose body runs no statement), then whether to go on.
  bool NextPass() {
    script_->ReportRunLine(UnitName, SourcePoint);
    return KeepLooping();
  }
  TfsScript* script_;
};

class TfsAssignmentStmt : public TfsStatement {
 public:
  using TfsStatement::TfsStatement;
  std::unique_ptr<TfsCustomVariable> Designator;  // target as built
  std::unique_ptr<TfsExpression> Expression;
  TfsCustomVariable* Target = nullptr;  // the variable itself for a lone variable
  TfsCustomVariable* Source = nullptr;  // the lone operand or the expression
  std::unique_ptr<TfsExpressionNode> SourceNode;  // owns the lone operand taken out
  void Execute() override;
};

// Compound assignments: target := target <op> source.
class TfsAssignOperateStmt : public TfsAssignmentStmt {
 public:
  TfsAssignOperateStmt(TfsScript& script, std::string position, std::string unitName, TfsOperator op)
      : TfsAssignmentStmt(script, std::move(position), std::move(unitName)), Operator(op) {}
  TfsOperator Operator;
  // Set by the builder: the target is a plain Integer or Variant variable without a
  // value-request hook, so integer results may be stored in place.
  bool InPlace = false;
  void Execute() override;
};

class TfsCallStmt : public TfsStatement {
 public:
  using TfsStatement::TfsStatement;
  std::unique_ptr<TfsDesignator> Designator;
  char Modifier = 0;  // 0, '+' or '-'
  void Execute() override;
};

class TfsIfStmt : public TfsStatement {
 public:
  using TfsStatement::TfsStatement;
  std::unique_ptr<TfsExpression> Condition;
  std::unique_ptr<TfsStatement> ElsePart;
  void Execute() override;
};

class TfsCaseSelector : public TfsStatement {
 public:
  using TfsStatement::TfsStatement;
  std::unique_ptr<TfsSetExpression> Set;
};

class TfsCaseStmt : public TfsStatement {
 public:
  using TfsStatement::TfsStatement;
  std::unique_ptr<TfsExpression> Condition;
  std::unique_ptr<TfsStatement> ElsePart;
  void Execute() override;
};

class TfsRepeatStmt : public TfsStatement {
 public:
  using TfsStatement::TfsStatement;
  std::unique_ptr<TfsExpression> Condition;
  bool NegateCondition = false;
  void Execute() override;
};

class TfsWhileStmt : public TfsStatement {
 public:
  using TfsStatement::TfsStatement;
  std::unique_ptr<TfsExpression> Condition;
  void Execute() override;
};

class TfsForStmt : public TfsStatement {
 public:
  using TfsStatement::TfsStatement;
  TfsCustomVariable* Variable = nullptr;
  std::unique_ptr<TfsExpression> StartBound, EndBound;
  bool Down = false;
  void Execute() override;
};

class TfsVbForStmt : public TfsStatement {
 public:
  using TfsStatement::TfsStatement;
  TfsCustomVariable* Variable = nullptr;
  std::unique_ptr<TfsExpression> StartBound, EndBound, Step;
  void Execute() override;
};

class TfsCppForStmt : public TfsStatement {
 public:
  using TfsStatement::TfsStatement;
  std::unique_ptr<TfsStatement> InitStatement, StepStatement;
  std::unique_ptr<TfsExpression> Condition;
  void Execute() override;
};

class TfsTryStmt : public TfsStatement {
 public:
  using TfsStatement::TfsStatement;
  bool CatchForm = false;  // except rather than finally
  std::unique_ptr<TfsStatement> HandlerPart;
  void Execute() override;
};

class TfsBreakStmt : public TfsStatement {
 public:
  using TfsStatement::TfsStatement;
  void Execute() override { script_->BreakPending = true; }
};

class TfsContinueStmt : public TfsStatement {
 public:
  using TfsStatement::TfsStatement;
  void Execute() override { script_->ContinuePending = true; }
};

class TfsExitStmt : public TfsStatement {
 public:
  using TfsStatement::TfsStatement;
  void Execute() override;
};

// Stores the object of a with-designator in its hidden variable; the body follows.
class TfsWithStmt : public TfsStatement {
 public:
  using TfsStatement::TfsStatement;
  std::unique_ptr<TfsDesignator> Designator;
  TfsCustomVariable* Variable = nullptr;
  void Execute() override;
};

// The interpreter's program builder, registered as the default of fsProgramBuilder.
TfsProgramBuilder& fsInterpreterBuilder();
