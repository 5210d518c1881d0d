#include <gtest/gtest.h>

#include <string>

#include "script/fs_xml.h"

namespace {

TEST(FsXml, ReadsElementsAttributesAndComments) {
  TfsXMLDocument doc;
  doc.LoadFromString(
      "<?xml version=\"1.0\"?>\r\n"
      "<language text=\"PascalScript\">\n"
      "  <!-- settings <of> the parser -->\n"
      "  <parser><hexsequence Text=\"&#36;\" /></parser>\n"
      "  <empty/>\n"
      "  <rule node=\"a&quot;b\" err=\"err1\">ignored text<char text=\"&#60;\"/></RULE >\n"
      "</language>");
  const TfsXMLItem& root = doc.Root();
  EXPECT_EQ(root.Name(), "language");
  EXPECT_EQ(root.Prop("text"), "PascalScript");
  ASSERT_EQ(root.Count(), 3);
  EXPECT_EQ(root[0][0].Prop("TEXT"), "$");  // names compare without regard to case
  EXPECT_EQ(root[1].Name(), "empty");
  EXPECT_EQ(root[1].Count(), 0);
  EXPECT_EQ(root[2].Prop("node"), "a\"b");
  EXPECT_EQ(root[2].Prop("missing"), "");
  EXPECT_FALSE(root[2].HasProp("missing"));
  EXPECT_EQ(root[2][0].Prop("text"), "<");
  EXPECT_EQ(root[2][0].Parent(), &root[2]);
  EXPECT_EQ(root.FindItem("PARSER"), &root[0]);
}

TEST(FsXml, AttributeNameMustFollowABlank) {
  TfsXMLItem item("x", "subtext=\"no\" text=\"yes\"");
  EXPECT_EQ(item.Prop("text"), "yes");
}

TEST(FsXml, BrokenDocumentsAreInvalidFileFormat) {
  const char* cases[] = {
      "",                                         // no declaration
      "<root/>",                                  // first tag is not ?xml
      "<?xml version=\"1.0\"?>",                  // no element at all
      "<?xml?><a><b x=\"<\"/></a>",               // "<" inside a tag
      "<?xml?><a><b",                             // end of input inside a tag
      "<?xml?><a><b></a>",                        // wrong end tag
      "<?xml?><a><b/>",                           // element never closed
      "<?xml?><a><!-- comment never ends </a>",  // unterminated comment
      "<?xml?></a>",                              // end tag without element
  };
  for (const char* text : cases) {
    TfsXMLDocument doc;
    try {
      doc.LoadFromString(text);
      ADD_FAILURE() << "accepted: " << text;
    } catch (const EfsXMLError& e) {
      EXPECT_STREQ(e.what(), "Invalid file format") << text;
    }
    EXPECT_EQ(doc.Root().Count(), 0) << text;
  }
}

TEST(FsXml, DeepNestingStopsAtTheLimit) {
  std::string text = "<?xml?>";
  for (int i = 0; i < 200000; ++i) text += "<a>";
  TfsXMLDocument doc;
  try {
    doc.LoadFromString(text);
    FAIL() << "deep document accepted";
  } catch (const EfsXMLError& e) {
    EXPECT_NE(std::string(e.what()).find("limit is"), std::string::npos) << e.what();
  }
}

TEST(FsXml, WritesIndentedWithCrLfAndEmptyElements) {
  TfsXMLDocument doc;
  auto root = std::make_unique<TfsXMLItem>("program");
  TfsXMLItem& var = root->Add("var", "pos=\"1:1\"");
  var.Add("ident", "text=\"a\" pos=\"1:6\"");
  root->Add("types");
  doc.SetRoot(std::move(root));
  EXPECT_EQ(doc.SaveToString(true),
            "<?xml version=\"1.0\"?>\r\n"
            "<program>\r\n"
            "  <var pos=\"1:1\">\r\n"
            "    <ident text=\"a\" pos=\"1:6\"/>\r\n"
            "  </var>\r\n"
            "  <types/>\r\n"
            "</program>\r\n");
  EXPECT_EQ(doc.SaveToString(false),
            "<?xml version=\"1.0\"?>\r\n<program><var pos=\"1:1\"><ident text=\"a\" pos=\"1:6\"/></var><types/></program>");
}

TEST(FsXml, EscapedValuesComeBackUnchanged) {
  const std::string values[] = {
      "a\r\nb", "say \"hi\"", "<Dane.\"D1\">", "Tom & Jerry", "&#65; stays", "&quot; too", "&", "",
  };
  for (const std::string& value : values) {
    TfsXMLDocument doc;
    auto root = std::make_unique<TfsXMLItem>("string", "text=\"" + fsXMLEscape(value) + "\" pos=\"1:2\"");
    doc.SetRoot(std::move(root));
    TfsXMLDocument back;
    back.LoadFromString(doc.SaveToString(true));
    EXPECT_EQ(back.Root().Prop("text"), value);
    EXPECT_EQ(back.Root().Prop("pos"), "1:2");
  }
}

}  // namespace
