#include "app/Unit_main.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QCursor>
#include <QFrame>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QStackedWidget>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QTreeWidget>
#include <chrono>
#include <thread>

#include "CentreOnScreen.h"
#include "app/DirectoryEdit.h"
#include "app/Tavrel.h"
#include "app/Unit_about.h"
#include "app/unit_email.h"
#include "platform/Convert.h"
#include "platform/ErrorBox.h"
#include "platform/FileSystem.h"
#include "platform/IniFile.h"
#include "platform/Printers.h"
#include "platform/QtText.h"

namespace {

constexpr int kClientWidth = 595;
constexpr int kClientHeight = 214;
constexpr int kPanelHeight = 73;
constexpr int kStatusHeight = 18;

// Items of the action list; the index is the action every job performs.
const char* const kActions[] = {"drukowanie", "podgląd wydruku", "eksport do PDF",
                                "eksport do JPG", "twórz e-mail"};
constexpr int kActionCount = 5;

// The page of `Pages` that shows the setting an action needs.
int PageForAction(int action) {
  switch (action) {
    case 2:
    case 3: return 1;  // target folder
    case 4: return 2;  // temporary folder
    default: return 0;  // printer, also with no action selected
  }
}

QLabel* AddLabel(QWidget* parent, const char* text, int x, int y) {
  auto* label = new QLabel(QString::fromUtf8(text), parent);
  label->move(x, y);
  label->adjustSize();
  return label;
}

}  // namespace

Tfrm_main::Tfrm_main(std::string programFolder, bool trayAvailable, QWidget* parent)
    : QWidget(parent), programFolder_(std::move(programFolder)), trayAvailable_(trayAvailable) {
  // A tool window lives in the tray; without a tray it must stay in the task bar and
  // be minimisable, or it could not be found again.
  setWindowFlags(trayAvailable_ ? Qt::Tool : Qt::Window);
  setWindowTitle(QString::fromUtf8("Tavrel 1.5 - przetwarzanie wydruków z programu Morvena"));
  setWindowIcon(TavrelIcon());
  setFixedSize(kClientWidth, kClientHeight);
  JobTables.CreateJobTables();
  ApplyReportHostSettings(fr1);
  ExportFilters.AddTo(JobOutputs);
  JobOutputs.SendJobMail = [this](const std::string& pdfPath, const std::string& recipient) {
    const TEmailSettings settings = frm_Email_ ? frm_Email_->EmailSettings() : TEmailSettings{};
    ::SendJobMail(MSM, programFolder_, settings, pdfPath, recipient);
  };
  CreateControls();
  CreateTray();
  CentreOnScreen(this);
  if (const std::string notice = ProgramFolderNotice(programFolder_); !notice.empty()) ShowNotice(notice);

  Timer1 = new QTimer(this);
  Timer1->setInterval(1000);
  connect(Timer1, &QTimer::timeout, this, [this] { Timer1Timer(); });
  Timer1->start();
}

Tfrm_main::~Tfrm_main() = default;

