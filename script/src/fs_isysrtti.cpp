// TfsSysFunctions: the types, constants and variables every script knows, and the
// registration of the function groups (fs_isysrtti_*.cpp).
#include "fs_isysrtti_args.h"
#include "script/fs_iexpression.h"

namespace fs_sysrtti {

void DeclareGroup(TfsScript& script, const char* category, const std::vector<TSysFunction>& functions) {
  for (const TSysFunction& function : functions) {
    auto call = function.call;
    script.DeclareFunctionEx(
        function.declaration,
        [call](TfsHostObject*, const TfsHostClass*, const std::string&, TfsMethodHelper& args) { return call(args); },
        category, "");
  }
}

// Arguments convert by the variant rules of expressions (fs_iexpression.h), so that a
// function sees what an assignment to a variable of the parameter's type would store.
int64_t Int64Arg(const TfsMethodHelper& args, int index) {
  const Variant value = args.GetParam(index);
  // 64-bit and unsigned integers keep their whole value; the rest reads as an Integer.
  if (value.isOrdinal() && value.kind() != VarKind::Boolean) return value.toInt64();
  return fsVarToInteger(value);
}

int32_t IntArg(const TfsMethodHelper& args, int index) { return fsVarToInteger(args.GetParam(index)); }
double FloatArg(const TfsMethodHelper& args, int index) { return fsVarToFloat(args.GetParam(index)); }
bool BoolArg(const TfsMethodHelper& args, int index) { return fsVarToBoolean(args.GetParam(index)); }

std::string ValueText(const Variant& value) { return value.isNull() ? std::string() : fsVarToText(value); }

std::string TextArg(const TfsMethodHelper& args, int index) { return ValueText(args.GetParam(index)); }

}  // namespace fs_sysrtti

namespace {

void DeclareTypes(TfsScript& script) {
  const std::pair<const char*, ScriptType> types[] = {
      {"Byte", stInteger},     {"Word", stInteger},     {"Integer", stInteger},  {"Longint", stInteger},
      {"Cardinal", stInteger}, {"TColor", stInteger},   {"Boolean", stBoolean},  {"Real", stFloat},
      {"Single", stFloat},     {"Double", stFloat},     {"Extended", stFloat},   {"Currency", stFloat},
      {"TDate", stFloat},      {"TTime", stFloat},      {"TDateTime", stFloat},  {"Char", stChar},
      {"String", stString},    {"Variant", stVariant},  {"Pointer", stVariant},  {"Array", stArray},
      {"Constructor", stConstructor},
  };
  for (const auto& [name, code] : types) script.DeclareType(name, code);
}

void DeclareConstants(TfsScript& script) {
  script.DeclareConstant("True", "Boolean", Variant(true));
  script.DeclareConstant("False", "Boolean", Variant(false));
  script.DeclareConstant("nil", "Variant", Variant(int32_t{0}));
  script.DeclareConstant("Null", "Variant", Variant::Null());
  const std::pair<const char*, int32_t> kinds[] = {
      {"varEmpty", 0},      {"varNull", 1},       {"varSmallint", 2},  {"varInteger", 3},   {"varSingle", 4},
      {"varDouble", 5},     {"varCurrency", 6},   {"varDate", 7},      {"varOleStr", 8},    {"varDispatch", 9},
      {"varError", 10},     {"varBoolean", 11},   {"varVariant", 12},  {"varUnknown", 13},  {"varShortInt", 16},
      {"varByte", 17},      {"varWord", 18},      {"varLongWord", 19}, {"varInt64", 20},    {"varStrArg", 72},
      {"varString", 256},   {"varAny", 257},      {"varTypeMask", 4095}, {"varArray", 8192}, {"varByRef", 16384},
  };
  for (const auto& [name, value] : kinds) script.DeclareConstant(name, "Integer", Variant(value));
}

}  // namespace

TfsSysFunctions::TfsSysFunctions(TfsScript& script) : TfsRTTIModule(script) {
  DeclareTypes(script);
  DeclareConstants(script);
  script.DeclareVariable("ExceptionClassName", "String", Variant(std::string()));
  script.DeclareVariable("ExceptionMessage", "String", Variant(std::string()));
  fs_sysrtti::DeclareConversionFunctions(script);
  fs_sysrtti::DeclareFormatFunctions(script);
  fs_sysrtti::DeclareDateFunctions(script);
  fs_sysrtti::DeclareStringFunctions(script);
  fs_sysrtti::DeclareMathFunctions(script);
  fs_sysrtti::DeclareOtherFunctions(script);
  fs_sysrtti::DeclareReportCatalogue(script);
}

std::unique_ptr<TfsRTTIModule> fsCreateSysFunctions(TfsScript& script) {
  return std::make_unique<TfsSysFunctions>(script);
}
