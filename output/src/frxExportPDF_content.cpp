// Report views as PDF drawing operators: lines, shapes, memos (clip, fill, frame, text),
// and every other view as a JPEG inline image.

#include "frxExportPDF_content.h"

#include <algorithm>
#include <cmath>
#include <numbers>

#include "output/frxExportPDF_writer.h"
#include "platform/Canvas.h"
#include "platform/Picture.h"
#include "report/frxClassMemo.h"
#include "report/frxClassShapes.h"
#include "text/frxGraphicUtils.h"

namespace {

// Pixels at 96 per inch per point.
constexpr double kPixelsPerPoint = 96.0 / 72.0;
// Bezier control distance of a quarter ellipse, as a fraction of the half-axis.
constexpr double kKappa = 0.5522847498;
// The most pixels a rendered picture may have (about 48 MB of bitmap): a larger view,
// or a damaged size, is drawn at a lower scale instead of asking for a huge bitmap.
constexpr double kMaxImagePixels = 16.0 * 1024 * 1024;

bool IsBarcode(const TfrxView& view) { return view.ClassName() == "TfrxBarCodeView"; }

}  // namespace

TfrxPDFDocument::TPageContent::TPageContent(double widthPt, double heightPt, double leftMarginMm, double topMarginMm,
                                             TfrxPDFFonts& fonts, const TfrxPDFSettings& settings)
    : fonts_(fonts),
      settings_(settings),
      widthPt_(widthPt),
      heightPt_(heightPt),
      leftShift_(leftMarginMm * 0.05),
      topShift_(topMarginMm * 0.05) {
  out_.reserve(16384);
}

void TfrxPDFDocument::TPageContent::Op(std::initializer_list<double> operands, std::string_view op) {
  for (double v : operands) out_.append(PdfNumber(v)).push_back(' ');
  out_.append(op).append("\r\n");
}

void TfrxPDFDocument::TPageContent::StrokeColor(TColor color) { out_.append(PdfColor(color)).append(" RG\r\n"); }

void TfrxPDFDocument::TPageContent::FillColor(TColor color) { out_.append(PdfColor(color)).append(" rg\r\n"); }

void TfrxPDFDocument::TPageContent::Dash(int style, double w) {
  std::vector<double> lengths;
  switch (style) {
    case fsDash: lengths = {6 * w}; break;
    case fsDot: lengths = {2 * w, 6 * w}; break;
    case fsDashDot: lengths = {6 * w, 6 * w, 2 * w, 6 * w}; break;
    case fsDashDotDot: lengths = {6 * w, 6 * w, 2 * w, 6 * w, 2 * w, 6 * w}; break;
    default: break;
  }
  out_ += "[";
  for (double l : lengths) out_.append(PdfNumber(l)).push_back(' ');
  out_ += "] 0 d\r\n";
}

// --- lines and shapes -----------------------------------------------------------------

void TfrxPDFDocument::TPageContent::Line(const TfrxCustomLineView& view) {
  const TfrxFrame& frame = view.Frame();
  const double x1 = view.AbsLeft(), y1 = view.AbsTop();
  const double x2 = x1 + view.Width(), y2 = y1 + view.Height();
  Dash(frame.Style(), frame.Width());
  StrokeColor(frame.Color());
  Op({frame.Width() * 0.75}, "w");
  Op({X(x1), Y(y1)}, "m");
  Op({X(x2), Y(y2)}, "l");
  out_ += "S\r\n";

  auto arrow = [&](double tipX, double tipY, double fromX, double fromY) {
    const double dx = tipX - fromX, dy = tipY - fromY;
    const double length = std::hypot(dx, dy);
    if (length == 0) return;
    const double ux = dx / length, uy = dy / length;
    const double baseX = X(tipX) - ux * view.ArrowLength() * 0.75;
    const double baseY = Y(tipY) + uy * view.ArrowLength() * 0.75;  // page y runs up
    const double half = view.ArrowWidth() * 0.75;
    Op({baseX - uy * half, baseY - ux * half}, "m");
    Op({X(tipX), Y(tipY)}, "l");
    Op({baseX + uy * half, baseY + ux * half}, "l");
    if (view.ArrowSolid()) {
      out_ += "1 j\r\n";
      FillColor(frame.Color());
      out_ += "b\r\n";
    } else {
      out_ += "S\r\n";
    }
  };
  if (view.ArrowStart()) arrow(x1, y1, x2, y2);
  if (view.ArrowEnd()) arrow(x2, y2, x1, y1);
}

