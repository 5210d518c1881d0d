// FloatToStr and the number pictures of FormatFloat.
#include <cmath>
#include <vector>

#include "FormatNumber.h"
#include "platform/Convert.h"
#include "platform/Format.h"

using formatnumber::TDecimalDigits;

namespace {

// One section of a number picture, read into the parts that decide the digits and the
// elements that are written in order.
struct TPictureSection {
  enum class Kind { Literal, IntegerDigit, DecimalPoint, FractionDigit, Exponent };
  struct Element {
    Kind kind;
    std::string text;  // literal text; for Exponent the letter ("E" or "e")
    bool alwaysSign = false;
    int exponentDigits = 0;
  };
  std::vector<Element> elements;
  int integerPlaceholders = 0;
  int minIntegerDigits = 0;  // from the first "0" before the point on
  int maxDecimals = 0;
  int minDecimals = 0;       // up to the last "0" after the point
  bool thousands = false;
  bool scientific = false;
  bool hasDecimalPoint = false;
};

void AddLiteral(TPictureSection& section, char c) {
  if (section.elements.empty() || section.elements.back().kind != TPictureSection::Kind::Literal)
    section.elements.push_back({TPictureSection::Kind::Literal, {}});
  section.elements.back().text += c;
}

TPictureSection ReadSection(std::string_view text) {
  using Kind = TPictureSection::Kind;
  TPictureSection section;
  int firstZero = -1;
  for (size_t i = 0; i < text.size(); ++i) {
    const char c = text[i];
    if (c == '"' || c == '\'') {
      const size_t end = text.find(c, i + 1);
      const size_t stop = end == std::string_view::npos ? text.size() : end;
      for (size_t j = i + 1; j < stop; ++j) AddLiteral(section, text[j]);
      i = stop;
    } else if ((c == '0' || c == '#') && !section.scientific) {
      if (section.hasDecimalPoint) {
        ++section.maxDecimals;
        if (c == '0') section.minDecimals = section.maxDecimals;
        section.elements.push_back({Kind::FractionDigit, {}});
      } else {
        if (c == '0' && firstZero < 0) firstZero = section.integerPlaceholders;
        ++section.integerPlaceholders;
        section.elements.push_back({Kind::IntegerDigit, {}});
      }
    } else if (c == '.' && !section.hasDecimalPoint && !section.scientific) {
      section.hasDecimalPoint = true;
      section.elements.push_back({Kind::DecimalPoint, {}});
    } else if (c == ',') {
      section.thousands = true;
    } else if ((c == 'E' || c == 'e') && i + 1 < text.size() && (text[i + 1] == '+' || text[i + 1] == '-') &&
               !section.scientific) {
      TPictureSection::Element exponent{Kind::Exponent, std::string(1, c)};
      exponent.alwaysSign = text[i + 1] == '+';
      i += 2;
      while (i < text.size() && text[i] == '0' && exponent.exponentDigits < 4) {
        ++exponent.exponentDigits;
        ++i;
      }
      --i;
      section.scientific = true;
      section.elements.push_back(exponent);
    } else {
      AddLiteral(section, c);
    }
  }
  section.minIntegerDigits = firstZero < 0 ? 0 : section.integerPlaceholders - firstZero;
  return section;
}

// The picture's sections, split at ";" outside quotes.
std::vector<std::string_view> SplitSections(std::string_view picture) {
  std::vector<std::string_view> sections;
  size_t start = 0;
  char quote = 0;
  for (size_t i = 0; i < picture.size(); ++i) {
    const char c = picture[i];
    if (quote) {
      if (c == quote) quote = 0;
    } else if (c == '"' || c == '\'') {
      quote = c;
    } else if (c == ';' && sections.size() < 2) {
      sections.push_back(picture.substr(start, i - start));
      start = i + 1;
    }
  }
  sections.push_back(picture.substr(start));
  return sections;
}

// The digits one section shows for |value|: rounded to its decimals, or for a
// scientific section to its significant digits with the exponent apart.
struct TSectionDigits {
  TDecimalDigits number;  // the mantissa for scientific sections
  int exponent = 0;
};

TSectionDigits SectionDigits(const TPictureSection& section, double magnitude) {
  TSectionDigits out;
  out.number = formatnumber::DecimalDigits(magnitude);
  if (!section.scientific) {
    formatnumber::RoundToDecimals(out.number, section.maxDecimals);
    return out;
  }
  const int integerDigits = std::max(section.integerPlaceholders, 1);
  if (out.number.IsZero()) return out;
  formatnumber::RoundToDecimals(out.number, integerDigits + section.maxDecimals - out.number.Exponent);
  out.exponent = out.number.Exponent - integerDigits;
  out.number.Exponent = integerDigits;
  return out;
}

std::string WriteSection(const TPictureSection& section, const TSectionDigits& digits,
                         const TFormatSettings& settings) {
  using Kind = TPictureSection::Kind;
  std::string integral = formatnumber::IntegerDigits(digits.number);
  if (static_cast<int>(integral.size()) < section.minIntegerDigits)
    integral.insert(0, static_cast<size_t>(section.minIntegerDigits) - integral.size(), '0');
  std::string fraction = formatnumber::FractionDigits(digits.number, section.maxDecimals);
  while (static_cast<int>(fraction.size()) > section.minDecimals && fraction.back() == '0') fraction.pop_back();

  const bool grouping = section.thousands && !section.scientific;
  const int length = static_cast<int>(integral.size());
  const int extra = length - section.integerPlaceholders;  // digits beyond the placeholders
  std::string out;
  auto writeIntegerDigits = [&](int from, int to) {
    for (int i = std::max(from, 0); i < to; ++i) {
      out += integral[static_cast<size_t>(i)];
      const int remaining = length - i - 1;
      if (grouping && remaining > 0 && remaining % 3 == 0 && settings.ThousandSeparator)
        out += settings.ThousandSeparator;
    }
  };
  int placeholder = 0;
  size_t fractionIndex = 0;
  for (const TPictureSection::Element& element : section.elements) {
    switch (element.kind) {
      case Kind::Literal: out += element.text; break;
      case Kind::IntegerDigit:
        // The first placeholder also takes the digits the picture has no room for.
        writeIntegerDigits(placeholder == 0 ? 0 : placeholder + extra, placeholder + extra + 1);
        ++placeholder;
        break;
      case Kind::DecimalPoint:
        if (section.integerPlaceholders == 0) writeIntegerDigits(0, length);
        if (!fraction.empty()) out += settings.DecimalSeparator;
        break;
      case Kind::FractionDigit:
        if (fractionIndex < fraction.size()) out += fraction[fractionIndex++];
        break;
      case Kind::Exponent: {
        out += element.text;
        std::string number = std::to_string(std::abs(digits.exponent));
        if (static_cast<int>(number.size()) < element.exponentDigits)
          number.insert(0, static_cast<size_t>(element.exponentDigits) - number.size(), '0');
        if (digits.exponent < 0) out += '-';
        else if (element.alwaysSign) out += '+';
        out += number;
        break;
      }
    }
  }
  return out;
}

}  // namespace

