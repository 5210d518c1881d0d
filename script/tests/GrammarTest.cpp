#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <functional>
#include <iterator>
#include <sstream>
#include <string>

#include "fs_igrammar.h"
#include "ILShape.h"
#include "script/fs_iilparser.h"
#include "script/fs_iinterpreter.h"
#include "script/fs_iscripttool.h"

namespace {

const std::string kGolden = std::string(TAVREL_SOURCE_DIR) + "/script/tests/golden/";

std::string ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

struct GoldenCase {
  const char* language;
  const char* file;  // under golden/, without extension
  const char* extension;
};

// The IL of our own scripts, through the script tool. TAVREL_UPDATE_GOLDEN=1 records
// the current output as the expected one (review the diff before committing).
TEST(FsGrammars, GoldenIL) {
  const GoldenCase cases[] = {
      {"PascalScript", "pascal/faktura", ".pas"},
      {"C++Script", "cpp/faktura", ".cpp"},
      {"JScript", "js/faktura", ".js"},
      {"BasicScript", "basic/faktura", ".vbs"},
  };
  bool update = std::getenv("TAVREL_UPDATE_GOLDEN") != nullptr;
  for (const GoldenCase& c : cases) {
    std::ostringstream out, err;
    std::string source = kGolden + c.file + c.extension;
    int code = fsRunScriptTool({"--language", c.language, "--il", source}, out, err);
    ASSERT_EQ(code, 0) << err.str();
    std::string expectedPath = kGolden + c.file + ".il";
    if (update) std::ofstream(expectedPath, std::ios::binary) << out.str();
    EXPECT_EQ(out.str(), ReadFile(expectedPath)) << c.file;
  }
}

TEST(FsGrammars, GoldenILCoversEveryStatementAndOperator) {
  const char* statements[] = {"<uses ", "<var ", "<const ", "<procedure ", "<function ", "<parameters ",
                              "<compoundstmt ", "<assignstmt ", "<callstmt ", "<ifstmt ", "<thenstmt ",
                              "<elsestmt ", "<casestmt ", "<caseselector ", "<whilestmt ", "<repeatstmt ",
                              "<trystmt ", "<exceptstmt ", "<finallystmt ", "<break ", "<continue ", "<exit ",
                              "<set ", "<range ", "<array ", "<dim ", "<init "};
  const char* operators[] = {"+", "-", "*", "/", "div", "mod", "and", "or", "xor", "not", "unminus", "in", "is",
                             "&#62;", "&#60;", "&#62;=", "&#60;=", "&#60;&#62;", "=", "(", ")"};
  for (const char* file : {"pascal/faktura.il", "cpp/faktura.il", "js/faktura.il", "basic/faktura.il"}) {
    std::string il = ReadFile(kGolden + file);
    for (const char* s : statements) {
      bool optional = std::string(file).rfind("js", 0) == 0 &&
                      (std::string(s) == "<const " || std::string(s) == "<procedure " || std::string(s) == "<exit ");
      optional |= std::string(file).rfind("cpp", 0) == 0 && std::string(s) == "<procedure ";
      optional |= std::string(file).rfind("basic", 0) == 0 && std::string(s) == "<const ";
      if (!optional) {
        EXPECT_NE(il.find(s), std::string::npos) << file << " lacks " << s;
      }
    }
    for (const char* op : operators)
      EXPECT_NE(il.find(std::string("<op text=\"") + op + "\""), std::string::npos) << file << " lacks op " << op;
  }
  EXPECT_NE(ReadFile(kGolden + "pascal/faktura.il").find("<op text=\"shl\""), std::string::npos);
  EXPECT_NE(ReadFile(kGolden + "cpp/faktura.il").find("<op text=\"shr\""), std::string::npos);
  EXPECT_NE(ReadFile(kGolden + "basic/faktura.il").find("<op text=\"strcat\""), std::string::npos);
  EXPECT_NE(ReadFile(kGolden + "pascal/faktura.il").find("<forstmt "), std::string::npos);
  EXPECT_NE(ReadFile(kGolden + "cpp/faktura.il").find("<cppforstmt "), std::string::npos);
  EXPECT_NE(ReadFile(kGolden + "basic/faktura.il").find("<vbforstmt "), std::string::npos);
  EXPECT_NE(ReadFile(kGolden + "pascal/faktura.il").find("<with "), std::string::npos);
  EXPECT_NE(ReadFile(kGolden + "cpp/faktura.il").find("<delete "), std::string::npos);
  EXPECT_NE(ReadFile(kGolden + "js/faktura.il").find("<new "), std::string::npos);
}

// The main body of one program written in each language.
TEST(FsGrammars, EquivalentProgramsGiveTheSameStructure) {
  struct Case {
    const char* language;
    const char* source;
  };
  const Case cases[] = {
      {"PascalScript",
       "begin\r\n"
       "  brutto := -netto * (1 + vat / 100) - rabat div 2 mod 3;\r\n"
       "  ok := not zaplacone and (suma >= 10) or (x <> 1) xor (y = 2) and (n in [1, 3..5]) or (a < b) or (c <= d) or (e > f);\r\n"
       "  if ok then Drukuj(brutto, 'z\xB3');\r\n"
       "  Zamknij\r\n"
       "end."},
      {"C++Script",
       "{\r\n"
       "  brutto = -netto * (1 + vat / 100) - rabat div 2 % 3;\r\n"
       "  ok = !zaplacone && (suma >= 10) || (x != 1) ^ (y == 2) && (n in [1, 3..5]) || (a < b) || (c <= d) || (e > f);\r\n"
       "  if (ok) Drukuj(brutto, \"z\xB3\");\r\n"
       "  Zamknij();\r\n"
       "}"},
      {"JScript",
       "brutto = -netto * (1 + vat / 100) - rabat div 2 % 3;\r\n"
       "ok = !zaplacone && (suma >= 10) || (x != 1) ^ (y == 2) && (n in [1, 3..5]) || (a < b) || (c <= d) || (e > f);\r\n"
       "if (ok) Drukuj(brutto, \"z\xB3\");\r\n"
       "Zamknij();\r\n"},
      {"BasicScript",
       "brutto = -netto * (1 + vat / 100) - rabat \\ 2 Mod 3\r\n"
       "ok = Not zaplacone And (suma >= 10) Or (x <> 1) Xor (y = 2) And (n In [1, 3..5]) Or (a < b) Or (c <= d) Or (e > f)\r\n"
       "If ok Then Drukuj(brutto, \"z\xB3\")\r\n"
       "Zamknij\r\n"},
  };
  auto body = [](const Case& c) {
    TfsScript script;
    TfsILParser parser(&script);
    parser.LoadGrammar(c.language);
    if (!parser.SourceToIL(c.source)) return "error " + parser.ErrorPosition + ": " + parser.ErrorMessage;
    return Shape(parser.ILDocument().Root()[0]);  // the compound statement of the program
  };
  std::string pascal = body(cases[0]);
  EXPECT_EQ(pascal.rfind("compoundstmt{assignstmt{", 0), 0u) << pascal;
  for (const Case& c : cases) EXPECT_EQ(body(c), pascal) << c.language;
}

struct ShapeCase {
  const char* language;
  const char* source;
  const char* shape;  // expected in the program's shape
};

TEST(FsGrammars, LanguageDetails) {
  const ShapeCase cases[] = {
      // the hex prefix of either kind gives the same number leaf
      {"PascalScript", "begin x := $1F end.", "number($1F)"},
      {"C++Script", "{ x = 0x1F; }", "number($1F)"},
      // string forms of each language
      {"PascalScript", "begin x := 'Kowalski''s' end.", "string('Kowalski's')"},
      {"PascalScript", "begin x := #13#10 end.", "string('\r\n')"},
      {"C++Script", "{ x = \"a\\nb\"; }", "string('a\nb')"},
      // C++Script is case-sensitive: "If" is a name, "if" the keyword
      {"C++Script", "{ If(a); }", "callstmt{dsgn{node(If) expr{dsgn{node(a)}}}}"},
      {"C++Script", "{ if (a) b; }", "ifstmt{expr{dsgn{node(a)}} thenstmt{callstmt{dsgn{node(b)}}}}"},
      {"JScript", "If (a) b;", "ifstmt{expr{dsgn{node(a)}} thenstmt{callstmt{dsgn{node(b)}}}}"},
      // BasicScript comments and continuation lines
      {"BasicScript", "rem uwaga\r\nremark\r\nx = 1 + _\r\n  2\r\n",
       "compoundstmt{assignstmt{dsgn{node(x)} expr{number(1) op(+) number(2)}}}"},
      {"BasicScript", "REM x\r\n", "error : "},  // "rem" is a keyword too: nothing matches
      {"BasicScript", "x = 1 ' note\r\ny = 2\r\n",
       "compoundstmt{assignstmt{dsgn{node(x)} expr{number(1)}} assignstmt{dsgn{node(y)} expr{number(2)}}}"},
      // modifiers and inverse loops
      {"C++Script", "{ i++; j -= 2; }",
       "callstmt{dsgn{node(i)} modificator(+)} assignstmt{dsgn{node(j)} modificator(-) expr{number(2)}}"},
      {"C++Script", "{ do x(); while (a); }", "repeatstmt{callstmt{dsgn{node(x)}} expr{dsgn{node(a)}} inverse()}"},
      {"BasicScript", "Do\r\n  x\r\nLoop While a\r\n", "expr{dsgn{node(a)}} inverse()}"},
      {"PascalScript", "begin for i := 3 downto 1 do x end.", "forstmt{ident(i) expr{number(3)} downto(downto) expr{number(1)}"},
      // var parameters
      {"PascalScript", "procedure P(var a, b: Integer; c: String); begin end; begin end.",
       "parameters{varparams var{ident(a) ident(b) type(Integer)} var{ident(c) type(String)}}"},
      {"C++Script", "void P(int &a, string b = \"x\") {} {}",
       "parameters{var{type(int) varparam(&) ident(a)} var{type(string) ident(b) init{expr{string('x')}}}}"},
      {"BasicScript", "Sub P(ByRef a, ByVal b As Integer)\r\nEnd Sub\r\n",
       "parameters{varparams var{ident(a)} var{ident(b) type(Integer)}}"},
      // addresses of procedures
      {"PascalScript", "begin x := @P end.", "dsgn{addr(@) node(P)}"},
      {"BasicScript", "x = AddressOf P\r\n", "dsgn{addr(AddressOf) node(P)}"},
      // a Pascal array with ranges
      {"PascalScript", "var t: array[1..3, 0..1] of Integer; begin end.",
       "array{dim{expr{number(1)} expr{number(3)}} dim{expr{number(0)} expr{number(1)}}} type(Integer)"},
  };
  for (const ShapeCase& c : cases) {
    std::string shape = ShapeOf(c.language, c.source);
    EXPECT_NE(shape.find(c.shape), std::string::npos) << c.language << ": " << c.source << "\n  got " << shape;
  }
}

// A Pascal case reads the same with or without the ";" before its "else" or "end".
TEST(FsGrammars, PascalCaseSemicolonBeforeElseOrEnd) {
  const std::string withElse =
      "casestmt{expr{dsgn{node(j)}} caseselector{set{expr{number(1)}} assignstmt{dsgn{node(s)} expr{string('a')}}} "
      "caseselector{set{expr{number(2)} range(.) expr{number(4)}} assignstmt{dsgn{node(s)} expr{string('b')}}} "
      "assignstmt{dsgn{node(s)} expr{string('c')}}}";
  const std::string withoutElse =
      "casestmt{expr{dsgn{node(j)}} caseselector{set{expr{number(1)}} assignstmt{dsgn{node(s)} expr{string('a')}}}}";
  struct Form {
    const char* body;
    const std::string& shape;
  };
  const Form forms[] = {
      {"1: s := 'a';\n 2..4: s := 'b';\n else\n s := 'c';\n end", withElse},
      {"1: s := 'a';\n 2..4: s := 'b'\n else\n s := 'c';\n end", withElse},
      {"1: s := 'a';\n 2..4: s := 'b';\n else\n s := 'c'\n end", withElse},
      {"1: s := 'a';\n end", withoutElse},
      {"1: s := 'a'\n end", withoutElse},
  };
  for (const Form& form : forms) {
    std::string shape = ShapeOf("PascalScript", std::string("begin case j of ") + form.body + " end.");
    EXPECT_EQ(shape, "program{compoundstmt{" + form.shape + "} types}") << form.body;
  }
  // Selectors still need their separator.
  EXPECT_EQ(ShapeOf("PascalScript", "begin case j of 1: s := 'a' 2: s := 'b' end end."), "error 1:29: 'END' expected");
}

TEST(FsGrammars, EveryRuleReferenceResolves) {
  for (const char* language : {"PascalScript", "C++Script", "JScript", "BasicScript"}) {
    auto grammar = fs_grammar::Fetch(language);
    ASSERT_NE(grammar->program, nullptr) << language;
    std::function<void(const fs_grammar::Element&)> check = [&](const fs_grammar::Element& e) {
      if (e.kind == fs_grammar::Kind::Reference) {
        EXPECT_NE(e.rule, nullptr) << language << ": " << e.name;
      }
      if (e.hasErr) {
        EXPECT_FALSE(e.errText.empty()) << language << ": " << e.name;
      }
      for (const auto& child : e.children) check(child);
    };
    for (const auto& rule : grammar->rules) check(*rule);
  }
}

TEST(FsGrammars, LanguagesAreRegisteredInOrder) {
  auto names = fsLanguageNames();
  ASSERT_GE(names.size(), 4u);
  EXPECT_EQ(names[0], "PascalScript");
  EXPECT_EQ(names[1], "C++Script");
  EXPECT_EQ(names[2], "BasicScript");
  EXPECT_EQ(names[3], "JScript");
  EXPECT_EQ(&FetchGrammar("pascalscript"), &FetchGrammar("PascalScript"));
}

}  // namespace
