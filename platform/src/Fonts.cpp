#include "platform/Fonts.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_TRUETYPE_TABLES_H
#include FT_TRUETYPE_TAGS_H
#include FT_ADVANCES_H
#include <hb.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <fstream>
#include <iterator>
#include <map>
#include <mutex>
#include <tuple>

#include "FontBidi.h"
#include "platform/CodePage.h"

namespace {

std::string LowerAscii(std::string_view s) {
  std::string out(s);
  for (char& c : out)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return out;
}

// fontconfig is initialised once and queried under one lock: its configuration is
// shared process state.
std::mutex& FontconfigMutex() {
  static std::mutex m;
  return m;
}

std::string FcString(FcPattern* pattern, const char* object) {
  FcChar8* value = nullptr;
  if (FcPatternGetString(pattern, object, 0, &value) == FcResultMatch && value != nullptr)
    return reinterpret_cast<const char*>(value);
  return {};
}

TFontFileRef MatchFontFile(const std::string& familyUtf8, bool bold, bool italic) {
  std::lock_guard<std::mutex> guard(FontconfigMutex());
  if (!FcInit()) throw TFontError("fontconfig cannot be initialised");
  FcPattern* pattern = FcPatternCreate();
  if (!familyUtf8.empty())
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(familyUtf8.c_str()));
  FcPatternAddInteger(pattern, FC_WEIGHT, bold ? FC_WEIGHT_BOLD : FC_WEIGHT_REGULAR);
  FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
  FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
  FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
  FcDefaultSubstitute(pattern);
  FcResult result = FcResultNoMatch;
  FcPattern* match = FcFontMatch(nullptr, pattern, &result);
  FcPatternDestroy(pattern);
  TFontFileRef ref;
  if (match != nullptr) {
    ref.Path = FcString(match, FC_FILE);
    ref.Family = FcString(match, FC_FAMILY);
    int index = 0;
    if (FcPatternGetInteger(match, FC_INDEX, 0, &index) == FcResultMatch) ref.FaceIndex = index;
    FcPatternDestroy(match);
  }
  if (ref.Path.empty())
    throw TFontError("no font file found for the face \"" + familyUtf8 + "\"");
  return ref;
}

FT_Library FreeTypeLibrary() {
  static FT_Library library = [] {
    FT_Library lib = nullptr;
    if (FT_Init_FreeType(&lib) != 0) throw TFontError("FreeType cannot be initialised");
    return lib;
  }();
  return library;
}

// FreeType's library object is not safe for concurrent face creation.
std::mutex& FreeTypeMutex() {
  static std::mutex m;
  return m;
}

std::vector<uint8_t> ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw TFontError("cannot open the font file " + path);
  std::vector<uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (bytes.empty()) throw TFontError("the font file " + path + " is empty");
  return bytes;
}

FT_ULong TagOf(std::string_view tag) {
  std::array<char, 4> t{' ', ' ', ' ', ' '};
  for (size_t i = 0; i < tag.size() && i < 4; ++i) t[i] = tag[i];
  return FT_MAKE_TAG(t[0], t[1], t[2], t[3]);
}

}  // namespace

struct TFontFile::TShaper {
  hb_blob_t* blob = nullptr;
  hb_face_t* face = nullptr;
  hb_font_t* font = nullptr;
  ~TShaper() {
    hb_font_destroy(font);
    hb_face_destroy(face);
    hb_blob_destroy(blob);
  }
};

TFontFileRef ResolveFontFile(std::string_view faceName, TFontStyles style) {
  using Key = std::tuple<std::string, bool, bool>;
  static std::mutex m;
  static std::map<Key, TFontFileRef> cache;
  const bool bold = (style & fsBold) != 0;
  const bool italic = (style & fsItalic) != 0;
  Key key{LowerAscii(faceName), bold, italic};
  {
    std::lock_guard<std::mutex> guard(m);
    auto it = cache.find(key);
    if (it != cache.end()) return it->second;
  }
  TFontFileRef ref = MatchFontFile(codepage::AnsiToUtf8(faceName), bold, italic);
  std::lock_guard<std::mutex> guard(m);
  cache.emplace(key, ref);
  return ref;
}

