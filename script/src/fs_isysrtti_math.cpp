// "ctMath" and the random generator.
#include <chrono>
#include <cmath>
#include <ctime>

#include "fs_isysrtti_args.h"

namespace {
uint32_t randomSeed = 0;
}  // namespace

uint32_t fsRandomSeed() { return randomSeed; }
void fsSetRandomSeed(uint32_t seed) { randomSeed = seed; }

double fsRandom() {
  randomSeed = randomSeed * 134775813u + 1u;
  return randomSeed / 4294967296.0;
}

void fsRandomize() {
  const auto now = std::chrono::system_clock::now();
  const std::time_t seconds = std::chrono::system_clock::to_time_t(now);
  std::tm utc{};
  gmtime_r(&seconds, &utc);
  const auto ms = std::chrono::duration_cast<std::chrono::milliseconds>(now.time_since_epoch()).count() % 1000;
  randomSeed = static_cast<uint32_t>(((utc.tm_hour * 60 + utc.tm_min) * 60 + utc.tm_sec) * 1000 + ms);
}

namespace fs_sysrtti {

namespace {

[[noreturn]] void InvalidOperation() { throw EfsScriptError(fs_sys_messages::InvalidFloatOperation); }

// The integer's low 32 bits, as the system keeps an integral float in an Integer.
Variant Low32(double integral) {
  if (!std::isfinite(integral)) InvalidOperation();
  const double wrapped = std::fmod(integral, 4294967296.0);
  const int64_t bits = static_cast<int64_t>(wrapped);
  return Variant(static_cast<int32_t>(static_cast<uint32_t>(bits)));
}

// Round half to even, whatever rounding mode the process has.
double RoundHalfEven(double value) {
  const double floor = std::floor(value);
  const double diff = value - floor;
  if (diff > 0.5) return floor + 1;
  if (diff < 0.5) return floor;
  return std::fmod(floor, 2.0) == 0 ? floor : floor + 1;
}

Variant Float(double value) { return Variant(value); }

const std::vector<TSysFunction> kMath = {
    {"function Round(e: Extended): Integer", [](TfsMethodHelper& a) { return Low32(RoundHalfEven(FloatArg(a, 0))); }},
    {"function Trunc(e: Extended): Integer", [](TfsMethodHelper& a) { return Low32(std::trunc(FloatArg(a, 0))); }},
    // A float, whatever the declaration says.
    {"function Int(e: Extended): Integer", [](TfsMethodHelper& a) { return Float(std::trunc(FloatArg(a, 0))); }},
    {"function Frac(X: Extended): Extended",
     [](TfsMethodHelper& a) {
       const double x = FloatArg(a, 0);
       return Float(x - std::trunc(x));
     }},
    {"function Sqrt(e: Extended): Extended",
     [](TfsMethodHelper& a) {
       const double x = FloatArg(a, 0);
       if (x < 0 || std::isnan(x)) InvalidOperation();
       return Float(std::sqrt(x));
     }},
    {"function Abs(e: Extended): Extended", [](TfsMethodHelper& a) { return Float(std::fabs(FloatArg(a, 0))); }},
    {"function Sin(e: Extended): Extended", [](TfsMethodHelper& a) { return Float(std::sin(FloatArg(a, 0))); }},
    {"function Cos(e: Extended): Extended", [](TfsMethodHelper& a) { return Float(std::cos(FloatArg(a, 0))); }},
    {"function ArcTan(X: Extended): Extended", [](TfsMethodHelper& a) { return Float(std::atan(FloatArg(a, 0))); }},
    {"function Tan(X: Extended): Extended",
     [](TfsMethodHelper& a) {
       const double x = FloatArg(a, 0);
       return Float(std::sin(x) / std::cos(x));
     }},
    {"function Exp(X: Extended): Extended", [](TfsMethodHelper& a) { return Float(std::exp(FloatArg(a, 0))); }},
    {"function Ln(X: Extended): Extended",
     [](TfsMethodHelper& a) {
       const double x = FloatArg(a, 0);
       if (x == 0) throw EfsScriptError(fs_sys_messages::FloatDivisionByZero);
       if (x < 0 || std::isnan(x)) InvalidOperation();
       return Float(std::log(x));
     }},
    {"function Pi: Extended", [](TfsMethodHelper&) { return Float(3.1415926535897932385); }},
};

}  // namespace

void DeclareMathFunctions(TfsScript& script) { DeclareGroup(script, "ctMath", kMath); }

}  // namespace fs_sysrtti