void Tfrm_main::CreateControls() {
  auto* panel = new QFrame(this);
  panel->setFrameShape(QFrame::StyledPanel);
  panel->setGeometry(0, 0, kClientWidth, kPanelHeight);

  btn_Tray = new QPushButton(QString::fromUtf8("&Ukryj"), panel);
  btn_Tray->setGeometry(6, 4, 100, 21);
  btn_Info = new QPushButton(QString::fromUtf8("Informacje"), panel);
  btn_Info->setGeometry(6, 26, 100, 21);
  btn_Zamknij = new QPushButton(QString::fromUtf8("Zamknij program"), panel);
  btn_Zamknij->setGeometry(6, 48, 100, 21);
  btn_Zamknij->setVisible(!trayAvailable_);

  cb_Stop = new QCheckBox(QString::fromUtf8("wstrzymaj przetwarzanie"), panel);
  cb_Stop->setGeometry(112, 6, 172, 20);
  cb_Interact = new QCheckBox(QString::fromUtf8("tryb serwisowy"), panel);
  cb_Interact->setGeometry(112, 28, 172, 20);

  AddLabel(panel, "domyślna akcja", 286, 2);
  cb_Akcja = new QComboBox(panel);
  cb_Akcja->setGeometry(286, 18, 118, 22);
  for (const char* action : kActions) cb_Akcja->addItem(QString::fromUtf8(action));
  cb_Akcja->setCurrentIndex(0);

  // The label keeps its two lines; a CR would show as a stray glyph here.
  AddLabel(panel, "Opóźnienie\n[sekundy]", 286, 42);
  ed_Opoznienie = new QLineEdit(QStringLiteral("0"), panel);
  ed_Opoznienie->setGeometry(366, 46, 38, 22);

  Pages = new QStackedWidget(panel);
  Pages->setGeometry(410, 0, 181, kPanelHeight);
  const QString home = FromAnsi(fsys::HomeFolder());

  auto* printerPage = new QWidget(Pages);
  AddLabel(printerPage, "drukarka", 0, 2);
  cb_Printer = new QComboBox(printerPage);
  cb_Printer->setGeometry(0, 18, 181, 22);
  btn_PrinterSetup = new QPushButton(QString::fromUtf8("U&stawienia"), printerPage);
  btn_PrinterSetup->setGeometry(0, 45, 90, 23);
  Pages->addWidget(printerPage);

  auto* folderPage = new QWidget(Pages);
  AddLabel(folderPage, "katalog docelowy", 0, 2);
  ed_Katalog = new TDirectoryEdit(folderPage);
  ed_Katalog->setGeometry(0, 18, 181, 22);
  ed_Katalog->setText(home);
  Pages->addWidget(folderPage);

  auto* tempPage = new QWidget(Pages);
  AddLabel(tempPage, "folder tymczas.", 0, 2);
  ed_KatalogTemp = new TDirectoryEdit(tempPage);
  ed_KatalogTemp->setGeometry(0, 18, 181, 22);
  ed_KatalogTemp->setText(home);
  btn_1 = new QPushButton(QString::fromUtf8("Ustawienia email"), tempPage);
  btn_1->setGeometry(0, 45, 110, 23);
  Pages->addWidget(tempPage);

  Lista = new QTreeWidget(this);
  Lista->setGeometry(0, kPanelHeight, kClientWidth, kClientHeight - kPanelHeight - kStatusHeight);
  Lista->setColumnCount(3);
  Lista->setHeaderLabels({QStringLiteral("Dane"), QStringLiteral("Arkusz"), QStringLiteral("Kopii")});
  Lista->setColumnWidth(0, 150);
  Lista->setColumnWidth(1, 150);
  Lista->setRootIsDecorated(false);
  Lista->setItemsExpandable(false);
  Lista->setSelectionBehavior(QAbstractItemView::SelectRows);
  Lista->setAllColumnsShowFocus(true);

  lb_Status = new QLabel(this);
  lb_Status->setGeometry(4, kClientHeight - kStatusHeight, kClientWidth - 8, kStatusHeight);

  connect(btn_Tray, &QPushButton::clicked, this, [this] { close(); });
  connect(btn_Info, &QPushButton::clicked, this, [this] { btn_InfoClick(); });
  connect(btn_Zamknij, &QPushButton::clicked, this, [this] { Zamknijprogram1Click(); });
  connect(cb_Akcja, &QComboBox::currentIndexChanged, this, [this] { cb_AkcjaChange(); });
  connect(cb_Printer, &QComboBox::activated, this, [this] { cb_PrinterChange(); });
  connect(btn_PrinterSetup, &QPushButton::clicked, this, [this] { btn_PrinterSetupClick(); });
  connect(btn_1, &QPushButton::clicked, this, [this] { btn_1Click(); });

  // The window sees keys before its controls.
  for (QWidget* child : findChildren<QWidget*>()) child->installEventFilter(this);
}

void Tfrm_main::CreateTray() {
  PM1 = new QMenu(this);
  connect(PM1->addAction(QString::fromUtf8("Pokaż program")), &QAction::triggered, this,
          [this] { Pokaprogram1Click(); });
  PM1->addSeparator();
  connect(PM1->addAction(QString::fromUtf8("Zamknij program")), &QAction::triggered, this,
          [this] { Zamknijprogram1Click(); });

  RxTrayIcon1 = new QSystemTrayIcon(TavrelIcon(), this);
  RxTrayIcon1->setToolTip(QString::fromUtf8("Przetwarzanie wydruków Morvena "));
  connect(RxTrayIcon1, &QSystemTrayIcon::activated, this,
          [this](QSystemTrayIcon::ActivationReason reason) {
            switch (reason) {
              case QSystemTrayIcon::Trigger: RxTrayIcon1Click(Qt::LeftButton); break;
              case QSystemTrayIcon::Context: RxTrayIcon1Click(Qt::RightButton); break;
              case QSystemTrayIcon::MiddleClick: RxTrayIcon1Click(Qt::MiddleButton); break;
              default: break;
            }
          });
  // Shown even without a notification area: where the desktop brings one up later (a
  // panel that starts after the program), the icon appears in it then.
  RxTrayIcon1->show();
}