TFontFile::~TFontFile() = default;

std::shared_ptr<const TFontFile> TFontFile::Open(const TFontFileRef& ref) {
  using Key = std::pair<std::string, int>;
  static std::mutex m;
  static std::map<Key, std::shared_ptr<const TFontFile>> cache;
  Key key{ref.Path, ref.FaceIndex};
  {
    std::lock_guard<std::mutex> guard(m);
    auto it = cache.find(key);
    if (it != cache.end()) return it->second;
  }

  std::shared_ptr<TFontFile> file(new TFontFile());
  file->ref_ = ref;
  file->bytes_ = ReadFile(ref.Path);

  {
    std::lock_guard<std::mutex> guard(FreeTypeMutex());
    FT_Face face = nullptr;
    if (FT_New_Memory_Face(FreeTypeLibrary(), file->bytes_.data(),
                           static_cast<FT_Long>(file->bytes_.size()), ref.FaceIndex, &face) != 0)
      throw TFontError("FreeType cannot read the font file " + ref.Path);
    struct FaceCloser {
      FT_Face f;
      ~FaceCloser() { FT_Done_Face(f); }
    } closer{face};

    file->outlines_ = FT_IS_SCALABLE(face) && FT_IS_SFNT(face);
    file->unitsPerEm_ = face->units_per_EM > 0 ? face->units_per_EM : 1000;

    const FT_Long glyphs = std::max<FT_Long>(face->num_glyphs, 1);
    std::vector<FT_Fixed> advances(static_cast<size_t>(glyphs), 0);
    FT_Get_Advances(face, 0, static_cast<FT_UInt>(glyphs), FT_LOAD_NO_SCALE, advances.data());
    file->advances_.resize(advances.size());
    for (size_t i = 0; i < advances.size(); ++i)
      file->advances_[i] = static_cast<uint16_t>(std::clamp<FT_Fixed>(advances[i], 0, 0xFFFF));

    file->bmpGlyphs_.assign(0x10000, 0);
    if (FT_Select_Charmap(face, FT_ENCODING_UNICODE) == 0) {
      FT_UInt glyph = 0;
      FT_ULong ch = FT_Get_First_Char(face, &glyph);
      while (glyph != 0) {
        if (glyph < file->advances_.size()) {
          if (ch < 0x10000)
            file->bmpGlyphs_[ch] = static_cast<uint16_t>(glyph);
          else
            file->astralGlyphs_.emplace_back(static_cast<char32_t>(ch), static_cast<uint16_t>(glyph));
        }
        ch = FT_Get_Next_Char(face, ch, &glyph);
      }
      std::sort(file->astralGlyphs_.begin(), file->astralGlyphs_.end());
    } else if (FT_Select_Charmap(face, FT_ENCODING_MS_SYMBOL) == 0) {
      // Symbol fonts map the 8-bit codes into U+F000..U+F0FF; the codes are what
      // callers pass.
      for (FT_ULong code = 0; code < 0x100; ++code) {
        FT_UInt glyph = FT_Get_Char_Index(face, 0xF000 + code);
        if (glyph != 0 && glyph < file->advances_.size())
          file->bmpGlyphs_[code] = file->bmpGlyphs_[0xF000 + code] = static_cast<uint16_t>(glyph);
      }
    }

    TDesignMetrics& dm = file->metrics_;
    dm.XMin = static_cast<int>(face->bbox.xMin);
    dm.YMin = static_cast<int>(face->bbox.yMin);
    dm.XMax = static_cast<int>(face->bbox.xMax);
    dm.YMax = static_cast<int>(face->bbox.yMax);
    dm.HheaAscent = face->ascender;
    dm.HheaDescent = face->descender;
    dm.HheaLineGap = std::max(0, face->height - (face->ascender - face->descender));
    dm.MaxAdvance = face->max_advance_width;
    dm.UnderlinePosition = face->underline_position;
    dm.UnderlineThickness = std::max<int>(face->underline_thickness, 1);
    dm.Bold = (face->style_flags & FT_STYLE_FLAG_BOLD) != 0;
    dm.Italic = (face->style_flags & FT_STYLE_FLAG_ITALIC) != 0;
    dm.Weight = dm.Bold ? 700 : 400;
    dm.WinAscent = dm.TypoAscent = dm.HheaAscent;
    dm.WinDescent = -dm.HheaDescent;
    dm.TypoDescent = dm.HheaDescent;
    dm.AvgCharWidth = dm.MaxAdvance / 2;
    dm.StrikeoutPosition = file->unitsPerEm_ / 4;
    dm.StrikeoutThickness = dm.UnderlineThickness;
    dm.CapHeight = dm.HheaAscent;
    if (auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
        os2 != nullptr && os2->version != 0xFFFF) {
      if (os2->usWinAscent + os2->usWinDescent > 0) {
        dm.WinAscent = os2->usWinAscent;
        dm.WinDescent = os2->usWinDescent;
      }
      dm.TypoAscent = os2->sTypoAscender;
      dm.TypoDescent = os2->sTypoDescender;
      if (os2->xAvgCharWidth > 0) dm.AvgCharWidth = os2->xAvgCharWidth;
      if (os2->usWeightClass >= 100 && os2->usWeightClass <= 900) dm.Weight = os2->usWeightClass;
      if (os2->yStrikeoutSize > 0) {
        dm.StrikeoutPosition = os2->yStrikeoutPosition;
        dm.StrikeoutThickness = os2->yStrikeoutSize;
      }
      if (os2->version >= 2 && os2->sCapHeight > 0) dm.CapHeight = os2->sCapHeight;
    }
    if (auto* post = static_cast<TT_Postscript*>(FT_Get_Sfnt_Table(face, FT_SFNT_POST)))
      dm.ItalicAngle = static_cast<double>(post->italicAngle) / 65536.0;
  }

  auto shaper = std::make_unique<TShaper>();
  shaper->blob = hb_blob_create(reinterpret_cast<const char*>(file->bytes_.data()),
                                static_cast<unsigned>(file->bytes_.size()), HB_MEMORY_MODE_READONLY,
                                nullptr, nullptr);
  shaper->face = hb_face_create(shaper->blob, static_cast<unsigned>(ref.FaceIndex));
  shaper->font = hb_font_create(shaper->face);
  hb_font_set_scale(shaper->font, file->unitsPerEm_, file->unitsPerEm_);
  hb_font_make_immutable(shaper->font);
  file->shaper_ = std::move(shaper);

  std::lock_guard<std::mutex> guard(m);
  auto [it, inserted] = cache.emplace(key, std::move(file));
  return it->second;
}

