// Display formats of memo views: a value as text by TfrxFormat, with the number and
// date texts of platform/Format.h and the current locale record.

#include <cmath>
#include <cstdint>
#include <cctype>
#include <exception>
#include <span>
#include <string>

#include "platform/CodePage.h"
#include "platform/Convert.h"
#include "platform/Format.h"
#include "report/frxClassMemo.h"

namespace {

[[noreturn]] void NotANumber() { throw EConvertError("The value is not a number"); }

double NumberOf(const Variant& value, const TFormatSettings& settings) {
  if (value.isNumeric()) return value.toDouble();
  if (value.isText()) return StrToFloat(value.toString8(), settings);
  NotANumber();
}

// Integers for "%d" and "%u": fractions round half to even, as variants convert.
Variant IntegerOf(const Variant& value, const TFormatSettings& settings) {
  if (value.isOrdinal() && value.kind() != VarKind::Boolean) return value;
  const double number = std::nearbyint(NumberOf(value, settings));
  if (!(std::fabs(number) < 9.2e18)) NotANumber();
  const auto whole = static_cast<int64_t>(number);
  if (whole >= INT32_MIN && whole <= INT32_MAX) return Variant(static_cast<int32_t>(whole));
  return Variant(whole);
}

double DateTimeOf(const Variant& value, const TFormatSettings& settings) {
  if (value.isNumeric()) return value.toDouble();
  if (value.isText()) return StrToDateTime(value.toString8(), settings);
  NotANumber();
}

// Whether the value equals true: a Boolean as it is, a number when it is not 0, a text
// "True" or "False" in any case, or a number text.
bool TruthOf(const Variant& value, const TFormatSettings& settings) {
  if (value.isNumeric()) return value.toDouble() != 0;
  if (value.isText()) {
    std::string text = value.toString8();
    for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    if (text == "true") return true;
    if (text == "false") return false;
    return StrToFloat(value.toString8(), settings) != 0;
  }
  NotANumber();
}

std::string FormatNumber(const Variant& value, const std::string& picture, const TFormatSettings& settings) {
  if (picture.find('#') != std::string::npos) return FormatFloat(picture, NumberOf(value, settings), settings);
  const Variant argument = picture.find_first_of("du") != std::string::npos ? IntegerOf(value, settings)
                                                                            : Variant(NumberOf(value, settings));
  return Format(picture, std::span<const Variant>(&argument, 1), settings);
}

// The format's own separators in place of the locale's: every thousands separator, and
// the last decimal separator (looked up before the thousands separators change).
void ReplaceSeparators(std::string& text, const TfrxFormat& format, const TFormatSettings& settings) {
  const std::string& decimal = format.DecimalSeparator();
  const std::string& thousands = format.ThousandSeparator();
  size_t decimalAt = std::string::npos;
  if (decimal.size() == 1 && decimal[0] != settings.DecimalSeparator) decimalAt = text.rfind(settings.DecimalSeparator);
  if (thousands.size() == 1 && thousands[0] != settings.ThousandSeparator)
    for (char& c : text)
      if (c == settings.ThousandSeparator) c = thousands[0];
  if (decimalAt != std::string::npos) text[decimalAt] = decimal[0];
}

std::string BooleanText(bool truth, const std::string& texts) {
  const size_t comma = texts.find(',');
  if (truth) return comma == std::string::npos ? std::string() : texts.substr(comma + 1);
  return texts.substr(0, comma);
}

}  // namespace

std::string TfrxCustomMemoView::PlainText(const Variant& value) const {
  std::string text;
  return TryVarToStr(value, text) ? text : std::string();
}

std::u16string TfrxCustomMemoView::FormatValue(const Variant& value, const TfrxFormat& format) const {
  if (value.isNull()) return {};
  // Wide text keeps characters the memo's code page could not hold.
  if (format.Kind() == fkText && value.kind() == VarKind::OleStr) return value.toWide();
  const TFormatSettings& settings = CurrentFormatSettings();
  std::string text;
  try {
    switch (format.Kind()) {
      case fkText:
        text = PlainText(value);
        break;
      case fkNumeric:
        text = FormatNumber(value, format.FormatStr(), settings);
        ReplaceSeparators(text, format, settings);
        break;
      case fkDateTime:
        text = FormatDateTime(format.FormatStr(), DateTimeOf(value, settings), settings);
        break;
      case fkBoolean:
        text = BooleanText(TruthOf(value, settings), format.FormatStr());
        break;
    }
  } catch (const std::exception&) {
    // A value that does not fit its format prints as it is.
    text = PlainText(value);
  }
  return codepage::ToWide(text, CodePage());
}
