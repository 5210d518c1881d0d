#pragma once
// Code-page conversions. 8-bit text is std::string in the system code page
// (Windows-1250); wide text is std::u16string (UTF-16). Conversions go through iconv.
// Characters that a target code page cannot hold become '?', as the Windows
// conversion functions do with their default character; malformed input bytes never
// make a conversion fail or read past its input.

#include <cstdint>
#include <string>
#include <string_view>

namespace codepage {

constexpr int kSystemAnsi = 1250;   // the system's 8-bit code page
constexpr int kSystemOem = 852;
constexpr int kSystemMac = 10029;   // Macintosh Central European
constexpr int kUtf8 = 65001;

// 8-bit text of `codePage` to UTF-16 and back.
std::u16string ToWide(std::string_view text, int codePage = kSystemAnsi);
std::string FromWide(std::u16string_view text, int codePage = kSystemAnsi);

// UTF-8 to and from UTF-16 and the system code page.
std::u16string Utf8ToWide(std::string_view utf8);
std::string WideToUtf8(std::u16string_view wide);
std::string AnsiToUtf8(std::string_view ansi);
std::string Utf8ToAnsi(std::string_view utf8);

// Re-encodes 8-bit text from one code page to another.
std::string Convert(std::string_view text, int fromCodePage, int toCodePage);

// True when iconv knows the code page.
bool IsSupported(int codePage);

// The ANSI code page of a font character set (238 -> 1250, 204 -> 1251, ...):
// 1 (default) -> the system ANSI page, 77 -> the Macintosh page, 255 -> the OEM page.
int CharsetCodePage(int charset);

}  // namespace codepage
