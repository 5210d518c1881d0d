#include "platform/Recording.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <variant>

#include "platform/Fonts.h"

namespace {

struct PenRec { TPen Pen; };
struct BrushRec { TBrush Brush; };
struct FontRec { TCanvasFont Font; };
struct LineRec { TPoint From, To; };
struct PolyRec { std::vector<TPoint> Points; bool Closed = false; };
enum class ShapeKind : uint8_t { Rectangle, RoundRect, Ellipse, Fill };
struct ShapeRec { ShapeKind Kind; TRect Rect; int CornerWidth = 0, CornerHeight = 0; };
struct PixelRec { TPoint At; TColor Color; };
struct TextRec {
  TPoint Origin;
  TTextOutFlags Flags = 0;
  TRect Clip;
  std::u16string Text;
  bool Wide = true;
  std::vector<int> Advances;
  TRect Bounds;
};
struct PictureRec {
  TRect Dest;
  std::shared_ptr<const TRasterImage> Picture;
  TColor Transparent = clNone;
  bool Smooth = false;
};
struct VectorRec {
  TRect Dest;
  std::shared_ptr<const TVectorPicture> Picture;
};
enum class ClipKind : uint8_t { Save, Restore, Intersect };
struct ClipRec { ClipKind Kind; TRect Rect; };

using Record = std::variant<PenRec, BrushRec, FontRec, LineRec, PolyRec, ShapeRec, PixelRec,
                            TextRec, PictureRec, VectorRec, ClipRec>;

// Maps recorded coordinates onto the target: nearest pixel, halves to even.
struct Mapping {
  double sx = 1, sy = 1, ox = 0, oy = 0;
  int X(int x) const { return static_cast<int>(std::lrint(ox + x * sx)); }
  int Y(int y) const { return static_cast<int>(std::lrint(oy + y * sy)); }
  TPoint P(TPoint p) const { return {X(p.X), Y(p.Y)}; }
  TRect R(const TRect& r) const { return {X(r.Left), Y(r.Top), X(r.Right), Y(r.Bottom)}; }
  int LenX(int v) const { return static_cast<int>(std::lrint(v * sx)); }
  int LenY(int v) const { return static_cast<int>(std::lrint(v * sy)); }
};

// The bounding box of a run's cell box turned by the escapement about its origin.
TRect RunBounds(TPoint origin, int width, int height, int escapement) {
  if (escapement % 3600 == 0)
    return {origin.X, origin.Y, origin.X + width, origin.Y + height};
  const double a = escapement / 10.0 * std::numbers::pi / 180.0;
  const double ux = std::cos(a), uy = -std::sin(a);  // along the baseline
  const double vx = std::sin(a), vy = std::cos(a);   // down the cell
  const double xs[4] = {0, width * ux, width * ux + height * vx, height * vx};
  const double ys[4] = {0, width * uy, width * uy + height * vy, height * vy};
  const auto [xmin, xmax] = std::minmax_element(xs, xs + 4);
  const auto [ymin, ymax] = std::minmax_element(ys, ys + 4);
  return {origin.X + static_cast<int>(std::floor(*xmin)), origin.Y + static_cast<int>(std::floor(*ymin)),
          origin.X + static_cast<int>(std::ceil(*xmax)), origin.Y + static_cast<int>(std::ceil(*ymax))};
}

}  // namespace

struct TRecording::TRecord {
  Record Value;
};

TRecording::TRecording() = default;
TRecording::~TRecording() = default;
TRecording::TRecording(TRecording&&) noexcept = default;
TRecording& TRecording::operator=(TRecording&&) noexcept = default;

TRecording::TRecording(const TRecording& other)
    : size_(other.size_), ppiX_(other.ppiX_), ppiY_(other.ppiY_) {
  records_.reserve(other.records_.size());
  for (const auto& r : other.records_) records_.push_back(std::make_unique<TRecord>(*r));
}

TRecording& TRecording::operator=(const TRecording& other) {
  if (this != &other) *this = TRecording(other);
  return *this;
}

size_t TRecording::RecordCount() const { return records_.size(); }

std::vector<TRecordedText> TRecording::TextRuns() const {
  std::vector<TRecordedText> runs;
  for (size_t i = 0; i < records_.size(); ++i) {
    if (const auto* t = std::get_if<TextRec>(&records_[i]->Value))
      runs.push_back({i, t->Text, t->Wide, t->Bounds});
  }
  return runs;
}

void TRecording::PlayInto(TCanvas& target, const TRect& dest) const {
  const double sx = size_.Width > 0 ? static_cast<double>(dest.Width()) / size_.Width : 1.0;
  const double sy = size_.Height > 0 ? static_cast<double>(dest.Height()) / size_.Height : 1.0;
  Play(target, sx, sy, dest.Left, dest.Top);
}

