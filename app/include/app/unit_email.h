#pragma once
// The e-mail settings window: the copy recipient, the subject and the body file of the
// messages the e-mail action composes. What is typed stays (there is no cancel) and is
// saved with the other settings when the program ends.

#include <QDialog>
#include <string>

#include "jobs/JobMail.h"

class QLineEdit;
class QPushButton;

class Tfrm_Email : public QDialog {
 public:
  // `programFolder` (with its trailing "/") is where the body file lives.
  explicit Tfrm_Email(std::string programFolder, QWidget* parent = nullptr);

  // Opens the body file in the desktop's editor for it; nothing is checked or reported.
  void btn_EdytujClick();

  // The three fields as typed, in the system code page.
  TEmailSettings EmailSettings() const;
  void SetEmailSettings(const TEmailSettings& settings);

  QPushButton* btn_OK;
  QLineEdit* ed_bcc;
  QLineEdit* ed_Subject;
  QLineEdit* ed_Tresc;
  QPushButton* btn_Edytuj;

 private:
  std::string programFolder_;
};
