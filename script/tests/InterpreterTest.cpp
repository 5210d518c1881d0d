#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "ScriptHost.h"
#include "script/fs_iscripttool.h"

namespace {

// A script in one language and what it must do: the ShowMessage output (one line per
// call), or the compile error with its position, or the run-time error text.
struct Case {
  const char* name;
  const char* language;
  std::vector<std::string> lines;
  const char* output;
  const char* error = "";
  const char* position = "";
};

void Check(const Case& c) {
  ScriptRun run = RunScript(c.language, c.lines);
  EXPECT_EQ(run.output, c.output) << c.name << " (" << c.language << ")";
  EXPECT_EQ(run.error, c.error) << c.name << " (" << c.language << ")";
  EXPECT_EQ(run.position, c.position) << c.name << " (" << c.language << ")";
}

TEST(FsExpressions, OperatorsPrecedenceAndVariantRules) {
  const Case cases[] = {
      {"precedence", "PascalScript",
       {"begin", "ShowMessage(2 + 3 * 4); ShowMessage((2 + 3) * 4); ShowMessage(-2 * 3);",
        "ShowMessage(not True = False); ShowMessage(10 - 4 - 3); ShowMessage(2 * (3 + (4 - 1)))", "end."},
       "14\n20\n-6\nTrue\n3\n12\n"},
      {"precedence", "C++Script", {"{ ShowMessage(2 + 3 * 4); ShowMessage((2 + 3) * 4); ShowMessage(!true == false); }"},
       "14\n20\nTrue\n"},
      {"precedence", "BasicScript", {"ShowMessage(2 + 3 * 4)", "ShowMessage(-2 * 3)"}, "14\n-6\n"},
      {"precedence", "JScript", {"ShowMessage((2 + 3) * 4);"}, "20\n"},
      {"div and mod truncate toward zero", "PascalScript",
       {"begin ShowMessage(-7 div 2); ShowMessage(-7 mod 2); ShowMessage(7 mod (-2)); ShowMessage(7 / 2) end."},
       "-3\n-1\n1\n3,5\n"},
      {"div and mod truncate toward zero", "C++Script", {"{ ShowMessage(-7 % 2); }"}, "-1\n"},
      {"integer overflow goes to double", "PascalScript",
       {"begin ShowMessage(2147483647 + 1); ShowMessage(-2147483647 - 2); ShowMessage(65536 * 65536) end."},
       "2147483648\n-2147483649\n4294967296\n"},
      {"strings compare by code", "PascalScript",
       {"begin ShowMessage('abc' < 'abd'); ShowMessage('B' < 'a'); ShowMessage('a' = 'A') end."},
       "True\nTrue\nFalse\n"},
      {"in with sets and ranges", "PascalScript",
       {"var x: Integer;", "begin", "for x := 1 to 6 do ShowMessage(x in [1, 3..5])", "end."},
       "True\nFalse\nTrue\nTrue\nTrue\nFalse\n"},
      {"Null", "PascalScript", {"begin ShowMessage(Null = Null); ShowMessage(Null <> 1); ShowMessage(Null + 1) end."},
       "True\nTrue\n", "Invalid variant operation"},
      {"Variant string plus number", "PascalScript",
       {"var v: Variant;", "begin v := '1'; ShowMessage(v + 2); v := 'x'; ShowMessage(v + 2) end."}, "3\n",
       "Could not convert variant of type (String) into type (Double)"},
      {"string constant plus number", "PascalScript", {"begin ShowMessage('1' + 1) end."}, "",
       "Incompatible types", "1:24"},
      {"real into Integer", "PascalScript", {"var i: Integer;", "begin", "  i := 10 / 2", "end."}, "",
       "Incompatible types: 'Integer', 'Extended'", "3:8"},
      {"div into Integer", "PascalScript", {"var i: Integer;", "begin i := 10 div 2; ShowMessage(i) end."}, "5\n"},
      {"Boolean operand", "PascalScript", {"var b: Boolean;", "begin b := True + 1 end."}, "",
       "Incompatible types", "2:18"},
      {"Basic joins with &", "BasicScript", {"n = 5", "ShowMessage(\"Nr \" & n)"}, "Nr 5\n"},
      {"division by zero", "PascalScript", {"var i: Integer;", "begin i := 0; ShowMessage(1 div i) end."}, "",
       "Division by zero"},
      {"shifts and bit operators", "PascalScript",
       {"begin ShowMessage(1 shl 4); ShowMessage(-1 shr 28); ShowMessage(12 and 10); ShowMessage(12 or 3);",
        "ShowMessage(6 xor 3); ShowMessage(not 0); ShowMessage(True xor False) end."},
       "16\n15\n8\n15\n5\n-1\nTrue\n"},
  };
  for (const Case& c : cases) Check(c);
}

// `and` and `or` skip their right side only when both sides are declared Boolean.
TEST(FsExpressions, ShortCircuitOnlyBetweenBooleans) {
  const Case cases[] = {
      {"both Boolean", "PascalScript",
       {"var a: Boolean;", "function Side: Boolean;", "begin ShowMessage('called'); Result := True end;",
        "begin a := False; if a and Side then ShowMessage('yes'); a := True; if a or Side then ShowMessage('or') end."},
       "or\n"},
      {"one Variant", "PascalScript",
       {"var a: Variant;", "function Side: Boolean;", "begin ShowMessage('called'); Result := True end;",
        "begin a := False; if a and Side then ShowMessage('yes') end."},
       "called\n"},
      {"both Boolean", "C++Script",
       {"bool a = false;", "bool side() { ShowMessage(\"called\"); return true; }", "{ if (a && side()) ShowMessage(1); }"},
       ""},
  };
  for (const Case& c : cases) Check(c);
}

TEST(FsInterpreter, StatementsInEveryLanguage) {
  const Case cases[] = {
      {"forward call", "PascalScript",
       {"procedure A; begin B end;", "procedure B; begin ShowMessage('B') end;", "begin A end."}, "B\n"},
      {"recursive factorial", "PascalScript",
       {"function Fact(n: Integer): Integer;", "var k: Integer;",
        "begin k := n; if n <= 1 then Result := 1 else Result := n * Fact(n - 1); ShowMessage(k) end;",
        "begin ShowMessage(Fact(5)) end."},
       "1\n2\n3\n4\n5\n120\n"},
      {"recursive factorial", "C++Script", {"int f(int n) { if (n <= 1) return 1; return n * f(n - 1); }", "{ ShowMessage(f(6)); }"},
       "720\n"},
      {"recursive factorial", "BasicScript",
       {"Function F(n)", "  If n <= 1 Then", "    Return 1", "  End If", "  Return n * F(n - 1)", "End Function",
        "ShowMessage(F(7))"},
       "5040\n"},
      {"recursive factorial", "JScript", {"function f(n) { if (n <= 1) return 1; return n * f(n - 1); }", "ShowMessage(f(4));"},
       "24\n"},
      {"for that runs no pass keeps its variable", "PascalScript",
       {"var i: Integer;", "begin i := 7; for i := 5 to 1 do ShowMessage('x'); ShowMessage(i);",
        "for i := 1 to 3 do ; ShowMessage(i); for i := 3 downto 1 do ShowMessage(i) end."},
       "7\n3\n3\n2\n1\n"},
      {"Basic step -1 and an exit from step 0", "BasicScript",
       {"Dim i", "For i = 3 To 1 Step -1", "  ShowMessage(i)", "Next", "n = 0", "For i = 1 To 2 Step 0", "  n = n + 1",
        "  If n = 4 Then", "    Break", "  End If", "Next", "ShowMessage(n)"},
       "3\n2\n1\n4\n"},
      {"break and continue", "PascalScript",
       {"var i, j: Integer;", "begin", "  for i := 1 to 3 do begin", "    j := 0;",
        "    while True do begin j := j + 1; if j = 2 then continue; if j > 3 then break; ShowMessage(i * 10 + j) end",
        "  end", "end."},
       "11\n13\n21\n23\n31\n33\n"},
      {"break and continue", "C++Script",
       {"int i;", "{ for (i = 0; i < 10; i++) { if (i == 1) continue; if (i == 3) break; ShowMessage(i); } ShowMessage(i); }"},
       "0\n2\n3\n"},
      {"break and continue", "JScript",
       {"var i = 0;", "while (true) { i++; if (i == 2) continue; if (i > 3) break; ShowMessage(i); }"}, "1\n3\n"},
      {"do while and repeat", "C++Script", {"int i = 0;", "{ do { i++; } while (i < 3); ShowMessage(i); }"}, "3\n"},
      {"do while and repeat", "PascalScript", {"var i: Integer;", "begin i := 5; repeat i := i - 2 until i < 0; ShowMessage(i) end."},
       "-1\n"},
      {"do while and repeat", "BasicScript", {"i = 0", "Do", "  i = i + 1", "Loop While i < 4", "ShowMessage(i)"}, "4\n"},
      {"exit inside try-finally", "PascalScript",
       {"procedure P;", "begin", "  try exit; ShowMessage('not here') finally ShowMessage('finally') end;",
        "  ShowMessage('after')", "end;", "begin P; ShowMessage('main') end."},
       "finally\nmain\n"},
      {"ExceptionMessage", "PascalScript",
       {"begin try RaiseException('Brak towaru'); ShowMessage('no') except ShowMessage(ExceptionMessage) end;",
        "ShowMessage('on') end."},
       "Brak towaru\non\n"},
      {"ExceptionMessage", "BasicScript",
       {"Try", "  RaiseException(\"Brak towaru\")", "Catch", "  ShowMessage(ExceptionMessage)", "End Try"}, "Brak towaru\n"},
      {"an error inside finally's guarded part goes on", "PascalScript",
       {"begin try RaiseException('Zły NIP') finally ShowMessage('sprzątanie') end end."}, "sprzątanie\n", "Zły NIP"},
      {"undeclared name", "PascalScript", {"begin", "  x := 1", "end."}, "", "Undeclared identifier: 'x'", "2:4"},
      {"undeclared name", "C++Script", {"{ x = 1; }"}, "", "Undeclared identifier: 'x'", "1:4"},
      {"undeclared name", "JScript", {"x = 5; ShowMessage(x + 1);"}, "6\n"},
      {"undeclared name", "BasicScript", {"x = 5", "ShowMessage(x * 2)"}, "10\n"},
      {"character of a string", "PascalScript",
       {"var s: String;", "begin s := 'kot'; s[2] := 'x'; ShowMessage(s); ShowMessage(s[3]); s[9] := 'y'; ShowMessage(s) end."},
       "kxt\nt\nkxt\n"},
      {"not enough parameters", "PascalScript",
       {"procedure P(a, b: Integer); begin end;", "begin", "  P(1)", "end."}, "", "Not enough actual parameters", "3:4"},
      {"too many parameters", "PascalScript", {"procedure P(a: Integer); begin end;", "begin P(1, 2) end."}, "",
       "Too many actual parameters", "2:8"},
      {"optional parameters take their defaults", "PascalScript",
       {"function Add(a: Integer; b: Integer = 10): Integer; begin Result := a + b end;",
        "begin ShowMessage(Add(1)); ShowMessage(Add(1, 2)) end."},
       "11\n3\n"},
      {"var parameters", "PascalScript",
       {"var x: Integer;", "procedure Inc2(var v: Integer); begin v := v + 2 end;", "begin x := 1; Inc2(x); ShowMessage(x) end."},
       "3\n"},
      {"var parameters", "C++Script", {"int x = 1;", "void twice(int &v) { v = v * 2; }", "{ twice(x); twice(x); ShowMessage(x); }"},
       "4\n"},
      {"case ranges, first match wins", "PascalScript",
       {"var i: Integer;", "begin for i := 1 to 5 do case i of 1..3: ShowMessage('a'); 2, 4: ShowMessage('b')",
        "else ShowMessage('c') end end."},
       "a\na\na\nb\nc\n"},
      {"case ranges", "BasicScript",
       {"Select Case 7", "Case 1..5:", "  ShowMessage(\"low\")", "Case 6..9:", "  ShowMessage(\"high\")", "End Select"}, "high\n"},
      {"case ranges", "JScript", {"switch (3) { case 1..2: ShowMessage(\"a\"); case 3: ShowMessage(\"b\"); default: ShowMessage(\"c\"); }"},
       "b\n"},
      {"arrays", "PascalScript",
       {"var a: array[1..3] of Integer; t: array[2, 2] of Integer; i: Integer;",
        "begin for i := 1 to 3 do a[i] := i * i; t[1, 1] := a[2] + a[3]; ShowMessage(t[1, 1]); ShowMessage(a[1]) end."},
       "13\n1\n"},
      {"arrays", "C++Script", {"int a[3];", "{ a[0] = 5; a[2] = a[0] * 2; ShowMessage(a[2]); }"}, "10\n"},
      {"array index out of bounds", "PascalScript", {"var a: array[0..1] of Integer;", "begin a[2] := 1 end."}, "",
       "Index out of bounds: 2"},
      {"Left side cannot be assigned to", "PascalScript", {"const K = 1;", "begin K := 2 end."}, "",
       "Left side cannot be assigned to", "2:7"},
      {"For loop variable", "PascalScript", {"var s: String;", "begin for s := 1 to 2 do end."}, "",
       "For loop variable must be numeric variable", "2:12"},
      {"Identifier redeclared", "PascalScript", {"var a: Integer;", "var a: String;", "begin end."}, "",
       "Identifier redeclared: 'a'", "2:6"},
      {"Unknown type", "PascalScript", {"var a: TKlient;", "begin end."}, "", "Unknown type: 'TKlient'", "1:15"},
      {"Strings have no members", "PascalScript", {"var s: String;", "begin s.Length := 1 end."}, "",
       "Strings doesn't have properties or methods", "2:15"},
      {"increments", "C++Script", {"int i = 5;", "{ i++; i++; i--; i += 10; i *= 2; ShowMessage(i); }"}, "32\n"},
      {"with an initialiser at every call", "PascalScript",
       {"procedure P; var n: Integer = 1; begin n := n + 1; ShowMessage(n) end;", "begin P; P end."}, "2\n2\n"},
  };
  for (const Case& c : cases) Check(c);
}

// Real scripts write "; else" in a Pascal case; every form parses and runs.
TEST(FsInterpreter, PascalCaseElseForms) {
  const char* forms[] = {"2..4: s := 'tysiące';\nelse\n s := 'tysięcy';\nend;",
                         "2..4: s := 'tysiące'\nelse\n s := 'tysięcy';\nend;",
                         "2..4: s := 'tysiące';\nelse\n s := 'tysięcy'\nend;"};
  for (const char* form : forms) {
    Case c{"case with else", "PascalScript",
           {"var j: Integer; s: String;", "begin for j := 1 to 5 do begin", "case j of", "1: s := 'tysiąc';", form,
            "ShowMessage(s) end end."},
           "tysiąc\ntysiące\ntysiące\ntysiące\ntysięcy\n"};
    Check(c);
  }
  Check({"case ending with ;", "PascalScript",
         {"var j: Integer;", "begin j := 2; case j of 1: ShowMessage('a'); 2: ShowMessage('b'); end end."}, "b\n"});
}

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// One invoice computation written in each language prints the values recorded beside it.
TEST(FsInterpreter, GoldenScriptsGiveTheirRecordedValues) {
  const std::string folder = std::string(TAVREL_SOURCE_DIR) + "/script/tests/golden/run/";
  const std::string expected = ReadFile(folder + "rachunek.out");
  ASSERT_FALSE(expected.empty());
  const std::pair<const char*, const char*> scripts[] = {
      {"PascalScript", "rachunek.pas"}, {"C++Script", "rachunek.cpp"}, {"BasicScript", "rachunek.vbs"}, {"JScript", "rachunek.js"}};
  for (const auto& [language, file] : scripts) {
    std::string source = ReadFile(folder + file);
    ASSERT_FALSE(source.empty()) << file;
    ScriptRun run = RunScript(language, fsSplitLines(source));
    EXPECT_TRUE(run.compiled) << file << ": " << run.position << " " << run.error;
    EXPECT_EQ(run.error, "") << file;
    EXPECT_EQ(run.output, expected) << file;
  }
}

TEST(FsInterpreter, HostFunctionsAndExpressionsFromTheHost) {
  std::string output;
  TfsScript script;
  DeclareTestHost(script, output);
  int calls = 0;
  script.DeclareFunction("function Brutto(Netto: Extended; var Podatek: Extended; Stawka: Integer = 23): Extended",
                         [&calls](TfsHostObject*, const TfsHostClass*, const std::string& name, std::vector<Variant>& p) {
                           ++calls;
                           EXPECT_EQ(name, "BRUTTO");
                           p[1] = Variant(p[0].toDouble() * p[2].toInt32() / 100);
                           return Variant(p[0].toDouble() + p[1].toDouble());
                         });
  script.Lines = {"var podatek: Extended; suma: Extended;", "function Razem(a, b: Integer): Integer;",
                  "begin Result := a + b end;", "begin suma := Brutto(100, podatek); ShowMessage(podatek) end."};
  ASSERT_TRUE(script.CompileScript()) << script.ErrorMessage << " " << script.ErrorPosition;
  script.ExecuteScript();
  EXPECT_EQ(output, "23\n");
  EXPECT_EQ(calls, 1);
  EXPECT_EQ(script.FindSymbol("suma")->ReadValue().toDouble(), 123.0);
  EXPECT_TRUE(script.LineHasStatement(4, ""));   // the main block's statements
  EXPECT_TRUE(script.LineHasStatement(3, ""));   // the function's
  EXPECT_FALSE(script.LineHasStatement(1, ""));  // declarations only

  EXPECT_EQ(script.EvaluateExpression("suma * 2").toDouble(), 246.0);
  EXPECT_FALSE(script.EvaluateFailed);
  EXPECT_EQ(script.EvaluateExpression("1 +").str(), "';' expected");
  EXPECT_TRUE(script.EvaluateFailed);

  Variant args = Variant::Array(0, 1);
  args.at(0) = Variant(int32_t{2});
  args.at(1) = Variant(int32_t{40});
  EXPECT_EQ(script.CallScriptFunction("Razem", args).toInt32(), 42);
  EXPECT_TRUE(script.CallScriptFunction("suma", args).isNull());  // a variable, not a procedure
}

TEST(FsInterpreter, EvaluateExpressionInEachLanguage) {
  for (const char* language : {"PascalScript", "C++Script", "BasicScript", "JScript"}) {
    std::string output;
    TfsScript script;
    DeclareTestHost(script, output);
    script.SyntaxType = language;
    EXPECT_EQ(fsVarToText(script.EvaluateExpression("(1 + 2) * 3")), "9") << language;
  }
}

// A host object with one property and one method, reached from a script.
struct Faktura : TfsHostObject {
  static const TfsHostClass& Class() {
    static TfsHostClass cls("TFaktura", nullptr);
    return cls;
  }
  const TfsHostClass& HostClass() const override { return Class(); }
  std::string HostName() const override { return "Faktura1"; }
  std::string numer = "FV/1/2026";
  double suma = 0;
};

TEST(FsInterpreter, HostObjectsPropertiesMethodsAndWith) {
  std::string output;
  TfsScript script;
  DeclareTestHost(script, output);
  Faktura faktura;
  TfsClassVariable* cls = script.DeclareClass(Faktura::Class(), "");
  ASSERT_NE(cls, nullptr);
  cls->DeclareProperty(
      "Numer", "String",
      [](TfsHostObject* o, const TfsHostClass*, const std::string&) { return Variant(static_cast<Faktura*>(o)->numer); },
      [](TfsHostObject* o, const TfsHostClass*, const Variant& v, const std::string&) {
        static_cast<Faktura*>(o)->numer = fsVarToText(v);
      });
  cls->DeclareMethod("procedure Dodaj(Kwota: Extended)",
                     [](TfsHostObject* o, const TfsHostClass*, const std::string&, TfsMethodHelper& m) {
                       static_cast<Faktura*>(o)->suma += m.GetParam(0).toDouble();
                       return Variant();
                     });
  script.DeclareObject("Faktura1", faktura);
  script.Lines = {"var v: Variant;", "begin", "  Faktura1.Numer := 'FV/7/2026';", "  Faktura1.Dodaj(10.5);",
                  "  with Faktura1 do begin Dodaj(2); ShowMessage(Numer) end;", "  v := Faktura1;", "  v.Dodaj(1);",
                  "  ShowMessage(v.Numer)", "end."};
  ASSERT_TRUE(script.CompileScript()) << script.ErrorMessage << " " << script.ErrorPosition;
  script.ExecuteScript();
  EXPECT_EQ(output, "FV/7/2026\nFV/7/2026\n");
  EXPECT_EQ(faktura.suma, 13.5);

  // An integer that is no live object reaches nothing.
  TfsScript other;
  DeclareTestHost(other, output);
  other.Lines = {"var v: Variant;", "begin v := 12345; v.Dodaj(1) end."};
  ASSERT_TRUE(other.CompileScript()) << other.ErrorMessage;
  EXPECT_THROW(other.ExecuteScript(), EfsScriptError);
}

TEST(FsInterpreter, ScriptsCannotCrashOrHangTheHost) {
  // Endless recursion ends with a named limit.
  ScriptRun deep = RunScript("PascalScript", {"procedure P; begin P end;", "begin P end."});
  EXPECT_EQ(deep.error, "Stack overflow (limit is 1000 nested calls)");
  // Recursion through deeply nested expressions ends on the stack it takes, before the count.
  std::string nested = "F(n + 1)";
  for (int i = 0; i < 150; ++i) nested = "(" + nested + " + 0)";
  ScriptRun wide = RunScript("PascalScript", {"function F(n: Integer): Integer;", "begin Result := " + nested + " end;",
                                              "begin F(0) end."});
  EXPECT_EQ(wide.error, "Stack overflow (limit is 3 MiB of nested calls)");
  // A text that keeps doubling fails before it exhausts memory.
  ScriptRun text = RunScript("PascalScript", {"var s: String;", "begin s := 'x'; while True do s := s + s end."});
  EXPECT_EQ(text.error, "Out of memory: a text longer than 64 MiB");
  ScriptRun array = RunScript("PascalScript", {"var a: array[0..100000000] of Integer;", "begin end."});
  EXPECT_EQ(array.error, "Out of memory: an array of more than 1048576 elements");
  // A very long chain of operators is refused when compiling, a long one evaluates.
  auto chain = [](int terms) {
    std::string sum = "1";
    for (int i = 1; i < terms; ++i) sum += "+1";
    return "begin ShowMessage(" + sum + ") end.";
  };
  EXPECT_EQ(RunScript("PascalScript", {chain(2000)}).output, "2000\n");
  ScriptRun longChain = RunScript("PascalScript", {chain(100000)});
  EXPECT_EQ(longChain.error, "Expression too long (limit is 4096 operands and operators)");

  // An endless loop, even with an empty body, ends when the host stops the script.
  for (const std::vector<std::string>& lines :
       {std::vector<std::string>{"begin while True do ; end."},
        std::vector<std::string>{"var i: Integer;", "begin repeat i := i + 1 until False end."},
        std::vector<std::string>{"procedure P; begin while True do ; end;", "begin P end."}}) {
    std::string output;
    TfsScript script;
    DeclareTestHost(script, output);
    script.Lines = lines;
    ASSERT_TRUE(script.CompileScript()) << script.ErrorMessage;
    int lineCalls = 0;
    script.OnRunLine = [&](TfsScript&, const std::string&, const std::string&) {
      if (++lineCalls == 1000) script.TerminateScript();
    };
    script.ExecuteScript();
    EXPECT_GE(lineCalls, 1000);
    EXPECT_LT(lineCalls, 1010);
    EXPECT_FALSE(script.StopRequested);  // the run state is reset afterwards
  }
}

}  // namespace

