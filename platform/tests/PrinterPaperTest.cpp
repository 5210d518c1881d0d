#include <gtest/gtest.h>

#include <QPageSize>
#include <QSizeF>

#include "platform/Printers.h"

namespace {

TEST(PrinterPaper, PageSizesGiveTheirPaperCodeAndMillimetres) {
  struct Case {
    QPageSize size;
    int code;
    double width, height;
  } cases[] = {
      {QPageSize(QPageSize::A4), 9, 210, 297},
      {QPageSize(QPageSize::A5), 11, 148, 210},
      {QPageSize(QPageSize::Legal), 5, 215.9, 355.6},
      {QPageSize(QPageSize::DLE), 27, 110, 220},
      {QPageSize(QSizeF(100, 50), QPageSize::Millimeter), paper::kCustomPaper, 100, 50},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.code);
    paper::TPrinterPaper p = printers::PaperOf(c.size);
    EXPECT_EQ(p.Code, c.code);
    EXPECT_NEAR(p.Width, c.width, 0.05);
    EXPECT_NEAR(p.Height, c.height, 0.05);
    EXPECT_FALSE(p.Landscape);
  }
}

}  // namespace