uint16_t TFontFile::GlyphIndex(char32_t ch) const {
  if (ch < 0x10000) return bmpGlyphs_[ch];
  auto it = std::lower_bound(astralGlyphs_.begin(), astralGlyphs_.end(),
                             std::make_pair(ch, uint16_t{0}));
  return it != astralGlyphs_.end() && it->first == ch ? it->second : 0;
}

int TFontFile::GlyphAdvance(uint16_t glyph) const {
  return glyph < advances_.size() ? advances_[glyph] : 0;
}

std::vector<uint8_t> TFontFile::Data(std::string_view tableTag) const {
  if (tableTag.empty()) return bytes_;
  std::lock_guard<std::mutex> guard(FreeTypeMutex());
  FT_Face face = nullptr;
  if (FT_New_Memory_Face(FreeTypeLibrary(), bytes_.data(), static_cast<FT_Long>(bytes_.size()),
                         ref_.FaceIndex, &face) != 0)
    return {};
  std::vector<uint8_t> table;
  FT_ULong length = 0;
  const FT_ULong tag = TagOf(tableTag);
  if (FT_Load_Sfnt_Table(face, tag, 0, nullptr, &length) == 0 && length > 0) {
    table.resize(length);
    if (FT_Load_Sfnt_Table(face, tag, 0, table.data(), &length) != 0) table.clear();
  }
  FT_Done_Face(face);
  return table;
}

