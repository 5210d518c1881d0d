#include "app/Unit_about.h"

#include <QFont>
#include <QKeyEvent>
#include <QLabel>
#include <QPushButton>

#include "CentreOnScreen.h"
#include "app/Tavrel.h"

namespace {

const char* const kAuthor =
    "Zespół programistów Tavrel\n"
    "współpraca z programem Morvena\n"
    "zgłoszenia i pytania: przez dział\n"
    "wsparcia programu Morvena";

const char* const kNotice =
    "Program przetwarza wydruki przekazane przez program Morvena i jest przeznaczony "
    "wyłącznie do współpracy z nim. Korzystanie z programu oznacza zgodę na warunki "
    "licencji programu Morvena. Program jest dostarczany w takim stanie, w jakim jest, "
    "bez jakichkolwiek gwarancji; autorzy nie odpowiadają za szkody wynikłe z jego użycia.";

}  // namespace

Tfrm_about::Tfrm_about(QWidget* parent) : QDialog(parent) {
  setWindowFlags(Qt::Tool | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
  setWindowTitle(QString::fromUtf8("o programie..."));
  setFixedSize(412, 315);

  auto* icon = new QLabel(this);
  icon->setPixmap(TavrelIcon().pixmap(32, 32));
  icon->setGeometry(16, 16, 32, 32);

  auto* heading = new QLabel(QString::fromUtf8("Tavrel ver 1.0"), this);
  QFont bold = heading->font();
  bold.setBold(true);
  bold.setPointSize(bold.pointSize() + 4);
  heading->setFont(bold);
  heading->setGeometry(64, 16, 330, 32);

  auto* authorLabel = new QLabel(QString::fromUtf8("Autor:"), this);
  authorLabel->setGeometry(16, 64, 60, 20);
  auto* author = new QLabel(QString::fromUtf8(kAuthor), this);
  author->setGeometry(80, 64, 316, 72);
  author->setAlignment(Qt::AlignLeft | Qt::AlignTop);

  auto* notice = new QLabel(QString::fromUtf8(kNotice), this);
  notice->setGeometry(16, 148, 380, 110);
  notice->setWordWrap(true);
  notice->setAlignment(Qt::AlignCenter);

  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setGeometry(166, 272, 80, 27);
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);

  CentreOnScreen(this);
}

void Tfrm_about::keyPressEvent(QKeyEvent* event) {
  if (event->key() == Qt::Key_Escape) accept();
  else QDialog::keyPressEvent(event);
}
