#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <unistd.h>
#include <vector>

#include "script/fs_iscripttool.h"

namespace {

namespace fs = std::filesystem;

// A folder of script files for one test, removed afterwards.
class ScriptTool : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("tavrel_script_tool_" + std::to_string(::getpid()) + "_" +
                                        ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }

  std::string Write(const std::string& name, const std::string& text) {
    std::ofstream(dir_ / name, std::ios::binary) << text;
    return (dir_ / name).string();
  }

  int Run(std::vector<std::string> args) {
    out_.str("");
    err_.str("");
    return fsRunScriptTool(args, out_, err_);
  }

  fs::path dir_;
  std::ostringstream out_, err_;
};

TEST_F(ScriptTool, CompilesAndSaysOK) {
  std::string file = Write("wz.pas", "var i: Integer;\nbegin\n  for i := 1 to 3 do Drukuj(i)\nend.\n");
  EXPECT_EQ(Run({file}), 0);
  EXPECT_EQ(out_.str(), "OK\n");
  EXPECT_EQ(err_.str(), "");
}

TEST_F(ScriptTool, SyntaxErrorIsFileLineColumnMessage) {
  std::string file = Write("wz.pas", "begin\n  a := 1\n  b := 2\nend.\n");
  EXPECT_EQ(Run({file}), 1);
  EXPECT_EQ(err_.str(), file + ":3:3: ';' expected\n");
  EXPECT_EQ(out_.str(), "");
}

TEST_F(ScriptTool, LanguageFromOptionOrFirstLine) {
  std::string basic = Write("wz.vbs", "Dim i\r\nFor i = 1 To 3\r\n  Drukuj(i)\r\nNext\r\n");
  EXPECT_EQ(Run({basic}), 1);  // read as PascalScript
  EXPECT_EQ(Run({"--language", "BasicScript", basic}), 0) << err_.str();
  EXPECT_EQ(Run({"--language=BasicScript", basic}), 0) << err_.str();
  // Unix line ends work for the line-end language too
  std::string tagged = Write("tagged.txt", "#language BasicScript\nDim i\nFor i = 1 To 3\n  Drukuj(i)\nNext\n");
  EXPECT_EQ(Run({tagged}), 0) << err_.str();
  EXPECT_EQ(Run({"--language", "Cobol", basic}), 1);
  EXPECT_EQ(err_.str(), basic + ": Language 'Cobol' not found\n");
}

TEST_F(ScriptTool, PrintsTheIL) {
  std::string file = Write("a.js", "x = <Dane.\"Nazwa\">;\n");
  EXPECT_EQ(Run({"--il", "--language", "JScript", file}), 0);
  EXPECT_EQ(out_.str(),
            "<?xml version=\"1.0\"?>\n"
            "<program>\n"
            "  <compoundstmt pos=\"1:1\">\n"
            "    <assignstmt pos=\"1:1\">\n"
            "      <dsgn pos=\"1:1\">\n"
            "        <node text=\"x\" pos=\"1:2\"/>\n"
            "      </dsgn>\n"
            "      <expr pos=\"1:5\" pos1=\"1:19\">\n"
            "        <dsgn pos=\"1:18\">\n"
            "          <node text=\"Get\" pos=\"1:18\"/>\n"
            "          <expr pos=\"1:18\">\n"
            "            <string text=\"'Dane.&#34;Nazwa&#34;'\" pos=\"1:18\"/>\n"
            "          </expr>\n"
            "        </dsgn>\n"
            "      </expr>\n"
            "    </assignstmt>\n"
            "  </compoundstmt>\n"
            "  <types/>\n"
            "</program>\n");
}

TEST_F(ScriptTool, UnitsBesideTheScriptAndTheirErrors) {
  Write("stawki.pas", "const Vat = 23;\nbegin\n  x := \nend.\n");
  std::string file = Write("faktura.pas", "uses 'stawki.pas';\nbegin end.\n");
  EXPECT_EQ(Run({file}), 1);
  EXPECT_EQ(err_.str(), "stawki.pas:4:1: Expression expected\n");
  Write("stawki.pas", "const Vat = 23;\nbegin end.\n");
  EXPECT_EQ(Run({"--il", file}), 0) << err_.str();
  EXPECT_NE(out_.str().find("<uses unit=\"stawki.pas\">"), std::string::npos);
}

TEST_F(ScriptTool, RunsTheMainBlock) {
  struct Case {
    const char* name;
    const char* text;
    int code;
    const char* out;
    const char* err;  // after "FILE:"
  };
  const Case cases[] = {
      {"ok.pas", "begin\n  ShowMessage('Piekarnia Kłos');\n  ShowMessage(6 * 7)\nend.\n", 0, "Piekarnia Kłos\n42\n", ""},
      {"ok.vbs", "#language BasicScript\nFor i = 1 To 2\n  ShowMessage(i)\nNext\n", 0, "1\n2\n", ""},
      {"runtime.pas", "begin\n  ShowMessage('przed');\n  ShowMessage(1 div 0);\n  ShowMessage('po')\nend.\n", 1,
       "przed\n", "3:3: Division by zero\n"},
      {"compile.pas", "begin\n  Drukuj(1)\nend.\n", 1, "", "2:9: Undeclared identifier: 'Drukuj'\n"},
      {"syntax.pas", "begin\n  ShowMessage(1\nend.\n", 1, "", "3:1: ')' expected\n"},
  };
  for (const Case& c : cases) {
    std::string file = Write(c.name, c.text);
    EXPECT_EQ(Run({"--run", file}), c.code) << c.name;
    EXPECT_EQ(out_.str(), c.out) << c.name;
    EXPECT_EQ(err_.str(), c.code ? file + ":" + c.err : std::string()) << c.name;
  }
}

TEST_F(ScriptTool, CommandLineProblems) {
  const std::vector<std::string> usage[] = {{},          {"--il"},         {"--bogus", "a.pas"}, {"a.pas", "b.pas"},
                                            {"--language"}, {"--il", "--run", "a.pas"}};
  for (const auto& args : usage) {
    EXPECT_EQ(Run(args), 2);
    EXPECT_NE(err_.str().find("usage: tavrel-script"), std::string::npos);
  }
  EXPECT_EQ(Run({"--help"}), 0);
  EXPECT_NE(out_.str().find("--language NAME"), std::string::npos);
  EXPECT_EQ(Run({(dir_ / "missing.pas").string()}), 1);
  EXPECT_NE(err_.str().find("cannot read"), std::string::npos);
}

TEST(ScriptToolLines, SplitLines) {
  EXPECT_EQ(fsSplitLines("a\r\nb\nc\rd"), (std::vector<std::string>{"a", "b", "c", "d"}));
  EXPECT_EQ(fsSplitLines("a\n\nb\n"), (std::vector<std::string>{"a", "", "b"}));
  EXPECT_TRUE(fsSplitLines("").empty());
}

}  // namespace