// ---------------------------------------------------------------------------------

std::shared_ptr<const TFontInstance> TFontInstance::Get(const TCanvasFont& font) {
  using Key = std::tuple<std::string, TFontStyles, int>;
  static std::mutex m;
  static std::map<Key, std::shared_ptr<const TFontInstance>> cache;
  // Zoomed previews make many sizes; a bounded cache is simply emptied when full.
  constexpr size_t kMaxInstances = 512;
  const int height = font.Height == 0 ? TCanvasFont{}.Height : font.Height;
  Key key{LowerAscii(font.Name), font.Style, height};
  {
    std::lock_guard<std::mutex> guard(m);
    auto it = cache.find(key);
    if (it != cache.end()) return it->second;
  }

  std::shared_ptr<TFontInstance> inst(new TFontInstance());
  inst->file_ = TFontFile::Open(ResolveFontFile(font.Name, font.Style));
  inst->style_ = font.Style;
  const auto& dm = inst->file_->Metrics();
  const double upem = inst->file_->UnitsPerEm();
  const int cell = std::max(dm.WinAscent + dm.WinDescent, 1);
  inst->em_ = height < 0 ? -height : height * upem / cell;

  TTextMetric& tm = inst->metrics_;
  tm.Ascent = inst->Scale(dm.WinAscent);
  tm.Descent = inst->Scale(dm.WinDescent);
  if (height > 0) tm.Descent = height - tm.Ascent;  // a cell height is kept exactly
  tm.Height = tm.Ascent + tm.Descent;
  tm.InternalLeading = std::max(0, tm.Height - static_cast<int>(std::lround(inst->em_)));
  const int hheaSpan = dm.HheaAscent - dm.HheaDescent;
  tm.ExternalLeading = std::max(0, inst->Scale(dm.HheaLineGap - (cell - hheaSpan)));
  tm.AveCharWidth = inst->Scale(dm.AvgCharWidth);
  tm.MaxCharWidth = inst->Scale(dm.MaxAdvance);

  std::lock_guard<std::mutex> guard(m);
  if (cache.size() >= kMaxInstances) cache.clear();
  auto [it, inserted] = cache.emplace(key, std::move(inst));
  return it->second;
}

int TFontInstance::Scale(double designUnits) const {
  return static_cast<int>(std::lround(designUnits * em_ / file_->UnitsPerEm()));
}

int TFontInstance::Advance(char16_t ch) const {
  return Scale(file_->GlyphAdvance(file_->GlyphIndex(ch)));
}

TOutlineTextMetric TFontInstance::OutlineMetrics() const {
  const auto& dm = file_->Metrics();
  TOutlineTextMetric om;
  om.EmSquare = static_cast<int>(std::lround(em_));
  om.FontBox = {Scale(dm.XMin), Scale(dm.YMax), Scale(dm.XMax), Scale(dm.YMin)};
  om.ItalicAngle = dm.ItalicAngle;
  om.Ascent = Scale(dm.TypoAscent);
  om.Descent = Scale(dm.TypoDescent);
  om.CellHeight = metrics_.Height;
  om.InternalLeading = metrics_.InternalLeading;
  om.CapHeight = Scale(dm.CapHeight);
  om.Weight = dm.Weight;
  om.AvgCharWidth = metrics_.AveCharWidth;
  om.MaxCharWidth = metrics_.MaxCharWidth;
  om.UnderlinePosition = Scale(-dm.UnderlinePosition);
  om.UnderlineThickness = std::max(1, Scale(dm.UnderlineThickness));
  om.StrikeoutPosition = Scale(dm.StrikeoutPosition);
  om.StrikeoutThickness = std::max(1, Scale(dm.StrikeoutThickness));
  return om;
}

