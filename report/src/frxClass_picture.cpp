#include <cmath>
#include <cstring>
#include <vector>

#include "platform/FileSystem.h"
#include "report/frxClassDataSet.h"
#include "report/frxClassPicture.h"
#include "report/frxClassReport.h"
#include "report/frxXMLSerializer.h"
#include "frxClass_diffattr.h"
#include "frxClass_drawing.h"

using frx_draw::Nearest;

namespace {

// How a graphic class frames its data inside the "Data" record.
enum class TFraming : uint8_t {
  Length,          // a 32-bit length, then the data
  LengthWithSelf,  // a 32-bit length that counts itself, then the data
  None,            // the data runs to the end of the record
};

struct TGraphicClass {
  const char* Name;
  TGraphicKind Kind;
  TFraming Framing;
};

constexpr TGraphicClass kGraphicClasses[] = {
    {"TBitmap", TGraphicKind::Bitmap, TFraming::Length},
    {"TJPEGImage", TGraphicKind::Jpeg, TFraming::Length},
    {"TPNGObject", TGraphicKind::Png, TFraming::None},
    {"TMetafile", TGraphicKind::Metafile, TFraming::LengthWithSelf},
    {"TIcon", TGraphicKind::Icon, TFraming::None},
};

const TGraphicClass* ClassOfKind(TGraphicKind kind) {
  for (const TGraphicClass& c : kGraphicClasses)
    if (c.Kind == kind) return &c;
  return nullptr;
}

const TGraphicClass* ClassNamed(const std::string& name) {
  for (const TGraphicClass& c : kGraphicClasses)
    if (frxSameText(name, c.Name)) return &c;
  return nullptr;
}

std::vector<uint8_t> ReadRest(TStream& stream) {
  const int64_t rest = stream.Size() - stream.Position();
  std::vector<uint8_t> bytes(static_cast<size_t>(rest > 0 ? rest : 0));
  if (!bytes.empty()) stream.ReadBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
  return bytes;
}

uint32_t ReadUInt32(TStream& stream, const char* className) {
  uint8_t b[4];
  if (stream.Read(b, 4) != 4)
    throw TPictureError(std::string("Picture: the ") + className + " data is cut short");
  return static_cast<uint32_t>(b[0]) | (static_cast<uint32_t>(b[1]) << 8) | (static_cast<uint32_t>(b[2]) << 16) |
         (static_cast<uint32_t>(b[3]) << 24);
}

void WriteUInt32(TStream& stream, uint32_t v) {
  const uint8_t b[4] = {static_cast<uint8_t>(v), static_cast<uint8_t>(v >> 8), static_cast<uint8_t>(v >> 16),
                        static_cast<uint8_t>(v >> 24)};
  stream.WriteBuffer(b, 4);
}

uint16_t Word(const std::vector<uint8_t>& b, size_t at) { return static_cast<uint16_t>(b[at] | (b[at + 1] << 8)); }
uint32_t DWord(const std::vector<uint8_t>& b, size_t at) {
  return static_cast<uint32_t>(Word(b, at)) | (static_cast<uint32_t>(Word(b, at + 2)) << 16);
}

// The six recognition rules, in order; None when no rule matches.
TGraphicKind RecognisePicture(const std::vector<uint8_t>& b) {
  static constexpr uint8_t kPngSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  const size_t n = b.size();
  if (n >= 14 && b[0] == 'B' && b[1] == 'M') return TGraphicKind::Bitmap;
  if (n >= 2 && b[0] == 0xFF && b[1] == 0xD8) return TGraphicKind::Jpeg;
  if (n >= 8 && std::memcmp(b.data(), kPngSignature, 8) == 0) return TGraphicKind::Png;
  if (n >= 22 && DWord(b, 0) == kPlaceableMetafileKey) return TGraphicKind::Metafile;
  if (n >= 100 && DWord(b, 40) == kEnhancedMetafileSignature) return TGraphicKind::Metafile;
  if (n >= 6 && (Word(b, 2) == 0 || Word(b, 2) == 1)) return TGraphicKind::Icon;
  return TGraphicKind::None;
}

// A picture with its transparency laid onto white, as a bitmap of its own size.
TRasterImage OnWhite(const TRasterImage& picture, TPixelFormat format) {
  TRasterImage out(picture.Width(), picture.Height(), format);
  for (int y = 0; y < picture.Height(); ++y)
    for (int x = 0; x < picture.Width(); ++x) {
      const TColor c = picture.Pixel(x, y);
      const int a = picture.Alpha(x, y);
      auto mix = [a](int v) { return static_cast<uint8_t>((v * a + 255 * (255 - a) + 127) / 255); };
      out.SetPixel(x, y, RGBColor(mix(RedOf(c)), mix(GreenOf(c)), mix(BlueOf(c))));
    }
  return out;
}

}  // namespace

