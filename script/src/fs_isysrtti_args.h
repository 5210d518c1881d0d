#pragma once
// The library's view of its arguments: parameter i of a call read as the type its
// declaration names, and the registration table each group of functions fills.

#include <cstdio>
#include <string>
#include <vector>

#include "script/fs_isysrtti.h"

namespace fs_sysrtti {

// Most elements a variant array made or resized by the library may have: a script
// asking for more gets an error instead of exhausting the memory of the job.
constexpr int64_t kMaxArrayElements = 1024 * 1024;

// One function: its declaration text and the code behind it.
struct TSysFunction {
  const char* declaration;
  Variant (*call)(TfsMethodHelper& args);
};

// Declares the functions of one category with the member-object call-back.
void DeclareGroup(TfsScript& script, const char* category, const std::vector<TSysFunction>& functions);

int32_t IntArg(const TfsMethodHelper& args, int index);
int64_t Int64Arg(const TfsMethodHelper& args, int index);
double FloatArg(const TfsMethodHelper& args, int index);
bool BoolArg(const TfsMethodHelper& args, int index);
std::string TextArg(const TfsMethodHelper& args, int index);
// The value's text as VarToStr gives it: Null and Empty give the empty text.
std::string ValueText(const Variant& value);

// A message with its %s, %d and %lld filled in; texts are cut to 400 characters first.
template <class... T>
std::string Message(const char* format, T... values) {
  char buffer[512];
  std::snprintf(buffer, sizeof buffer, format, values...);
  return buffer;
}
inline std::string MessageText(const char* format, const std::string& text) {
  return Message(format, text.substr(0, 400).c_str());
}

// The groups, one per category.
void DeclareConversionFunctions(TfsScript& script);
void DeclareFormatFunctions(TfsScript& script);
void DeclareDateFunctions(TfsScript& script);
void DeclareStringFunctions(TfsScript& script);
void DeclareMathFunctions(TfsScript& script);
void DeclareOtherFunctions(TfsScript& script);
void DeclareReportCatalogue(TfsScript& script);
TfsShowMessageHandler SetShowMessageHandler(TfsShowMessageHandler handler);

}  // namespace fs_sysrtti
