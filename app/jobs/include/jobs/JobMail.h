#pragma once
// The e-mail action's last step: a new message in the user's mail client carrying the
// job's PDF, addressed to the job's recipient, with the subject and body text of the
// e-mail settings. The hand-off's result is not looked at: a mail client that cannot be
// reached leaves the job to end normally.

#include <string>

#include "jobs/MapiSendMail.h"

class TIniFile;

// The e-mail settings as typed (8-bit system text).
struct TEmailSettings {
  std::string Bcc;       // EMAIL/BCC: a further address (or several) for every message
  std::string Subject;   // EMAIL/TEMAT
  std::string BodyFile;  // EMAIL/BODY: relative to the program's folder
};

// The section EMAIL of the settings file, with the defaults of a missing key: no copy,
// the subject "Temat wiadomości e-mail", the body file "body.txt".
TEmailSettings ReadEmailSettings(const TIniFile& ini);
void WriteEmailSettings(TIniFile& ini, const TEmailSettings& settings);

// The lines of the body file `path`; the single line "Treść domyślna" when it cannot be
// read. A file that is valid UTF-8 (as desktop editors save it) is read as UTF-8, any
// other as system text.
TStringList ReadMailBody(const std::string& path);

// Fills the four properties of `msm` for one job and sends: the body from the program's
// folder followed by the body file name; the PDF as the one attachment; as the one
// recipient line the job's recipient, followed by ";" and the copy text as typed when that
// text is not blank.
void SendJobMail(TMapiSendMail& msm, const std::string& programFolder, const TEmailSettings& settings,
                 const std::string& pdfPath, const std::string& recipient);