namespace {

// The variant arithmetic directly, for the kinds scripts rarely write as literals.
TEST(FsVariantArithmetic, ClassesOfKinds) {
  TScopedFormatSettings polish(PolishFormatSettings());  // the text of results
  struct Case {
    const char* name;
    Variant result;
    VarKind kind;
    const char* text;
  };
  const Case cases[] = {
      {"currency + integer", fsVarOperate(TfsOperator::Add, Variant::Currency(10.25), Variant(int32_t{2})),
       VarKind::Currency, "12,25"},
      {"currency * real keeps four decimals", fsVarOperate(TfsOperator::Multiply, Variant::Currency(1.1111), Variant(3.0)),
       VarKind::Currency, "3,3333"},
      {"date + days", fsVarOperate(TfsOperator::Add, Variant::Date(46000.5), Variant(int32_t{1})), VarKind::Date,
       "10.12.2025 12:00:00"},
      {"date - date is days", fsVarOperate(TfsOperator::Subtract, Variant::Date(46003), Variant::Date(46000)),
       VarKind::Double, "3"},
      {"int64 stays 64-bit", fsVarOperate(TfsOperator::Multiply, Variant(int64_t{4000000000}), Variant(int32_t{3})),
       VarKind::Int64, "12000000000"},
      {"Boolean and is logical", fsVarOperate(TfsOperator::And, Variant(true), Variant(false)), VarKind::Boolean,
       "False"},
      {"Boolean with integer reads True as -1", fsVarOperate(TfsOperator::Add, Variant(true), Variant(int32_t{1})),
       VarKind::Integer, "0"},
      {"empty with empty", fsVarOperate(TfsOperator::Add, Variant(), Variant()), VarKind::Empty, ""},
      {"empty reads as zero", fsVarOperate(TfsOperator::Add, Variant(), Variant(int32_t{5})), VarKind::Integer, "5"},
      {"strings join", fsVarOperate(TfsOperator::Add, Variant("Hurtownia "), Variant("Morwa")), VarKind::String,
       "Hurtownia Morwa"},
      {"string minus number reads the text", fsVarOperate(TfsOperator::Subtract, Variant("10.5"), Variant(int32_t{1})),
       VarKind::Double, "9,5"},
      {"a number text in the locale's form reads too",
       fsVarOperate(TfsOperator::Subtract, Variant("10,5"), Variant(int32_t{1})), VarKind::Double, "9,5"},
      {"integer / integer is real", fsVarOperate(TfsOperator::Divide, Variant(int32_t{7}), Variant(int32_t{2})),
       VarKind::Double, "3,5"},
      {"shr fills with zeros", fsVarOperate(TfsOperator::ShiftRight, Variant(int32_t{-8}), Variant(int32_t{1})),
       VarKind::Integer, "2147483644"},
      {"negation of the lowest integer", fsVarNegate(Variant(int32_t{INT32_MIN})), VarKind::Double, "2147483648"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(c.result.kind(), c.kind) << c.name;
    EXPECT_EQ(fsVarToText(c.result), c.text) << c.name;
  }
  EXPECT_THROW(fsVarOperate(TfsOperator::Add, Variant::Null(), Variant(int32_t{1})), EVariantError);
  EXPECT_THROW(fsVarOperate(TfsOperator::Modulo, Variant(int32_t{1}), Variant(int32_t{0})), EVariantError);
  EXPECT_THROW(fsVarCompare(TfsComparison::Less, Variant::Null(), Variant(int32_t{1})), EVariantError);
  EXPECT_TRUE(fsVarCompare(TfsComparison::Less, Variant(), Variant(int32_t{-5})));  // empty is below anything
  EXPECT_TRUE(fsVarCompare(TfsComparison::Equal, Variant("10"), Variant(10.0)));    // text and number as numbers
  EXPECT_TRUE(fsVarCompare(TfsComparison::Equal, Variant("True"), Variant(true)));  // text and Boolean as Booleans
}

TEST(FsInterpreter, ExpressionsInsideARunningProcedureSeeItsLocals) {
  std::string output;
  TfsScript script;
  DeclareTestHost(script, output);
  script.DeclareFunction("function Oblicz(Tekst: String): Variant",
                         [&script](TfsHostObject*, const TfsHostClass*, const std::string&, std::vector<Variant>& p) {
                           return script.EvaluateExpression(fsVarToText(p[0]));
                         });
  script.Lines = {"var globalna: Integer;", "procedure P(n: Integer);", "var lokalna: Integer;",
                  "begin lokalna := n * 10; ShowMessage(Oblicz('lokalna + n + globalna')) end;",
                  "begin globalna := 1000; P(2); ShowMessage(Oblicz('globalna')) end."};
  ASSERT_TRUE(script.CompileScript()) << script.ErrorMessage;
  script.ExecuteScript();
  EXPECT_EQ(output, "1022\n1000\n");
}

TEST(FsInterpreter, CallScriptFunctionVarWritesParametersBack) {
  std::string output;
  TfsScript script;
  DeclareTestHost(script, output);
  script.Lines = {"procedure Zamien(var a, b: Variant);", "var t: Variant;", "begin t := a; a := b; b := t end;",
                  "begin end."};
  ASSERT_TRUE(script.CompileScript()) << script.ErrorMessage;
  Variant args = Variant::Array(0, 1);
  args.at(0) = Variant("Kłos");
  args.at(1) = Variant("Morwa");
  script.CallScriptFunctionVar("Zamien", args);
  EXPECT_EQ(args.at(0).str(), "Morwa");
  EXPECT_EQ(args.at(1).str(), "Kłos");
}

// An event adapter that runs the script procedure it was given when the host fires it.
struct NotifyEvent : TfsCustomEvent {
  using TfsCustomEvent::TfsCustomEvent;
  void Fire() {
    if (Handler().ParamCount() > 0) Handler().Param(0).WriteValue(fsObjectToVariant(Instance()));
    Handler().ReadValue();
  }
};

TEST(FsInterpreter, ScriptProceduresHandleHostEvents) {
  std::string output;
  TfsScript script;
  DeclareTestHost(script, output);
  Faktura faktura;
  NotifyEvent* hooked = nullptr;
  TfsClassVariable* cls = script.DeclareClass(Faktura::Class(), "");
  cls->DeclareEvent(
      "OnZmiana",
      [](TfsHostObject* instance, TfsProcVariable& handler) { return std::make_unique<NotifyEvent>(instance, handler); },
      [&hooked](TfsHostObject*, const std::string&, TfsCustomEvent* adapter) {
        hooked = static_cast<NotifyEvent*>(adapter);
      });
  script.DeclareObject("Faktura1", faktura);
  script.Lines = {"procedure Zmiana(Sender: Variant);", "begin ShowMessage('zmiana') end;",
                  "begin Faktura1.OnZmiana := @Zmiana end."};
  ASSERT_TRUE(script.CompileScript()) << script.ErrorMessage << " " << script.ErrorPosition;
  script.ExecuteScript();
  ASSERT_NE(hooked, nullptr);
  hooked->Fire();
  hooked->Fire();
  EXPECT_EQ(output, "zmiana\nzmiana\n");

  TfsScript wrong;
  DeclareTestHost(wrong, output);
  TfsClassVariable* other = wrong.DeclareClass(Faktura::Class(), "");
  other->DeclareEvent("OnZmiana", nullptr, nullptr);
  wrong.DeclareObject("Faktura1", faktura);
  wrong.Lines = {"var x: Integer;", "begin Faktura1.OnZmiana := 'x' end."};
  ASSERT_TRUE(wrong.CompileScript()) << wrong.ErrorMessage;
  try {
    wrong.ExecuteScript();
    ADD_FAILURE() << "an event takes script procedures only";
  } catch (const EfsScriptError& e) {
    EXPECT_STREQ(e.what(), "Event handler must be a procedure");
  }
}

}  // namespace