// ---------------------------------------------------------------------------------------
// TfrxPicture

const TfrxClassInfo& TfrxPicture::StaticClassInfo() {
  static const TfrxClassInfo info("TPicture", nullptr, nullptr, [](TfrxClassInfo&) {});
  return info;
}

void TfrxPicture::Clear() {
  graphic_.Clear();
  view_.PictureChanged();
}

void TfrxPicture::Load(TGraphicKind kind, std::span<const uint8_t> data) {
  try {
    graphic_.Load(kind, data);
  } catch (...) {
    Clear();
    throw;
  }
  view_.PictureChanged();
}

void TfrxPicture::LoadFromFile(const std::string& path) {
  try {
    graphic_.LoadFromFile(path);
  } catch (...) {
    Clear();
    throw;
  }
  view_.PictureChanged();
}

void TfrxPicture::Assign(const TPicture& graphic) {
  graphic_ = graphic;
  view_.PictureChanged();
}

void TfrxPicture::ReadData(TStream& stream) {
  try {
    ReadGraphic(stream);
  } catch (const TPictureError&) {
    Clear();
    throw;
  }
}

void TfrxPicture::ReadGraphic(TStream& stream) {
  uint8_t length = 0;
  if (stream.Read(&length, 1) != 1 || length == 0) {
    Clear();
    return;
  }
  std::string name(length, '\0');
  if (stream.Read(name.data(), length) != length) throw TPictureError("Picture: the graphic class name is cut short");
  const TGraphicClass* cls = ClassNamed(name);
  if (!cls) throw TPictureError("Picture: unknown graphic class \"" + name + "\"");
  std::vector<uint8_t> data;
  if (cls->Framing == TFraming::None) {
    data = ReadRest(stream);
  } else {
    uint64_t count = ReadUInt32(stream, cls->Name);
    if (cls->Framing == TFraming::LengthWithSelf) {
      if (count < 4) throw TPictureError(std::string("Picture: the ") + cls->Name + " data length is not valid");
      count -= 4;
    }
    const int64_t rest = stream.Size() - stream.Position();
    if (static_cast<int64_t>(count) > rest)
      throw TPictureError(std::string("Picture: the ") + cls->Name + " data is cut short (" + std::to_string(rest) +
                          " of " + std::to_string(count) + " bytes)");
    data.resize(static_cast<size_t>(count));
    if (count > 0) stream.ReadBuffer(data.data(), static_cast<int64_t>(count));
  }
  Load(cls->Kind, data);
}

void TfrxPicture::WriteData(TStream& stream) const {
  const TGraphicClass* cls = ClassOfKind(graphic_.Kind());
  if (!cls) return;
  const uint8_t length = static_cast<uint8_t>(std::strlen(cls->Name));
  stream.WriteBuffer(&length, 1);
  stream.WriteBuffer(cls->Name, length);
  const std::vector<uint8_t>& data = graphic_.Data();
  if (cls->Framing == TFraming::Length) WriteUInt32(stream, static_cast<uint32_t>(data.size()));
  if (cls->Framing == TFraming::LengthWithSelf) WriteUInt32(stream, static_cast<uint32_t>(data.size() + 4));
  if (!data.empty()) stream.WriteBuffer(data.data(), static_cast<int64_t>(data.size()));
}

void TfrxPicture::DefineProperties(TfrxFiler& filer) {
  filer.DefineBinaryProperty(
      "Data",
      [this](TStream& stream) {
        try {
          ReadData(stream);
        } catch (const TPictureError& e) {
          throw TPictureError(view_.Name() + ": " + e.what());
        }
      },
      [this](TStream& stream) { WriteData(stream); }, !Empty());
}

// ---------------------------------------------------------------------------------------
// TfrxPictureView