std::vector<TShapedGlyph> TFontInstance::Shape(std::u16string_view text, bool rightToLeft) const {
  std::vector<TShapedGlyph> out;
  if (text.empty()) return out;
  const std::vector<int> levels = fontbidi::EmbeddingLevels(text, rightToLeft);
  const std::vector<fontbidi::TRun> runs = fontbidi::VisualRuns(levels);
  hb_buffer_t* buffer = hb_buffer_create();
  for (const fontbidi::TRun& run : runs) {
    hb_buffer_clear_contents(buffer);
    hb_buffer_add_utf16(buffer, reinterpret_cast<const uint16_t*>(text.data()),
                        static_cast<int>(text.size()), static_cast<unsigned>(run.Start),
                        run.Length);
    hb_buffer_set_direction(buffer, run.Level % 2 ? HB_DIRECTION_RTL : HB_DIRECTION_LTR);
    hb_buffer_guess_segment_properties(buffer);
    // Without kerning, as every canvas measures: a glyph has one width in a document.
    static const hb_feature_t kNoKerning{HB_TAG('k', 'e', 'r', 'n'), 0, HB_FEATURE_GLOBAL_START,
                                         HB_FEATURE_GLOBAL_END};
    hb_shape(file_->Shaper().font, buffer, &kNoKerning, 1);
    unsigned count = 0;
    const hb_glyph_info_t* info = hb_buffer_get_glyph_infos(buffer, &count);
    const hb_glyph_position_t* pos = hb_buffer_get_glyph_positions(buffer, &count);
    for (unsigned i = 0; i < count; ++i)
      out.push_back({static_cast<uint16_t>(info[i].codepoint), Scale(pos[i].x_advance),
                     static_cast<int>(info[i].cluster)});
  }
  hb_buffer_destroy(buffer);
  return out;
}

std::vector<int> VisualOrder(std::u16string_view text, bool rightToLeft) {
  std::vector<int> order(text.size());
  for (size_t i = 0; i < order.size(); ++i) order[i] = static_cast<int>(i);
  if (!rightToLeft && !fontbidi::HasRightToLeft(text)) return order;
  const std::vector<int> levels = fontbidi::EmbeddingLevels(text, rightToLeft);
  return fontbidi::ReorderByLevels(levels);
}

std::u16string CharsetTextToWide(std::string_view text, int charset) {
  std::u16string out;
  CharsetTextToWide(text, charset, out);
  return out;
}

void CharsetTextToWide(std::string_view text, int charset, std::u16string& out) {
  static std::mutex m;
  static std::map<int, std::array<char16_t, 256>> tables;
  const int codePage = codepage::CharsetCodePage(charset);
  const std::array<char16_t, 256>* table = nullptr;
  {
    std::lock_guard<std::mutex> guard(m);
    auto it = tables.find(codePage);
    if (it == tables.end()) {
      std::array<char16_t, 256> t{};
      for (int b = 0; b < 256; ++b) {
        const char byte = static_cast<char>(b);
        const std::u16string w = codepage::ToWide(std::string_view(&byte, 1), codePage);
        t[static_cast<size_t>(b)] = w.size() == 1 ? w[0] : u'?';
      }
      it = tables.emplace(codePage, t).first;
    }
    table = &it->second;
  }
  out.resize(text.size());
  for (size_t i = 0; i < text.size(); ++i) out[i] = (*table)[static_cast<uint8_t>(text[i])];
}
