#include "platform/PictureHolder.h"

#include <algorithm>

#include "platform/BitmapFile.h"
#include "platform/Stream.h"

void TPicture::Clear() { *this = TPicture(); }

void TPicture::Load(TGraphicKind kind, std::span<const uint8_t> data) {
  TPicture loaded;
  switch (kind) {
    case TGraphicKind::None: break;
    case TGraphicKind::Bitmap: loaded.raster_ = std::make_shared<const TRasterImage>(DecodeBmp(data)); break;
    case TGraphicKind::Icon: loaded.raster_ = std::make_shared<const TRasterImage>(DecodeIcon(data)); break;
    case TGraphicKind::Jpeg: loaded.raster_ = std::make_shared<const TRasterImage>(DecodeJpeg(data)); break;
    case TGraphicKind::Png: loaded.raster_ = std::make_shared<const TRasterImage>(DecodePng(data)); break;
    case TGraphicKind::Metafile: {
      const TMetafileInfo info = ReadMetafileHeader(data);
      loaded.metafileKind_ = info.Kind;
      loaded.width_ = info.Width;
      loaded.height_ = info.Height;
      loaded.vector_ = std::make_shared<const TVectorPicture>(
          TVectorPicture{MetafileToSvg(data, info), TSize{info.Width, info.Height}});
      break;
    }
  }
  if (loaded.raster_) {
    loaded.width_ = loaded.raster_->Width();
    loaded.height_ = loaded.raster_->Height();
  }
  loaded.kind_ = kind;
  if (kind != TGraphicKind::None) loaded.data_.assign(data.begin(), data.end());
  *this = std::move(loaded);
}

TGraphicKind GraphicKindOfFile(const std::string& path) {
  const size_t dot = path.find_last_of("./\\");
  if (dot == std::string::npos || path[dot] != '.') return TGraphicKind::None;
  std::string ext = path.substr(dot + 1);
  std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
  if (ext == "bmp" || ext == "dib") return TGraphicKind::Bitmap;
  if (ext == "ico") return TGraphicKind::Icon;
  if (ext == "wmf" || ext == "emf") return TGraphicKind::Metafile;
  if (ext == "jpg" || ext == "jpeg" || ext == "jpe" || ext == "jfif") return TGraphicKind::Jpeg;
  if (ext == "png") return TGraphicKind::Png;
  return TGraphicKind::None;
}

void TPicture::LoadFromFile(const std::string& path) {
  const TGraphicKind kind = GraphicKindOfFile(path);
  if (kind == TGraphicKind::None) throw TPictureError("Picture: unknown picture file extension in \"" + path + "\"");
  TMemoryStream file;
  file.LoadFromFile(path);
  const std::string& bytes = file.DataString();
  Load(kind, std::span(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()));
}

void TPicture::Draw(TCanvas& canvas, const TRect& dest, TColor transparentColor, bool smooth) const {
  if (raster_)
    canvas.StretchDraw(dest, *raster_, transparentColor, smooth);
  else if (vector_)
    canvas.DrawVectorPicture(dest, *vector_);
}
