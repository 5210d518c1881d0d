#include <gtest/gtest.h>

#include "platform/Paper.h"

namespace {

TEST(Paper, StandardCodesGiveTheirSizeInMillimetres) {
  struct Case {
    int code;
    double width, height;
    std::string_view name;
  } cases[] = {
      {9, 210, 297, "A4"},           {8, 297, 420, "A3"},          {11, 148, 210, "A5"},
      {1, 215.9, 279.4, "Letter"},   {5, 215.9, 355.6, "Legal"},   {27, 110, 220, "Envelope DL"},
      {28, 162, 229, "Envelope C5"}, {4, 431.8, 279.4, "Ledger"},  {68, 322, 445, "A3 Extra Transverse"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    std::optional<paper::TPaperDimensions> size = paper::DimensionsOf(c.code);
    ASSERT_TRUE(size);
    EXPECT_DOUBLE_EQ(size->Width, c.width);
    EXPECT_DOUBLE_EQ(size->Height, c.height);
    ASSERT_NE(paper::Find(c.code), nullptr);
    EXPECT_EQ(paper::Find(c.code)->Name, c.name);
  }
}

TEST(Paper, UserDefinedReservedAndUnknownCodesAreNotInTheTable) {
  for (int code : {paper::kCustomPaper, 0, -1, 48, 49, 69, 1000}) {
    EXPECT_FALSE(paper::DimensionsOf(code)) << code;
    EXPECT_EQ(paper::Find(code), nullptr) << code;
  }
  EXPECT_EQ(paper::Sizes().size(), 66u);
}

TEST(Paper, DefaultPrinterPaperIsA4PortraitUnlessASourceKnowsBetter) {
  paper::TPrinterPaper none = paper::DefaultPrinterPaper();
  EXPECT_EQ(none.Code, 9);
  EXPECT_EQ(none.Width, 210);
  EXPECT_EQ(none.Height, 297);
  EXPECT_FALSE(none.Landscape);

  paper::SetDefaultPrinterPaperSource([] { return paper::TPrinterPaper{5, 355.6, 215.9, true}; });
  paper::TPrinterPaper legal = paper::DefaultPrinterPaper();
  EXPECT_EQ(legal.Code, 5);
  EXPECT_EQ(legal.Width, 355.6);
  EXPECT_TRUE(legal.Landscape);

  // A source without a printer falls back as no source does.
  paper::SetDefaultPrinterPaperSource([] { return std::optional<paper::TPrinterPaper>(); });
  EXPECT_EQ(paper::DefaultPrinterPaper().Code, 9);
  paper::SetDefaultPrinterPaperSource(nullptr);
}

}  // namespace
