#pragma once
// TPicture: the picture holder of report objects. It owns one graphic or none: a bitmap,
// an icon, a Windows or enhanced metafile, a JPEG or a PNG picture. It keeps the
// graphic's own bytes exactly as they were loaded (so a template that is saved again
// carries the same bytes) together with what drawing needs: the decoded pixels of the
// raster kinds, the SVG drawing of a metafile.
//
// Loading decodes everything at once: a picture that cannot be decoded raises
// TPictureError (Picture.h) naming the format and the fault, and the holder keeps what
// it had. Copies share the decoded data, which never changes after loading.

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "platform/Canvas.h"
#include "platform/Metafile.h"
#include "platform/Picture.h"

enum class TGraphicKind : uint8_t { None, Bitmap, Icon, Metafile, Jpeg, Png };

class TPicture {
 public:
  TGraphicKind Kind() const { return kind_; }
  bool Empty() const { return kind_ == TGraphicKind::None; }
  // Size in pixels (a metafile: at 96 pixels per inch); 0 when empty.
  int Width() const { return width_; }
  int Height() const { return height_; }
  // For a metafile: whether it is an enhanced one.
  bool Enhanced() const { return kind_ == TGraphicKind::Metafile && metafileKind_ == TMetafileKind::Enhanced; }
  // The graphic's bytes as loaded: the bitmap, icon, JPEG or PNG file image, or the
  // metafile (enhanced, or Windows with its placeable header).
  const std::vector<uint8_t>& Data() const { return data_; }
  // The decoded pixels of a bitmap, icon, JPEG or PNG picture; null otherwise.
  const TRasterImage* Raster() const { return raster_.get(); }

  void Clear();
  void Load(TGraphicKind kind, std::span<const uint8_t> data);
  // Loads by the file's extension (.bmp .dib .ico .wmf .emf .jpg .jpeg .jpe .jfif .png,
  // any case). An unknown extension raises TPictureError; a file that cannot be read
  // raises the stream's EFOpenError.
  void LoadFromFile(const std::string& path);

  // Draws the graphic stretched into `dest`. Raster kinds leave out `transparentColor`
  // (clNone: nothing) and resample with averaging when `smooth`; a metafile is drawn as
  // vectors on the canvas (always smoothed).
  void Draw(TCanvas& canvas, const TRect& dest, TColor transparentColor = clNone, bool smooth = false) const;

 private:
  TGraphicKind kind_ = TGraphicKind::None;
  int width_ = 0;
  int height_ = 0;
  TMetafileKind metafileKind_ = TMetafileKind::Enhanced;
  std::vector<uint8_t> data_;
  std::shared_ptr<const TRasterImage> raster_;
  std::shared_ptr<const TVectorPicture> vector_;
};

// The graphic kind that a file's extension names (None when unknown).
TGraphicKind GraphicKindOfFile(const std::string& path);
