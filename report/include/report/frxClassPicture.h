#pragma once
// The picture view TfrxPictureView and its picture sub-object TfrxPicture.
//
// Template form: the picture travels as " Picture.PropData": one raw-data record "Data"
// holding the graphic's class name (one length byte and the name: "TBitmap",
// "TJPEGImage", "TPNGObject", "TMetafile", "TIcon") and the graphic's own data: for a
// bitmap or JPEG a 32-bit length and the file image; for a metafile a 32-bit length that
// counts itself, then the metafile; for an icon or PNG the file image alone. An empty
// picture writes no record (the attribute is absent). The bytes come back unchanged, so
// a template saved again is the same.
//
// Errors: a picture that cannot be decoded raises TPictureError; the template reader
// puts its message (prefixed with the view's name) into the report's errors, FetchData
// and Draw hand theirs to the report (AppendErrors), and the view is left without a
// picture. Unrecognised bytes in ReadPictureStream are not an error: the picture is
// cleared and E_INVALIDARG returned.
//
// Prepared pages: output copies do not carry the picture (the picture-stored flag is
// cleared while the store copies a view); a view being recorded with PictureDirty set
// hands its picture to the store's picture cache (TfrxPictureCache), writes the index
// it gets as " ImageIndex=" and clears the flag. Rebuilding a page, the store reads an
// entry back with ReadPictureStream(entry, true).

#include <cstdint>
#include <string>

#include "platform/PictureHolder.h"
#include "platform/Stream.h"
#include "report/frxClassView.h"

class TfrxPictureView;

// Result codes of ReadPictureStream.
constexpr int32_t frxS_OK = 0;
constexpr int32_t E_INVALIDARG = static_cast<int32_t>(0x80070057);

// The picture of a picture view as a persistent sub-object (class name "TPicture" for
// templates and scripts); it tells its view about every change.
class TfrxPicture final : public TPersistent {
 public:
  explicit TfrxPicture(TfrxPictureView& view) : view_(view) {}
  TfrxPicture(const TfrxPicture&) = delete;
  TfrxPicture& operator=(const TfrxPicture&) = delete;
  TFRX_PERSISTENT_CLASS

  const TPicture& Graphic() const { return graphic_; }
  bool Empty() const { return graphic_.Empty(); }
  int Width() const { return graphic_.Width(); }
  int Height() const { return graphic_.Height(); }

  void Clear();
  // Replaces the graphic; a TPictureError leaves the picture empty and is raised.
  void Load(TGraphicKind kind, std::span<const uint8_t> data);
  void LoadFromFile(const std::string& path);
  void Assign(const TPicture& graphic);

  // The "Data" record: class name and graphic data as described above. A record that
  // cannot be read raises TPictureError and leaves the picture empty.
  void ReadData(TStream& stream);
  void WriteData(TStream& stream) const;
  void DefineProperties(TfrxFiler& filer) override;

 private:
  void ReadGraphic(TStream& stream);

  TfrxPictureView& view_;
  TPicture graphic_;
};

// The prepared pages' picture cache as a picture view sees it. The store implements it
// next to TfrxReportPages; a view finds it through its report's PreviewPages().
class TfrxPictureCache {
 public:
  virtual ~TfrxPictureCache() = default;
  // Keeps the view's picture bytes (SavePictureData) once and answers the entry's
  // 1-based index, or 0 for a view whose picture is empty.
  virtual int CachePicture(const TfrxPictureView& view) = 0;
};

class TfrxPictureView : public TfrxView {
 public:
  explicit TfrxPictureView(TfrxComponent* owner);
  ~TfrxPictureView() override;
  TFRX_PERSISTENT_CLASS

  bool AutoSize() const { return autoSize_; }
  void SetAutoSize(bool v);
  bool Center() const { return center_; }
  void SetCenter(bool v) { center_ = v; }
  const std::string& FileLink() const { return fileLink_; }
  void SetFileLink(const std::string& v) { fileLink_ = v; }
  int32_t ImageIndex() const { return imageIndex_; }
  void SetImageIndex(int32_t v) { imageIndex_ = v; }
  bool KeepAspectRatio() const { return keepAspectRatio_; }
  void SetKeepAspectRatio(bool v) { keepAspectRatio_ = v; }
  TfrxPicture& Picture() { return picture_; }
  const TfrxPicture& Picture() const { return picture_; }
  bool Stretched() const { return stretched_; }
  void SetStretched(bool v) { stretched_ = v; }
  bool HightQuality() const { return hightQuality_; }
  void SetHightQuality(bool v) { hightQuality_ = v; }
  // Setting it also sets Color: no colour when true, white when false.
  bool Transparent() const { return transparent_; }
  void SetTransparent(bool v);
  TColor TransparentColor() const { return transparentColor_; }
  void SetTransparentColor(TColor v) { transparentColor_ = v; }

  // Whether the template form carries the picture (on from creation; the prepared
  // pages clear it while they copy the view) and ImageIndex (the designer's undo).
  bool PictureStored() const { return pictureStored_; }
  void SetPictureStored(bool v) { pictureStored_ = v; }
  bool ImageIndexStored() const { return imageIndexStored_; }
  void SetImageIndexStored(bool v) { imageIndexStored_ = v; }
  // Set by every change of the picture; cleared once the picture reached the cache.
  bool PictureDirty() const { return pictureDirty_; }
  void SetPictureDirty(bool v) { pictureDirty_ = v; }

  // Recognises the picture's format from the bytes at the stream's start (fromStart) or
  // current position and loads it: frxS_OK, or E_INVALIDARG for bytes no rule matches
  // (the picture is cleared). Recognised bytes that cannot be decoded raise
  // TPictureError with the picture cleared.
  int32_t ReadPictureStream(TStream& stream, bool fromStart);
  // Scripts' LoadFromFile: the format by the file's extension.
  void LoadFromFile(const std::string& fileName);
  // The graphic's own bytes, which ReadPictureStream recognises again (nothing when empty).
  void SavePictureData(TStream& stream) const;
  // Called by TfrxPicture after each change: re-applies AutoSize, sets PictureDirty.
  void PictureChanged();

  void Draw(TCanvas& canvas, double scaleX, double scaleY, double offsetX, double offsetY) override;
  void FetchData() override;
  // Hands a dirty picture to the prepared pages' cache first (see above).
  std::string WriteDifferences(const TfrxComponent* reference) const override;

 private:
  TRect PictureRect() const;
  void PutGraphic(const TRect& rect);
  void ReportError(const std::string& message);
  TfrxPictureCache* FindPictureCache() const;
  TfrxPicture* PicturePtr() { return &picture_; }
  bool IsPictureStored() const { return pictureStored_; }
  bool IsImageIndexStored() const { return imageIndexStored_; }

  bool autoSize_ = false;
  bool center_ = false;
  std::string fileLink_;
  // Written by WriteDifferences when it hands the picture to the cache.
  mutable int32_t imageIndex_ = 0;
  mutable bool pictureDirty_ = false;
  bool keepAspectRatio_ = true;
  TfrxPicture picture_;
  bool stretched_ = true;
  bool hightQuality_ = false;
  bool transparent_ = false;
  TColor transparentColor_ = clWhite;
  bool pictureStored_ = true;
  bool imageIndexStored_ = false;
};
