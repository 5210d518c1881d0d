#include "app/unit_email.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>

#include "CentreOnScreen.h"
#include "platform/FileSystem.h"
#include "platform/QtText.h"

Tfrm_Email::Tfrm_Email(std::string programFolder, QWidget* parent)
    : QDialog(parent), programFolder_(std::move(programFolder)) {
  setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                 Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
  setWindowTitle(QString::fromUtf8("Ustawienia wiadomości e-mail"));
  resize(396, 248);

  auto* strip = new QFrame(this);
  strip->setFrameShape(QFrame::StyledPanel);
  strip->setGeometry(0, 0, 396, 41);
  btn_OK = new QPushButton(QStringLiteral("OK"), strip);
  btn_OK->setGeometry(8, 8, 75, 25);
  btn_OK->setDefault(true);
  connect(btn_OK, &QPushButton::clicked, this, &QDialog::accept);

  const auto addField = [this](const char* label, int y) {
    auto* caption = new QLabel(QString::fromUtf8(label), this);
    caption->setGeometry(16, y, 360, 18);
    auto* field = new QLineEdit(this);
    field->setGeometry(16, y + 18, 360, 22);
    return field;
  };
  ed_bcc = addField("Wyślij kopię wiadomości do:", 52);
  ed_Subject = addField("Temat wiadomości", 100);
  ed_Tresc = addField("Plik z treścią e-maila", 148);
  btn_Edytuj = new QPushButton(QString::fromUtf8("Edytuj plik"), this);
  btn_Edytuj->setGeometry(16, 200, 100, 25);
  connect(btn_Edytuj, &QPushButton::clicked, this, [this] { btn_EdytujClick(); });

  CentreOnScreen(this);
}

void Tfrm_Email::btn_EdytujClick() {
  // The body file name may separate folders with "\" as the parent application does.
  // xdg-open itself rather than the platform plugin's services, which do nothing on
  // some plugins (offscreen).
  const std::string path = fsys::NativePath(programFolder_ + ToAnsi(ed_Tresc->text())).string();
  QProcess::startDetached(QStringLiteral("xdg-open"), {QString::fromStdString(path)});
}

TEmailSettings Tfrm_Email::EmailSettings() const {
  return TEmailSettings{ToAnsi(ed_bcc->text()), ToAnsi(ed_Subject->text()), ToAnsi(ed_Tresc->text())};
}

void Tfrm_Email::SetEmailSettings(const TEmailSettings& settings) {
  ed_bcc->setText(FromAnsi(settings.Bcc));
  ed_Subject->setText(FromAnsi(settings.Subject));
  ed_Tresc->setText(FromAnsi(settings.BodyFile));
}