TfrxPictureView::TfrxPictureView(TfrxComponent* owner) : TfrxView(owner), picture_(*this) {
  SetStyleFlags(StyleFlags() & ~csoStoredInFull);
  SetColor(clWhite);
}

TfrxPictureView::~TfrxPictureView() = default;

const TfrxClassInfo& TfrxPictureView::StaticClassInfo() {
  static const TfrxClassInfo info(
      "TfrxPictureView", &TfrxView::StaticClassInfo(),
      [](TfrxComponent* owner) -> TfrxComponent* { return new TfrxPictureView(owner); }, [](TfrxClassInfo& c) {
        using P = TfrxPictureView;
        TfrxPublish<P> p(c);
        p.Publish("Cursor");
        p.Boolean("AutoSize", &P::AutoSize, &P::SetAutoSize).Default(0);
        p.Boolean("Center", &P::Center, &P::SetCenter).Default(0);
        p.Publish("DataField");
        p.Publish("DataSet");
        p.Publish("DataSetName");
        p.Publish("Frame");
        p.String("FileLink", &P::FileLink, &P::SetFileLink);
        p.Integer("ImageIndex", &P::ImageIndex, &P::SetImageIndex).Stored(&P::IsImageIndexStored);
        p.Boolean("KeepAspectRatio", &P::KeepAspectRatio, &P::SetKeepAspectRatio).Default(1);
        p.Object("Picture", "TPicture", &P::PicturePtr).Stored(&P::IsPictureStored);
        p.Boolean("Stretched", &P::Stretched, &P::SetStretched).Default(1);
        p.Publish("TagStr");
        p.Publish("URL");
        // Always written: no declared default.
        p.Boolean("HightQuality", &P::HightQuality, &P::SetHightQuality);
        p.Boolean("Transparent", &P::Transparent, &P::SetTransparent);
        p.Integer("TransparentColor", &P::TransparentColor, &P::SetTransparentColor);
      });
  return info;
}
TFRX_REGISTER_CLASS(TfrxPictureView);

void TfrxPictureView::SetAutoSize(bool v) {
  autoSize_ = v;
  if (autoSize_ && !picture_.Empty()) {
    SetWidth(picture_.Width());
    SetHeight(picture_.Height());
  }
}

void TfrxPictureView::SetTransparent(bool v) {
  transparent_ = v;
  SetColor(v ? clTransparent : clWhite);
}

void TfrxPictureView::PictureChanged() {
  SetAutoSize(autoSize_);
  pictureDirty_ = true;
}

int32_t TfrxPictureView::ReadPictureStream(TStream& stream, bool fromStart) {
  if (fromStart) stream.SetPosition(0);
  const int64_t size = stream.Size();
  int64_t start = stream.Position();
  if (size - start >= 8) {
    // A container header of eight bytes in front of the picture is stepped over.
    uint8_t h[8];
    stream.ReadBuffer(h, 8);
    const std::vector<uint8_t> header(h, h + 8);
    if (Word(header, 0) == 1 && Word(header, 2) == 256 && static_cast<int64_t>(DWord(header, 4)) == size - 8)
      start += 8;
    stream.SetPosition(start);
  }
  const std::vector<uint8_t> bytes = ReadRest(stream);
  const TGraphicKind kind = RecognisePicture(bytes);
  if (kind == TGraphicKind::None) {
    picture_.Clear();
    return E_INVALIDARG;
  }
  picture_.Load(kind, bytes);
  return frxS_OK;
}

void TfrxPictureView::LoadFromFile(const std::string& fileName) { picture_.LoadFromFile(fileName); }

void TfrxPictureView::SavePictureData(TStream& stream) const {
  const std::vector<uint8_t>& data = picture_.Graphic().Data();
  if (!data.empty()) stream.WriteBuffer(data.data(), static_cast<int64_t>(data.size()));
}

void TfrxPictureView::ReportError(const std::string& message) {
  if (TfrxComponent* report = OwningReport()) report->AppendErrors({Name() + ": " + message});
}

// ---------------------------------------------------------------------------------------
// Filling