void TfrxPDFDocument::TPageContent::Shape(const TfrxShapeView& view) {
  const TfrxFrame& frame = view.Frame();
  const double l = view.AbsLeft(), t = view.AbsTop();
  const double r = l + view.Width(), b = t + view.Height();
  const TfrxShapeKind kind = view.Shape();
  const bool diagonal = kind == skDiagonal1 || kind == skDiagonal2;
  Dash(frame.Style(), frame.Width());
  StrokeColor(frame.Color());
  Op({frame.Width() * 0.75}, "w");
  if (!diagonal) FillColor(view.Color());
  auto m = [&](double x, double y) { Op({X(x), Y(y)}, "m"); };
  auto ln = [&](double x, double y) { Op({X(x), Y(y)}, "l"); };
  auto c = [&](double x1, double y1, double x2, double y2, double x3, double y3) {
    Op({X(x1), Y(y1), X(x2), Y(y2), X(x3), Y(y3)}, "c");
  };
  switch (kind) {
    case skRectangle:
      Op({X(l), Y(b), view.Width() * 0.75, view.Height() * 0.75}, "re");
      break;
    case skRoundRectangle: {
      const double radius = view.Curve() == 0 ? 7.48 : view.Curve() * 3.74;
      const double h = radius / 2;
      m(l + radius, b);
      ln(r - radius, b);
      c(r - h, b, r, b - h, r, b - radius);
      ln(r, t + radius);
      c(r, t + h, r - h, t, r - radius, t);
      ln(l + radius, t);
      c(l + h, t, l, t + h, l, t + radius);
      ln(l, b - radius);
      c(l, b - h, l + h, b, l + radius, b);
      break;
    }
    case skEllipse: {
      const double a = (r - l) / 2, e = (b - t) / 2, cx = l + a, cy = t + e;
      const double ka = kKappa * a, ke = kKappa * e;
      m(r, cy);
      c(r, cy + ke, cx + ka, b, cx, b);
      c(cx - ka, b, l, cy + ke, l, cy);
      c(l, cy - ke, cx - ka, t, cx, t);
      c(cx + ka, t, r, cy - ke, r, cy);
      break;
    }
    case skTriangle:
      m((l + r) / 2, t);
      ln(r, b);
      ln(l, b);
      ln((l + r) / 2, t);
      break;
    case skDiamond:
      m((l + r) / 2, t);
      ln(r, (t + b) / 2);
      ln((l + r) / 2, b);
      ln(l, (t + b) / 2);
      ln((l + r) / 2, t);
      break;
    case skDiagonal1:
      m(l, b);
      ln(r, t);
      break;
    case skDiagonal2:
      m(l, t);
      ln(r, b);
      break;
  }
  out_ += diagonal || view.Color() == clTransparent ? "S\r\n" : "B\r\n";
}

// --- frames ---------------------------------------------------------------------------

void TfrxPDFDocument::TPageContent::FrameSide(const TfrxFrameLine& side, double x1, double y1, double x2, double y2) {
  Dash(side.Style(), side.Width());
  // A side may have a colour of its own.
  if (side.Color() != side.Frame()->Color()) StrokeColor(side.Color());
  Op({side.Width() * 0.75}, "w");
  Op({X(x1), Y(y1)}, "m");
  Op({X(x2), Y(y2)}, "l");
  out_ += "S\r\n";
  if (side.Color() != side.Frame()->Color()) StrokeColor(side.Frame()->Color());
}

void TfrxPDFDocument::TPageContent::Frame(const TfrxView& view) {
  const TfrxFrame& frame = view.Frame();
  if (frame.Typ() == 0 || frame.Color() == clTransparent) return;
  const double l = view.AbsLeft(), t = view.AbsTop();
  const double r = l + view.Width(), b = t + view.Height();
  StrokeColor(frame.Color());
  if (frame.Has(ftTop)) FrameSide(frame.TopLine(), l, t, r, t);
  if (frame.Has(ftRight)) FrameSide(frame.RightLine(), r, t, r, b);
  if (frame.Has(ftBottom)) FrameSide(frame.BottomLine(), l, b, r, b);
  if (frame.Has(ftLeft)) FrameSide(frame.LeftLine(), l, t, l, b);
}

// --- memos ----------------------------------------------------------------------------

