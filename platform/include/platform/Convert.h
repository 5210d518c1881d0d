#pragma once
// Integer conversion of 8-bit text as the system's standard conversion does it:
// leading blanks, an optional sign, then decimal digits or, after a prefix "$", "x",
// "X" or "0x"/"0X", hexadecimal digits; anything else (trailing blanks included), an
// empty text or a value outside the 32-bit range (64-bit for the Int64 forms) fails.
// Hexadecimal text may spell the full bit pattern ("$FFFFFFFF" is -1).

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

// A failed conversion; the message is the system's own text.
class EConvertError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

std::optional<int> TryStrToInt(std::string_view text);
int StrToIntDef(std::string_view text, int defaultValue);
// Throws EConvertError "'<text>' is not a valid integer value".
int StrToInt(std::string_view text);

std::optional<int64_t> TryStrToInt64(std::string_view text);
int64_t StrToInt64(std::string_view text);

// Bytes as upper-case hexadecimal digit pairs, as templates and prepared reports keep
// binary data.
std::string BytesToHex(std::string_view bytes);
// The value of one hexadecimal digit (either case), or -1 for any other character.
int HexDigitValue(char c);
