#include "jobs/MapiSendMail.h"

#include <spawn.h>
#include <sys/wait.h>

#include <cerrno>

#include "platform/CodePage.h"
#include "platform/FileSystem.h"

extern char** environ;

namespace {

// Percent-encodes the UTF-8 form of 8-bit system text, keeping only the characters that
// mean the same everywhere in a mailto address.
std::string PercentEncoded(std::string_view ansi) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::string result;
  for (const unsigned char c : codepage::AnsiToUtf8(ansi)) {
    const bool plain = (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') ||
                       c == '-' || c == '.' || c == '_' || c == '~' || c == '@';
    if (plain) {
      result += static_cast<char>(c);
    } else {
      result += '%';
      result += kHex[c >> 4];
      result += kHex[c & 15];
    }
  }
  return result;
}

// Runs `argv` (the program found on PATH) without a shell and waits for it: its exit
// status, or -1 when it could not be started or did not end by itself.
int RunProgram(const std::vector<std::string>& argv) {
  std::vector<char*> pointers;
  pointers.reserve(argv.size() + 1);
  for (const std::string& argument : argv) pointers.push_back(const_cast<char*>(argument.c_str()));
  pointers.push_back(nullptr);

  pid_t child = 0;
  if (posix_spawnp(&child, pointers[0], nullptr, nullptr, pointers.data(), environ) != 0) return -1;
  int status = 0;
  while (waitpid(child, &status, 0) < 0) {
    if (errno != EINTR) return -1;
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

}  // namespace

std::string JoinedText(const TStringList& lines) {
  std::string text;
  for (const std::string& line : lines) {
    text += line;
    text += "\r\n";
  }
  return text;
}

std::string MailtoAddress(const MapiMessage& message) {
  std::string fields;
  const auto add = [&fields](std::string_view name, std::string_view value) {
    if (value.empty()) return;
    if (!fields.empty()) fields += '&';
    fields += name;
    fields += '=';
    fields += PercentEncoded(value);
  };
  // A recipient without an address would be refused by the client: the message simply
  // has no recipient then.
  for (const MapiRecipDesc& recipient : message.Recips) add("to", recipient.Address);
  add("subject", message.Subject);
  add("body", message.NoteText);
  return "mailto:?" + fields;
}

MapiMessage TMapiSendMail::ComposeMessage() const {
  MapiMessage message;
  for (const std::string& line : too_) {
    MapiRecipDesc recipient;
    recipient.RecipClass = kMapiTo;
    recipient.Name = line;
    recipient.Address = line;
    message.Recips.push_back(std::move(recipient));
  }
  for (const std::string& line : attachments_) {
    MapiFileDesc file;
    file.Position = -1;
    file.PathName = line;
    file.FileName = line;
    message.Files.push_back(std::move(file));
  }
  message.Subject = subject_;
  message.NoteText = JoinedText(text_);
  message.RecipCount = static_cast<uint32_t>(message.Recips.size());
  message.FileCount = static_cast<uint32_t>(message.Files.size());
  return message;
}

std::vector<std::string> TMapiSendMail::HandOffArguments(const MapiMessage& message) {
  // The mailto address is composed here rather than from xdg-email's --to, --subject and
  // --body: those pass through the shell's echo and command substitution, which drop the
  // body's final line break and rewrite backslashes. "--utf8" keeps xdg-email from
  // re-encoding the attachment paths, which are UTF-8 already.
  std::vector<std::string> argv{"xdg-email", "--utf8", MailtoAddress(message)};
  for (const MapiFileDesc& file : message.Files) {
    argv.emplace_back("--attach");
    argv.push_back(fsys::NativePath(file.PathName).string());
  }
  return argv;
}

int TMapiSendMail::SendMail() const {
  return RunProgram(HandOffArguments(ComposeMessage())) == 0 ? 0 : -1;
}
