#pragma once
// Compiled expressions: a tree of operand and operator nodes built from the flat list
// of operands and operators of an IL `expr` element by a precedence climber, typed once
// when finished, and evaluated on demand into a Variant.

#include <memory>
#include <string>
#include <vector>

#include "script/fs_iexpression.h"
#include "script/fs_iinterpreter.h"

class TfsDesignator;
class TfsSetExpression;

// ORDER: operator codes and their priorities (a lower number binds tighter).
enum TfsOperatorCode {
  opNone = 0,
  opGreater, opLess, opLessEqual, opGreaterEqual, opNotEqual, opEqual,
  opPlus, opMinus, opOr, opXor, opMultiply, opDivide, opIntDivide, opModulo, opAnd, opShiftLeft, opShiftRight,
  opLeftBracket, opRightBracket, opNot, opUnaryMinus, opIn, opIs,
  opStrCat,
};

class TfsExpressionNode : public TfsCustomVariable {
 public:
  explicit TfsExpressionNode(ScriptType type, std::string typeName = {})
      : TfsCustomVariable({}, type, std::move(typeName)) {}
  std::unique_ptr<TfsExpressionNode> Left, Right;
  TfsExpressionNode* Parent = nullptr;
  virtual int Priority() const { return 0; }
};

// A constant; value and type fixed when built.
class TfsOperandNode : public TfsExpressionNode {
 public:
  explicit TfsOperandNode(const Variant& value);
  TfsOperandNode(const Variant& value, ScriptType type, std::string typeName);
  Variant ReadValue() override { return value_; }
};

class TfsDesignatorNode : public TfsExpressionNode {
 public:
  explicit TfsDesignatorNode(std::unique_ptr<TfsDesignator> designator);
  ~TfsDesignatorNode() override;
  Variant ReadValue() override;
  TfsDesignator& Designator() const { return *designator_; }

 private:
  std::unique_ptr<TfsDesignator> designator_;
  TfsCustomVariable* variable_;  // read directly for a lone variable
};

class TfsSetNode : public TfsExpressionNode {
 public:
  explicit TfsSetNode(std::unique_ptr<TfsSetExpression> set);
  ~TfsSetNode() override;
  Variant ReadValue() override;
  TfsSetExpression& Set() const { return *set_; }

 private:
  std::unique_ptr<TfsSetExpression> set_;
};

class TfsOperatorNode : public TfsExpressionNode {
 public:
  explicit TfsOperatorNode(TfsOperatorCode code) : TfsExpressionNode(stVariant), Code(code) {}
  TfsOperatorCode Code;
  bool ShortCircuit = false;
  int Priority() const override;
  Variant ReadValue() override;
};

// An expression: the tree with its root, its source text and type.
class TfsExpression : public TfsCustomExpression {
 public:
  explicit TfsExpression(TfsScript& script);
  ~TfsExpression() override;

  void PushOperand(std::unique_ptr<TfsExpressionNode> node);
  void PushOperator(const std::string& text, const std::string& position);
  void PushConstant(const Variant& value);
  void PushDesignator(std::unique_ptr<TfsDesignator> designator);
  void PushSet(std::unique_ptr<TfsSetExpression> set);
  // Removes the root placeholder and types the tree; raises "Incompatible types" at
  // the first operator whose operands do not go together.
  void Finalize();

  Variant ReadValue() override { return root_->ReadValue(); }
  void WriteValue(const Variant& value) override;  // through a lone designator only
  // The operand when the expression is one, else null.
  TfsExpressionNode* LoneOperand() const;
  // The designator when the expression is one, else null.
  TfsDesignator* LoneDesignator() const;
  TfsExpressionNode& Root() const { return *root_; }
  // Takes the tree out (the expression is left empty).
  std::unique_ptr<TfsExpressionNode> TakeRoot() { return std::move(root_); }

  std::string SourceText;

 private:
  void Attach(std::unique_ptr<TfsExpressionNode> node);
  void CountNode(const std::string& position);  // raises past the engine's limit
  void Type(TfsExpressionNode& node);

  TfsScript* script_;
  std::unique_ptr<TfsExpressionNode> root_;
  TfsExpressionNode* current_;
  int nodes_ = 0;
};

// A set constructor: items, a range L..H stored as L, an empty marker (null), H.
class TfsSetExpression : public TfsCustomVariable {
 public:
  TfsSetExpression() : TfsCustomVariable({}, stVariant, "Variant") {}
  std::vector<std::unique_ptr<TfsExpression>> Items;
  Variant ReadValue() override;  // the item values as an array, Null for the markers
  bool Contains(const Variant& value);
};

// Whether a value of type `right` may meet one of type `left` (operands, assignments).
bool fsKindsMatch(ScriptType left, const std::string& leftName, ScriptType right, const std::string& rightName,
                  const TfsScript& script);
// Assignment compatibility; raises "Incompatible types: 'A', 'B'" at `position`.
void fsCheckAssignable(ScriptType target, const std::string& targetName, ScriptType source,
                       const std::string& sourceName, const TfsScript& script, const std::string& position);
// A constant from literal text: quoted string, "$" hexadecimal or decimal integer, float.
Variant fsLiteralValue(const std::string& text);
