#pragma once
// The dialogs module: the common dialogs' enumerations and classes, MessageDlg, InputBox
// and InputQuery. What needs a window goes through handlers the program installs when it
// has a display (tavrel: Qt message and input boxes); without them:
// - MessageDlg writes its text to standard error and answers as if the first offered of
//   OK, Yes, Ignore, Retry, All, Yes to all, No, No to all, Cancel, Abort was chosen
//   (mrOk without buttons), so an unattended job goes on the way its author expects;
// - InputQuery answers False and leaves the value; InputBox gives the default;
// - the common dialogs' Execute answers False (nothing chosen): this system opens no
//   file, colour, font or printer dialog for scripts.

#include <functional>
#include <memory>
#include <string>

#include "script/fs_iinterpreter.h"

struct TfsDialogHandlers {
  // The answer (mrOk, mrYes, ...) to a message box of the type (mtWarning ...) with the
  // buttons (the TMsgDlgButtons bits).
  std::function<int(const std::string& text, int dialogType, int buttons)> MessageDlg;
  // True when the user confirmed; `value` is the text entered (the default on entry).
  std::function<bool(const std::string& caption, const std::string& prompt, std::string& value)> InputQuery;
};
// Replaces the handlers and returns the previous ones.
TfsDialogHandlers fsSetDialogHandlers(TfsDialogHandlers handlers);

// The answer MessageDlg gives without a handler.
int fsDefaultDialogAnswer(int buttons);

std::unique_ptr<TfsRTTIModule> fsCreateDialogsRTTI(TfsScript& script);
