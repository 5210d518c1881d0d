// PDF fonts: selecting, shaping into glyph indices, and the font objects.

#include "output/frxPDFFont.h"

#include <hb-subset.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "output/frxExportPDF_writer.h"
#include "platform/CodePage.h"
#include "platform/Fonts.h"

namespace {

// The em of the measuring font in pixels: glyph space counts thousandths of an em.
constexpr int kMeasuringEm = 1000;

std::shared_ptr<const TFontInstance> MeasuringInstance(const std::string& face, TFontStyles style) {
  TCanvasFont font;
  font.Name = face;
  font.Height = -kMeasuringEm;
  font.Style = style & (fsBold | fsItalic);
  return TFontInstance::Get(font);
}

std::string ReplaceAll(std::string text, std::string_view from, std::string_view to) {
  for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
    text.replace(at, from.size(), to);
  return text;
}

std::string HexByte(unsigned value) {
  char text[4];
  std::snprintf(text, sizeof text, "#%02X", value & 0xFF);
  return text;
}

// The six-letter tag that marks a subset font's name, from the glyphs it holds.
std::string SubsetTag(const std::vector<uint16_t>& glyphs) {
  uint32_t hash = 2166136261u;
  for (uint16_t g : glyphs) hash = (hash ^ g) * 16777619u;
  std::string tag;
  for (int i = 0; i < 6; ++i, hash /= 26) tag += static_cast<char>('A' + hash % 26);
  return tag + "+";
}

// The font file reduced to `glyphs` (and what they are built from), glyph indices kept.
std::vector<uint8_t> SubsetFontFile(const std::vector<uint8_t>& file, int faceIndex,
                                    const std::vector<uint16_t>& glyphs) {
  std::vector<uint8_t> out;
  hb_blob_t* blob = hb_blob_create(reinterpret_cast<const char*>(file.data()), static_cast<unsigned>(file.size()),
                                   HB_MEMORY_MODE_READONLY, nullptr, nullptr);
  hb_face_t* face = hb_face_create(blob, static_cast<unsigned>(faceIndex));
  hb_subset_input_t* input = hb_subset_input_create_or_fail();
  if (input) {
    hb_set_t* glyphSet = hb_subset_input_glyph_set(input);
    hb_set_add(glyphSet, 0);
    for (uint16_t g : glyphs) hb_set_add(glyphSet, g);
    hb_subset_input_set_flags(input, HB_SUBSET_FLAGS_RETAIN_GIDS);
    // A PDF viewer draws glyphs by index; it never shapes, so layout tables are dead weight.
    hb_set_t* dropped = hb_subset_input_set(input, HB_SUBSET_SETS_DROP_TABLE_TAG);
    for (const char* tag : {"GSUB", "GPOS", "GDEF", "kern", "DSIG"})
      hb_set_add(dropped, hb_tag_from_string(tag, 4));
    if (hb_face_t* subset = hb_subset_or_fail(face, input)) {
      hb_blob_t* result = hb_face_reference_blob(subset);
      unsigned length = 0;
      const char* data = hb_blob_get_data(result, &length);
      out.assign(data, data + length);
      hb_blob_destroy(result);
      hb_face_destroy(subset);
    }
    hb_subset_input_destroy(input);
  }
  hb_face_destroy(face);
  hb_blob_destroy(blob);
  return out;
}

// A stream object: its dictionary line, "stream", the bytes, then `afterData` and
// "endstream". With `compressed` the data is deflated and Length1 gives its plain size.
void WriteFontStream(TfrxPDFWriter& writer, int number, const std::string& plain, bool compressed,
                     std::string_view afterData) {
  writer.BeginObject(number);
  std::string data = compressed ? PdfDeflate(plain) : plain;
  data = writer.Protect(number, std::move(data));
  if (compressed)
    writer.Line("<< /Length " + std::to_string(data.size()) + "  /Filter /FlateDecode /Length1 " +
                std::to_string(plain.size()) + " >>");
  else
    writer.Line("<< /Length " + std::to_string(data.size()) + " /Length1 " + std::to_string(plain.size()) + " >>");
  writer.Line("stream");
  writer.Write(data);
  writer.Write(afterData);
  writer.Line("endstream");
  writer.EndObject();
}

}  // namespace

TfrxPDFFont::TfrxPDFFont(const TFont& font, int index)
    : font_(font), resourceName_("/F" + std::to_string(index)) {
  measuring_ = MeasuringInstance(font.Name, font.Style);
  const std::shared_ptr<const TFontInstance> metricsFont =
      measuring_->File().HasOutlines() ? measuring_ : MeasuringInstance("Arial", font.Style);
  metrics_ = metricsFont->OutlineMetrics();
  glyphSlot_.assign(static_cast<size_t>(std::max(measuring_->File().GlyphCount(), 1)), -1);
}

TfrxPDFFont::~TfrxPDFFont() = default;