bool TfrxPDFDocument::TPageContent::DrawnAsImage(const TfrxView& view) const {
  if (dynamic_cast<const TfrxCustomLineView*>(&view) || dynamic_cast<const TfrxShapeView*>(&view)) return false;
  const auto* memo = dynamic_cast<const TfrxCustomMemoView*>(&view);
  if (!memo) return true;
  if (memo->BrushStyle() != bsSolid && memo->BrushStyle() != bsClear) return true;
  return settings_.HTMLTags && memo->AllowHTMLTags() && memo->Text().find(u'<') != std::u16string::npos;
}

void TfrxPDFDocument::TPageContent::Memo(TfrxCustomMemoView& view) {
  const TfrxFrame& frame = view.Frame();
  const double l = view.AbsLeft(), t = view.AbsTop();
  const double w = view.Width(), h = view.Height();
  const double fw = frame.Typ() ? frame.Width() : 0;
  // The clip leaves room for the frame and for a shadow, which lies outside the memo.
  const double shadow = frame.DropShadow() ? frame.ShadowWidth() : 0;
  out_ += "q\r\n";
  Op({X(l - fw), Y(t + h + fw + shadow), (w + 2 * fw + shadow) * 0.75, (h + 2 * fw + shadow) * 0.75}, "re");
  out_ += "W\r\nn\r\n";
  if (frame.DropShadow()) {
    const double sw = frame.ShadowWidth();
    FillColor(frame.ShadowColor());
    StrokeColor(frame.ShadowColor());
    Op({X(l + w), Y(t + h + sw), sw * 0.75, (h) * 0.75}, "re");
    out_ += "B\r\n";
    Op({X(l + sw), Y(t + h + sw), w * 0.75, sw * 0.75}, "re");
    out_ += "B\r\n";
  }
  if (view.Color() != clTransparent) {
    FillColor(view.Color());
    Op({X(l), Y(t + h), w * 0.75, h * 0.75}, "re");
    out_ += "f\r\n";
  }
  Frame(view);
  MemoText(view);
  out_ += "Q\r\n";
}

void TfrxPDFDocument::TPageContent::MemoText(TfrxCustomMemoView& view) {
  TfrxDrawText& engine = view.LayoutEngine();
  TfrxDrawTextLock lock(engine);
  view.LayOutAt100(engine);
  const TWideStrings& lines = engine.WrappedLines();
  const TFont& font = view.Font();
  const double sizePx = font.Size * kPixelsPerPoint;
  const double pitch = engine.LinePitch();
  const double l = view.AbsLeft(), t = view.AbsTop();
  const double w = view.Width(), h = view.Height();
  const double fw = view.Frame().Typ() ? view.Frame().Width() : 0;

  if (view.Underlines() && pitch > 0) {
    StrokeColor(view.Frame().Color());
    Op({view.Frame().Width() * 0.75}, "w");
    for (double y = t + view.GapY() + pitch; y <= t + h; y += pitch) {
      Op({X(l), Y(y)}, "m");
      Op({X(l + w), Y(y)}, "l");
      out_ += "S\r\n";
    }
  }
  if (lines.Empty()) return;

  TfrxPDFFont& pdfFont = fonts_[fonts_.SelectPDFFont(font)];
  out_.append(pdfFont.ResourceName()).append(" ").append(std::to_string(font.Size)).append(" Tf\r\n");
  FillColor(font.Color == clTransparent || font.Color == clNone ? clBlack : font.Color);
  if (view.CharSpacing() != 0) Op({view.CharSpacing() * 0.75}, "Tc");

  // The text box in pixels, relative to the memo's corner or, rotated, to its centre.
  const int rotation = ((view.Rotation() % 360) + 360) % 360;
  const bool turned = (rotation >= 45 && rotation <= 135) || (rotation >= 225 && rotation <= 315);
  const double boxW = turned ? h : w, boxH = turned ? w : h;
  double originX = l, originY = t;  // pixels, page space
  if (rotation != 0) {
    const double a = rotation * std::numbers::pi / 180;
    const double cx = X(l + w / 2), cy = Y(t + h / 2);
    Op({std::cos(a), std::sin(a), -std::sin(a), std::cos(a), cx, cy}, "cm");
  }
  // Maps a box position (pixels from the box's top-left) to the current user space.
  auto boxX = [&](double x) { return rotation == 0 ? X(originX + x) : (x - boxW / 2) * 0.75; };
  auto boxY = [&](double y) { return rotation == 0 ? Y(originY + y) : (boxH / 2 - y) * 0.75; };

  const double blockHeight = engine.TextBlockHeight();
  const double freeHeight = boxH - 2 * view.GapY() - 2 * fw / 2 - blockHeight;
  double top = view.GapY() + fw / 2;
  if (view.VAlign() == vaBottom) top += freeHeight;
  if (view.VAlign() == vaCenter) top += freeHeight / 2;
  const double baselineLift = rotation == 0 ? 0.1 * sizePx : 0.4 * sizePx;
  const double textWidth = boxW - 2 * view.GapX() - fw;
  const double sizePt = font.Size;
  const double spacingPt = view.CharSpacing() * 0.75;

  for (int i = 0; i < lines.Count(); ++i) {
    const std::u16string& text = lines[i];
    if (text.empty()) continue;
    const TfrxPDFGlyphLine glyphs = pdfFont.TextToGlyphs(text, view.RTLReading());
    const double widthPt = glyphs.Advance * sizePt / 1000 + spacingPt * static_cast<double>(glyphs.Glyphs.size());
    const double widthPx = widthPt / 0.75;
    double x = view.GapX() + fw / 2 + 0.01 * sizePx;
    if (i == 0 || (lines.Flags(i) & frxFirstLineOfParagraph)) x += view.ParagraphGap();
    const double free = textWidth - widthPx;
    if (view.HAlign() == haRight) x += free - view.CharSpacing() * 0.75;
    if (view.HAlign() == haCenter) x += free / 2;
    const double y = top - baselineLift + (i + 1) * pitch;
    out_ += "BT\r\n";
    Op({boxX(x), boxY(y)}, "Td");
    out_ += "<";
    for (uint16_t g : glyphs.Glyphs) out_ += PdfHex4(g);
    out_ += "> Tj\r\nET\r\n";
    const auto decorate = [&](double shift) {
      StrokeColor(font.Color == clTransparent || font.Color == clNone ? clBlack : font.Color);
      Op({0.08 * sizePt}, "w");
      Op({boxX(x), boxY(y) + shift}, "m");
      Op({boxX(x) + widthPt, boxY(y) + shift}, "l");
      out_ += "S\r\n";
    };
    if (font.has(fsUnderline)) decorate(-0.12 * sizePt);
    if (font.has(fsStrikeOut)) decorate(0.28 * sizePt);
  }
}