void TRecording::Play(TCanvas& target, double scaleX, double scaleY, double offsetX,
                      double offsetY) const {
  const Mapping m{scaleX, scaleY, offsetX, offsetY};
  const TPen savedPen = target.Pen();
  const TBrush savedBrush = target.Brush();
  const TCanvasFont savedFont = target.Font();
  const TPoint savedPos = target.PenPos();

  // A recording starts from a fresh canvas's pen, brush and font.
  auto scaledPen = [&](TPen pen) {
    // Width 0 is the one-pixel pen at every scale.
    if (pen.Width >= 1) pen.Width = std::max(1, m.LenX(pen.Width));
    for (int& d : pen.UserDashes) d = std::max(d == 0 ? 0 : 1, m.LenX(d));
    return pen;
  };
  auto scaledFont = [&](TCanvasFont font) {
    const int h = m.LenY(font.Height);
    font.Height = h != 0 ? h : (font.Height < 0 ? -1 : 1);
    return font;
  };
  target.SetPen(scaledPen(TPen{}));
  target.SetBrush(TBrush{});
  target.SetFont(scaledFont(TCanvasFont{}));

  target.SaveClip();
  int openSaves = 0;
  std::vector<int> scaledAdvances;
  for (const auto& record : records_) {
    std::visit(
        [&](const auto& r) {
          using T = std::decay_t<decltype(r)>;
          if constexpr (std::is_same_v<T, PenRec>) {
            target.SetPen(scaledPen(r.Pen));
          } else if constexpr (std::is_same_v<T, BrushRec>) {
            target.SetBrush(r.Brush);
          } else if constexpr (std::is_same_v<T, FontRec>) {
            target.SetFont(scaledFont(r.Font));
          } else if constexpr (std::is_same_v<T, LineRec>) {
            target.MoveTo(m.X(r.From.X), m.Y(r.From.Y));
            target.LineTo(m.X(r.To.X), m.Y(r.To.Y));
          } else if constexpr (std::is_same_v<T, PolyRec>) {
            std::vector<TPoint> pts;
            pts.reserve(r.Points.size());
            for (TPoint p : r.Points) pts.push_back(m.P(p));
            if (r.Closed)
              target.Polygon(pts);
            else
              target.Polyline(pts);
          } else if constexpr (std::is_same_v<T, ShapeRec>) {
            const TRect rect = m.R(r.Rect);
            switch (r.Kind) {
              case ShapeKind::Rectangle: target.Rectangle(rect); break;
              case ShapeKind::Ellipse: target.Ellipse(rect); break;
              case ShapeKind::Fill: target.FillRect(rect); break;
              case ShapeKind::RoundRect:
                target.RoundRect(rect, m.LenX(r.CornerWidth), m.LenY(r.CornerHeight));
                break;
            }
          } else if constexpr (std::is_same_v<T, PixelRec>) {
            // A pixel grows into the block it covers at the target's scale.
            const TRect block{m.X(r.At.X), m.Y(r.At.Y), m.X(r.At.X + 1), m.Y(r.At.Y + 1)};
            if (block.Width() <= 1 && block.Height() <= 1) {
              target.SetPixel(block.Left, block.Top, r.Color);
            } else {
              const TBrush brush = target.Brush();
              target.SetBrush({r.Color, bsSolid});
              target.FillRect(block);
              target.SetBrush(brush);
            }
          } else if constexpr (std::is_same_v<T, TextRec>) {
            // Cumulative positions are scaled, so the run keeps its length.
            scaledAdvances.assign(r.Advances.size(), 0);
            long long sum = 0;
            int previous = 0;
            for (size_t i = 0; i < r.Advances.size(); ++i) {
              sum += r.Advances[i];
              const int at = static_cast<int>(std::lrint(static_cast<double>(sum) * m.sx));
              scaledAdvances[i] = at - previous;
              previous = at;
            }
            const TRect clip = m.R(r.Clip);
            target.ExtTextOutW(m.X(r.Origin.X), m.Y(r.Origin.Y), r.Flags,
                               (r.Flags & etoClipped) ? &clip : nullptr, r.Text, scaledAdvances);
          } else if constexpr (std::is_same_v<T, PictureRec>) {
            target.StretchDraw(m.R(r.Dest), *r.Picture, r.Transparent, r.Smooth);
          } else if constexpr (std::is_same_v<T, VectorRec>) {
            target.DrawVectorPicture(m.R(r.Dest), *r.Picture);
          } else if constexpr (std::is_same_v<T, ClipRec>) {
            switch (r.Kind) {
              case ClipKind::Save:
                target.SaveClip();
                ++openSaves;
                break;
              case ClipKind::Restore:
                if (openSaves > 0) {
                  target.RestoreClip();
                  --openSaves;
                }
                break;
              case ClipKind::Intersect: target.IntersectClip(m.R(r.Rect)); break;
            }
          }
        },
        record->Value);
  }
  for (; openSaves > 0; --openSaves) target.RestoreClip();
  target.RestoreClip();
  target.SetPen(savedPen);
  target.SetBrush(savedBrush);
  target.SetFont(savedFont);
  target.MoveTo(savedPos.X, savedPos.Y);
}

// ---------------------------------------------------------------------------------