void Tfrm_main::ReadSettings() {
  const TIniFile ini(SettingsPath());
  const std::string home = fsys::HomeFolder();
  const int action = ini.ReadInteger("MAIN", "AKCJA", 0);
  cb_Akcja->setCurrentIndex(action >= 0 && action < kActionCount ? action : -1);
  ed_Opoznienie->setText(FromAnsi(ini.ReadString("MAIN", "OPOZNIENIE", "0")));
  ed_Katalog->setText(FromAnsi(ini.ReadString("MAIN", "KATALOG_PDF", home)));
  ed_KatalogTemp->setText(FromAnsi(ini.ReadString("EMAIL", "KATALOG_TMP", home)));
  if (frm_Email_) frm_Email_->SetEmailSettings(ReadEmailSettings(ini));
  cb_AkcjaChange();
}

void Tfrm_main::WriteSettings() {
  TIniFile ini(SettingsPath());
  ini.WriteInteger("MAIN", "AKCJA", cb_Akcja->currentIndex());
  ini.WriteString("MAIN", "KATALOG_PDF", ToAnsi(ed_Katalog->text()));
  ini.WriteString("MAIN", "OPOZNIENIE", ToAnsi(ed_Opoznienie->text()));
  ini.WriteString("EMAIL", "KATALOG_TMP", ToAnsi(ed_KatalogTemp->text()));
  if (frm_Email_) WriteEmailSettings(ini, frm_Email_->EmailSettings());
}

void Tfrm_main::FillPrinterList() {
  const int seconds = StrToInt(ToAnsi(ed_Opoznienie->text()));
  // A negative delay is taken as none.
  if (seconds > 0) std::this_thread::sleep_for(std::chrono::seconds(seconds));
  cb_Printer->clear();
  cb_Printer->addItems(printers::Names());
  cb_Printer->setCurrentIndex(printers::CurrentIndex());
}

bool Tfrm_main::FormKeyDown(int key) {
  if (key != Qt::Key_Escape) return false;
  close();
  return true;
}

void Tfrm_main::closeEvent(QCloseEvent* event) {
  event->ignore();
  if (trayAvailable_) hide();
  else showMinimized();
}

void Tfrm_main::keyPressEvent(QKeyEvent* event) {
  if (!FormKeyDown(event->key())) QWidget::keyPressEvent(event);
}

bool Tfrm_main::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress && FormKeyDown(static_cast<QKeyEvent*>(event)->key()))
    return true;
  return QWidget::eventFilter(watched, event);
}

void Tfrm_main::cb_AkcjaChange() { Pages->setCurrentIndex(PageForAction(cb_Akcja->currentIndex())); }

void Tfrm_main::cb_PrinterChange() {
  try {
    printers::SetCurrentIndex(cb_Printer->currentIndex());
  } catch (const std::exception&) {
    // A printer that cannot be chosen leaves the current one.
  }
}

void Tfrm_main::btn_PrinterSetupClick() { printers::ShowSetupDialog(this); }

void Tfrm_main::btn_InfoClick() {
  if (frm_about_) frm_about_->exec();
}

void Tfrm_main::btn_1Click() {
  if (frm_Email_) frm_Email_->exec();
}

void Tfrm_main::RxTrayIcon1Click(Qt::MouseButton button) {
  if (button == Qt::LeftButton) {
    if (isVisible()) hide();
    else Pokaprogram1Click();
  } else if (button == Qt::RightButton) {
    PM1->popup(QCursor::pos());
  }
}

void Tfrm_main::Pokaprogram1Click() {
  showNormal();
  raise();
  activateWindow();
}

void Tfrm_main::Zamknijprogram1Click() {
  try {
    WriteSettings();
  } catch (const std::exception& e) {
    // The user is told that the settings were not kept; the program still ends, as asked.
    ShowStandardError(e.what());
  }
  QApplication::quit();
}