// --- pictures -------------------------------------------------------------------------

void TfrxPDFDocument::TPageContent::Image(TfrxView& view) {
  const double w = view.Width(), h = view.Height();
  if (!(w > 0 && h > 0 && std::isfinite(w) && std::isfinite(h))) return;
  const auto* memo = dynamic_cast<const TfrxCustomMemoView*>(&view);
  const bool plainBrush = view.BrushStyle() == bsSolid || view.BrushStyle() == bsClear;
  double k = (settings_.PrintOptimized || memo) && plainBrush ? 3 : (IsBarcode(view) && !settings_.PrintOptimized ? 2 : 1);
  if ((k + k * w) * (k + k * h) > kMaxImagePixels) k = std::sqrt(kMaxImagePixels / ((1 + w) * (1 + h)));
  const double pixelsW = std::max(1.0, k + std::round(k * w));
  const double pixelsH = std::max(1.0, k + std::round(k * h));

  // The view draws itself without its frame, which goes out as vectors.
  const TfrxFrameTypes sides = view.Frame().Typ();
  view.Frame().SetTyp(0);
  std::vector<uint8_t> jpeg;
  try {
    std::unique_ptr<TBitmap> bitmap =
        NewBitmap(static_cast<int>(pixelsW), static_cast<int>(pixelsH), TPixelFormat::pf24bit);
    view.Draw(bitmap->Canvas(), k, k, -view.AbsLeft() * k, -view.AbsTop() * k);
    jpeg = EncodeJpeg(bitmap->Pixels(), IsBarcode(view) ? 95 : 90);
  } catch (...) {
    view.Frame().SetTyp(sides);
    throw;
  }
  view.Frame().SetTyp(sides);

  out_ += "q\r\n";
  Op({w * 0.75, 0, 0, h * 0.75, X(view.AbsLeft()), Y(view.AbsTop() + h)}, "cm");
  out_ += "BI\r\n/W " + std::to_string(static_cast<int>(pixelsW)) + "\r\n/H " +
          std::to_string(static_cast<int>(pixelsH)) + "\r\n/CS /RGB\r\n/BPC 8\r\n/I true\r\n/F [/DCT]\r\nID\r\n";
  out_.append(reinterpret_cast<const char*>(jpeg.data()), jpeg.size());
  out_ += "\r\nEI\r\nQ\r\n";
  Frame(view);
}
