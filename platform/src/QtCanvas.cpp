#include "platform/QtCanvas.h"

#include <QGlyphRun>
#include <QImage>
#include <QPaintEngine>
#include <QPrinter>
#include <QRawFont>
#include <QSvgRenderer>
#include <QWidget>
#include <algorithm>
#include <map>
#include <tuple>

#include "platform/Fonts.h"

namespace {

bool Invisible(TColor c) { return c == clTransparent || c == clNone; }

QColor ToQColor(TColor c) { return QColor(RedOf(c), GreenOf(c), BlueOf(c)); }

QRect ToQRect(const TRect& r) { return QRect(r.Left, r.Top, r.Width(), r.Height()); }

// The styles' patterns in device pixels, on and off alternately.
std::vector<int> StylePattern(TPenStyle style) {
  switch (style) {
    case psDash: return {18, 6};
    case psDot: return {3, 3};
    case psDashDot: return {9, 6, 3, 6};
    case psDashDotDot: return {9, 3, 3, 3, 3, 3};
    default: return {};
  }
}

std::vector<int> PenPattern(const TPen& pen) {
  if (pen.Geometric && !pen.UserDashes.empty()) {
    std::vector<int> dashes = pen.UserDashes;
    if (dashes.size() % 2 == 1) dashes.push_back(dashes.back());
    for (int& d : dashes) d = std::max(d, 0);
    // A pattern that covers no length at all would never advance.
    int total = 0;
    for (int d : dashes) total += d;
    if (total == 0) return {};
    return dashes;
  }
  return StylePattern(pen.Style);
}

// One 8-pixel tile of a hatch, anchored at the device origin.
QImage HatchTile(TBrushStyle style, TColor color) {
  QImage tile(8, 8, QImage::Format_ARGB32_Premultiplied);
  tile.fill(Qt::transparent);
  const QRgb ink = ToQColor(color).rgba();
  for (int y = 0; y < 8; ++y) {
    for (int x = 0; x < 8; ++x) {
      const bool horizontal = y == 7;
      const bool vertical = x == 7;
      const bool falling = ((x - y) % 8 + 8) % 8 == 0;
      const bool rising = (x + y) % 8 == 7;
      bool on = false;
      switch (style) {
        case bsHorizontal: on = horizontal; break;
        case bsVertical: on = vertical; break;
        case bsFDiagonal: on = falling; break;
        case bsBDiagonal: on = rising; break;
        case bsCross: on = horizontal || vertical; break;
        case bsDiagCross: on = falling || rising; break;
        default: break;
      }
      if (on) tile.setPixel(x, y, ink);
    }
  }
  return tile;
}

std::optional<QBrush> ToQBrush(const TBrush& brush) {
  if (brush.Style == bsClear || Invisible(brush.Color)) return std::nullopt;
  if (brush.Style == bsSolid) return QBrush(ToQColor(brush.Color));
  return QBrush(HatchTile(brush.Style, brush.Color));
}

// QRawFont of a font file at one pixel size; kept per thread, as Qt's font engines are.
const QRawFont& RawFont(const TFontInstance& font) {
  using Key = std::tuple<std::string, int, long>;
  struct Entry {
    std::shared_ptr<const TFontFile> file;
    QRawFont raw;
  };
  thread_local std::map<Key, Entry> cache;
  const long size64 = std::lround(font.EmPixels() * 64);
  Key key{font.File().Ref().Path, font.File().Ref().FaceIndex, size64};
  auto it = cache.find(key);
  if (it == cache.end()) {
    if (cache.size() > 256) cache.clear();
    Entry e;
    e.file = font.SharedFile();
    const auto& bytes = e.file->FileBytes();
    e.raw = QRawFont(QByteArray::fromRawData(reinterpret_cast<const char*>(bytes.data()),
                                             static_cast<qsizetype>(bytes.size())),
                     font.EmPixels(), QFont::PreferNoHinting);
    it = cache.emplace(key, std::move(e)).first;
  }
  return it->second.raw;
}

// A picture as a QImage; the transparent colour becomes alpha 0.
QImage ToQImage(const TRasterImage& picture, TColor transparent) {
  QImage image;
  switch (picture.Format()) {
    case TPixelFormat::pf24bit:
      image = QImage(picture.Row(0), picture.Width(), picture.Height(),
                     static_cast<qsizetype>(picture.Stride()), QImage::Format_RGB888);
      break;
    case TPixelFormat::pf32bit:
      image = QImage(picture.Row(0), picture.Width(), picture.Height(),
                     static_cast<qsizetype>(picture.Stride()), QImage::Format_RGBA8888);
      break;
    case TPixelFormat::pf1bit:
      image = QImage(picture.Row(0), picture.Width(), picture.Height(),
                     static_cast<qsizetype>(picture.Stride()), QImage::Format_Mono);
      image.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
      break;
  }
  if (Invisible(transparent)) return image;
  QImage keyed = image.convertToFormat(QImage::Format_ARGB32);
  const QRgb key = ToQColor(transparent).rgb() & 0xFFFFFF;
  for (int y = 0; y < keyed.height(); ++y) {
    auto* row = reinterpret_cast<QRgb*>(keyed.scanLine(y));
    for (int x = 0; x < keyed.width(); ++x)
      if ((row[x] & 0xFFFFFF) == key) row[x] = 0;
  }
  return keyed;
}

}  // namespace

