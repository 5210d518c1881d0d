// Format: printf-style specifiers over a list of variant arguments.
#include <cctype>
#include <cmath>
#include <cstdio>
#include <optional>

#include "FormatNumber.h"
#include "platform/Convert.h"
#include "platform/Format.h"

namespace {

// Longer texts are cut to this many characters when they become arguments.
constexpr size_t kMaxTextArgument = 255;

struct TFormatArg {
  enum class Kind { Integer, Int64, Float, Text, Boolean };
  Kind kind;
  int64_t integer = 0;  // Integer (32-bit pattern, sign-extended) and Int64
  double floating = 0;
  std::string text;
};

TFormatArg MakeArg(TFormatArg::Kind kind, int64_t integer = 0, double floating = 0, std::string text = {}) {
  return TFormatArg{kind, integer, floating, std::move(text)};
}

TFormatArg ArgumentOf(const Variant& value) {
  using Kind = TFormatArg::Kind;
  if (value.isArray()) return MakeArg(Kind::Integer);
  switch (value.kind()) {
    case VarKind::Smallint:
    case VarKind::Integer:
    case VarKind::ShortInt:
    case VarKind::Byte:
    case VarKind::Word:
    case VarKind::LongWord:
      return MakeArg(Kind::Integer, static_cast<int32_t>(static_cast<uint32_t>(value.toInt64())));
    case VarKind::Int64: return MakeArg(Kind::Int64, value.toInt64());
    case VarKind::Single:
    case VarKind::Double:
    case VarKind::Currency:
    case VarKind::Date: return MakeArg(Kind::Float, 0, value.toDouble());
    case VarKind::String:
    case VarKind::OleStr: {
      std::string text = value.toString8();
      if (text.size() > kMaxTextArgument) text.resize(kMaxTextArgument);
      return MakeArg(Kind::Text, 0, 0, std::move(text));
    }
    case VarKind::Boolean: return MakeArg(Kind::Boolean, value.toBool() ? 1 : 0);
    default: return MakeArg(Kind::Integer);
  }
}

std::string HexDigits(uint64_t value) {
  char buffer[24];
  std::snprintf(buffer, sizeof buffer, "%llX", static_cast<unsigned long long>(value));
  return buffer;
}

std::string WithMinimumDigits(std::string digits, std::optional<int> precision) {
  if (precision && static_cast<int>(digits.size()) < *precision)
    digits.insert(0, static_cast<size_t>(*precision) - digits.size(), '0');
  return digits;
}

// A money amount arranged by the locale's currency format.
std::string MoneyText(double value, int decimals, const TFormatSettings& settings) {
  static const char* const positive[4] = {"$n", "n$", "$ n", "n $"};
  static const char* const negative[16] = {"($n)", "-$n", "$-n", "$n-", "(n$)", "-n$", "n-$", "n$-",
                                           "-n $", "-$ n", "n $-", "$ n-", "$ -n", "n- $", "($ n)", "(n $)"};
  std::string amount = formatnumber::FixedText(value, decimals, settings, true);
  const bool isNegative = !amount.empty() && amount[0] == '-';
  if (isNegative) amount.erase(0, 1);
  const int format = isNegative ? settings.NegCurrFormat : settings.CurrencyFormat;
  const char* pattern = isNegative ? negative[format >= 0 && format < 16 ? format : 1]
                                   : positive[format >= 0 && format < 4 ? format : 0];
  std::string out;
  for (const char* p = pattern; *p; ++p) {
    if (*p == 'n') out += amount;
    else if (*p == '$') out += settings.CurrencyString;
    else out += *p;
  }
  return out;
}

class TFormatter {
 public:
  TFormatter(std::string_view format, std::span<const Variant> args, const TFormatSettings& settings)
      : format_(format), settings_(settings) {
    args_.reserve(args.size());
    for (const Variant& arg : args) args_.push_back(ArgumentOf(arg));
  }

  std::string Run() {
    for (pos_ = 0; pos_ < format_.size();) {
      const char c = format_[pos_++];
      if (c != '%') {
        out_ += c;
      } else if (pos_ < format_.size() && format_[pos_] == '%') {
        out_ += '%';
        ++pos_;
      } else {
        Specifier();
      }
    }
    return out_;
  }

 private:
  [[noreturn]] void Invalid() const {
    throw EConvertError("Format '" + std::string(format_) + "' invalid or incompatible with argument");
  }

  const TFormatArg& NextArgument() {
    if (next_ >= args_.size()) throw EConvertError("No argument for format '" + std::string(format_) + "'");
    return args_[next_++];
  }

