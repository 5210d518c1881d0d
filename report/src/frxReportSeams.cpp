#include "report/frxReportSeams.h"

#include "platform/ErrorBox.h"

namespace {

TfrxReportCollaborators& Collaborators() {
  static TfrxReportCollaborators collaborators;
  return collaborators;
}
TfrxErrorBoxHandler& ErrorBoxHandler() {
  static TfrxErrorBoxHandler handler;
  return handler;
}
TfrxDuplicatesQuestion& DuplicatesQuestion() {
  static TfrxDuplicatesQuestion question;
  return question;
}

}  // namespace

TfrxReportCollaborators frxSetReportCollaborators(TfrxReportCollaborators collaborators) {
  std::swap(Collaborators(), collaborators);
  return collaborators;
}

const TfrxReportCollaborators& frxReportCollaborators() { return Collaborators(); }

TfrxErrorBoxHandler frxSetErrorBoxHandler(TfrxErrorBoxHandler handler) {
  std::swap(ErrorBoxHandler(), handler);
  return handler;
}

void frxShowErrorBox(const std::string& text, const std::string& title) {
  if (ErrorBoxHandler())
    ErrorBoxHandler()(text, title);
  else
    ShowStandardError(text);
}

TfrxDuplicatesQuestion frxSetDuplicatesQuestion(TfrxDuplicatesQuestion question) {
  std::swap(DuplicatesQuestion(), question);
  return question;
}

TfrxDuplicatesAnswer frxAskDuplicates(const std::vector<std::string>& names) {
  return DuplicatesQuestion() ? DuplicatesQuestion()(names) : TfrxDuplicatesAnswer::Rename;
}

namespace {
TfrxPasswordQuestion& PasswordQuestion() {
  static TfrxPasswordQuestion question;
  return question;
}
}  // namespace

TfrxPasswordQuestion frxSetPasswordQuestion(TfrxPasswordQuestion question) {
  std::swap(PasswordQuestion(), question);
  return question;
}

bool frxAskPassword(std::string& password) { return PasswordQuestion() && PasswordQuestion()(password); }