TPainterCanvas::TPainterCanvas(QPainter& painter, TSize size, int pixelsPerInchX,
                               int pixelsPerInchY, bool printer)
    : painter_(&painter), size_(size), ppiX_(pixelsPerInchX), ppiY_(pixelsPerInchY),
      printer_(printer) {
  Setup();
}

TPainterCanvas::TPainterCanvas(std::unique_ptr<QPainter> painter, TSize size,
                               int pixelsPerInchX, int pixelsPerInchY, bool printer)
    : owned_(std::move(painter)), painter_(owned_.get()), size_(size), ppiX_(pixelsPerInchX),
      ppiY_(pixelsPerInchY), printer_(printer) {
  Setup();
}

TPainterCanvas::~TPainterCanvas() = default;

void TPainterCanvas::Setup() {
  if (!painter_->isActive()) return;
  painter_->setRenderHint(QPainter::Antialiasing, false);
  painter_->setRenderHint(QPainter::TextAntialiasing, true);
  painter_->setBackgroundMode(Qt::TransparentMode);
  painter_->setClipping(false);
}

bool TPainterCanvas::Ready() {
  if (painter_ == nullptr || !painter_->isActive()) return false;
  ++changes_;
  return true;
}

QPainter::CompositionMode TPainterCanvas::PenComposition() const {
  const bool rasterOps = painter_->paintEngine() != nullptr &&
                         painter_->paintEngine()->hasFeature(QPaintEngine::RasterOpModes);
  if (rasterOps && Pen().Mode == pmXor) return QPainter::RasterOp_SourceXorDestination;
  if (rasterOps && Pen().Mode == pmNot) return QPainter::RasterOp_NotDestination;
  return QPainter::CompositionMode_SourceOver;
}

void TPainterCanvas::FillSpan(const QRect& r, TColor color) {
  if (r.isEmpty()) return;
  painter_->fillRect(r, ToQColor(color));
}

void TPainterCanvas::FillWithBrush(const QRect& r) {
  if (r.isEmpty()) return;
  if (auto brush = ToQBrush(Brush())) painter_->fillRect(r, *brush);
}

// ---- lines ----------------------------------------------------------------------

void TPainterCanvas::DrawLine(TPoint from, TPoint to) {
  if (!Ready()) return;
  PenLine(from, to);
}

void TPainterCanvas::PenLine(TPoint from, TPoint to) {
  const TPen& pen = Pen();
  if (pen.Style == psClear || Invisible(pen.Color) || from == to) return;
  painter_->save();
  painter_->setCompositionMode(PenComposition());
  if (from.X == to.X || from.Y == to.Y)
    AxisLine(from, to);
  else
    SlantedLine(from, to);
  painter_->restore();
}

