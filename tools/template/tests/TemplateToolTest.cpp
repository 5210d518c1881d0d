#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <sstream>

#include "frxTestClasses.h"
#include "platform/Stream.h"
#include "template/TemplateTool.h"

namespace {

const std::string kDelivery =
    "<?xml version=\"1.0\" encoding=\"utf-8\"?>\r\n"
    "<TfrxTestReport>\r\n"
    "  <TfrxTestPage Name=\"Page1\">\r\n"
    "    <TfrxTestBand Name=\"MasterData1\" Left=\"0\" Top=\"120\" Width=\"718,1107\" Height=\"18,89765\">\r\n"
    "      <TfrxTestMemoView Name=\"Memo1\" Left=\"0\" Top=\"0\" Width=\"200\" Height=\"18\" Text=\"Dowód dostawy\"/>\r\n"
    "      <TfrxTestMemoView Name=\"Memo2\" Left=\"200\" Top=\"0\" Width=\"1 000,5\" Height=\"18\" HAlign=\"haRight\"/>\r\n"
    "    </TfrxTestBand>\r\n"
    "  </TfrxTestPage>\r\n"
    "</TfrxTestReport>\r\n";

struct TemplateFiles : ::testing::Test {
  std::string dir = SystemTempFolder() + "/tavrel-template-test-" + std::to_string(::getpid());
  void SetUp() override { std::filesystem::create_directories(dir); }
  void TearDown() override { std::filesystem::remove_all(dir); }
  std::string Write(const std::string& name, const std::string& content) {
    TMemoryStream data;
    data.WriteString(content);
    data.SaveToFile(dir + "/" + name);
    return dir + "/" + name;
  }
  std::string Read(const std::string& path) {
    TMemoryStream data;
    data.LoadFromFile(path);
    return data.DataString();
  }
  int Run(std::vector<std::string> args, std::string& out, std::string& err) {
    std::ostringstream o, e;
    int status = RunTemplateTool(args, o, e);
    out = o.str();
    err = e.str();
    return status;
  }
};

TEST_F(TemplateFiles, TreeListsClassNameAndBounds) {
  std::string path = Write("dostawa.fr3", kDelivery), out, err;
  EXPECT_EQ(Run({"tree", path}, out, err), 0) << err;
  EXPECT_EQ(out,
            "TfrxTestReport (0; 0; 0; 0)\n"
            "  TfrxTestPage Page1 (0; 0; 0; 0)\n"
            "    TfrxTestBand MasterData1 (0; 120; 718" + std::string(1, frxDecimalSeparator()) + "1107; 18" +
                std::string(1, frxDecimalSeparator()) + "89765)\n"
            "      TfrxTestMemoView Memo1 (0; 0; 200; 18)\n"
            "      TfrxTestMemoView Memo2 (200; 0; 1000" + std::string(1, frxDecimalSeparator()) + "5; 18)\n");
}

TEST_F(TemplateFiles, NormaliseWritesTheNormalFormAndIsStable) {
  std::string path = Write("dostawa.fr3", kDelivery), out, err;
  std::string first = dir + "/first.fr3", second = dir + "/second.fr3";
  EXPECT_EQ(Run({"normalise", path, first}, out, err), 0) << err;
  EXPECT_EQ(Run({"normalise", first, second}, out, err), 0) << err;
  EXPECT_EQ(Read(first), Read(second));
  EXPECT_NE(Read(first).find("Width=\"1000"), std::string::npos);
  EXPECT_EQ(Run({"normalise", first, "-"}, out, err), 0);
  EXPECT_EQ(out, Read(first));
}

TEST_F(TemplateFiles, CheckListsLoadErrors) {
  std::string path = Write("zle.fr3",
                           "<?xml version=\"1.0\" encoding=\"utf-8\"?><TfrxTestReport><TfrxFooBar/>"
                           "<TfrxTestMemoView Name=\"M1\" Left=\"abc\"/></TfrxTestReport>"),
              out, err;
  EXPECT_EQ(Run({"check", path}, out, err), 1);
  EXPECT_EQ(err, "'abc' is not a valid floating point value\nNie znaleziono klasy TfrxFooBar\n");
  EXPECT_EQ(Run({"check", Write("dobry.fr3", kDelivery)}, out, err), 0);
  EXPECT_EQ(err, "");
}

TEST_F(TemplateFiles, UnreadableFilesFailWithAClearMessage) {
  struct Case {
    std::vector<std::string> args;
    std::string message;
  };
  const Case cases[] = {
      {{"check", dir + "/brak.fr3"}, "cannot read template"},
      {{"tree", Write("uciety.fr3", "<?xml version=\"1.0\"?><TfrxTestReport><a")}, "Invalid file format"},
      {{"tree", Write("tekst.fr3", "Faktura nr 1")}, "Invalid file format"},
      {{"tree", Write("obcy.fr3", "<?xml version=\"1.0\"?><Faktura/>")}, "<Faktura> is not a known report class"},
      {{"normalise", Write("ok.fr3", kDelivery), dir + "/brak/wynik.fr3"}, "cannot write template"},
      {{"convert", "x"}, "usage:"},
      {{}, "usage:"},
      {{"normalise", "x"}, "usage:"},
  };
  for (const Case& c : cases) {
    std::string out, err;
    EXPECT_EQ(Run(c.args, out, err), 2) << c.message;
    EXPECT_NE(err.find(c.message), std::string::npos) << err;
  }
}

// A report template of ours as the program loads it: the report's own records in its
// raw data, a data page, a report page and its bands.
TEST_F(TemplateFiles, ReportTemplatesLoadThroughTheReportObject) {
  const std::string invoice = std::string(TAVREL_SOURCE_DIR) + "/report/tests/fixtures/faktura_strony.fr3";
  std::string out, err;
  EXPECT_EQ(Run({"check", invoice}, out, err), 0) << err;
  EXPECT_EQ(err, "");
  EXPECT_EQ(Run({"tree", invoice}, out, err), 0) << err;
  EXPECT_EQ(out.substr(0, out.find("    TfrxChild")),
            "TfrxReport (0; 0; 0; 0)\n"
            "  TfrxDataPage Data (0; 0; 1000; 1000)\n"
            "  TfrxReportPage Page1 (0; 0; 794; 1123)\n"
            "    TfrxReportTitle ReportTitle1 (0; 18" + std::string(1, frxDecimalSeparator()) + "89765; 718" +
                std::string(1, frxDecimalSeparator()) + "1107; 60" + std::string(1, frxDecimalSeparator()) +
                "47248)\n"
                "      TfrxMemoView Tytul (0; 0; 718" + std::string(1, frxDecimalSeparator()) + "1107; 30)\n"
                "      TfrxMemoView Sprzedawca (0; 34; 350; 22)\n");
  // Normalising keeps the template as the report writes it: the same bytes.
  EXPECT_EQ(Run({"normalise", invoice, "-"}, out, err), 0) << err;
  EXPECT_EQ(out, Read(invoice));
  EXPECT_EQ(out.find("NewSilentMode"), std::string::npos);

  std::string broken = Write(
      "zla_faktura.fr3",
      "<?xml version=\"1.0\" encoding=\"utf-8\"?><TfrxReport><TfrxMasterData Name=\"MasterData1\"/>"
      "<TfrxReportPage Name=\"Page1\"><TfrxChild Name=\"Child1\" Child=\"Child1\"/><TfrxFooBar/>"
      "</TfrxReportPage></TfrxReport>");
  EXPECT_EQ(Run({"check", broken}, out, err), 1);
  EXPECT_EQ(err,
            "<TfrxMasterData Name=\"MasterData1\"> is skipped: a band belongs on a report page, not in TfrxReport\n"
            "Circular child reference is not allowed\n"
            "Nie znaleziono klasy TfrxFooBar\n");
}

}  // namespace
