// The built-in function library through its call-backs, as the interpreter calls them:
// parameters set on the function's entry, then the entry read.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "platform/CodePage.h"
#include "platform/DateTime.h"
#include "platform/FormatSettings.h"
#include "script/fs_iinterpreter.h"
#include "script/fs_isysrtti.h"

namespace {

// The Polish record with "." as decimal and "," as thousands separator, so that the
// texts below read as in the documentation of the functions.
TFormatSettings DotSettings() {
  TFormatSettings s = PolishFormatSettings();
  s.DecimalSeparator = '.';
  s.ThousandSeparator = ',';
  return s;
}

std::string Ansi(const char* utf8) { return codepage::Utf8ToAnsi(utf8); }

class SysFunctions : public ::testing::Test {
 protected:
  SysFunctions() : settings_(DotSettings()) { script_.AddSystemModules(); }

  TfsMethodHelper& Function(const std::string& name) {
    auto* helper = dynamic_cast<TfsMethodHelper*>(script_.FindSymbol(name));
    if (!helper) throw std::runtime_error("no function " + name);
    return *helper;
  }

  // Calls the function with the arguments; omitted optional parameters take their
  // defaults; `out` receives every parameter's value afterwards.
  Variant Call(const std::string& name, const std::vector<Variant>& args, std::vector<Variant>* out = nullptr) {
    TfsMethodHelper& f = Function(name);
    for (int i = 0; i < f.ParamCount(); ++i)
      f.Param(i).WriteValue(i < static_cast<int>(args.size()) ? args[static_cast<size_t>(i)] : f.Param(i).DefaultValue);
    Variant result = f.ReadValue();
    if (out) {
      out->clear();
      for (int i = 0; i < f.ParamCount(); ++i) out->push_back(f.Param(i).ReadValue());
    }
    return result;
  }

  static Variant Array(std::vector<Variant> items) {
    Variant array = Variant::Array(0, static_cast<int64_t>(items.size()) - 1);
    for (size_t i = 0; i < items.size(); ++i) array.at(static_cast<int64_t>(i)) = items[i];
    return array;
  }