void TfrxPDFFont::Record(uint16_t glyph, int advance, std::u16string chars) {
  if (glyph >= glyphSlot_.size()) glyphSlot_.resize(glyph + 1u, -1);
  glyphSlot_[glyph] = static_cast<int32_t>(usedGlyphs_.size());
  usedGlyphs_.push_back(glyph);
  glyphWidths_.push_back(advance);
  glyphChars_.push_back(std::move(chars));
}

TfrxPDFGlyphLine TfrxPDFFont::TextToGlyphs(std::u16string_view text, bool rightToLeft) {
  TfrxPDFGlyphLine line;
  const std::vector<TShapedGlyph> shaped = measuring_->Shape(text, rightToLeft);
  // Each cluster's characters run from its start to the next cluster start above it.
  std::vector<int> starts;
  starts.reserve(shaped.size());
  for (const TShapedGlyph& g : shaped) starts.push_back(g.Cluster);
  std::sort(starts.begin(), starts.end());
  starts.erase(std::unique(starts.begin(), starts.end()), starts.end());
  std::vector<bool> clusterGiven(starts.size(), false);

  line.Glyphs.reserve(shaped.size());
  // The characters go with the cluster's first glyph in logical order: the leftmost in
  // a left-to-right run, the rightmost in a right-to-left one. Visiting right-to-left
  // lines from the end gives the logical first in both usual cases.
  std::vector<std::u16string> charsOf(shaped.size());
  for (size_t n = 0; n < shaped.size(); ++n) {
    const size_t i = rightToLeft ? shaped.size() - 1 - n : n;
    const auto it = std::lower_bound(starts.begin(), starts.end(), shaped[i].Cluster);
    const size_t c = static_cast<size_t>(it - starts.begin());
    if (clusterGiven[c]) continue;
    clusterGiven[c] = true;
    const size_t from = std::min(static_cast<size_t>(shaped[i].Cluster), text.size());
    const size_t to = c + 1 < starts.size() ? static_cast<size_t>(starts[c + 1]) : text.size();
    charsOf[i] = std::u16string(text.substr(from, to > from ? to - from : 0));
  }
  for (size_t i = 0; i < shaped.size(); ++i) {
    const TShapedGlyph& g = shaped[i];
    if (g.Glyph >= glyphSlot_.size() || glyphSlot_[g.Glyph] < 0) Record(g.Glyph, g.Advance, std::move(charsOf[i]));
    line.Glyphs.push_back(g.Glyph);
    line.Advance += g.Advance;
  }
  return line;
}

std::string TfrxPDFFont::PDFFontName() const {
  std::string name = font_.Name;
  static const std::pair<const char*, const char*> kEscapes[] = {
      {" ", "#20"}, {"(", "#28"}, {")", "#29"}, {"%", "#25"}, {"<", "#3C"}, {">", "#3E"},
      {"[", "#5B"}, {"]", "#5D"}, {"{", "#7B"}, {"}", "#7D"}, {"/", "#2F"}};
  for (const auto& [from, to] : kEscapes) name = ReplaceAll(name, from, to);
  std::string suffix;
  if (font_.has(fsBold)) suffix += "Bold";
  if (font_.has(fsItalic)) suffix += "Italic";
  if (!suffix.empty()) name += "," + suffix;

  std::string out;
  for (char16_t c : codepage::ToWide(name)) {
    if (c < 0x80) {
      out += static_cast<char>(c);
    } else if (c <= 0xFF) {
      out += HexByte(c);
    } else {
      // Beyond Latin-1 a name keeps the character's UTF-8 bytes, each as "#XX".
      for (char byte : codepage::FromWide(std::u16string(1, c), codepage::kUtf8)) out += HexByte(static_cast<uint8_t>(byte));
    }
  }
  return out;
}

std::string TfrxPDFFont::ToUnicodeMap(const std::string& cmapName) const {
  std::string map;
  auto line = [&map](std::string_view text) { map.append(text).append("\r\n"); };
  line("/CIDInit /ProcSet findresource begin");
  line("12 dict begin");
  line("begincmap");
  line("/CIDSystemInfo");
  line("<< /Registry (Adobe)");
  line("/Ordering (UCS)");
  line("/Supplement 0");
  line(">> def");
  line("/CMapName /" + cmapName + " def");
  line("/CMapType 2 def");
  line("1 begincodespacerange");
  line("<0000> <FFFF>");
  line("endcodespacerange");
  // A bfchar block holds at most 100 entries.
  std::vector<size_t> mapped;
  for (size_t i = 0; i < usedGlyphs_.size(); ++i)
    if (!glyphChars_[i].empty()) mapped.push_back(i);
  for (size_t from = 0; from < mapped.size(); from += 100) {
    const size_t to = std::min(mapped.size(), from + 100);
    line(std::to_string(to - from) + " beginbfchar");
    for (size_t k = from; k < to; ++k) {
      std::string chars;
      for (char16_t unit : glyphChars_[mapped[k]]) chars += PdfHex4(unit);
      line("<" + PdfHex4(usedGlyphs_[mapped[k]]) + "> <" + chars + ">");
    }
    line("endbfchar");
  }
  line("endcmap");
  line("CMapName currentdict /CMap defineresource pop");
  line("end");
  line("end");
  return map;
}

