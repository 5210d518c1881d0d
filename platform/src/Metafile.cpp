#include "platform/Metafile.h"

#include <emf2svg.h>
#include <libwmf/api.h>
#include <libwmf/svg.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <mutex>
#include <vector>

#include "platform/Fonts.h"

namespace {

[[noreturn]] void Fail(TMetafileKind kind, const std::string& what) {
  throw TPictureError(std::string(kind == TMetafileKind::Enhanced ? "Enhanced metafile: " : "Windows metafile: ") +
                      what);
}

uint16_t Word(std::span<const uint8_t> d, size_t at) { return static_cast<uint16_t>(d[at] | (d[at + 1] << 8)); }
int16_t SignedWord(std::span<const uint8_t> d, size_t at) { return static_cast<int16_t>(Word(d, at)); }
uint32_t DWord(std::span<const uint8_t> d, size_t at) {
  return static_cast<uint32_t>(d[at]) | (static_cast<uint32_t>(d[at + 1]) << 8) |
         (static_cast<uint32_t>(d[at + 2]) << 16) | (static_cast<uint32_t>(d[at + 3]) << 24);
}
int32_t SignedDWord(std::span<const uint8_t> d, size_t at) { return static_cast<int32_t>(DWord(d, at)); }
void SetDWord(std::vector<unsigned char>& d, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) d[at + i] = static_cast<unsigned char>(v >> (8 * i));
}

int Pixels(double extent, double unitsPerInch) { return static_cast<int>(std::lround(std::fabs(extent) * 96.0 / unitsPerInch)); }

void CheckSize(TMetafileKind kind, TMetafileInfo& info) {
  if (info.Width <= 0 || info.Height <= 0) Fail(kind, "the picture has no size");
  if (static_cast<int64_t>(info.Width) * info.Height > kMaxPicturePixels)
    Fail(kind, "a picture of " + std::to_string(info.Width) + " x " + std::to_string(info.Height) +
                   " pixels exceeds the limit of " + std::to_string(kMaxPicturePixels) + " pixels");
}

constexpr uint32_t kEmrHeader = 1;
constexpr uint32_t kEmrEof = 14;
constexpr size_t kEmfHeaderSize = 88;

TMetafileInfo ReadEnhancedHeader(std::span<const uint8_t> d) {
  constexpr TMetafileKind kind = TMetafileKind::Enhanced;
  if (d.size() < kEmfHeaderSize) Fail(kind, "the header is cut short");
  if (DWord(d, 0) != kEmrHeader || DWord(d, 40) != kEnhancedMetafileSignature) Fail(kind, "the header is not valid");
  const uint32_t total = DWord(d, 48);
  if (total > d.size()) Fail(kind, "the records are cut short (" + std::to_string(d.size()) + " of " +
                                       std::to_string(total) + " bytes)");
  // Every record lies inside the stated size and the last one ends the picture.
  TMetafileInfo info;
  info.Kind = kind;
  size_t at = 0;
  bool ended = false;
  while (!ended) {
    if (total - at < 8) Fail(kind, "the end record is missing");
    const uint32_t type = DWord(d, at), size = DWord(d, at + 4);
    if (size < 8 || size % 4 != 0 || size > total - at)
      Fail(kind, "record " + std::to_string(type) + " at byte " + std::to_string(at) + " has a bad size");
    if (at == 0 && size < kEmfHeaderSize) Fail(kind, "the header is cut short");
    ended = type == kEmrEof;
    at += size;
    info.LargestRecord = std::max(info.LargestRecord, size);
  }
  info.End = at;
  // The frame is in hundredths of a millimetre; the bounds in device pixels.
  info.Width = Pixels(static_cast<double>(SignedDWord(d, 32)) - SignedDWord(d, 24), 2540.0);
  info.Height = Pixels(static_cast<double>(SignedDWord(d, 36)) - SignedDWord(d, 28), 2540.0);
  if (info.Width <= 0 || info.Height <= 0) {
    info.Width = static_cast<int>(std::min<int64_t>(INT32_MAX, std::llabs(int64_t{SignedDWord(d, 16)} - SignedDWord(d, 8)) + 1));
    info.Height = static_cast<int>(std::min<int64_t>(INT32_MAX, std::llabs(int64_t{SignedDWord(d, 20)} - SignedDWord(d, 12)) + 1));
  }
  CheckSize(kind, info);
  return info;
}

