// Statements at run time. Each one reports its line through the script's per-statement
// hook and does nothing once the script is being stopped; loops also test the stop
// request on every pass, so that a loop with an empty body still ends when the host
// sets Terminated.
#include <typeinfo>

#include "fs_iinterpreter_program.h"

namespace {

// The exception class name an except block sees.
std::string ClassNameOf(const std::exception& e) {
  if (dynamic_cast<const EfsScriptError*>(&e)) return "Exception";
  if (dynamic_cast<const EVariantError*>(&e)) return "EVariantError";
  return "Exception";
}

// Runs a loop body and clears the continue request it may have left.
void RunBody(TfsStatement& loop) {
  loop.TfsStatement::Execute();
  loop.Script().ContinuePending = false;
}

}  // namespace

void TfsStatement::Execute() {
  TfsScript& script = *script_;
  for (int i = 0, n = Count(); i < n; ++i) {
    if (script.StopRequested) return;
    Child(i).Execute();
    if (script.BreakPending || script.ContinuePending || script.ExitPending) return;
  }
}

void TfsAssignmentStmt::Execute() {
  if (!Enter()) return;
  Target->WriteValue(Source->ReadValue());
}

void TfsAssignOperateStmt::Execute() {
  if (!Enter()) return;
  Variant right = Source->ReadValue();
  if (InPlace && fsVarOperateIntegersInPlace(Operator, Target->MutableValue(), right)) return;
  Target->WriteValue(fsVarOperate(Operator, Target->ReadValue(), right));
}

void TfsCallStmt::Execute() {
  if (!Enter()) return;
  if (Modifier == 0) {
    Designator->ResultUsed = false;
    Designator->ReadValue();
    return;
  }
  Variant one(int32_t{1});
  Designator->WriteValue(
      fsVarOperate(Modifier == '+' ? TfsOperator::Add : TfsOperator::Subtract, Designator->ReadValue(), one));
}

void TfsIfStmt::Execute() {
  if (!Enter()) return;
  if (fsVarToBoolean(Condition->ReadValue()))
    TfsStatement::Execute();
  else if (ElsePart)
    ElsePart->Execute();
}

void TfsCaseStmt::Execute() {
  Variant value = Condition->ReadValue();
  if (!Enter()) return;
  for (int i = 0; i < Count(); ++i) {
    auto& selector = static_cast<TfsCaseSelector&>(Child(i));
    if (selector.Set->Contains(value)) {
      selector.TfsStatement::Execute();
      return;
    }
  }
  if (ElsePart) ElsePart->Execute();
}

void TfsRepeatStmt::Execute() {
  if (!Enter()) return;
  for (bool first = true;; first = false) {
    if (!first && !NextPass()) break;
    RunBody(*this);
    if (!KeepLooping()) break;
    bool condition = fsVarToBoolean(Condition->ReadValue());
    if (condition != NegateCondition) break;
  }
  script_->BreakPending = false;
}

void TfsWhileStmt::Execute() {
  if (!Enter()) return;
  for (bool first = true; (first || NextPass()) && fsVarToBoolean(Condition->ReadValue()); first = false)
    RunBody(*this);
  script_->BreakPending = false;
}

void TfsForStmt::Execute() {
  int32_t start = fsVarToInteger(StartBound->ReadValue());
  int32_t end = fsVarToInteger(EndBound->ReadValue());
  if (!Enter()) return;
  // The values are stored without conversion, as Integer variants; 64-bit counting
  // keeps a loop up to the largest integer from wrapping around.
  Variant& stored = Variable->MutableValue();
  if (!Down) {
    for (int64_t i = start; i <= end && (i == start || NextPass()); ++i) {
      stored = Variant(static_cast<int32_t>(i));
      RunBody(*this);
    }
  } else {
    for (int64_t i = start; i >= end && (i == start || NextPass()); --i) {
      stored = Variant(static_cast<int32_t>(i));
      RunBody(*this);
    }
  }
  script_->BreakPending = false;
}

void TfsVbForStmt::Execute() {
  Variant current = StartBound->ReadValue();
  Variant end = EndBound->ReadValue();
  Variant step = Step ? Step->ReadValue() : Variant(int32_t{1});
  if (!Enter()) return;
  bool up = fsVarCompare(TfsComparison::GreaterEqual, step, Variant(int32_t{0}));
  for (bool first = true;
       (first || NextPass()) && fsVarCompare(up ? TfsComparison::LessEqual : TfsComparison::GreaterEqual, current, end);
       first = false) {
    Variable->WriteValue(current);
    RunBody(*this);
    current = fsVarOperate(TfsOperator::Add, current, step);
  }
  script_->BreakPending = false;
}

void TfsCppForStmt::Execute() {
  if (!Enter()) return;
  InitStatement->Execute();
  for (bool first = true; (first || NextPass()) && fsVarToBoolean(Condition->ReadValue()); first = false) {
    RunBody(*this);
    if (!KeepLooping()) break;
    StepStatement->Execute();
  }
  script_->BreakPending = false;
}

void TfsTryStmt::Execute() {
  if (!Enter()) return;
  if (CatchForm) {
    try {
      TfsStatement::Execute();
    } catch (const std::exception& e) {
      // The guarded part may have stopped anywhere: a loop's requests do not leak out.
      script_->BreakPending = false;
      script_->ContinuePending = false;
      script_->SetScriptVariable("ExceptionClassName", Variant(ClassNameOf(e)));
      script_->SetScriptVariable("ExceptionMessage", Variant(std::string(e.what())));
      HandlerPart->Execute();
    }
    return;
  }
  struct Finally {
    TfsTryStmt& statement;
    ~Finally() noexcept(false) {
      TfsScript& script = statement.Script();
      bool exitPending = script.ExitPending;
      script.ExitPending = false;
      if (std::uncaught_exceptions() > 0) {
        // Unwinding already: the finally part runs, its own error cannot replace the first.
        try {
          statement.HandlerPart->Execute();
        } catch (...) {
        }
      } else {
        statement.HandlerPart->Execute();
      }
      script.ExitPending = script.ExitPending || exitPending;
    }
  } finally{*this};
  TfsStatement::Execute();
}

void TfsExitStmt::Execute() {
  if (!Enter()) return;
  script_->ExitPending = true;
}

void TfsWithStmt::Execute() { Variable->MutableValue() = Designator->ReadValue(); }
