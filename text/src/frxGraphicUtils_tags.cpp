#include "frxGraphicUtils_tags.h"

#include <array>
#include <cmath>

namespace {

char16_t Lower(char16_t c) { return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + 32) : c; }

// `word` (ASCII, lower case) at `text[i]`, ignoring case.
bool StartsWithNoCase(std::u16string_view text, size_t i, std::string_view word) {
  if (text.size() - i < word.size()) return false;
  for (size_t k = 0; k < word.size(); ++k)
    if (Lower(text[i + k]) != static_cast<char16_t>(word[k])) return false;
  return true;
}

bool EqualsNoCase(std::u16string_view text, std::string_view word) {
  return text.size() == word.size() && StartsWithNoCase(text, 0, word);
}

int HexDigit(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  c = Lower(c);
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  return -1;
}

// "#RRGGBB" in double quotes.
bool QuotedHexColor(std::u16string_view value, TColor& color) {
  if (value.size() != 9 || value[0] != u'"' || value[1] != u'#' || value[8] != u'"') return false;
  int rgb[3];
  for (int k = 0; k < 3; ++k) {
    const int hi = HexDigit(value[2 + 2 * k]);
    const int lo = HexDigit(value[3 + 2 * k]);
    if (hi < 0 || lo < 0) return false;
    rgb[k] = hi * 16 + lo;
  }
  color = RGBColor(static_cast<uint8_t>(rgb[0]), static_cast<uint8_t>(rgb[1]),
                   static_cast<uint8_t>(rgb[2]));
  return true;
}

struct TNamedColor {
  std::string_view Name;
  TColor Color;
};

// The platform's colour names without "cl": the sixteen basic colours and the
// extended ones.
constexpr std::array<TNamedColor, 22> kColorNames = {{
    {"black", 0x000000},  {"maroon", 0x000080},     {"green", 0x008000},  {"olive", 0x008080},
    {"navy", 0x800000},   {"purple", 0x800080},     {"teal", 0x808000},   {"gray", 0x808080},
    {"silver", 0xC0C0C0}, {"red", 0x0000FF},        {"lime", 0x00FF00},   {"yellow", 0x00FFFF},
    {"blue", 0xFF0000},   {"fuchsia", 0xFF00FF},    {"aqua", 0xFFFF00},   {"white", 0xFFFFFF},
    {"moneygreen", 0xC0DCC0}, {"skyblue", 0xF0CAA6}, {"cream", 0xF0FBFF}, {"medgray", 0xA4A0A0},
    {"ltgray", 0xC0C0C0}, {"dkgray", 0x808080},
}};

}  // namespace

bool frxColorByName(std::u16string_view name, TColor& color) {
  for (const TNamedColor& entry : kColorNames)
    if (EqualsNoCase(name, entry.Name)) {
      color = entry.Color;
      return true;
    }
  return false;
}

void TfrxHTMLTagsParser::Reset(const TFont& font) {
  defaultSize_ = font.Size;
  defaultStyle_ = font.Style;
  defaultColor_ = font.Color;
  current_ = TfrxHTMLTag{};
  current_.Size = defaultSize_;
  current_.Style = defaultStyle_;
  current_.Color = defaultColor_;
  previous_ = current_;
}

TfrxHTMLTag TfrxHTMLTagsParser::CurrentRecord(int position) {
  TfrxHTMLTag tag = current_;
  tag.Position = position;
  tag.Small = tag.Size != defaultSize_;
  tag.Default = tag.SameStyle(previous_);
  previous_ = tag;
  return tag;
}

void TfrxHTMLTagsParser::ParseLine(std::u16string_view line, size_t offset, bool allowTags,
                                   std::u16string& text, TfrxHTMLTags& tags) {
  size_t i = 0;
  while (i < line.size()) {
    if (allowTags && line[i] == u'<') {
      const size_t length = ApplyTag(line, i);
      if (length > 0) {
        i += length;
        continue;
      }
    }
    text.push_back(line[i]);
    tags.push_back(CurrentRecord(static_cast<int>(offset + i + 1)));
    ++i;
  }
}