void TPainterCanvas::AxisLine(TPoint from, TPoint to) {
  const TPen& pen = Pen();
  const int w = std::max(1, pen.Width);
  const int before = w / 2;           // offsets -before .. after around a point
  const int after = w - before - 1;
  const bool horizontal = from.Y == to.Y;
  const int s = horizontal ? from.X : from.Y;
  const int e = horizontal ? to.X : to.Y;
  const int cross = horizontal ? from.Y : from.X;
  const int dir = e > s ? 1 : -1;
  const int length = std::abs(e - s);
  const bool caps = pen.Geometric && pen.Cap != pcFlat;
  const bool discs = caps && pen.Cap == pcRound && w > 2;
  const QColor color = ToQColor(pen.Color);

  // Fills the absolute span [a, b] along the line, across the pen's width.
  auto span = [&](int a, int b) {
    if (b < a) return;
    const QRect r = horizontal ? QRect(a, cross - before, b - a + 1, w)
                               : QRect(cross - before, a, w, b - a + 1);
    painter_->fillRect(r, color);
  };
  auto disc = [&](int p) {
    const QRect box = horizontal ? QRect(p - before, cross - before, w, w)
                                 : QRect(cross - before, p - before, w, w);
    painter_->setPen(Qt::NoPen);
    painter_->setBrush(color);
    painter_->drawEllipse(box);
  };
  // One dash from body position k0 to k1 (k1 excluded for flat ends).
  auto dash = [&](int k0, int k1) {
    const int p0 = s + dir * k0;
    const int p1 = s + dir * k1;
    if (!caps) {
      if (k1 > k0) span(dir > 0 ? p0 : p1 + 1, dir > 0 ? p1 - 1 : p0);
    } else if (discs) {
      if (k1 > k0) span(std::min(p0, p1), std::max(p0, p1));
      disc(p0);
      disc(p1);
    } else {
      span(std::min(p0, p1) - before, std::max(p0, p1) + after);
    }
  };

  const std::vector<int> pattern = PenPattern(pen);
  if (pattern.empty()) {
    dash(0, length);
    return;
  }
  int k = 0;
  size_t i = 0;
  while (k < length) {
    const int run = pattern[i];
    if (i % 2 == 0) dash(k, std::min(k + run, length));
    k += run;
    i = (i + 1) % pattern.size();
  }
}

void TPainterCanvas::SlantedLine(TPoint from, TPoint to) {
  const TPen& pen = Pen();
  const int w = std::max(1, pen.Width);
  QPen qpen(ToQColor(pen.Color));
  qpen.setWidth(w);
  qpen.setJoinStyle(Qt::MiterJoin);
  if (!pen.Geometric || pen.Cap == pcFlat)
    qpen.setCapStyle(Qt::FlatCap);
  else
    qpen.setCapStyle(pen.Cap == pcRound ? Qt::RoundCap : Qt::SquareCap);
  const std::vector<int> pattern = PenPattern(pen);
  if (!pattern.empty()) {
    QList<qreal> dashes;
    for (int d : pattern) dashes.push_back(static_cast<qreal>(d) / w);
    qpen.setDashPattern(dashes);
  }
  painter_->setPen(qpen);
  painter_->drawLine(QPointF(from.X + 0.5, from.Y + 0.5), QPointF(to.X + 0.5, to.Y + 0.5));
}

void TPainterCanvas::Polyline(std::span<const TPoint> points) {
  if (points.size() < 2 || !Ready()) return;
  for (size_t i = 0; i + 1 < points.size(); ++i) PenLine(points[i], points[i + 1]);
}

// ---- shapes ---------------------------------------------------------------------

void TPainterCanvas::Polygon(std::span<const TPoint> points) {
  if (points.size() < 2 || !Ready()) return;
  if (auto brush = ToQBrush(Brush()); brush && points.size() >= 3) {
    QPolygon poly;
    for (TPoint p : points) poly << QPoint(p.X, p.Y);
    painter_->save();
    painter_->setPen(Qt::NoPen);
    painter_->setBrush(*brush);
    painter_->drawPolygon(poly, Qt::OddEvenFill);
    painter_->restore();
  }
  for (size_t i = 0; i < points.size(); ++i) PenLine(points[i], points[(i + 1) % points.size()]);
}

