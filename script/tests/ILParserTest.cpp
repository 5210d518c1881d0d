#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "ILShape.h"
#include "script/fs_iilparser.h"
#include "script/fs_iinterpreter.h"

namespace {

// The IL of a source, or the error as "POSITION: MESSAGE".
std::string Compile(const std::string& language, const std::string& source, TfsScript* script = nullptr) {
  TfsScript own;
  TfsILParser parser(script ? script : &own);
  parser.LoadGrammar(language);
  if (!parser.SourceToIL(source)) return parser.ErrorPosition + ": " + parser.ErrorMessage;
  return parser.ILDocument().SaveToString(false);
}

TEST(FsILParser, BracketedNameBecomesCallOfGet) {
  TfsScript script;
  TfsILParser parser(&script);
  parser.LoadGrammar("PascalScript");
  ASSERT_TRUE(parser.SourceToIL("begin x := <Dane.\"D1\"> + 1 end."));
  const TfsXMLItem& expr = parser.ILDocument().Root()[0][0][1];
  ASSERT_EQ(expr.Name(), "expr");
  EXPECT_EQ(Shape(expr), "expr{dsgn{node(Get) expr{string('Dane.\"D1\"')}} op(+) number(1)}");
  // dsgn, node, expr and string all carry the position after the raw text
  const TfsXMLItem& dsgn = expr[0];
  EXPECT_EQ(dsgn.Prop("pos"), "1:22");
  EXPECT_EQ(dsgn[0].Prop("pos"), "1:22");
  EXPECT_EQ(dsgn[1].Prop("pos"), "1:22");
  EXPECT_EQ(dsgn[1][0].Prop("pos"), "1:22");
}

TEST(FsILParser, SetRangeIsNumberRangeNumber) {
  EXPECT_EQ(ShapeOf("PascalScript", "begin b := x in [1..5, 7] end."),
            "program{compoundstmt{assignstmt{dsgn{node(b)} expr{dsgn{node(x)} op(in) "
            "set{expr{number(1)} range(.) expr{number(5)} expr{number(7)}}}}} types}");
  EXPECT_EQ(ShapeOf("C++Script", "{ b = x in [1..5]; }"),
            "program{compoundstmt{assignstmt{dsgn{node(b)} expr{dsgn{node(x)} op(in) "
            "set{expr{number(1)} range(.) expr{number(5)}}}}} "
            "types{int long void bool float}}");
}

TEST(FsILParser, PositionsOfWrappersAndLeaves) {
  TfsScript script;
  TfsILParser parser(&script);
  parser.LoadGrammar("PascalScript");
  ASSERT_TRUE(parser.SourceToIL("begin\r\n  suma := 12 + x\r\nend."));
  const TfsXMLItem& assign = parser.ILDocument().Root()[0][0];
  EXPECT_EQ(assign.Prop("pos"), "2:3");     // first token of the statement
  EXPECT_EQ(assign[0][0].Prop("pos"), "2:7");  // just after the name
  const TfsXMLItem& expr = assign[1];
  EXPECT_EQ(expr.Prop("pos"), "2:11");
  EXPECT_EQ(expr.Prop("pos1"), "2:17");  // just after the last token
}

struct ErrorCase {
  const char* language;
  const char* source;
  const char* error;  // "POSITION: MESSAGE"
};

TEST(FsILParser, SyntaxErrorsCarryTheGrammarMessageAndWhereTheElementBegan) {
  const ErrorCase cases[] = {
      {"PascalScript", "begin\r\n  a := 1\r\n  b := 2\r\nend.", "3:3: ';' expected"},
      {"PascalScript", "begin a : = 1 end.", "1:11: '=' expected"},
      {"PascalScript", "begin a := end.", "1:12: Expression expected"},
      {"PascalScript", "var a Integer; begin end.", "1:7: ':' expected"},
      {"PascalScript", "begin end", "1:10: '.' expected"},
      {"PascalScript", "x := 1;", "1:1: 'BEGIN' expected"},
      {"PascalScript", "begin if a b := 1 end.", "1:12: 'THEN' expected"},
      {"PascalScript", "begin while a b end.", "1:15: 'DO' expected"},
      {"PascalScript", "begin for i := 1 upto 2 do end.", "1:18: 'TO' or 'DOWNTO' expected"},
      {"PascalScript", "begin repeat a end.", "1:16: 'UNTIL' expected"},
      {"PascalScript", "begin try a end.", "1:13: 'FINALLY' or 'EXCEPT' expected"},
      {"PascalScript", "begin case a 1: b end end.", "1:14: 'OF' expected"},
      {"PascalScript", "begin a := (1 + 2; end.", "1:18: ')' expected"},
      {"PascalScript", "begin a := [1, 2; end.", "1:17: ']' expected"},
      {"PascalScript", "begin a := <Dane.x end.", "1:24: '>' expected"},
      {"PascalScript", "begin a := b.; end.", "1:14: Identifier expected"},
      {"C++Script", "{ a = 1 }", "1:9: ';' expected"},
      {"C++Script", "{ if a) b; }", "1:6: '(' expected"},
      {"C++Script", "{ a = 1;", "1:9: '}' expected"},
      {"C++Script", "# dfine X 1 {}", "1:3: 'DEFINE' expected"},
      {"C++Script", "{ do a; (b); }", "1:9: 'WHILE' expected"},
      {"C++Script", "a = 1;", "1:1: '{' expected"},
      {"JScript", "if (a) { b = 1;", "1:16: '}' expected"},
      {"JScript", "switch (a) case 1: b;", "1:12: '{' expected"},
      {"BasicScript", "x = 1 y\r\n", "1:7: End of line expected"},
      {"BasicScript", "For i = 1 Upto 3\r\nNext\r\n", "1:11: 'TO' expected"},
      {"BasicScript", "While a\r\n  b\r\n", "3:1: 'WEND' expected"},
      {"BasicScript", "If a Then\r\n  b\r\nEnd\r\n", "3:4: 'IF' expected"},  // line ends are tokens
      {"BasicScript", "Select a\r\n", "1:8: 'CASE' expected"},
      {"BasicScript", "Sub P\r\nEnd Function\r\n", "2:5: 'SUB' expected"},
      {"BasicScript", "Try\r\n  a\r\nEnd Try\r\n", "3:1: 'FINALLY' or 'CATCH' expected"},
  };
  for (const ErrorCase& c : cases) EXPECT_EQ(Compile(c.language, c.source), c.error) << c.language << ": " << c.source;
}

TEST(FsILParser, ErrorsAreCopiedIntoTheScript) {
  TfsScript script;
  EXPECT_NE(Compile("PascalScript", "begin a := end.", &script).find("Expression"), std::string::npos);
  EXPECT_EQ(script.ErrorMessage, "Expression expected");
  EXPECT_EQ(script.ErrorPosition, "1:12");
  EXPECT_EQ(script.ErrorUnitName, "");
  Compile("PascalScript", "begin end.", &script);
  EXPECT_EQ(script.ErrorMessage, "");
  EXPECT_EQ(script.ErrorPosition, "");
}

TEST(FsILParser, LanguageLineChoosesTheGrammar) {
  std::string il = ShapeOf("PascalScript", "#language BasicScript\r\nx = 1\r\n");
  EXPECT_EQ(il, "program{compoundstmt{assignstmt{dsgn{node(x)} expr{number(1)}}} types{decimal}}");
  // positions still count the language line
  EXPECT_EQ(Compile("PascalScript", "#language  C++Script \r\n{ a = 1 }"), "2:9: ';' expected");
  EXPECT_THROW(Compile("PascalScript", "#language Cobol\r\nbegin end."), EfsScriptError);
  // "#include" is a C++Script uses clause, not a language line
  TfsScript script;
  script.OnGetUnit = [](const std::string&) { return std::string("{}"); };
  EXPECT_EQ(Compile("C++Script", "#include \"x.cpp\"\r\n{ a = 1; }", &script).rfind("<?xml", 0), 0u);
}

TEST(FsILParser, LanguageErrors) {
  TfsScript script;
  TfsILParser parser(&script);
  try {
    parser.LoadGrammar("Cobol");
    FAIL() << "unknown language accepted";
  } catch (const EfsScriptError& e) {
    EXPECT_STREQ(e.what(), "Language 'Cobol' not found");
  }
  fsRegisterLanguage("TestMissingRule", "<?xml version=\"1.0\"?><language><program><nosuchrule/></program></language>");
  parser.LoadGrammar("TestMissingRule");
  try {
    parser.SourceToIL("x");
    FAIL() << "missing rule accepted";
  } catch (const EfsScriptError& e) {
    EXPECT_STREQ(e.what(), "Invalid language definition");
  }
  fsRegisterLanguage("TestBrokenXML", "<?xml version=\"1.0\"?><language><program></language>");
  try {
    parser.LoadGrammar("TestBrokenXML");
    FAIL() << "broken grammar accepted";
  } catch (const EfsXMLError& e) {
    EXPECT_STREQ(e.what(), "Invalid file format");
  }
  // A program rule that fails without naming an error: false, empty message.
  fsRegisterLanguage("TestSilent", "<?xml version=\"1.0\"?><language><program><keyword text=\"go\"/></program></language>");
  parser.LoadGrammar("TestSilent");
  EXPECT_FALSE(parser.SourceToIL("stop"));
  EXPECT_EQ(parser.ErrorMessage, "");
  EXPECT_TRUE(parser.SourceToIL("GO"));
}

TEST(FsILParser, DeepNestingFailsWithTheLimitNamed) {
  struct Case {
    const char* language;
    std::string source;
  };
  std::string parens(100000, '(');
  std::string blocks;
  for (int i = 0; i < 20000; ++i) blocks += "begin ";
  std::string braces(50000, '{');
  std::string ifs;
  for (int i = 0; i < 20000; ++i) ifs += "If a Then\r\n";
  const Case cases[] = {
      {"PascalScript", "begin x := " + parens + "1 end."},
      {"PascalScript", blocks},
      {"C++Script", braces},
      {"JScript", "x = " + parens},
      {"BasicScript", ifs},
  };
  for (const Case& c : cases) {
    TfsScript script;
    TfsILParser parser(&script);
    parser.LoadGrammar(c.language);
    EXPECT_FALSE(parser.SourceToIL(c.source)) << c.language;
    EXPECT_NE(parser.ErrorMessage.find("nested too deeply (limit is"), std::string::npos) << parser.ErrorMessage;
    EXPECT_FALSE(parser.ErrorPosition.empty());
  }
  // Moderate nesting is fine.
  EXPECT_EQ(ShapeOf("PascalScript", "begin x := ((((((((((1)))))))))) end.").find("error"), std::string::npos);
}

TEST(FsILParser, UsedUnitsComeFromOnGetUnitOnce) {
  TfsScript script;
  int requests = 0;
  script.OnGetUnit = [&](const std::string& name) {
    ++requests;
    if (name == "stawki.pas") return std::string("uses 'stawki.pas', 'wspolne.pas';\r\nconst Vat = 23;\r\nbegin end.");
    return std::string("var Wspolna: Integer;\r\nbegin end.");
  };
  std::string shape = ShapeOf("PascalScript", "");  // warm-up keeps the next line short
  TfsILParser parser(&script);
  parser.LoadGrammar("PascalScript");
  ASSERT_TRUE(parser.SourceToIL("uses 'stawki.pas', 'wspolne.pas';\r\nbegin end."));
  EXPECT_EQ(requests, 2);
  EXPECT_EQ(Shape(parser.ILDocument().Root()),
            "program{uses[stawki.pas]{program{uses[wspolne.pas]{program{var{ident(Wspolna) type(Integer)} "
            "compoundstmt types}} const{ident(Vat) expr{number(23)}} compoundstmt types}} compoundstmt types}");
}

TEST(FsILParser, ErrorsInAUsedUnitCarryItsPositionAndName) {
  TfsScript script;
  script.OnGetUnit = [](const std::string& name) {
    if (name == "a.pas") return std::string("uses 'b.pas';\r\nbegin end.");
    return std::string("begin\r\n  x := \r\nend.");
  };
  TfsILParser parser(&script);
  parser.LoadGrammar("PascalScript");
  EXPECT_FALSE(parser.SourceToIL("uses 'a.pas';\r\nbegin end."));
  EXPECT_EQ(script.ErrorMessage, "Expression expected");
  EXPECT_EQ(script.ErrorPosition, "3:1");
  EXPECT_EQ(script.ErrorUnitName, "b.pas");  // the unit where the error lies
}

TEST(FsILParser, UnitsAreReadFromTheUnitFolders) {
  namespace fs = std::filesystem;
  fs::path dir = fs::temp_directory_path() / ("tavrel_units_" + std::to_string(::getpid()));
  fs::create_directories(dir / "lib");
  std::ofstream(dir / "lib" / "wz.js") << "var Magazyn = \"Centralny\";\nfunction Waga(x) { return x * 2; }\n";
  TfsScript script;
  script.UnitFolders = {(dir / "none").string(), (dir / "lib").string() + "\\"};
  TfsILParser parser(&script);
  parser.LoadGrammar("JScript");
  ASSERT_TRUE(parser.SourceToIL("import \"wz.js\"\r\nx = Waga(2);")) << script.ErrorMessage;
  EXPECT_EQ(parser.ILDocument().Root()[0][0].Name(), "uses");
  EXPECT_EQ(parser.ILDocument().Root()[0][0].Prop("unit"), "wz.js");

  try {
    parser.SourceToIL("import \"brak.js\"");
    FAIL() << "missing unit accepted";
  } catch (const EfsScriptError& e) {
    EXPECT_NE(std::string(e.what()).find("brak.js"), std::string::npos) << e.what();
  }
  fs::remove_all(dir);
}

TEST(FsILParser, HighLettersMakeNamesOfCodePageLetters) {
  TfsScript script;
  const std::string source = "begin \xB3\xB9" "cznie := 1 end.";  // "łącznie" in Windows-1250
  EXPECT_NE(Compile("PascalScript", source, &script).find("expected"), std::string::npos);
  script.HighLetters = true;
  EXPECT_EQ(Compile("PascalScript", source, &script).find("expected"), std::string::npos);
}

}  // namespace
