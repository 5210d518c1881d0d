#include "jobs/JobMail.h"

#include <fstream>
#include <sstream>

#include "jobs/DataFile.h"
#include "platform/CodePage.h"
#include "platform/FileSystem.h"
#include "platform/IniFile.h"

namespace {

constexpr std::string_view kUtf8Bom = "\xEF\xBB\xBF";

// True for well-formed UTF-8 (shortest forms, no surrogates, at most U+10FFFF).
bool IsUtf8(std::string_view text) {
  size_t i = 0;
  while (i < text.size()) {
    const auto lead = static_cast<unsigned char>(text[i]);
    size_t length = 0;
    uint32_t code = 0;
    if (lead < 0x80) {
      ++i;
      continue;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
      length = 2, code = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
      length = 3, code = lead & 0x0F;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
      length = 4, code = lead & 0x07;
    } else {
      return false;
    }
    if (text.size() - i < length) return false;
    for (size_t k = 1; k < length; ++k) {
      const auto next = static_cast<unsigned char>(text[i + k]);
      if ((next & 0xC0) != 0x80) return false;
      code = (code << 6) | (next & 0x3F);
    }
    if ((length == 3 && (code < 0x800 || (code >= 0xD800 && code <= 0xDFFF))) ||
        (length == 4 && (code < 0x10000 || code > 0x10FFFF)))
      return false;
    i += length;
  }
  return true;
}

bool HasEightBitBytes(std::string_view text) {
  for (const char c : text)
    if (static_cast<unsigned char>(c) >= 0x80) return true;
  return false;
}

// Trimmed of blanks and control characters at both ends.
std::string_view Trimmed(std::string_view text) {
  while (!text.empty() && static_cast<unsigned char>(text.front()) <= ' ') text.remove_prefix(1);
  while (!text.empty() && static_cast<unsigned char>(text.back()) <= ' ') text.remove_suffix(1);
  return text;
}

}  // namespace

TEmailSettings ReadEmailSettings(const TIniFile& ini) {
  return TEmailSettings{ini.ReadString("EMAIL", "BCC", ""),
                        ini.ReadString("EMAIL", "TEMAT", codepage::Utf8ToAnsi("Temat wiadomości e-mail")),
                        ini.ReadString("EMAIL", "BODY", "body.txt")};
}

void WriteEmailSettings(TIniFile& ini, const TEmailSettings& settings) {
  ini.WriteString("EMAIL", "BCC", settings.Bcc);
  ini.WriteString("EMAIL", "TEMAT", settings.Subject);
  ini.WriteString("EMAIL", "BODY", settings.BodyFile);
}

TStringList ReadMailBody(const std::string& path) {
  const TStringList defaultBody{codepage::Utf8ToAnsi("Treść domyślna")};
  if (!fsys::FileExists(path)) return defaultBody;
  std::ifstream in(fsys::NativePath(path), std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  if (!in.is_open() || in.bad()) return defaultBody;

  std::string text = std::move(content).str();
  if (text.starts_with(kUtf8Bom)) {
    text = codepage::Utf8ToAnsi(std::string_view(text).substr(kUtf8Bom.size()));
  } else if (HasEightBitBytes(text) && IsUtf8(text)) {
    text = codepage::Utf8ToAnsi(text);
  }
  return SplitDataLines(text);
}

void SendJobMail(TMapiSendMail& msm, const std::string& programFolder, const TEmailSettings& settings,
                 const std::string& pdfPath, const std::string& recipient) {
  const TStringList body = ReadMailBody(programFolder + settings.BodyFile);
  msm.SetAttachments({pdfPath});
  // The copy address is not a recipient of its own: the client gets one recipient line
  // and resolves it as it does typed addresses.
  const std::string to = Trimmed(settings.Bcc).empty() ? recipient : recipient + ";" + settings.Bcc;
  msm.SetToo(SplitDataLines(to));
  msm.SetSubject(settings.Subject);
  msm.SetText(body);
  msm.SendMail();
}