constexpr size_t kPlaceableSize = 22;
constexpr size_t kWmfHeaderSize = 18;

TMetafileInfo ReadWindowsHeader(std::span<const uint8_t> d) {
  constexpr TMetafileKind kind = TMetafileKind::Windows;
  if (d.size() < kPlaceableSize + kWmfHeaderSize) Fail(kind, "the header is cut short");
  if (DWord(d, 0) != kPlaceableMetafileKey) Fail(kind, "the placeable header is missing");
  const uint16_t inch = Word(d, 14);
  if (inch == 0) Fail(kind, "the header gives no units per inch");
  const uint16_t type = Word(d, kPlaceableSize), headerWords = Word(d, kPlaceableSize + 2);
  if ((type != 1 && type != 2) || headerWords != kWmfHeaderSize / 2) Fail(kind, "the header is not valid");
  TMetafileInfo info;
  info.Kind = kind;
  size_t at = kPlaceableSize + kWmfHeaderSize;
  bool ended = false;
  while (!ended) {
    if (d.size() - at < 6) Fail(kind, "the end record is missing");
    const uint64_t bytes = uint64_t{DWord(d, at)} * 2;
    const uint16_t function = Word(d, at + 4);
    if (bytes < 6 || bytes > d.size() - at)
      Fail(kind, "record " + std::to_string(function) + " at byte " + std::to_string(at) + " has a bad size");
    ended = function == 0;
    at += static_cast<size_t>(bytes);
    info.LargestRecord = std::max(info.LargestRecord, static_cast<uint32_t>(bytes));
  }
  info.End = at;
  info.Width = Pixels(static_cast<double>(SignedWord(d, 10)) - SignedWord(d, 6), inch);
  info.Height = Pixels(static_cast<double>(SignedWord(d, 12)) - SignedWord(d, 8), inch);
  CheckSize(kind, info);
  return info;
}

// The picture's frame in the coordinates of libemf2svg's drawing: reference-device
// pixels moved by the bounds' top left. Windows maps the frame, not the bounds, onto the
// destination, so the frame becomes the SVG view box.
std::string EnhancedViewBox(std::span<const uint8_t> d) {
  const double mmWidth = SignedDWord(d, 80), mmHeight = SignedDWord(d, 84);
  const double devWidth = SignedDWord(d, 72), devHeight = SignedDWord(d, 76);
  const double perMmX = mmWidth > 0 && devWidth > 0 ? devWidth / mmWidth : 96 / 25.4;
  const double perMmY = mmHeight > 0 && devHeight > 0 ? devHeight / mmHeight : 96 / 25.4;
  double x = SignedDWord(d, 24) / 100.0 * perMmX - SignedDWord(d, 8);
  double y = SignedDWord(d, 28) / 100.0 * perMmY - SignedDWord(d, 12);
  double w = (static_cast<double>(SignedDWord(d, 32)) - SignedDWord(d, 24)) / 100.0 * perMmX;
  double h = (static_cast<double>(SignedDWord(d, 36)) - SignedDWord(d, 28)) / 100.0 * perMmY;
  if (w <= 0 || h <= 0) {
    x = y = 0;
    w = std::fabs(static_cast<double>(SignedDWord(d, 16)) - SignedDWord(d, 8)) + 1;
    h = std::fabs(static_cast<double>(SignedDWord(d, 20)) - SignedDWord(d, 12)) + 1;
  }
  char text[160];
  std::snprintf(text, sizeof text, "%.4f %.4f %.4f %.4f", x, y, w, h);
  return text;
}

