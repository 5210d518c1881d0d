// "ctOther": counters, errors, messages, random numbers, validity tests, file paths,
// automation objects, variant arrays.
#include <iostream>

#include "fs_isysrtti_args.h"
#include "platform/Convert.h"
#include "platform/Format.h"
#include "script/fs_iexpression.h"

namespace fs_sysrtti {

namespace {

TfsShowMessageHandler& ShowMessageHandler() {
  static TfsShowMessageHandler handler;
  return handler;
}

// The file name up to and including its last folder separator or drive colon. Both
// "\" (paths from the parent application) and "/" (this platform's) separate folders.
std::string ExtractFilePath(const std::string& fileName) {
  const size_t last = fileName.find_last_of("\\/:");
  return last == std::string::npos ? std::string() : fileName.substr(0, last + 1);
}

bool IsArrayElementKind(int32_t kind) {
  return (kind >= 2 && kind <= 8) || kind == 11 || kind == 12 || (kind >= 16 && kind <= 20) || kind == 256;
}

Variant VarArrayCreate(const Variant& boundsValue, int32_t elementKind) {
  std::vector<int64_t> list;
  if (boundsValue.isArray()) {
    for (const Variant& item : boundsValue.array().items) list.push_back(item.toInt64());
  }
  if (list.empty() || list.size() % 2 != 0) throw EfsScriptError(fs_sys_messages::ArrayBoundsInPairs);
  if (!IsArrayElementKind(elementKind)) throw EfsScriptError(Message(fs_sys_messages::ArrayElementKind, elementKind));
  std::vector<VariantArray::Bound> bounds;
  int64_t total = 1;
  for (size_t i = 0; i < list.size(); i += 2) {
    bounds.push_back({list[i], list[i + 1]});
    total *= std::max<int64_t>(bounds.back().count(), 0);
    if (total > kMaxArrayElements)
      throw EfsScriptError(Message(fs_sys_messages::ArrayTooLarge, static_cast<long long>(total), static_cast<long long>(kMaxArrayElements)));
  }
  return Variant::Array(bounds, static_cast<VarKind>(elementKind));
}

const std::vector<TSysFunction> kOther = {
    {"procedure Inc(var i: Integer; incr: Integer = 1)",
     [](TfsMethodHelper& a) {
       a.SetParam(0, fsVarOperate(TfsOperator::Add, a.GetParam(0), a.GetParam(1)));
       return Variant();
     }},
    {"procedure Dec(var i: Integer; decr: Integer = 1)",
     [](TfsMethodHelper& a) {
       a.SetParam(0, fsVarOperate(TfsOperator::Subtract, a.GetParam(0), a.GetParam(1)));
       return Variant();
     }},
    {"procedure RaiseException(Param: String)",
     [](TfsMethodHelper& a) -> Variant { throw EfsScriptError(TextArg(a, 0)); }},
    {"procedure ShowMessage(Msg: Variant)",
     [](TfsMethodHelper& a) {
       const std::string text = ValueText(a.GetParam(0));
       if (ShowMessageHandler()) ShowMessageHandler()(text);
       else std::cerr << text << std::endl;
       return Variant();
     }},
    {"procedure Randomize",
     [](TfsMethodHelper&) {
       fsRandomize();
       return Variant();
     }},
    {"function Random: Extended", [](TfsMethodHelper&) { return Variant(fsRandom()); }},
    {"function ValidInt(cInt: String): Boolean",
     [](TfsMethodHelper& a) { return Variant(TryStrToInt(TextArg(a, 0)).has_value()); }},
    {"function ValidFloat(cFlt: String): Boolean",
     [](TfsMethodHelper& a) {
       double value = 0;
       return Variant(TryStrToFloat(TextArg(a, 0), value));
     }},
    {"function ValidDate(cDate: String): Boolean",
     [](TfsMethodHelper& a) {
       const Variant given = a.GetParam(0);
       const std::string text = given.kind() == VarKind::Date ? DateToStr(given.toDouble()) : ValueText(given);
       double value = 0;
       return Variant(TryStrToDate(text, value));
     }},
    {"function ExtractFilePath(const FileName: string): string;",
     [](TfsMethodHelper& a) { return Variant(ExtractFilePath(TextArg(a, 0))); }},
    {"function CreateOleObject(ClassName: String): Variant",
     [](TfsMethodHelper& a) -> Variant { throw EfsScriptError(MessageText(fs_sys_messages::NoAutomation, TextArg(a, 0))); }},
    {"function VarArrayCreate(Bounds: Array; Typ: Integer): Variant",
     [](TfsMethodHelper& a) { return VarArrayCreate(a.GetParam(0), IntArg(a, 1)); }},
    {"function VarType(V: Variant): Integer",
     [](TfsMethodHelper& a) { return Variant(int32_t{a.GetParam(0).varType()}); }},
};

// Entries of the design-time function catalogue. The report declares macro functions
// of the same names in its own script, and lookups find those; these answer 0.
const std::vector<TSysFunction> kReportOther = {
    {"function IIF(Expr: Boolean; TrueValue, FalseValue: Variant): Variant",
     [](TfsMethodHelper&) { return Variant(int32_t{0}); }},
};
const std::vector<TSysFunction> kReportAggregates = {
    {"function SUM(Expr: Variant; Band: Variant = 0; Flags: Integer = 0): Variant",
     [](TfsMethodHelper&) { return Variant(int32_t{0}); }},
    {"function AVG(Expr: Variant; Band: Variant = 0; Flags: Integer = 0): Variant",
     [](TfsMethodHelper&) { return Variant(int32_t{0}); }},
    {"function MIN(Expr: Variant; Band: Variant = 0; Flags: Integer = 0): Variant",
     [](TfsMethodHelper&) { return Variant(int32_t{0}); }},
    {"function MAX(Expr: Variant; Band: Variant = 0; Flags: Integer = 0): Variant",
     [](TfsMethodHelper&) { return Variant(int32_t{0}); }},
    {"function COUNT(Band: Variant = 0; Flags: Integer = 0): Variant",
     [](TfsMethodHelper&) { return Variant(int32_t{0}); }},
};

}  // namespace

TfsShowMessageHandler SetShowMessageHandler(TfsShowMessageHandler handler) {
  TfsShowMessageHandler previous = std::move(ShowMessageHandler());
  ShowMessageHandler() = std::move(handler);
  return previous;
}

void DeclareOtherFunctions(TfsScript& script) { DeclareGroup(script, "ctOther", kOther); }

void DeclareReportCatalogue(TfsScript& script) {
  DeclareGroup(script, "ctOther", kReportOther);
  DeclareGroup(script, "ctAggregate", kReportAggregates);
}

}  // namespace fs_sysrtti

TfsShowMessageHandler fsSetShowMessageHandler(TfsShowMessageHandler handler) {
  return fs_sysrtti::SetShowMessageHandler(std::move(handler));
}