void TPainterCanvas::OutlineBox(const TRect& r) {
  const TPen& pen = Pen();
  if (pen.Style == psClear || Invisible(pen.Color)) return;
  const int right = r.Right - 1;
  const int bottom = r.Bottom - 1;
  if (!PenPattern(pen).empty()) {
    PenLine({r.Left, r.Top}, {right, r.Top});
    PenLine({right, r.Top}, {right, bottom});
    PenLine({right, bottom}, {r.Left, bottom});
    PenLine({r.Left, bottom}, {r.Left, r.Top});
    return;
  }
  // A solid outline as four bands that do not overlap, so an inverting pen inverts
  // each pixel once.
  const int w = std::max(1, pen.Width);
  const int before = w / 2;
  const int after = w - before;  // exclusive
  const int x0 = r.Left - before, x1 = right + after;
  const int topEnd = std::min(r.Top + after, bottom + after);
  const int bottomStart = std::max(bottom - before, topEnd);
  painter_->save();
  painter_->setCompositionMode(PenComposition());
  FillSpan(QRect(QPoint(x0, r.Top - before), QPoint(x1 - 1, topEnd - 1)), pen.Color);
  FillSpan(QRect(QPoint(x0, bottomStart), QPoint(x1 - 1, bottom + after - 1)), pen.Color);
  const int midTop = topEnd, midBottom = bottomStart;  // rows between the two bands
  const int leftEnd = std::min(r.Left + after, right - before);
  FillSpan(QRect(QPoint(x0, midTop), QPoint(leftEnd - 1, midBottom - 1)), pen.Color);
  FillSpan(QRect(QPoint(std::max(right - before, leftEnd), midTop), QPoint(x1 - 1, midBottom - 1)),
           pen.Color);
  painter_->restore();
}

void TPainterCanvas::Rectangle(const TRect& r) {
  if (r.IsEmpty() || !Ready()) return;
  FillWithBrush(ToQRect(r));
  OutlineBox(r);
}

void TPainterCanvas::FillRect(const TRect& r) {
  if (r.IsEmpty() || !Ready()) return;
  FillWithBrush(ToQRect(r));
}

void TPainterCanvas::SetPixel(int x, int y, TColor color) {
  if (Invisible(color) || !Ready()) return;
  painter_->fillRect(QRect(x, y, 1, 1), ToQColor(color));
}

namespace {
QPen OutlinePen(const TPen& pen) {
  QPen qpen(ToQColor(pen.Color));
  const int w = std::max(1, pen.Width);
  qpen.setWidth(w);
  qpen.setJoinStyle(Qt::MiterJoin);
  qpen.setCapStyle(Qt::FlatCap);
  const std::vector<int> pattern = PenPattern(pen);
  if (!pattern.empty()) {
    QList<qreal> dashes;
    for (int d : pattern) dashes.push_back(static_cast<qreal>(std::max(d, 1)) / w);
    qpen.setDashPattern(dashes);
  }
  return qpen;
}
}  // namespace

void TPainterCanvas::Ellipse(const TRect& r) {
  if (r.IsEmpty() || !Ready()) return;
  painter_->save();
  if (auto brush = ToQBrush(Brush())) {
    painter_->setPen(Qt::NoPen);
    painter_->setBrush(*brush);
    painter_->drawEllipse(QRectF(r.Left, r.Top, r.Width(), r.Height()));
  }
  if (Pen().Style != psClear && !Invisible(Pen().Color)) {
    painter_->setCompositionMode(PenComposition());
    painter_->setPen(OutlinePen(Pen()));
    painter_->setBrush(Qt::NoBrush);
    painter_->drawEllipse(QRectF(r.Left + 0.5, r.Top + 0.5, r.Width() - 1, r.Height() - 1));
  }
  painter_->restore();
}

