#pragma once
// The built-in registration module TfsSysFunctions: the type names every script knows
// ("Integer", "String", "TDateTime", ...), the constants True, False, nil, Null and the
// variant kind codes (varInteger, varArray, ...), the variables an except block fills
// (ExceptionClassName, ExceptionMessage) and the function library: conversion,
// formatting, dates, strings, mathematics and the rest. Every function is declared by
// its declaration text, which is its contract with scripts of every language.
//
// The number and date texts come from the platform's formatters (platform/Format.h)
// with CurrentFormatSettings(), the same ones the report's display formats use.
//
// TfsSysFunctions is the first module of the process-wide list: AddSystemModules puts
// it into every script before any other module.

#include <cstdint>
#include <functional>
#include <string>

#include "script/fs_iinterpreter.h"

class TfsSysFunctions : public TfsRTTIModule {
 public:
  explicit TfsSysFunctions(TfsScript& script);
};

// The module class as the process-wide module list holds it.
std::unique_ptr<TfsRTTIModule> fsCreateSysFunctions(TfsScript& script);

// The pseudo-random generator behind Random and Randomize: a 32-bit seed, 0 when the
// process starts; each draw sets seed := seed * 134775813 + 1 and returns seed / 2^32.
uint32_t fsRandomSeed();
void fsSetRandomSeed(uint32_t seed);
double fsRandom();
// Seeds from the UTC clock: ((hour * 60 + minute) * 60 + second) * 1000 + millisecond.
void fsRandomize();

// ShowMessage shows its text through this handler (the program installs a modal
// message box); without one the text goes to standard error. Returns the previous one.
using TfsShowMessageHandler = std::function<void(const std::string& text)>;
TfsShowMessageHandler fsSetShowMessageHandler(TfsShowMessageHandler handler);

// Texts of the library's own errors (the conversion and format errors carry the
// platform's texts).
namespace fs_sys_messages {
constexpr const char* InvalidFloatOperation = "Invalid floating point operation";
constexpr const char* FloatDivisionByZero = "Floating point division by zero";
constexpr const char* NoAutomation = "Automation objects are not available on this platform: '%s'";
constexpr const char* ArrayBoundsInPairs = "VarArrayCreate: the bounds must be pairs of low and high bounds";
constexpr const char* ArrayElementKind = "VarArrayCreate: %d is not a variant kind of array elements";
constexpr const char* ArrayTooLarge = "Variant array too large: %lld elements (limit is %lld)";
constexpr const char* TextTooLong = "SetLength: %lld characters (limit is %lld)";
}  // namespace fs_sys_messages
