// The printer page and widget surfaces exist and draw.
#include <gtest/gtest.h>

#include <QFile>
#include <QImage>
#include <QPixmap>
#include <QPrinter>
#include <QTemporaryDir>
#include <QWidget>

#include "GuiTestApp.h"
#include "platform/QtCanvas.h"

namespace {

TEST(PrinterCanvasTest, PrintsPagesIntoAPdfFile) {
  EnsureGuiApp();
  QTemporaryDir dir;
  const QString path = dir.filePath("faktura.pdf");
  QPrinter printer(QPrinter::HighResolution);
  printer.setOutputFormat(QPrinter::PdfFormat);
  printer.setOutputFileName(path);
  {
    TPrinterCanvas canvas(printer);
    ASSERT_TRUE(canvas.Active());
    EXPECT_TRUE(canvas.IsPrinter());
    EXPECT_EQ(canvas.PixelsPerInchX(), printer.resolution());
    EXPECT_GT(canvas.SurfaceSize().Width, 5 * printer.resolution());  // most of an A4 width
    canvas.SetBrush({clRed, bsSolid});
    canvas.FillRect({100, 100, 1000, 400});
    canvas.SetFont(CanvasFont(TFont{}, canvas.PixelsPerInchY()));
    canvas.TextOut(100, 500, "Strona 1");
    TPen xorPen;  // printers cannot invert: drawn as a plain pen
    xorPen.Mode = pmXor;
    canvas.SetPen(xorPen);
    canvas.MoveTo(100, 700);
    canvas.LineTo(1000, 700);
    ASSERT_TRUE(canvas.NewPage());
    canvas.TextOut(100, 500, "Strona 2");
    canvas.EndDoc();
    EXPECT_FALSE(canvas.Active());
  }
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadOnly));
  const QByteArray pdf = file.readAll();
  EXPECT_TRUE(pdf.startsWith("%PDF"));
  EXPECT_EQ(pdf.count("/Type /Page\n"), 2);
}

class PaintedWidget : public QWidget {
 protected:
  void paintEvent(QPaintEvent*) override {
    TWidgetCanvas canvas(*this);
    canvas.SetBrush({clBlue, bsSolid});
    canvas.FillRect({0, 0, canvas.SurfaceSize().Width, canvas.SurfaceSize().Height});
    canvas.SetBrush({clRed, bsSolid});
    canvas.FillRect({10, 10, 20, 20});
  }
};

TEST(WidgetCanvasTest, DrawsInThePaintEvent) {
  EnsureGuiApp();
  PaintedWidget widget;
  widget.resize(40, 30);
  const QImage image = widget.grab().toImage();
  ASSERT_FALSE(image.isNull());
  const qreal ratio = image.devicePixelRatio();
  EXPECT_EQ(image.pixelColor(int(15 * ratio), int(15 * ratio)), QColor(255, 0, 0));
  EXPECT_EQ(image.pixelColor(int(25 * ratio), int(15 * ratio)), QColor(0, 0, 255));
  EXPECT_EQ(image.pixelColor(int(9 * ratio), int(9 * ratio)), QColor(0, 0, 255));
}

}  // namespace
