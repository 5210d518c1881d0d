#include "platform/Convert.h"

namespace {

int DigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// The conversion of both widths: `bits` is 32 or 64.
std::optional<int64_t> TryStrToInteger(std::string_view text, int bits) {
  size_t pos = 0;
  while (pos < text.size() && text[pos] == ' ') ++pos;
  bool negative = false;
  if (pos < text.size() && (text[pos] == '-' || text[pos] == '+')) {
    negative = text[pos] == '-';
    ++pos;
  }
  int base = 10;
  if (pos < text.size() && (text[pos] == '$' || text[pos] == 'x' || text[pos] == 'X')) {
    base = 16;
    ++pos;
  } else if (pos + 1 < text.size() && text[pos] == '0' && (text[pos + 1] == 'x' || text[pos + 1] == 'X')) {
    base = 16;
    pos += 2;
  }
  if (pos >= text.size()) return std::nullopt;
  const uint64_t signedMax = bits == 32 ? 0x7FFFFFFFull : 0x7FFFFFFFFFFFFFFFull;
  const uint64_t limit = base == 16 ? (bits == 32 ? 0xFFFFFFFFull : ~0ull) : (negative ? signedMax + 1 : signedMax);
  uint64_t value = 0;
  for (; pos < text.size(); ++pos) {
    const int digit = DigitValue(text[pos]);
    if (digit < 0 || digit >= base) return std::nullopt;
    if (value > (limit - static_cast<uint64_t>(digit)) / static_cast<uint64_t>(base)) return std::nullopt;
    value = value * static_cast<uint64_t>(base) + static_cast<uint64_t>(digit);
  }
  // Hexadecimal digits are a bit pattern of the target width.
  int64_t result = base == 16 && bits == 32 ? static_cast<int32_t>(static_cast<uint32_t>(value))
                                            : static_cast<int64_t>(value);
  if (negative) result = static_cast<int64_t>(0 - static_cast<uint64_t>(result));
  return bits == 32 ? static_cast<int64_t>(static_cast<int32_t>(result)) : result;
}

[[noreturn]] void NotAnInteger(std::string_view text) {
  throw EConvertError("'" + std::string(text) + "' is not a valid integer value");
}

}  // namespace

std::optional<int> TryStrToInt(std::string_view text) {
  if (auto value = TryStrToInteger(text, 32)) return static_cast<int>(*value);
  return std::nullopt;
}

int StrToIntDef(std::string_view text, int defaultValue) { return TryStrToInt(text).value_or(defaultValue); }

int StrToInt(std::string_view text) {
  if (auto value = TryStrToInt(text)) return *value;
  NotAnInteger(text);
}

std::optional<int64_t> TryStrToInt64(std::string_view text) { return TryStrToInteger(text, 64); }

int64_t StrToInt64(std::string_view text) {
  if (auto value = TryStrToInt64(text)) return *value;
  NotAnInteger(text);
}

std::string BytesToHex(std::string_view bytes) {
  static constexpr char kDigits[] = "0123456789ABCDEF";
  std::string hex;
  hex.reserve(bytes.size() * 2);
  for (char c : bytes) {
    hex += kDigits[(static_cast<uint8_t>(c) >> 4) & 15];
    hex += kDigits[static_cast<uint8_t>(c) & 15];
  }
  return hex;
}

int HexDigitValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}