std::vector<uint8_t> TfrxPDFFont::FontFileBytes(const TfrxPDFFontOptions& options) const {
  const TFontFile& file = measuring_->File();
  if (options.Subset || file.Ref().FaceIndex != 0) {
    // A face of a collection file can only be embedded on its own, which the subsetter
    // makes; with every glyph kept when no subset was asked for.
    std::vector<uint16_t> glyphs = usedGlyphs_;
    if (!options.Subset)
      for (int g = 0; g < file.GlyphCount(); ++g) glyphs.push_back(static_cast<uint16_t>(g));
    return SubsetFontFile(file.FileBytes(), file.Ref().FaceIndex, glyphs);
  }
  return file.FileBytes();
}

void TfrxPDFFont::WriteFont(TfrxPDFWriter& writer, const TfrxPDFFontOptions& options) const {
  const bool subset = options.Embedded && options.Subset;
  const std::string name = (subset ? SubsetTag(usedGlyphs_) : std::string()) + PDFFontName();

  int fontFile = 0;
  if (options.Embedded) {
    fontFile = writer.NewObject();
    const std::vector<uint8_t> bytes = FontFileBytes(options);
    WriteFontStream(writer, fontFile, std::string(bytes.begin(), bytes.end()), options.Compressed, "\r\n");
  }

  const int descriptor = writer.NewObject();
  const TOutlineTextMetric& m = metrics_;
  writer.BeginObject(descriptor);
  writer.Line("<<");
  writer.Line("/Type /FontDescriptor");
  writer.Line("/FontName /" + name);
  writer.Line("/FontFamily /" + name);
  writer.Line("/Flags 32");
  writer.Line("/FontBBox [" + std::to_string(m.FontBox.Left) + " " + std::to_string(m.FontBox.Bottom) + " " +
              std::to_string(m.FontBox.Right) + " " + std::to_string(m.FontBox.Top) + " ]");
  writer.Line("/ItalicAngle " + std::to_string(static_cast<int>(std::lround(m.ItalicAngle))));
  writer.Line("/Ascent " + std::to_string(m.Ascent));
  writer.Line("/Descent " + std::to_string(m.Descent));
  writer.Line("/Leading " + std::to_string(m.InternalLeading));
  writer.Line("/CapHeight " + std::to_string(m.CellHeight));
  const double stem = m.Weight / 65.0;
  writer.Line("/StemV " + std::to_string(std::lround(stem * stem) + 50));
  writer.Line("/AvgWidth " + std::to_string(m.AvgCharWidth));
  writer.Line("/MxWidth " + std::to_string(m.MaxCharWidth));
  writer.Line("/MissingWidth " + std::to_string(m.AvgCharWidth));
  if (fontFile) writer.Line("/FontFile2 " + TfrxPDFWriter::Ref(fontFile));
  writer.Line(">>");
  writer.EndObject();

  const int toUnicode = writer.NewObject();
  WriteFontStream(writer, toUnicode, ToUnicodeMap(ReplaceAll(name, ",", "+")), options.Compressed,
                  options.Compressed ? "\r\n" : "");

  const int systemInfo = writer.NewObject();
  writer.BeginObject(systemInfo);
  writer.Line("<<");
  writer.Line("/Registry (Adobe) /Ordering (Identity) /Supplement 0");
  writer.Line(">>");
  writer.EndObject();

  const int descendant = writer.NewObject();
  writer.BeginObject(descendant);
  writer.Line("<<");
  writer.Line("/Type /Font");
  writer.Line("/Subtype /CIDFontType2");
  writer.Line("/BaseFont /" + name);
  writer.Line("/CIDSystemInfo " + TfrxPDFWriter::Ref(systemInfo));
  writer.Line("/FontDescriptor " + TfrxPDFWriter::Ref(descriptor));
  std::string widths = "/W [ ";
  for (size_t i = 0; i < usedGlyphs_.size(); ++i)
    widths += std::to_string(usedGlyphs_[i]) + " [" + std::to_string(glyphWidths_[i]) + "] ";
  writer.Line(widths + "]");
  writer.Line(">>");
  writer.EndObject();

  writer.PlaceObject(objectNumber_);
  writer.BeginObject(objectNumber_);
  writer.Line("<<");
  writer.Line("/Type /Font");
  writer.Line("/Subtype /Type0");
  writer.Line("/BaseFont /" + name);
  writer.Line("/Encoding /Identity-H");
  writer.Line("/DescendantFonts [" + TfrxPDFWriter::Ref(descendant) + "]");
  writer.Line("/ToUnicode " + TfrxPDFWriter::Ref(toUnicode));
  writer.Line(">>");
  writer.EndObject();
}

// ---------------------------------------------------------------------------------

int TfrxPDFFonts::SelectPDFFont(const TFont& font) {
  for (size_t i = 0; i < fonts_.size(); ++i) {
    const TFont& f = fonts_[i]->SourceFont();
    if (f.Name == font.Name && f.Style == font.Style) return static_cast<int>(i);
  }
  fonts_.push_back(std::make_unique<TfrxPDFFont>(font, Count()));
  return Count() - 1;
}