std::string FloatToStr(double value, const TFormatSettings& settings) {
  return formatnumber::GeneralText(value, 15, settings);
}

std::string FormatFloat(std::string_view picture, double value, const TFormatSettings& settings) {
  if (picture.empty()) return FloatToStr(value, settings);
  if (std::string special = formatnumber::NonFiniteText(value); !special.empty()) return special;
  const std::vector<std::string_view> sections = SplitSections(picture);
  auto hasSection = [&](size_t i) { return sections.size() > i && !sections[i].empty(); };
  const bool negative = value < 0;
  const bool ownNegativeSection = negative && hasSection(1);
  auto readSection = [&](size_t index) {
    TPictureSection read = ReadSection(sections[index]);
    if (read.integerPlaceholders > kMaxFormatWidth || read.maxDecimals > kMaxFormatWidth)
      throw EConvertError("Format '" + std::string(picture) + "' invalid or incompatible with argument");
    return read;
  };
  TPictureSection section = readSection(ownNegativeSection ? 1 : 0);
  TSectionDigits digits = SectionDigits(section, std::fabs(value));
  // A value that rounds to zero is written by the zero section: never "-0,00".
  if (digits.number.IsZero()) {
    const bool zeroSection = hasSection(2);
    if (zeroSection || negative) {
      section = readSection(zeroSection ? 2 : 0);
      digits = SectionDigits(section, 0.0);
    }
    return WriteSection(section, digits, settings);
  }
  std::string text = WriteSection(section, digits, settings);
  return negative && !ownNegativeSection ? "-" + text : text;
}
