#include "platform/CodePage.h"

#include <iconv.h>

#include <cerrno>
#include <algorithm>
#include <cstring>
#include <memory>
#include <mutex>
#include <stdexcept>
#include <unordered_map>
#include <vector>

namespace codepage {
namespace {

std::string IconvName(int codePage) {
  switch (codePage) {
    case kUtf8: return "UTF-8";
    case 1200: return "UTF-16LE";
    case 20127: return "ASCII";
    case 28591: return "ISO-8859-1";
    case 28592: return "ISO-8859-2";
    case 10000: return "MACINTOSH";
    case 10029: return "MAC-CENTRALEUROPE";
    case 932: return "CP932";
    case 936: return "CP936";
    case 949: return "CP949";
    case 950: return "CP950";
    default: return "CP" + std::to_string(codePage);
  }
}

// iconv descriptors are costly to open; each (from, to) pair is opened once and kept.
// A descriptor holds conversion state, so use is serialised per pair.
struct Converter {
  iconv_t cd = reinterpret_cast<iconv_t>(-1);
  std::mutex lock;
  ~Converter() {
    if (cd != reinterpret_cast<iconv_t>(-1)) iconv_close(cd);
  }
};

Converter* GetConverter(const std::string& from, const std::string& to) {
  static std::mutex mapLock;
  static std::unordered_map<std::string, std::unique_ptr<Converter>> converters;
  std::lock_guard<std::mutex> guard(mapLock);
  auto& slot = converters[from + '>' + to];
  if (!slot) {
    slot = std::make_unique<Converter>();
    slot->cd = iconv_open(to.c_str(), from.c_str());
  }
  return slot->cd == reinterpret_cast<iconv_t>(-1) ? nullptr : slot.get();
}

// Converts `size` bytes; an unconvertible or malformed input unit is replaced by
// `replacement` (already in the target encoding) and skipped by `inputUnit` bytes.
std::string Run(const std::string& from, const std::string& to, const char* data, size_t size,
                std::string_view replacement, size_t inputUnit) {
  Converter* conv = GetConverter(from, to);
  if (!conv) throw std::runtime_error("Unsupported code page conversion " + from + " to " + to);
  std::lock_guard<std::mutex> guard(conv->lock);
  iconv(conv->cd, nullptr, nullptr, nullptr, nullptr);

  std::string out;
  out.reserve(size * 2 + 8);
  std::vector<char> buffer(4096);
  char* in = const_cast<char*>(data);
  size_t inLeft = size;
  while (inLeft > 0) {
    char* outPtr = buffer.data();
    size_t outLeft = buffer.size();
    size_t rc = iconv(conv->cd, &in, &inLeft, &outPtr, &outLeft);
    out.append(buffer.data(), buffer.size() - outLeft);
    if (rc == static_cast<size_t>(-1)) {
      if (errno == E2BIG) continue;
      // EILSEQ or EINVAL (truncated sequence at the end): replace one unit and go on.
      out.append(replacement);
      size_t skip = std::min(inputUnit, inLeft);
      in += skip;
      inLeft -= skip;
      iconv(conv->cd, nullptr, nullptr, nullptr, nullptr);
    }
  }
  return out;
}

std::u16string BytesToU16(const std::string& bytes) {
  std::u16string out(bytes.size() / 2, u'\0');
  for (size_t i = 0; i < out.size(); ++i)
    out[i] = static_cast<char16_t>(static_cast<uint8_t>(bytes[2 * i]) | (static_cast<uint8_t>(bytes[2 * i + 1]) << 8));
  return out;
}

std::string U16ToBytes(std::u16string_view text) {
  std::string bytes(text.size() * 2, '\0');
  for (size_t i = 0; i < text.size(); ++i) {
    bytes[2 * i] = static_cast<char>(text[i] & 0xFF);
    bytes[2 * i + 1] = static_cast<char>(text[i] >> 8);
  }
  return bytes;
}

}  // namespace

std::u16string ToWide(std::string_view text, int codePage) {
  if (text.empty()) return {};
  // U+FFFD in UTF-16LE for a byte the code page leaves undefined.
  static const std::string kReplacement("\xFD\xFF", 2);
  return BytesToU16(Run(IconvName(codePage), "UTF-16LE", text.data(), text.size(), kReplacement, 1));
}

std::string FromWide(std::u16string_view text, int codePage) {
  if (text.empty()) return {};
  std::string bytes = U16ToBytes(text);
  return Run("UTF-16LE", IconvName(codePage), bytes.data(), bytes.size(), "?", 2);
}

std::u16string Utf8ToWide(std::string_view utf8) { return ToWide(utf8, kUtf8); }
std::string WideToUtf8(std::u16string_view wide) { return FromWide(wide, kUtf8); }
std::string AnsiToUtf8(std::string_view ansi) { return Convert(ansi, kSystemAnsi, kUtf8); }
std::string Utf8ToAnsi(std::string_view utf8) { return Convert(utf8, kUtf8, kSystemAnsi); }

std::string Convert(std::string_view text, int fromCodePage, int toCodePage) {
  if (text.empty() || fromCodePage == toCodePage) return std::string(text);
  return FromWide(ToWide(text, fromCodePage), toCodePage);
}

bool IsSupported(int codePage) {
  return GetConverter(IconvName(codePage), "UTF-16LE") != nullptr;
}

int CharsetCodePage(int charset) {
  switch (charset) {
    case 0: return 1252;     // ANSI_CHARSET
    case 1: return kSystemAnsi;  // DEFAULT_CHARSET
    case 2: return kSystemAnsi;  // SYMBOL_CHARSET has no code page; keep bytes as the system page
    case 77: return kSystemMac;
    case 128: return 932;    // SHIFTJIS
    case 129: return 949;    // HANGEUL
    case 130: return 1361;   // JOHAB
    case 134: return 936;    // GB2312
    case 136: return 950;    // CHINESEBIG5
    case 161: return 1253;   // GREEK
    case 162: return 1254;   // TURKISH
    case 163: return 1258;   // VIETNAMESE
    case 177: return 1255;   // HEBREW
    case 178: return 1256;   // ARABIC
    case 186: return 1257;   // BALTIC
    case 204: return 1251;   // RUSSIAN
    case 222: return 874;    // THAI
    case 238: return 1250;   // EASTEUROPE
    case 255: return kSystemOem;
    default: return kSystemAnsi;
  }
}

}  // namespace codepage