  TScopedFormatSettings settings_;
  TfsScript script_;
};

std::string Describe(const Variant& v) {
  if (v.isArray()) return "array";
  if (v.isText()) return "'" + v.toString8() + "' kind " + std::to_string(v.varType());
  if (v.isNumeric()) return std::to_string(v.toDouble()) + " kind " + std::to_string(v.varType());
  return "kind " + std::to_string(v.varType());
}

struct CallCase {
  const char* name;
  std::vector<Variant> args;
  Variant expected;  // same kind and value
};

TEST_F(SysFunctions, EdgeCases) {
  const CallCase cases[] = {
      {"Round", {2.5}, int32_t{2}},
      {"Round", {3.5}, int32_t{4}},
      {"Round", {-2.5}, int32_t{-2}},
      {"Round", {2.4999}, int32_t{2}},
      {"Round", {5000000000.0}, int32_t{705032704}},  // the integer's low 32 bits
      {"Trunc", {-2.7}, int32_t{-2}},
      {"Int", {-2.7}, -2.0},
      {"Frac", {-2.75}, -0.75},
      {"Abs", {int32_t{-5}}, 5.0},
      {"Sqrt", {6.25}, 2.5},
      {"Pi", {}, 3.14159265358979323846},
      {"IntToStr", {int64_t{5000000000}}, "5000000000"},
      {"IntToStr", {int32_t{-7}}, "-7"},
      {"FloatToStr", {1234.5}, "1234.5"},
      {"FloatToStr", {1e20}, "1E20"},
      {"BoolToStr", {true}, "-1"},
      {"BoolToStr", {false}, "0"},
      {"StrToBool", {"true"}, true},
      {"StrToBool", {"FALSE"}, false},
      {"StrToBool", {"0"}, false},
      {"StrToBool", {"2"}, true},
      {"StrToInt", {" -12"}, int32_t{-12}},
      {"StrToInt", {"$1F"}, int32_t{31}},
      {"StrToInt64", {"5000000000"}, int64_t{5000000000}},
      {"StrToFloat", {"1.5"}, 1.5},
      {"StrToDate", {"11.12.2026"}, Variant::Date(EncodeDate(2026, 12, 11))},
      {"StrToTime", {"12:00"}, Variant::Date(0.5)},
      {"StrToDateTime", {"11.12.2026 18:00"}, Variant::Date(EncodeDate(2026, 12, 11) + 0.75)},
      {"VarToStr", {Variant::Null()}, ""},
      {"VarToStr", {int32_t{42}}, "42"},
      {"VarToStr", {2.5}, "2.5"},
      {"DateToStr", {EncodeDate(2026, 3, 7) + 0.5}, "07.03.2026"},
      {"TimeToStr", {0.75}, "18:00:00"},
      {"DateTimeToStr", {EncodeDate(2026, 3, 7)}, "07.03.2026"},
      {"Copy", {"abcdef", int32_t{0}, int32_t{2}}, "ab"},
      {"Copy", {"abcdef", int32_t{2}, int32_t{3}}, "bcd"},
      {"Copy", {"abcdef", int32_t{5}, int32_t{10}}, "ef"},
      {"Copy", {"abc", int32_t{5}, int32_t{1}}, ""},
      {"Copy", {"abc", int32_t{1}, int32_t{-1}}, ""},   // a negative count copies nothing
      {"Pos", {"", "abc"}, int32_t{0}},
      {"Pos", {"c", "abcabc"}, int32_t{3}},
      {"Pos", {"C", "abc"}, int32_t{0}},
      {"Length", {"abc"}, int32_t{3}},
      {"Length", {int32_t{12345}}, int32_t{5}},
      {"Length", {Variant::Array(1, 5)}, int32_t{5}},
      {"Uppercase", {Ansi("zażółć")}, Ansi("ZAŻÓŁĆ")},
      {"Lowercase", {Ansi("ŁÓDŹ")}, Ansi("łódź")},
      {"Trim", {"\t  Hurtownia Morwa \r\n"}, "Hurtownia Morwa"},
      {"NameCase", {Ansi("pIEKARNIA kłos sp. z o.o.")}, Ansi("Piekarnia Kłos Sp. Z O.o.")},
      {"NameCase", {" jan kowalski"}, " jan Kowalski"},  // a leading blank capitalises nothing
      {"CompareText", {Ansi("Łódź"), Ansi("ŁÓDŹ")}, int32_t{0}},
      {"Chr", {int32_t{321}}, "A"},                     // the low 8 bits
      {"Ord", {"A"}, int32_t{65}},
      {"Ord", {""}, int32_t{0}},
      {"Format", {"%5.1f|%-4d|%s", Array({3.14159, int32_t{7}, "x"})}, "  3.1|7   |x"},
      {"Format", {"%s", Array({std::string(300, 'a')})}, std::string(255, 'a')},
      {"FormatFloat", {"#,##0.00", 1234.5}, "1,234.50"},
      {"FormatFloat", {"0.00;(0.00)", int32_t{-5}}, "(5.00)"},
      {"FormatDateTime", {"hh:mm", EncodeDate(2026, 12, 11) + EncodeTime(14, 5, 0, 0)}, "14:05"},
      {"FormatDateTime", {"dd.mm.yyyy", EncodeDate(2026, 12, 11) + EncodeTime(14, 5, 0, 0)}, "11.12.2026"},
      {"FormatMaskText", {"00-000;0;_", "12345"}, "12-345"},
      {"FormatMaskText", {"00-000;0;_", "12"}, "12-___"},
      {"FormatMaskText", {"(999) 000-000;1;_", "(022) 123-456"}, "(022) 123-456"},
      {"FormatMaskText", {">LL-000;0; ", "wa123"}, "WA-123"},
      {"EncodeDate", {int32_t{2026}, int32_t{12}, int32_t{11}}, Variant::Date(46367)},
      {"EncodeTime", {int32_t{18}, int32_t{0}, int32_t{0}, int32_t{0}}, Variant::Date(0.75)},
      {"DayOfWeek", {int32_t{0}}, int32_t{7}},
      {"DayOfWeek", {46367.9}, int32_t{6}},
      {"DaysInMonth", {int32_t{2000}, int32_t{2}}, int32_t{29}},
      {"DaysInMonth", {int32_t{1900}, int32_t{2}}, int32_t{28}},
      {"IsLeapYear", {int32_t{2024}}, true},
      {"ValidInt", {"12"}, true},
      {"ValidInt", {"12a"}, false},
      {"ValidFloat", {"1.5e3"}, true},
      {"ValidFloat", {"1,5"}, false},
      {"ValidDate", {"29.02.2024"}, true},
      {"ValidDate", {"29.02.2026"}, false},
      {"ValidDate", {Variant::Date(46367)}, true},   // a date value is its text first
      {"ExtractFilePath", {"C:\\Faktury\\fv_2026.fr3"}, "C:\\Faktury\\"},
      {"ExtractFilePath", {"/home/biuro/fv.fr3"}, "/home/biuro/"},
      {"ExtractFilePath", {"D:plik.fr3"}, "D:"},
      {"ExtractFilePath", {"plik.fr3"}, ""},
      {"VarType", {"abc"}, int32_t{256}},
      {"VarType", {Variant::Array(0, 1)}, int32_t{8192 + 12}},
      {"VarType", {Variant::Date(1)}, int32_t{7}},
      {"SUM", {int32_t{5}}, int32_t{0}},               // the report answers these itself
      {"IIF", {true, int32_t{1}, int32_t{2}}, int32_t{0}},
  };
  for (const CallCase& c : cases) {
    Variant result;
    try {
      result = Call(c.name, c.args);
    } catch (const std::exception& e) {
      ADD_FAILURE() << c.name << " raised " << e.what();
      continue;
    }
    EXPECT_TRUE(result.identical(c.expected)) << c.name << ": " << Describe(result) << " instead of "
                                              << Describe(c.expected);
  }
}

struct ErrorCase {
  const char* name;
  std::vector<Variant> args;
  const char* message;
};

TEST_F(SysFunctions, BadArgumentsRaiseTheirErrors) {
  const ErrorCase cases[] = {
      {"StrToInt", {"abc"}, "'abc' is not a valid integer value"},
      {"StrToInt", {"5000000000"}, "'5000000000' is not a valid integer value"},
      {"StrToInt64", {"1.5"}, "'1.5' is not a valid integer value"},
      {"StrToFloat", {"1,5"}, "'1,5' is not a valid floating point value"},
      {"StrToDate", {"31.02.2026"}, "'31.02.2026' is not a valid date"},
      {"StrToTime", {"25:00"}, "'25:00' is not a valid time"},
      {"StrToDateTime", {"jutro"}, "'jutro' is not a valid date and time"},
      {"EncodeDate", {int32_t{2026}, int32_t{13}, int32_t{1}}, "Invalid argument to date encode"},
      {"EncodeDate", {int32_t{2026}, int32_t{2}, int32_t{29}}, "Invalid argument to date encode"},
      {"EncodeTime", {int32_t{24}, int32_t{0}, int32_t{0}, int32_t{0}}, "Invalid argument to time encode"},
      {"DaysInMonth", {int32_t{2026}, int32_t{13}}, "Invalid argument to date encode"},
      {"Format", {"%d %d", Array({int32_t{1}})}, "No argument for format '%d %d'"},
      {"Format", {"%d", Array({"x"})}, "Format '%d' invalid or incompatible with argument"},
      {"Sqrt", {-1.0}, "Invalid floating point operation"},
      {"Ln", {-1.0}, "Invalid floating point operation"},
      {"Ln", {0.0}, "Floating point division by zero"},
      {"Round", {std::nan("")}, "Invalid floating point operation"},
      {"RaiseException", {"Brak danych faktury"}, "Brak danych faktury"},
      {"CreateOleObject", {"Excel.Application"},
       "Automation objects are not available on this platform: 'Excel.Application'"},
      {"VarArrayCreate", {Array({int32_t{1}}), int32_t{12}},
       "VarArrayCreate: the bounds must be pairs of low and high bounds"},
      {"VarArrayCreate", {Array({int32_t{0}, int32_t{1}}), int32_t{99}},
       "VarArrayCreate: 99 is not a variant kind of array elements"},
      {"VarArrayCreate", {Array({int32_t{0}, int32_t{100000}, int32_t{0}, int32_t{100000}}), int32_t{12}},
       "Variant array too large: 10000200001 elements (limit is 1048576)"},
      {"SetLength", {int32_t{5}, int32_t{2}}, "Array type required"},
  };
  for (const ErrorCase& c : cases) {
    try {
      Call(c.name, c.args);
      ADD_FAILURE() << c.name << " raised nothing";
    } catch (const std::exception& e) {
      EXPECT_STREQ(e.what(), c.message) << c.name;
    }
  }
}

TEST_F(SysFunctions, VarParametersAreWrittenBack) {
  std::vector<Variant> out;
  Call("Delete", {"abcdef", int32_t{2}, int32_t{3}}, &out);
  EXPECT_EQ(out[0].toString8(), "aef");
  Call("Delete", {"abc", int32_t{0}, int32_t{2}}, &out);
  EXPECT_EQ(out[0].toString8(), "abc");  // a position outside the text changes nothing
  Call("DeleteStr", {"abc", int32_t{2}, int32_t{99}}, &out);
  EXPECT_EQ(out[0].toString8(), "a");
  Call("Insert", {"XY", "abc", int32_t{2}}, &out);
  EXPECT_EQ(out[1].toString8(), "aXYbc");
  Call("Insert", {"XY", "abc", int32_t{10}}, &out);
  EXPECT_EQ(out[1].toString8(), "abcXY");
  Call("DecodeDate", {EncodeDate(2024, 2, 29) + 0.3}, &out);
  EXPECT_EQ(out[1].toInt64(), 2024);
  EXPECT_EQ(out[2].toInt64(), 2);
  EXPECT_EQ(out[3].toInt64(), 29);
  Call("DecodeTime", {EncodeTime(13, 45, 30, 125)}, &out);
  EXPECT_EQ(out[1].toInt64(), 13);
  EXPECT_EQ(out[2].toInt64(), 45);
  EXPECT_EQ(out[3].toInt64(), 30);
  EXPECT_EQ(out[4].toInt64(), 125);
  Call("Inc", {int32_t{5}}, &out);
  EXPECT_TRUE(out[0].identical(Variant(int32_t{6})));
  Call("Dec", {int32_t{5}, int32_t{3}}, &out);
  EXPECT_TRUE(out[0].identical(Variant(int32_t{2})));
  Call("SetLength", {"abc", int32_t{5}}, &out);
  EXPECT_EQ(out[0].toString8(), "abc  ");
  Call("SetLength", {"abcdef", int32_t{2}}, &out);
  EXPECT_EQ(out[0].toString8(), "ab");
}

TEST_F(SysFunctions, VariantArraysAreCreatedAndResized) {
  const Variant array = Call("VarArrayCreate", {Array({int32_t{1}, int32_t{5}}), int32_t{12}});
  ASSERT_TRUE(array.isArray());
  EXPECT_EQ(array.array().bounds[0].low, 1);
  EXPECT_EQ(array.array().bounds[0].high, 5);
  EXPECT_TRUE(Call("Length", {array}).identical(Variant(int32_t{5})));
  Variant filled = array;
  filled.at(1) = "pierwszy";
  filled.at(2) = "drugi";
  filled.at(3) = "trzeci";
  std::vector<Variant> out;
  Call("SetLength", {filled, int32_t{3}}, &out);
  const Variant& resized = out[0];
  ASSERT_TRUE(resized.isArray());
  EXPECT_EQ(resized.array().bounds[0].low, 1);
  EXPECT_EQ(resized.array().bounds[0].high, 2);
  EXPECT_EQ(resized.at(2).toString8(), "drugi");
  EXPECT_TRUE(Call("Length", {resized}).identical(Variant(int32_t{2})));
  Call("SetLength", {resized, int32_t{4}}, &out);
  EXPECT_EQ(out[0].array().bounds[0].high, 3);
  EXPECT_EQ(out[0].at(1).toString8(), "pierwszy");
  EXPECT_TRUE(out[0].at(3).isEmpty());
  Call("SetLength", {resized, int32_t{0}}, &out);
  EXPECT_TRUE(Call("Length", {out[0]}).identical(Variant(int32_t{0})));

  const Variant grid = Call("VarArrayCreate", {Array({int32_t{0}, int32_t{1}, int32_t{0}, int32_t{2}}), int32_t{3}});
  ASSERT_EQ(grid.array().bounds.size(), 2u);
  EXPECT_EQ(grid.array().items.size(), 6u);
  EXPECT_EQ(grid.varType(), 8192 + 3);
}

TEST_F(SysFunctions, RandomFollowsItsGenerator) {
  fsSetRandomSeed(0);
  EXPECT_TRUE(Call("Random", {}).identical(Variant(std::ldexp(1.0, -32))));
  EXPECT_EQ(fsRandomSeed(), 1u);
  EXPECT_EQ(Call("Random", {}).toDouble(), 134775814.0 / 4294967296.0);
  for (int i = 0; i < 1000; ++i) {
    const double r = fsRandom();
    ASSERT_GE(r, 0.0);
    ASSERT_LT(r, 1.0);
  }
  Call("Randomize", {});
  EXPECT_LT(fsRandomSeed(), 86400000u);
}

TEST_F(SysFunctions, ShowMessageGoesToTheHandler) {
  std::vector<std::string> shown;
  TfsShowMessageHandler previous = fsSetShowMessageHandler([&](const std::string& text) { shown.push_back(text); });
  Call("ShowMessage", {2.5});
  Call("ShowMessage", {"Wydruk gotowy"});
  fsSetShowMessageHandler(previous);
  EXPECT_EQ(shown, (std::vector<std::string>{"2.5", "Wydruk gotowy"}));
}

TEST_F(SysFunctions, TypesConstantsAndCategories) {
  const std::pair<const char*, ScriptType> types[] = {
      {"Byte", stInteger}, {"TColor", stInteger}, {"Boolean", stBoolean}, {"TDateTime", stFloat},
      {"Currency", stFloat}, {"Char", stChar}, {"String", stString}, {"Pointer", stVariant},
      {"Array", stArray}, {"Constructor", stConstructor},
  };
  for (const auto& [name, code] : types) EXPECT_EQ(TypeNameToCode(name, &script_), code) << name;
  const std::pair<const char*, int32_t> constants[] = {
      {"varInteger", 3}, {"varString", 256}, {"varArray", 8192}, {"varByRef", 16384}, {"varTypeMask", 4095},
  };
  for (const auto& [name, value] : constants) {
    TfsCustomVariable* entry = script_.FindSymbol(name);
    ASSERT_NE(entry, nullptr) << name;
    EXPECT_TRUE(entry->ReadValue().identical(Variant(value))) << name;
  }
  EXPECT_TRUE(script_.FindSymbol("Null")->ReadValue().isNull());
  EXPECT_TRUE(script_.FindSymbol("True")->ReadValue().identical(Variant(true)));
  EXPECT_EQ(script_.FindSymbol("ExceptionMessage")->TypeCode, stString);
  const std::pair<const char*, const char*> categories[] = {
      {"IntToStr", "ctConv"}, {"Format", "ctFormat"}, {"EncodeDate", "ctDate"}, {"NameCase", "ctString"},
      {"Round", "ctMath"},    {"Random", "ctOther"},  {"SUM", "ctAggregate"},
  };
  for (const auto& [name, category] : categories) EXPECT_EQ(Function(name).Category, category) << name;
  TfsMethodHelper& inc = Function("Inc");
  ASSERT_EQ(inc.ParamCount(), 2);
  EXPECT_TRUE(inc.Param(0).ByReference);
  EXPECT_TRUE(inc.Param(1).MayOmit);
}

}  // namespace
