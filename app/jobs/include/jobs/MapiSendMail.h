#pragma once
// The mail component: composes a message (recipients, subject, body, attachments) and
// hands it to the user's mail client, which shows it for the user to complete and send.
// Nothing is sent by the program itself.
//
// The message is first filled into three records in the shape of the classic mail
// hand-off (a message, one recipient record per line of `Too`, one file record per line of
// `Attachments`); `SendMail` then passes them to the desktop's mail client through
// `xdg-email`. All texts are 8-bit system text (Windows-1250); they leave the program as
// UTF-8.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

using TStringList = std::vector<std::string>;

// The recipient class of a "to" recipient.
constexpr uint32_t kMapiTo = 1;

struct MapiRecipDesc {
  uint32_t Reserved = 0;
  uint32_t RecipClass = 0;
  std::string Name;
  std::string Address;
  uint32_t EntryIDSize = 0;  // no entry identifier
};

struct MapiFileDesc {
  uint32_t Reserved = 0;
  uint32_t Flags = 0;
  int32_t Position = 0;   // -1: not placed inside the body
  std::string PathName;   // the full path
  std::string FileName;   // the same full path
  bool HasFileType = false;
};

struct MapiMessage {
  uint32_t Reserved = 0;
  std::string Subject;
  std::string NoteText;
  std::string MessageType;     // none
  std::string DateReceived;    // none
  std::string ConversationID;  // none
  uint32_t Flags = 0;
  bool HasOriginator = false;
  uint32_t RecipCount = 0;
  std::vector<MapiRecipDesc> Recips;
  uint32_t FileCount = 0;
  std::vector<MapiFileDesc> Files;
};

// Lines joined by CR LF, each line ended by CR LF (the whole text of a string list).
std::string JoinedText(const TStringList& lines);

// The mailto address `xdg-email` is given for `message`: recipients, subject and body,
// each percent-encoded as UTF-8. Attachments travel as separate arguments.
std::string MailtoAddress(const MapiMessage& message);

class TMapiSendMail {
 public:
  const TStringList& Attachments() const { return attachments_; }
  const TStringList& Too() const { return too_; }
  const TStringList& Text() const { return text_; }
  const std::string& Subject() const { return subject_; }
  // Setting a list copies the given lines.
  void SetAttachments(const TStringList& lines) { attachments_ = lines; }
  void SetToo(const TStringList& lines) { too_ = lines; }
  void SetText(const TStringList& lines) { text_ = lines; }
  void SetSubject(std::string_view subject) { subject_ = subject; }

  // The records as the four properties fill them.
  MapiMessage ComposeMessage() const;

  // The argument vector for `xdg-email` that hands over `message`.
  static std::vector<std::string> HandOffArguments(const MapiMessage& message);

  // Hands the message to the mail client: 0 when the hand-off was accepted, -1 when it
  // failed or `xdg-email` is missing. Nothing is shown either way. Blocks until
  // `xdg-email` returns (for a client that opens its compose window and returns at once,
  // that is at once).
  int SendMail() const;

 private:
  TStringList attachments_;
  TStringList too_;
  TStringList text_;
  std::string subject_;
};