  // A decimal number or "*" (the next argument, an integer); none when neither stands here.
  std::optional<int> Number() {
    if (pos_ < format_.size() && format_[pos_] == '*') {
      ++pos_;
      const TFormatArg& arg = NextArgument();
      if (arg.kind != TFormatArg::Kind::Integer) Invalid();
      if (arg.integer < 0 || arg.integer > kMaxFormatWidth) Invalid();
      return static_cast<int>(arg.integer);
    }
    if (pos_ >= format_.size() || !std::isdigit(static_cast<unsigned char>(format_[pos_]))) return std::nullopt;
    int64_t value = 0;
    while (pos_ < format_.size() && std::isdigit(static_cast<unsigned char>(format_[pos_]))) {
      value = value * 10 + (format_[pos_++] - '0');
      if (value > kMaxFormatWidth) Invalid();
    }
    return static_cast<int>(value);
  }

  void Specifier() {
    const size_t start = pos_;
    std::optional<int> first = Number();
    if (first && pos_ < format_.size() && format_[pos_] == ':') {
      next_ = static_cast<size_t>(*first);
      ++pos_;
    } else {
      pos_ = start;
      if (first && format_[start] == '*') --next_;  // "*" was a width: read it again below
    }
    bool left = false;
    if (pos_ < format_.size() && format_[pos_] == '-') {
      left = true;
      ++pos_;
    }
    std::optional<int> width = Number();
    std::optional<int> precision;
    if (pos_ < format_.size() && format_[pos_] == '.') {
      ++pos_;
      precision = Number();
      if (!precision) precision = 0;
    }
    if (pos_ >= format_.size()) Invalid();
    const char letter = static_cast<char>(std::tolower(static_cast<unsigned char>(format_[pos_++])));
    std::string text = Convert(letter, NextArgument(), precision);
    if (width && static_cast<int>(text.size()) < *width) {
      const std::string padding(static_cast<size_t>(*width) - text.size(), ' ');
      text = left ? text + padding : padding + text;
    }
    out_ += text;
  }

  std::string Convert(char letter, const TFormatArg& arg, std::optional<int> precision) const {
    using Kind = TFormatArg::Kind;
    const bool integral = arg.kind == Kind::Integer || arg.kind == Kind::Int64;
    switch (letter) {
      case 'd': {
        if (!integral) Invalid();
        std::string digits = WithMinimumDigits(std::to_string(arg.integer < 0 ? -static_cast<uint64_t>(arg.integer)
                                                                               : static_cast<uint64_t>(arg.integer)),
                                               precision);
        return arg.integer < 0 ? "-" + digits : digits;
      }
      case 'u':
        if (!integral) Invalid();
        return WithMinimumDigits(std::to_string(Unsigned(arg)), precision);
      case 'x':
        if (!integral) Invalid();
        return WithMinimumDigits(HexDigits(Unsigned(arg)), precision);
      case 'p':
        if (!integral) Invalid();
        return WithMinimumDigits(HexDigits(static_cast<uint32_t>(arg.integer)), 8);
      case 'e':
        if (arg.kind != Kind::Float) Invalid();
        return formatnumber::ScientificText(arg.floating, precision.value_or(15), 3, settings_);
      case 'f':
        if (arg.kind != Kind::Float) Invalid();
        return formatnumber::FixedText(arg.floating, precision.value_or(2), settings_, false);
      case 'g':
        if (arg.kind != Kind::Float) Invalid();
        return formatnumber::GeneralText(arg.floating, precision.value_or(15), settings_);
      case 'n':
        if (arg.kind != Kind::Float) Invalid();
        return formatnumber::FixedText(arg.floating, precision.value_or(2), settings_, true);
      case 'm':
        if (arg.kind != Kind::Float) Invalid();
        return MoneyText(arg.floating, precision.value_or(settings_.CurrencyDecimals), settings_);
      case 's':
        if (arg.kind != Kind::Text) Invalid();
        return precision && static_cast<size_t>(*precision) < arg.text.size()
                   ? arg.text.substr(0, static_cast<size_t>(*precision))
                   : arg.text;
      default: Invalid();
    }
  }

  static uint64_t Unsigned(const TFormatArg& arg) {
    return arg.kind == TFormatArg::Kind::Int64 ? static_cast<uint64_t>(arg.integer)
                                               : static_cast<uint32_t>(arg.integer);
  }

  std::string_view format_;
  const TFormatSettings& settings_;
  std::vector<TFormatArg> args_;
  size_t pos_ = 0;
  size_t next_ = 0;
  std::string out_;
};

}  // namespace

std::string Format(std::string_view format, std::span<const Variant> args, const TFormatSettings& settings) {
  return TFormatter(format, args, settings).Run();
}