void TPainterCanvas::RoundRect(const TRect& r, int cornerWidth, int cornerHeight) {
  if (r.IsEmpty() || !Ready()) return;
  const qreal rx = std::clamp(cornerWidth / 2.0, 0.0, r.Width() / 2.0);
  const qreal ry = std::clamp(cornerHeight / 2.0, 0.0, r.Height() / 2.0);
  painter_->save();
  if (auto brush = ToQBrush(Brush())) {
    painter_->setPen(Qt::NoPen);
    painter_->setBrush(*brush);
    painter_->drawRoundedRect(QRectF(r.Left, r.Top, r.Width(), r.Height()), rx, ry);
  }
  if (Pen().Style != psClear && !Invisible(Pen().Color)) {
    painter_->setCompositionMode(PenComposition());
    painter_->setPen(OutlinePen(Pen()));
    painter_->setBrush(Qt::NoBrush);
    painter_->drawRoundedRect(QRectF(r.Left + 0.5, r.Top + 0.5, r.Width() - 1, r.Height() - 1),
                              rx, ry);
  }
  painter_->restore();
}

// ---- pictures -------------------------------------------------------------------

void TPainterCanvas::StretchDraw(const TRect& dest, const TRasterImage& picture,
                                 TColor transparentColor, bool smooth) {
  if (picture.Empty() || dest.Width() == 0 || dest.Height() == 0 || !Ready()) return;
  QImage image = ToQImage(picture, transparentColor);
  // Reversed extents mirror the picture.
  const bool mirrorX = dest.Width() < 0, mirrorY = dest.Height() < 0;
  if (mirrorX || mirrorY) image = image.mirrored(mirrorX, mirrorY);
  const QRect target(std::min(dest.Left, dest.Right), std::min(dest.Top, dest.Bottom),
                     std::abs(dest.Width()), std::abs(dest.Height()));
  painter_->save();
  painter_->setCompositionMode(QPainter::CompositionMode_SourceOver);
  if (smooth && target.width() < image.width() && target.height() < image.height()) {
    // Shrinking averages the pixels it drops.
    painter_->drawImage(target.topLeft(),
                        image.scaled(target.size(), Qt::IgnoreAspectRatio, Qt::SmoothTransformation));
  } else {
    painter_->setRenderHint(QPainter::SmoothPixmapTransform, smooth);
    painter_->drawImage(target, image);
  }
  painter_->restore();
}

void TPainterCanvas::DrawVectorPicture(const TRect& dest, const TVectorPicture& picture) {
  if (picture.Svg.empty() || dest.Width() == 0 || dest.Height() == 0 || !Ready()) return;
  QSvgRenderer renderer(QByteArray(picture.Svg.data(), static_cast<qsizetype>(picture.Svg.size())));
  if (!renderer.isValid()) throw TPictureError("the vector picture could not be read");
  painter_->save();
  painter_->setCompositionMode(QPainter::CompositionMode_SourceOver);
  painter_->setRenderHint(QPainter::Antialiasing, true);
  // A metafile's drawing may reach past its frame: the picture stays in its rectangle.
  const QRectF target(std::min(dest.Left, dest.Right), std::min(dest.Top, dest.Bottom), std::abs(dest.Width()),
                      std::abs(dest.Height()));
  painter_->setClipRect(target, Qt::IntersectClip);
  renderer.render(painter_, target);
  painter_->restore();
}

// ---- text -----------------------------------------------------------------------