size_t TfrxHTMLTagsParser::ApplyTag(std::u16string_view line, size_t i) {
  struct TSimpleTag {
    std::string_view Text;
    void (*Apply)(TfrxHTMLTag& state, const TfrxHTMLTagsParser& parser);
  };
  static const TSimpleTag kTags[] = {
      {"<b>", [](TfrxHTMLTag& s, const TfrxHTMLTagsParser&) { s.Style |= fsBold; }},
      {"</b>", [](TfrxHTMLTag& s, const TfrxHTMLTagsParser&) { s.Style &= ~fsBold; }},
      {"<i>", [](TfrxHTMLTag& s, const TfrxHTMLTagsParser&) { s.Style |= fsItalic; }},
      {"</i>", [](TfrxHTMLTag& s, const TfrxHTMLTagsParser&) { s.Style &= ~fsItalic; }},
      {"<u>", [](TfrxHTMLTag& s, const TfrxHTMLTagsParser&) { s.Style |= fsUnderline; }},
      {"</u>", [](TfrxHTMLTag& s, const TfrxHTMLTagsParser&) { s.Style &= ~fsUnderline; }},
      {"<strike>", [](TfrxHTMLTag& s, const TfrxHTMLTagsParser&) { s.Style |= fsStrikeOut; }},
      {"</strike>", [](TfrxHTMLTag& s, const TfrxHTMLTagsParser&) { s.Style &= ~fsStrikeOut; }},
      {"<sub>",
       [](TfrxHTMLTag& s, const TfrxHTMLTagsParser& p) {
         s.Size = static_cast<int>(std::lround(p.defaultSize_ / 1.5));
         s.AddY = 1;
       }},
      {"<sup>",
       [](TfrxHTMLTag& s, const TfrxHTMLTagsParser& p) {
         s.Size = static_cast<int>(std::lround(p.defaultSize_ / 1.5));
         s.AddY = 0;
       }},
      {"</sub>", [](TfrxHTMLTag& s, const TfrxHTMLTagsParser& p) { s.Size = p.defaultSize_; s.AddY = 0; }},
      {"</sup>", [](TfrxHTMLTag& s, const TfrxHTMLTagsParser& p) { s.Size = p.defaultSize_; s.AddY = 0; }},
      {"<nowrap>", [](TfrxHTMLTag& s, const TfrxHTMLTagsParser&) { s.DontWrap = true; }},
      {"</nowrap>", [](TfrxHTMLTag& s, const TfrxHTMLTagsParser&) { s.DontWrap = false; }},
      {"</font>", [](TfrxHTMLTag& s, const TfrxHTMLTagsParser& p) { s.Color = p.defaultColor_; }},
  };
  for (const TSimpleTag& tag : kTags)
    if (StartsWithNoCase(line, i, tag.Text)) {
      tag.Apply(current_, *this);
      return tag.Text.size();
    }
  size_t length = 0;
  if (ApplyFontTag(line, i, length)) return length;
  // Any other tag of five characters, "<" and ">" included, is dropped.
  if (line.size() - i >= 5 && line[i + 4] == u'>') {
    for (size_t k = 1; k < 4; ++k)
      if (line[i + k] == u'<' || line[i + k] == u'>') return 0;
    return 5;
  }
  return 0;
}

bool TfrxHTMLTagsParser::ApplyFontTag(std::u16string_view line, size_t i, size_t& length) {
  constexpr std::string_view kOpen = "<font color=";
  if (!StartsWithNoCase(line, i, kOpen)) return false;
  size_t start = i + kOpen.size();
  while (start < line.size() && line[start] == u' ') ++start;
  const size_t close = line.find(u'>', start);
  if (close == std::u16string_view::npos) return false;
  const std::u16string_view value = line.substr(start, close - start);
  TColor color = clBlack;
  if (!QuotedHexColor(value, color) && !frxColorByName(value, color)) return false;
  current_.Color = color;
  length = close + 1 - i;
  return true;
}