namespace {
TRect WholeClip(TSize size) {
  if (size.Width > 0 && size.Height > 0) return {0, 0, size.Width, size.Height};
  constexpr int big = std::numeric_limits<int>::max() / 4;
  return {-big, -big, big, big};
}
}  // namespace

TRecordingCanvas::TRecordingCanvas(TSize size, int pixelsPerInchX, int pixelsPerInchY) {
  recording_.size_ = size;
  recording_.ppiX_ = pixelsPerInchX;
  recording_.ppiY_ = pixelsPerInchY;
  clip_ = WholeClip(size);
}

TRecordingCanvas::~TRecordingCanvas() = default;

TRecording TRecordingCanvas::TakeRecording() {
  TRecording taken = std::move(recording_);
  recording_ = TRecording();
  recording_.size_ = taken.size_;
  recording_.ppiX_ = taken.ppiX_;
  recording_.ppiY_ = taken.ppiY_;
  // The new recording starts from a fresh canvas state: say what is selected now.
  if (!(Pen() == TPen{})) PenChanged();
  if (!(Brush() == TBrush{})) BrushChanged();
  if (!(Font() == TCanvasFont{})) FontChanged();
  return taken;
}

void TRecordingCanvas::Add(std::unique_ptr<TRecording::TRecord> record) {
  recording_.records_.push_back(std::move(record));
}

namespace {
template <typename T>
std::unique_ptr<TRecording::TRecord> Make(T value) {
  return std::make_unique<TRecording::TRecord>(TRecording::TRecord{Record(std::move(value))});
}
}  // namespace

void TRecordingCanvas::PenChanged() { Add(Make(PenRec{Pen()})); }
void TRecordingCanvas::BrushChanged() { Add(Make(BrushRec{Brush()})); }
void TRecordingCanvas::FontChanged() { Add(Make(FontRec{Font()})); }

void TRecordingCanvas::DrawLine(TPoint from, TPoint to) { Add(Make(LineRec{from, to})); }

void TRecordingCanvas::Polyline(std::span<const TPoint> points) {
  if (points.size() < 2) return;
  Add(Make(PolyRec{{points.begin(), points.end()}, false}));
}

void TRecordingCanvas::Polygon(std::span<const TPoint> points) {
  if (points.size() < 2) return;
  Add(Make(PolyRec{{points.begin(), points.end()}, true}));
}

void TRecordingCanvas::Rectangle(const TRect& r) { Add(Make(ShapeRec{ShapeKind::Rectangle, r})); }
void TRecordingCanvas::Ellipse(const TRect& r) { Add(Make(ShapeRec{ShapeKind::Ellipse, r})); }
void TRecordingCanvas::FillRect(const TRect& r) { Add(Make(ShapeRec{ShapeKind::Fill, r})); }

void TRecordingCanvas::RoundRect(const TRect& r, int cornerWidth, int cornerHeight) {
  Add(Make(ShapeRec{ShapeKind::RoundRect, r, cornerWidth, cornerHeight}));
}

void TRecordingCanvas::SetPixel(int x, int y, TColor color) { Add(Make(PixelRec{{x, y}, color})); }

void TRecordingCanvas::StretchDraw(const TRect& dest, const TRasterImage& picture,
                                   TColor transparentColor, bool smooth) {
  if (picture.Empty()) return;
  Add(Make(PictureRec{dest, std::make_shared<const TRasterImage>(picture), transparentColor, smooth}));
}

void TRecordingCanvas::DrawVectorPicture(const TRect& dest, const TVectorPicture& picture) {
  if (picture.Svg.empty()) return;
  Add(Make(VectorRec{dest, std::make_shared<const TVectorPicture>(picture)}));
}

void TRecordingCanvas::SaveClip() {
  clipStack_.push_back(clip_);
  Add(Make(ClipRec{ClipKind::Save, {}}));
}

void TRecordingCanvas::RestoreClip() {
  if (clipStack_.empty()) return;
  clip_ = clipStack_.back();
  clipStack_.pop_back();
  Add(Make(ClipRec{ClipKind::Restore, {}}));
}

void TRecordingCanvas::IntersectClip(const TRect& r) {
  clip_ = clip_.Intersected(r);
  Add(Make(ClipRec{ClipKind::Intersect, r}));
}

TRect TRecordingCanvas::ClipBounds() const { return clip_; }

void TRecordingCanvas::DrawGlyphRun(const TGlyphRun& run) {
  TextRec rec;
  rec.Origin = run.Origin;
  rec.Flags = run.Flags;
  rec.Clip = run.Clip;
  rec.Text.assign(run.Text);
  rec.Wide = run.Wide;
  rec.Advances.assign(run.Advances.begin(), run.Advances.end());
  rec.Bounds = RunBounds(run.Origin, run.Width, SelectedFont().Metrics().Height, Font().Escapement);
  if (run.Flags & etoClipped) rec.Bounds = rec.Bounds.Intersected(run.Clip);
  Add(Make(std::move(rec)));
}