void TfrxPictureView::FetchData() {
  TfrxView::FetchData();
  try {
    if (!fileLink_.empty()) {
      const std::string fileName = ExpandBrackets(fileLink_);
      if (fsys::FileExists(fileName))
        picture_.LoadFromFile(fileName);
      else
        picture_.Clear();
    } else if (DataSet() && !DataField().empty()) {
      auto* dataSet = dynamic_cast<TfrxDataSet*>(DataSet());
      if (dataSet && dataSet->IsBlobField(DataField())) {
        TMemoryStream blob;
        dataSet->CopyBlobTo(DataField(), blob);
        ReadPictureStream(blob, true);
      }
    }
  } catch (const TPictureError& e) {
    ReportError(e.what());
  } catch (const EStreamError& e) {
    picture_.Clear();
    ReportError(e.what());
  }
}

// ---------------------------------------------------------------------------------------
// Drawing

// Where the picture goes inside the device rectangle.
TRect TfrxPictureView::PictureRect() const {
  const TfrxDeviceRect& d = device_;
  const double pw = picture_.Width(), ph = picture_.Height();
  TRect r{d.Left, d.Top, d.Right, d.Bottom};
  if (stretched_) {
    if (keepAspectRatio_) {
      const double kx = d.Width / pw, ky = d.Height / ph;
      if (ky > kx)
        r.Bottom = r.Top + Nearest(ph * kx);
      else
        r.Right = r.Left + Nearest(pw * ky);
    }
  } else {
    r.Right = r.Left + Nearest(scaleX_ * pw);
    r.Bottom = r.Top + Nearest(scaleY_ * ph);
  }
  if (center_) {
    const int dx = (d.Width - r.Width()) / 2, dy = (d.Height - r.Height()) / 2;
    r = TRect{r.Left + dx, r.Top + dy, r.Right + dx, r.Bottom + dy};
  }
  return r;
}

void TfrxPictureView::PutGraphic(const TRect& rect) {
  const TPicture& graphic = picture_.Graphic();
  const TRasterImage* raster = graphic.Raster();
  if (!raster) {
    graphic.Draw(*canvas_, rect);  // a metafile, as vectors
    return;
  }
  const bool copy = Printing() || (transparent_ && graphic.Kind() != TGraphicKind::Bitmap) || hightQuality_;
  const TColor transparent = transparent_ ? transparentColor_ : clNone;
  if (copy) {
    const TRasterImage flat = OnWhite(*raster, Printing() ? TPixelFormat::pf32bit : TPixelFormat::pf24bit);
    canvas_->StretchDraw(rect, flat, transparent, !transparent_);
  } else {
    canvas_->StretchDraw(rect, *raster, transparent, false);
  }
}

void TfrxPictureView::Draw(TCanvas& canvas, double scaleX, double scaleY, double offsetX, double offsetY) {
  PrepareDrawGeometry(canvas, scaleX, scaleY, offsetX, offsetY);
  PaintBackground();
  if (!picture_.Empty() && device_.Width > 0 && device_.Height > 0) {
    const bool clipped = !stretched_;
    if (clipped) {
      canvas.SaveClip();
      canvas.IntersectClip(TRect{device_.Left, device_.Top, device_.Right, device_.Bottom});
    }
    try {
      PutGraphic(PictureRect());
    } catch (const TPictureError& e) {
      ReportError(e.what());
    }
    if (clipped) canvas.RestoreClip();
  }
  PaintFrame();
}

// ---------------------------------------------------------------------------------------
// Prepared pages

TfrxPictureCache* TfrxPictureView::FindPictureCache() const {
  for (const TfrxComponent* object : {static_cast<const TfrxComponent*>(this), static_cast<const TfrxComponent*>(SourceObject())}) {
    if (!object) continue;
    if (auto* report = dynamic_cast<TfrxReport*>(object->OwningReport()))
      if (auto* cache = dynamic_cast<TfrxPictureCache*>(report->PreviewPages())) return cache;
  }
  return nullptr;
}

std::string TfrxPictureView::WriteDifferences(const TfrxComponent* reference) const {
  if (pictureDirty_) {
    if (TfrxPictureCache* cache = FindPictureCache()) {
      imageIndex_ = cache->CachePicture(*this);
      pictureDirty_ = false;
    }
  }
  std::string out = TfrxView::WriteDifferences(reference);
  frx_diff::Attr(out, "ImageIndex", std::to_string(imageIndex_));
  frx_diff::BoolAttr(out, "Transparent", transparent_, false);
  frx_diff::IntAttr(out, "TransparentColor", transparentColor_, clWhite);
  return out;
}