// Replaces the size attributes of the root element by the picture's size and view box.
std::string WithFrame(std::string svg, const TMetafileInfo& info, const std::string& viewBox) {
  const size_t root = svg.find("<svg");
  const size_t end = root == std::string::npos ? root : svg.find('>', root);
  if (end == std::string::npos) Fail(TMetafileKind::Enhanced, "the drawing could not be converted");
  std::string tag = svg.substr(root, end - root);
  for (const char* name : {" width=\"", " height=\""}) {
    const size_t at = tag.find(name);
    if (at == std::string::npos) continue;
    const size_t close = tag.find('"', at + std::strlen(name));
    if (close != std::string::npos) tag.erase(at, close + 1 - at);
  }
  tag += " width=\"" + std::to_string(info.Width) + "\" height=\"" + std::to_string(info.Height) +
         "\" viewBox=\"" + viewBox + "\"";
  return svg.replace(root, end - root, tag);
}

std::string EnhancedToSvg(std::span<const uint8_t> data, const TMetafileInfo& info) {
  std::vector<char> contents(data.begin(), data.end());
  char nameSpace[] = "";
  generatorOptions options{};
  options.nameSpace = nameSpace;
  options.verbose = false;
  options.emfplus = true;
  options.svgDelimiter = true;
  // Unscaled: the drawing stays in reference-device pixels, which the view box maps.
  options.imgWidth = 0;
  options.imgHeight = 0;
  char* out = nullptr;
  size_t length = 0;
  const int ok = emf2svg(contents.data(), contents.size(), &out, &length, &options);
  std::unique_ptr<char, decltype(&std::free)> owned(out, &std::free);
  if (!ok || !out || length == 0) Fail(TMetafileKind::Enhanced, "the drawing could not be converted");
  return WithFrame(std::string(out, length), info, EnhancedViewBox(data));
}

// libwmf measures text with the thirteen standard PostScript faces; it gets the files
// our font layer resolves for the matching Windows faces, so it needs no font package
// of its own.
class TWmfFonts {
 public:
  TWmfFonts() {
    struct TFace {
      const char* PsName;
      const char* Face;
      TFontStyles Style;
    };
    static const TFace faces[] = {
        {"Times-Roman", "Times New Roman", 0},      {"Times-Italic", "Times New Roman", fsItalic},
        {"Times-Bold", "Times New Roman", fsBold},  {"Times-BoldItalic", "Times New Roman", fsBold | fsItalic},
        {"Helvetica", "Arial", 0},                  {"Helvetica-Oblique", "Arial", fsItalic},
        {"Helvetica-Bold", "Arial", fsBold},        {"Helvetica-BoldOblique", "Arial", fsBold | fsItalic},
        {"Courier", "Courier New", 0},              {"Courier-Oblique", "Courier New", fsItalic},
        {"Courier-Bold", "Courier New", fsBold},    {"Courier-BoldOblique", "Courier New", fsBold | fsItalic},
        {"Symbol", "Symbol", 0},
    };
    for (const TFace& f : faces) {
      const std::filesystem::path path = ResolveFontFile(f.Face, f.Style).Path;
      if (path.empty()) continue;
      names_.push_back(f.PsName);
      files_.push_back(path.filename().string());
      const std::string folder = path.parent_path().string();
      if (std::find(folders_.begin(), folders_.end(), folder) == folders_.end()) folders_.push_back(folder);
    }
    for (size_t i = 0; i < names_.size(); ++i)
      mappings_.push_back(wmfMapping{names_[i].data(), files_[i].data(), FT_ENCODING_NONE});
    mappings_.push_back(wmfMapping{nullptr, nullptr, FT_ENCODING_NONE});
    for (std::string& folder : folders_) folderList_.push_back(folder.data());
    folderList_.push_back(nullptr);
  }
  void Apply(wmfAPI_Options& options) {
    options.fontdirs = folderList_.data();
    options.font.ps = mappings_.data();
  }

