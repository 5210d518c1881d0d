// Expressions: the precedence climber that builds the tree, the typing of operators,
// and evaluation.
#include <cctype>
#include <cstdlib>

#include "fs_iinterpreter_program.h"
#include "fs_limits.h"

namespace {

struct OperatorText {
  const char* text;
  TfsOperatorCode code;
};

// ORDER: the IL texts of operators as the grammars write them.
constexpr OperatorText kOperators[] = {
    {">", opGreater},      {"<", opLess},       {"<=", opLessEqual},     {">=", opGreaterEqual}, {"<>", opNotEqual},
    {"=", opEqual},        {"+", opPlus},       {"strcat", opStrCat},    {"-", opMinus},         {"or", opOr},
    {"xor", opXor},        {"*", opMultiply},   {"/", opDivide},         {"div", opIntDivide},   {"mod", opModulo},
    {"and", opAnd},        {"shl", opShiftLeft}, {"shr", opShiftRight},  {"(", opLeftBracket},   {")", opRightBracket},
    {"not", opNot},        {"unminus", opUnaryMinus}, {"in", opIn},      {"is", opIs},
};

bool IsComparison(TfsOperatorCode code) { return code >= opGreater && code <= opEqual; }

TfsOperator ArithmeticOf(TfsOperatorCode code) {
  switch (code) {
    case opPlus: case opStrCat: return TfsOperator::Add;
    case opMinus: return TfsOperator::Subtract;
    case opMultiply: return TfsOperator::Multiply;
    case opDivide: return TfsOperator::Divide;
    case opIntDivide: return TfsOperator::IntDivide;
    case opModulo: return TfsOperator::Modulo;
    case opShiftLeft: return TfsOperator::ShiftLeft;
    case opShiftRight: return TfsOperator::ShiftRight;
    case opAnd: return TfsOperator::And;
    case opOr: return TfsOperator::Or;
    default: return TfsOperator::Xor;
  }
}

TfsComparison ComparisonOf(TfsOperatorCode code) {
  switch (code) {
    case opGreater: return TfsComparison::Greater;
    case opLess: return TfsComparison::Less;
    case opLessEqual: return TfsComparison::LessEqual;
    case opGreaterEqual: return TfsComparison::GreaterEqual;
    case opNotEqual: return TfsComparison::NotEqual;
    default: return TfsComparison::Equal;
  }
}

ScriptType TypeOfValue(const Variant& v) {
  if (v.kind() == VarKind::Boolean) return stBoolean;
  if (v.isFloat()) return stFloat;
  if (v.isText()) return stString;
  return stInteger;
}

std::string Upper(std::string s) {
  for (char& c : s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  return s;
}

// "in" with anything but a set constructor: the right value scanned as an array of
// items in which an item, a Null and a third item form a range.
bool InArray(const Variant& value, const Variant& items) {
  if (!items.isArray()) return fsVarEquals(value, items);
  const std::vector<Variant>& list = items.array().items;
  for (size_t i = 0; i < list.size(); ++i) {
    if (i + 2 < list.size() && list[i + 1].isNull()) {
      if (fsVarCompare(TfsComparison::GreaterEqual, value, list[i]) &&
          fsVarCompare(TfsComparison::LessEqual, value, list[i + 2]))
        return true;
      i += 2;
    } else if (fsVarEquals(value, list[i])) {
      return true;
    }
  }
  return false;
}

}  // namespace

Variant fsLiteralValue(const std::string& text) {
  if (!text.empty() && text[0] == '\'') return Variant(text.size() >= 2 ? text.substr(1, text.size() - 2) : std::string());
  Variant number;
  if (text.empty() || text[0] == '$') {
    if (fsTextToNumber(text, number) && number.kind() != VarKind::Double) return number;
    // A hexadecimal number beyond 64 bits: keep what fits, as its own kind does.
    return Variant(static_cast<int64_t>(std::strtoull(text.c_str() + (text.empty() ? 0 : 1), nullptr, 16)));
  }
  if (text.find_first_not_of("0123456789") == std::string::npos) {
    if (text.size() <= 18 && fsTextToNumber(text, number)) return number;
    return Variant(std::strtod(text.c_str(), nullptr));
  }
  return Variant(std::strtod(text.c_str(), nullptr));  // the tokenizer only passes number texts
}

TfsOperandNode::TfsOperandNode(const Variant& value) : TfsExpressionNode(TypeOfValue(value)) { value_ = value; }

TfsOperandNode::TfsOperandNode(const Variant& value, ScriptType type, std::string typeName)
    : TfsExpressionNode(type, std::move(typeName)) {
  value_ = value;
}

TfsDesignatorNode::TfsDesignatorNode(std::unique_ptr<TfsDesignator> designator)
    : TfsExpressionNode(designator->TypeCode, designator->DeclaredType),
      designator_(std::move(designator)),
      variable_(designator_->Kind == 1 ? designator_->Item(0).Ref : nullptr) {}

TfsDesignatorNode::~TfsDesignatorNode() = default;

Variant TfsDesignatorNode::ReadValue() { return variable_ ? variable_->ReadValue() : designator_->ReadValue(); }

TfsSetNode::TfsSetNode(std::unique_ptr<TfsSetExpression> set) : TfsExpressionNode(stVariant), set_(std::move(set)) {}

TfsSetNode::~TfsSetNode() = default;

Variant TfsSetNode::ReadValue() { return set_->ReadValue(); }

int TfsOperatorNode::Priority() const {
  switch (Code) {
    case opNone: return 7;
    case opLeftBracket: return 6;
    case opRightBracket: return 5;
    case opNot: case opUnaryMinus: return 1;
    case opMultiply: case opDivide: case opIntDivide: case opModulo: case opAnd: case opShiftLeft: case opShiftRight:
      return 2;
    case opPlus: case opStrCat: case opMinus: case opOr: case opXor: return 3;
    default: return 4;
  }
}

Variant TfsOperatorNode::ReadValue() {
  switch (Code) {
    case opNot: return fsVarNot(Left->ReadValue());
    case opUnaryMinus: return fsVarNegate(Left->ReadValue());
    case opAnd:
      if (ShortCircuit) {
        Variant left = Left->ReadValue();
        return fsVarToBoolean(left) ? Right->ReadValue() : left;
      }
      break;
    case opOr:
      if (ShortCircuit) {
        Variant left = Left->ReadValue();
        return fsVarToBoolean(left) ? left : Right->ReadValue();
      }
      break;
    case opStrCat: {
      Variant left = Left->ReadValue();
      Variant right = Right->ReadValue();
      if (left.isText()) return fsVarOperate(TfsOperator::Add, Variant(fsVarToText(left)), Variant(fsVarToText(right)));
      return fsVarOperate(TfsOperator::Add, left, right);
    }
    case opIn: {
      Variant left = Left->ReadValue();
      if (auto* set = dynamic_cast<TfsSetNode*>(Right.get())) return Variant(set->Set().Contains(left));
      return Variant(InArray(left, Right->ReadValue()));
    }
    case opIs: {
      TfsHostObject* object = fsVariantToObject(Left->ReadValue());
      auto* designator = dynamic_cast<TfsDesignatorNode*>(Right.get());
      auto* cls = designator && designator->Designator().ItemCount() > 0
                      ? dynamic_cast<TfsClassVariable*>(designator->Designator().Item(0).Ref)
                      : nullptr;
      return Variant(object && cls && object->HostClass().InheritsFrom(&cls->HostClass()));
    }
    default:
      break;
  }
  if (IsComparison(Code)) {
    Variant left = Left->ReadValue();
    return Variant(fsVarCompare(ComparisonOf(Code), left, Right->ReadValue()));
  }
  Variant left = Left->ReadValue();
  return fsVarOperate(ArithmeticOf(Code), left, Right->ReadValue());
}

TfsExpression::TfsExpression(TfsScript& script)
    : TfsCustomExpression({}, stVariant, "Variant"),
      script_(&script),
      root_(std::make_unique<TfsOperatorNode>(opNone)),
      current_(root_.get()) {
  Locked = true;
}

TfsExpression::~TfsExpression() = default;

void TfsExpression::CountNode(const std::string& position) {
  if (++nodes_ > fs_limits::kMaxExpressionNodes)
    throw EfsScriptError(fs_limits::kExpressionSizeMessage, position.empty() ? SourcePoint : position);
}

void TfsExpression::Attach(std::unique_ptr<TfsExpressionNode> node) {
  CountNode(node->SourcePoint);
  node->Parent = current_;
  TfsExpressionNode* raw = node.get();
  if (!current_->Left)
    current_->Left = std::move(node);
  else
    current_->Right = std::move(node);
  current_ = raw;
}

void TfsExpression::PushOperand(std::unique_ptr<TfsExpressionNode> node) { Attach(std::move(node)); }

void TfsExpression::PushConstant(const Variant& value) { PushOperand(std::make_unique<TfsOperandNode>(value)); }

void TfsExpression::PushDesignator(std::unique_ptr<TfsDesignator> designator) {
  PushOperand(std::make_unique<TfsDesignatorNode>(std::move(designator)));
}

void TfsExpression::PushSet(std::unique_ptr<TfsSetExpression> set) {
  PushOperand(std::make_unique<TfsSetNode>(std::move(set)));
}

void TfsExpression::PushOperator(const std::string& text, const std::string& position) {
  std::string lower = text;
  for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  TfsOperatorCode code = opNone;
  for (const OperatorText& o : kOperators)
    if (lower == o.text) code = o.code;
  if (code == opNone) throw EfsScriptError(fs_messages::IncompatibleTypes, position);

  if (code == opLeftBracket || code == opNot || code == opUnaryMinus) {
    auto node = std::make_unique<TfsOperatorNode>(code);
    node->SourcePoint = position;
    PushOperand(std::move(node));
    return;
  }
  if (code == opRightBracket) {
    TfsExpressionNode* bracket = current_;
    while (bracket->Priority() <= 5) bracket = bracket->Parent;
    auto* op = static_cast<TfsOperatorNode*>(bracket);
    if (op->Code != opLeftBracket || !op->Left) return;  // an unmatched ")" changes nothing
    // The "(" node gives way to its child subtree.
    TfsExpressionNode* parent = bracket->Parent;
    std::unique_ptr<TfsExpressionNode> inner = std::move(bracket->Left);
    inner->Parent = parent;
    TfsExpressionNode* raw = inner.get();
    (parent->Left.get() == bracket ? parent->Left : parent->Right) = std::move(inner);
    current_ = raw;
    return;
  }
  CountNode(position);
  auto node = std::make_unique<TfsOperatorNode>(code);
  node->SourcePoint = position;
  TfsExpressionNode* c = current_;
  TfsExpressionNode* displaced = nullptr;
  auto isBracket = [](TfsExpressionNode* n) {
    auto* op = dynamic_cast<TfsOperatorNode*>(n);
    return op && op->Code == opLeftBracket;
  };
  if (!isBracket(c)) {
    displaced = c;
    c = c->Parent;
  }
  int priority = node->Priority();
  while (c->Parent && priority >= c->Priority()) {
    displaced = c;
    c = c->Parent;
  }
  if (!displaced) {  // an operator right after "(": nothing to take as left operand
    node->Parent = c;
    TfsExpressionNode* raw = node.get();
    (c->Left ? c->Right : c->Left) = std::move(node);
    current_ = raw;
    return;
  }
  std::unique_ptr<TfsExpressionNode>& slot = c->Left.get() == displaced ? c->Left : c->Right;
  node->Left = std::move(slot);
  node->Left->Parent = node.get();
  node->Parent = c;
  current_ = node.get();
  slot = std::move(node);
}

void TfsExpression::Type(TfsExpressionNode& node) {
  if (node.Left) Type(*node.Left);
  if (node.Right) Type(*node.Right);
  auto* op = dynamic_cast<TfsOperatorNode*>(&node);
  if (!op) return;
  ScriptType l = node.Left ? node.Left->TypeCode : stVariant;
  ScriptType r = node.Right ? node.Right->TypeCode : stVariant;
  std::string ln = node.Left ? node.Left->DeclaredType : std::string();
  std::string rn = node.Right ? node.Right->DeclaredType : std::string();
  TfsOperatorCode code = op->Code;
  if (code == opLeftBracket) {  // an unclosed bracket: its contents
    op->TypeCode = l;
    op->DeclaredType = ln;
    return;
  }
  if (l == stBoolean && r == stBoolean) op->ShortCircuit = true;
  if (!(code == opIs && l == stClass && r == stClass)) {
    bool ok = fsKindsMatch(l, ln, r, rn, *script_);
    if (ok && l == stBoolean)
      ok = code == opEqual || code == opNotEqual || code == opAnd || code == opOr || code == opXor || code == opNot;
    if (ok && (l == stChar || l == stString))
      ok = IsComparison(code) || code == opPlus || code == opStrCat || code == opIn;
    if (ok && (l == stClass || l == stArray)) ok = code == opEqual || code == opNotEqual;
    if (!ok) throw EfsScriptError(fs_messages::IncompatibleTypes, op->SourcePoint);
  }
  ScriptType result = l;
  std::string resultName = ln;
  if ((l == stInteger && r == stFloat) || (l == stFloat && r == stInteger)) result = stFloat;
  if (code == opDivide && l == stInteger && r == stInteger) result = stFloat;
  if (IsComparison(code) || code == opIn || code == opIs) result = stBoolean;
  if (result != l) resultName.clear();
  op->TypeCode = result;
  op->DeclaredType = resultName;
}

void TfsExpression::Finalize() {
  std::unique_ptr<TfsExpressionNode> tree = std::move(root_->Left);
  if (!tree) tree = std::make_unique<TfsOperandNode>(Variant::Null(), stVariant, "Variant");
  tree->Parent = nullptr;
  root_ = std::move(tree);
  current_ = root_.get();
  Type(*root_);
  TypeCode = root_->TypeCode;
  DeclaredType = root_->DeclaredType;
  TfsDesignator* designator = LoneDesignator();
  Locked = !designator || designator->Locked;
}

TfsExpressionNode* TfsExpression::LoneOperand() const {
  if (dynamic_cast<TfsOperatorNode*>(root_.get())) return nullptr;
  return root_.get();
}

TfsDesignator* TfsExpression::LoneDesignator() const {
  auto* node = dynamic_cast<TfsDesignatorNode*>(root_.get());
  return node ? &node->Designator() : nullptr;
}

void TfsExpression::WriteValue(const Variant& value) {
  if (TfsDesignator* designator = LoneDesignator(); designator && !designator->Locked) designator->WriteValue(value);
}

Variant TfsSetExpression::ReadValue() {
  Variant result = Variant::Array(0, static_cast<int64_t>(Items.size()) - 1);
  for (size_t i = 0; i < Items.size(); ++i)
    result.at(static_cast<int64_t>(i)) = Items[i] ? Items[i]->ReadValue() : Variant::Null();
  return result;
}

bool TfsSetExpression::Contains(const Variant& value) {
  for (size_t i = 0; i < Items.size(); ++i) {
    if (!Items[i]) continue;
    if (i + 2 < Items.size() && !Items[i + 1]) {
      if (fsVarCompare(TfsComparison::GreaterEqual, value, Items[i]->ReadValue()) &&
          fsVarCompare(TfsComparison::LessEqual, value, Items[i + 2]->ReadValue()))
        return true;
      i += 2;
    } else if (fsVarEquals(value, Items[i]->ReadValue())) {
      return true;
    }
  }
  return false;
}

bool fsKindsMatch(ScriptType l, const std::string& ln, ScriptType r, const std::string& rn, const TfsScript& script) {
  if (r == stVariant && l != stConstructor) return true;
  switch (l) {
    case stInteger: return r == stInteger || r == stFloat || r == stEnum;
    case stBoolean: return r == stBoolean;
    case stFloat: return r == stInteger || r == stFloat;
    case stChar: case stString: return r == stChar || r == stString;
    case stArray: return r == stArray;
    case stVariant: return true;
    case stEnum: return (r == stEnum && Upper(ln) == Upper(rn)) || r == stInteger;
    case stClass: {
      if (r != stClass) return false;
      TfsClassVariable* left = script.FindClassSymbol(ln);
      TfsClassVariable* right = script.FindClassSymbol(rn);
      if (left && right) return right->HostClass().InheritsFrom(&left->HostClass());
      return Upper(ln) == Upper(rn);
    }
    default: return false;
  }
}

void fsCheckAssignable(ScriptType target, const std::string& targetName, ScriptType source,
                       const std::string& sourceName, const TfsScript& script, const std::string& position) {
  bool ok = fsKindsMatch(target, targetName, source, sourceName, script) && !(target == stInteger && source == stFloat);
  if (!ok)
    throw EfsScriptError(std::string(fs_messages::IncompatibleTypes) + ": '" + TypeCodeToName(target, targetName) +
                             "', '" + TypeCodeToName(source, sourceName) + "'",
                         position);
}