void TPainterCanvas::DrawGlyphRun(const TGlyphRun& run) {
  if (Invisible(Font().Color) || !Ready()) return;
  const TFontInstance& font = SelectedFont();
  const QRawFont& raw = RawFont(font);
  if (!raw.isValid()) return;
  const int ascent = font.Metrics().Ascent;

  QList<quint32> glyphs;
  QList<QPointF> positions;
  glyphs.reserve(static_cast<qsizetype>(run.Glyphs.size()));
  positions.reserve(static_cast<qsizetype>(run.Glyphs.size()));
  for (size_t i = 0; i < run.Glyphs.size(); ++i) {
    glyphs.push_back(run.Glyphs[i]);
    positions.push_back(QPointF(run.Positions[i], ascent));
  }
  QGlyphRun glyphRun;
  glyphRun.setRawFont(raw);
  glyphRun.setGlyphIndexes(glyphs);
  glyphRun.setPositions(positions);

  painter_->save();
  painter_->setCompositionMode(QPainter::CompositionMode_SourceOver);
  if (run.Flags & etoClipped) {
    const TRect clip = clip_ ? clip_->Intersected(run.Clip) : run.Clip;
    painter_->setClipRect(ToQRect(clip));
  }
  painter_->translate(run.Origin.X, run.Origin.Y);
  if (Font().Escapement % 3600 != 0) painter_->rotate(-Font().Escapement / 10.0);
  painter_->setPen(ToQColor(Font().Color));
  painter_->drawGlyphRun(QPointF(0, 0), glyphRun);

  if (Font().Style & (fsUnderline | fsStrikeOut)) {
    const TOutlineTextMetric om = font.OutlineMetrics();
    const QColor color = ToQColor(Font().Color);
    if (Font().Style & fsUnderline)
      painter_->fillRect(QRect(0, ascent + om.UnderlinePosition, run.Width, om.UnderlineThickness),
                         color);
    if (Font().Style & fsStrikeOut)
      painter_->fillRect(QRect(0, ascent - om.StrikeoutPosition, run.Width, om.StrikeoutThickness),
                         color);
  }
  painter_->restore();
}

// ---- clipping -------------------------------------------------------------------

void TPainterCanvas::ApplyClip() {
  if (painter_ == nullptr || !painter_->isActive()) return;
  if (clip_)
    painter_->setClipRect(ToQRect(*clip_));
  else
    painter_->setClipping(false);
}

void TPainterCanvas::SaveClip() { clipStack_.push_back(clip_); }

void TPainterCanvas::RestoreClip() {
  if (clipStack_.empty()) return;
  clip_ = clipStack_.back();
  clipStack_.pop_back();
  ApplyClip();
}

void TPainterCanvas::IntersectClip(const TRect& r) {
  clip_ = clip_ ? clip_->Intersected(r) : (r.IsEmpty() ? TRect{} : r);
  ApplyClip();
}

TRect TPainterCanvas::ClipBounds() const {
  const TRect whole{0, 0, size_.Width, size_.Height};
  return clip_ ? clip_->Intersected(whole) : whole;
}

// ---- widget and printer ---------------------------------------------------------

namespace {
std::unique_ptr<QPainter> BeginPainter(QPaintDevice& device) {
  auto painter = std::make_unique<QPainter>();
  painter->begin(&device);
  return painter;
}
}  // namespace

TWidgetCanvas::TWidgetCanvas(QWidget& widget)
    : TPainterCanvas(BeginPainter(widget), {widget.width(), widget.height()},
                     widget.logicalDpiX(), widget.logicalDpiY(), false) {}

TWidgetCanvas::~TWidgetCanvas() {
  if (Painter()->isActive()) Painter()->end();
}

namespace {
TSize PrintablePixels(QPrinter& printer) {
  const QRect r = printer.pageLayout().paintRectPixels(printer.resolution());
  return {r.width(), r.height()};
}
}  // namespace

TPrinterCanvas::TPrinterCanvas(QPrinter& printer)
    : TPainterCanvas(BeginPainter(printer), PrintablePixels(printer), printer.resolution(),
                     printer.resolution(), true),
      printer_(printer) {}

TPrinterCanvas::~TPrinterCanvas() { EndDoc(); }

bool TPrinterCanvas::Active() const {
  return Painter()->isActive();
}

bool TPrinterCanvas::NewPage() {
  if (!Active()) return false;
  const bool ok = printer_.newPage();
  Resize(PrintablePixels(printer_));
  return ok;
}

void TPrinterCanvas::EndDoc() {
  if (Active()) Painter()->end();
}