 private:
  std::vector<std::string> names_, files_, folders_;
  std::vector<wmfMapping> mappings_;
  std::vector<char*> folderList_;
};

std::string WindowsToSvg(std::span<const uint8_t> data, const TMetafileInfo& info) {
  static TWmfFonts fonts;
  wmfAPI_Options options{};
  options.function = wmf_svg_function;
  fonts.Apply(options);
  wmfAPI* api = nullptr;
  const unsigned long flags = WMF_OPT_FUNCTION | WMF_OPT_IGNORE_NONFATAL | WMF_OPT_NO_ERROR | WMF_OPT_NO_DEBUG |
                              WMF_OPT_FONTDIRS | WMF_OPT_FONTMAP;
  if (wmf_api_create(&api, flags, &options) != wmf_E_None) {
    if (api) wmf_api_destroy(api);
    Fail(TMetafileKind::Windows, "the drawing library could not start");
  }
  std::unique_ptr<wmfAPI, decltype(&wmf_api_destroy)> owned(api, &wmf_api_destroy);
  // The header's sizes are what libwmf allocates by: they are set from the records
  // themselves, so that a header that lies cannot make it allocate without bound.
  std::vector<unsigned char> contents(data.begin(), data.begin() + static_cast<std::ptrdiff_t>(info.End));
  SetDWord(contents, kPlaceableSize + 6, static_cast<uint32_t>((info.End - kPlaceableSize) / 2));
  SetDWord(contents, kPlaceableSize + 12, info.LargestRecord / 2);
  wmfD_Rect bbox{};
  if (wmf_mem_open(api, contents.data(), static_cast<long>(contents.size())) != wmf_E_None ||
      wmf_scan(api, 0, &bbox) != wmf_E_None)
    Fail(TMetafileKind::Windows, "the drawing could not be read");
  // The picture's frame in the player's device units (points from the window origin),
  // not the scanned extent of what is drawn: the frame is what fills the destination.
  bbox.TL = {0, 0};
  bbox.BR = {static_cast<float>(info.Width * 0.75), static_cast<float>(info.Height * 0.75)};
  wmf_svg_t* svg = WMF_SVG_GetData(api);
  svg->out = wmf_stream_create(api, nullptr);
  svg->Description = nullptr;
  svg->bbox = bbox;
  svg->width = static_cast<unsigned>(info.Width);
  svg->height = static_cast<unsigned>(info.Height);
  svg->flags |= WMF_SVG_INLINE_IMAGES;
  const wmf_error_t played = wmf_play(api, 0, &bbox);
  char* out = nullptr;
  unsigned long length = 0;
  wmf_stream_destroy(api, svg->out, &out, &length);
  std::string text = out ? std::string(out, length) : std::string();
  if (out) wmf_free(api, out);
  if (played != wmf_E_None || text.empty()) Fail(TMetafileKind::Windows, "the drawing could not be converted");
  return text;
}

}  // namespace

TMetafileInfo ReadMetafileHeader(std::span<const uint8_t> data) {
  if (data.size() >= 4 && DWord(data, 0) == kPlaceableMetafileKey) return ReadWindowsHeader(data);
  if (data.size() >= 44 && DWord(data, 40) == kEnhancedMetafileSignature) return ReadEnhancedHeader(data);
  throw TPictureError("Metafile: the data is neither a placeable Windows metafile nor an enhanced metafile");
}

std::string MetafileToSvg(std::span<const uint8_t> data, const TMetafileInfo& info) {
  // Neither library promises to be safe across threads (libwmf keeps process-wide state
  // while it plays): one conversion at a time.
  static std::mutex lock;
  std::lock_guard guard(lock);
  return info.Kind == TMetafileKind::Enhanced ? EnhancedToSvg(data, info) : WindowsToSvg(data, info);
}
