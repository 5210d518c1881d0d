#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMenu>
#include <QPrinterInfo>
#include <QPushButton>
#include <QStackedWidget>
#include <QSystemTrayIcon>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>

#include "AppFixture.h"
#include "app/DirectoryEdit.h"
#include "platform/FileSystem.h"
#include "platform/Printers.h"
#include "platform/QtText.h"

namespace {

using MainWindowTest = AppFixture;

QString Utf8(const char* text) { return QString::fromUtf8(text); }

TEST_F(MainWindowTest, WithoutSettingsTheWindowsShowTheDefaults) {
  Tfrm_main& main = Start();
  const QString home = FromAnsi(fsys::HomeFolder());
  EXPECT_EQ(main.cb_Akcja->currentText(), Utf8("drukowanie"));
  EXPECT_EQ(main.ed_Opoznienie->text(), "0");
  EXPECT_EQ(main.ed_Katalog->text(), home);
  EXPECT_EQ(main.ed_KatalogTemp->text(), home);
  EXPECT_TRUE(home.endsWith('/'));
  EXPECT_EQ(windows.frm_Email->ed_Subject->text(), Utf8("Temat wiadomości e-mail"));
  EXPECT_EQ(windows.frm_Email->ed_Tresc->text(), "body.txt");
  EXPECT_EQ(windows.frm_Email->ed_bcc->text(), "");
  EXPECT_FALSE(main.cb_Stop->isChecked());
  EXPECT_FALSE(main.cb_Interact->isChecked());
  EXPECT_EQ(main.JobCount(), 0);
  EXPECT_TRUE(errors.empty());
  // The job tables are defined and open from the start.
  EXPECT_TRUE(main.JobTables.db_Data.Active());
  EXPECT_EQ(main.JobTables.db_Data.FieldCount(), 201);
  EXPECT_TRUE(main.JobTables.db_Serial.Active());
  EXPECT_TRUE(main.JobTables.db_sumy.Active());
  EXPECT_FALSE(program.Exists("Tavrel.ini")) << "reading must not write the settings";
}

TEST_F(MainWindowTest, ControlsCarryTheirPolishTexts) {
  Tfrm_main& main = Start();
  EXPECT_EQ(main.windowTitle(), Utf8("Tavrel 1.5 - przetwarzanie wydruków z programu Morvena"));
  EXPECT_TRUE(main.windowFlags().testFlag(Qt::Tool));
  EXPECT_EQ(main.size(), QSize(595, 214));
  EXPECT_EQ(main.btn_Tray->text(), "&Ukryj");
  EXPECT_EQ(main.cb_Stop->text(), "wstrzymaj przetwarzanie");
  EXPECT_EQ(main.cb_Interact->text(), "tryb serwisowy");
  EXPECT_EQ(main.btn_PrinterSetup->text(), "U&stawienia");
  EXPECT_EQ(main.btn_1->text(), "Ustawienia email");
  EXPECT_EQ(main.btn_Info->text(), "Informacje");
  const QStringList actions = {Utf8("drukowanie"), Utf8("podgląd wydruku"), Utf8("eksport do PDF"),
                               Utf8("eksport do JPG"), Utf8("twórz e-mail")};
  ASSERT_EQ(main.cb_Akcja->count(), actions.size());
  for (int i = 0; i < actions.size(); ++i) EXPECT_EQ(main.cb_Akcja->itemText(i), actions[i]);
  QTreeWidgetItem* header = main.Lista->headerItem();
  EXPECT_EQ(header->text(0), "Dane");
  EXPECT_EQ(header->text(1), "Arkusz");
  EXPECT_EQ(header->text(2), "Kopii");
  EXPECT_EQ(main.Lista->columnWidth(0), 150);
  EXPECT_EQ(main.Lista->columnWidth(1), 150);
  EXPECT_EQ(main.RxTrayIcon1->toolTip(), Utf8("Przetwarzanie wydruków Morvena "));
  EXPECT_EQ(main.RxTrayIcon1->icon().availableSizes().value(0), QSize(32, 32));
  const QList<QAction*> menu = main.PM1->actions();
  ASSERT_EQ(menu.size(), 3);
  EXPECT_EQ(menu[0]->text(), Utf8("Pokaż program"));
  EXPECT_TRUE(menu[1]->isSeparator());
  EXPECT_EQ(menu[2]->text(), "Zamknij program");
  EXPECT_EQ(windows.frm_about->windowTitle(), "o programie...");
  EXPECT_EQ(windows.frm_Email->windowTitle(), Utf8("Ustawienia wiadomości e-mail"));
}

TEST_F(MainWindowTest, TheActionDecidesThePage) {
  Tfrm_main& main = Start();
  const struct {
    int action;
    int page;
  } cases[] = {{0, 0}, {1, 0}, {2, 1}, {3, 1}, {4, 2}, {-1, 0}};
  for (const auto& c : cases) {
    main.cb_Akcja->setCurrentIndex(c.action);
    EXPECT_EQ(main.Pages->currentIndex(), c.page) << "action " << c.action;
  }
}

TEST_F(MainWindowTest, ZamknijProgramWritesEverySettingAndTheNextStartShowsThem) {
  {
    Tfrm_main& main = Start();
    main.cb_Akcja->setCurrentIndex(3);
    main.ed_Katalog->setText(Utf8("/srv/wydruki/łódź/"));
    main.ed_Opoznienie->setText("2");
    main.ed_KatalogTemp->setText("/tmp/poczta/");
    windows.frm_Email->ed_bcc->setText("ksiegowosc@firma.pl");
    windows.frm_Email->ed_Subject->setText(Utf8("Faktura – zażółć"));
    windows.frm_Email->ed_Tresc->setText(Utf8("treść.txt"));
    main.Zamknijprogram1Click();
  }
  // Windows-1250 bytes, both sections, all seven keys in the order they are written.
  EXPECT_EQ(program.Read("Tavrel.ini"),
            "[MAIN]\r\nAKCJA=3\r\nKATALOG_PDF=/srv/wydruki/\xb3\xf3" "d\x9f/\r\nOPOZNIENIE=2\r\n"
            "[EMAIL]\r\nKATALOG_TMP=/tmp/poczta/\r\nBCC=ksiegowosc@firma.pl\r\n"
            "TEMAT=Faktura \x96 za\xbf\xf3\xb3\xe6\r\nBODY=tre\x9c\xe6.txt\r\n");
  // The next start waits the stored delay; make it 0 so the test stays short.
  program.Write("Tavrel.ini", "[MAIN]\r\nAKCJA=3\r\nKATALOG_PDF=/srv/wydruki/\xb3\xf3" "d\x9f/\r\nOPOZNIENIE=0\r\n"
                "[EMAIL]\r\nKATALOG_TMP=/tmp/poczta/\r\nBCC=ksiegowosc@firma.pl\r\n"
                "TEMAT=Faktura \x96 za\xbf\xf3\xb3\xe6\r\nBODY=tre\x9c\xe6.txt\r\n");
  Tfrm_main& again = Start();
  EXPECT_EQ(again.cb_Akcja->currentIndex(), 3);
  EXPECT_EQ(again.Pages->currentIndex(), 1);
  EXPECT_EQ(again.ed_Katalog->text(), Utf8("/srv/wydruki/łódź/"));
  EXPECT_EQ(again.ed_KatalogTemp->text(), "/tmp/poczta/");
  EXPECT_EQ(windows.frm_Email->ed_bcc->text(), "ksiegowosc@firma.pl");
  EXPECT_EQ(windows.frm_Email->ed_Subject->text(), Utf8("Faktura – zażółć"));
  EXPECT_EQ(windows.frm_Email->ed_Tresc->text(), Utf8("treść.txt"));
}

TEST_F(MainWindowTest, HidingNeverWritesTheSettings) {
  Tfrm_main& main = Start();
  main.Pokaprogram1Click();
  main.btn_Tray->click();
  EXPECT_FALSE(program.Exists("Tavrel.ini"));
}

TEST_F(MainWindowTest, ActionOutsideTheListSelectsNothingAndShowsThePrinterPage) {
  for (const char* value : {"5", "-1", "abc"}) {
    program.Write("Tavrel.ini", std::string("[MAIN]\r\nAKCJA=") + value + "\r\n");
    Tfrm_main& main = Start();
    EXPECT_EQ(main.cb_Akcja->currentIndex(), std::string(value) == "abc" ? 0 : -1) << value;
    EXPECT_EQ(main.Pages->currentIndex(), 0) << value;
  }
}

TEST_F(MainWindowTest, DelayThatIsNoWholeNumberIsReportedAndStartUpGoesOn) {
  program.Write("Tavrel.ini", "[MAIN]\r\nOPOZNIENIE=1,5\r\n");
  Tfrm_main& main = Start();
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0], "'1,5' is not a valid integer value");
  EXPECT_EQ(main.cb_Printer->count(), 0);
  EXPECT_TRUE(main.Timer1->isActive());
}

TEST_F(MainWindowTest, NegativeDelayIsNoDelay) {
  program.Write("Tavrel.ini", "[MAIN]\r\nOPOZNIENIE=-5\r\n");
  Tfrm_main& main = Start();
  EXPECT_TRUE(errors.empty());
  EXPECT_EQ(main.cb_Printer->count(), QPrinterInfo::availablePrinterNames().size());
  EXPECT_EQ(main.ed_Opoznienie->text(), "-5");
}

TEST_F(MainWindowTest, StartUpDelayBlocksBeforeThePrintersAreListed) {
  program.Write("Tavrel.ini", "[MAIN]\r\nOPOZNIENIE=1\r\n");
  QElapsedTimer clock;
  clock.start();
  Start();
  EXPECT_GE(clock.elapsed(), 1000);
}

TEST_F(MainWindowTest, PrinterListIsTheSystemsWithTheCurrentOneSelected) {
  Tfrm_main& main = Start();
  const QStringList names = QPrinterInfo::availablePrinterNames();
  ASSERT_EQ(main.cb_Printer->count(), names.size());
  for (int i = 0; i < names.size(); ++i) EXPECT_EQ(main.cb_Printer->itemText(i), names[i]);
  EXPECT_EQ(main.cb_Printer->currentIndex(), static_cast<int>(names.indexOf(QPrinterInfo::defaultPrinterName())));
  // The chosen printer becomes the application's (where the system has printers).
  if (!names.isEmpty()) {
    main.cb_Printer->setCurrentIndex(static_cast<int>(names.size()) - 1);
    main.cb_PrinterChange();
    EXPECT_EQ(printers::CurrentName(), names.last());
  }
  // A choice that is no printer (nothing selected) is swallowed and changes nothing.
  const QString before = printers::CurrentName();
  main.cb_Printer->setCurrentIndex(-1);
  main.cb_PrinterChange();
  EXPECT_TRUE(errors.empty());
  EXPECT_EQ(printers::CurrentName(), before);
}

TEST_F(MainWindowTest, ClosingByAnyMeansHidesAndTheTimerGoesOn) {
  Tfrm_main& main = Start();
  const auto closers = {
      +[](Tfrm_main& w) { w.close(); },
      +[](Tfrm_main& w) { w.btn_Tray->click(); },
      +[](Tfrm_main& w) { QTest::keyClick(&w, Qt::Key_Escape); },
      +[](Tfrm_main& w) { QTest::keyClick(w.ed_Opoznienie, Qt::Key_Escape); },
  };
  int n = 0;
  for (auto closer : closers) {
    main.Pokaprogram1Click();
    ASSERT_TRUE(main.isVisible());
    closer(main);
    EXPECT_FALSE(main.isVisible()) << "closer " << n++;
    EXPECT_TRUE(main.Timer1->isActive());
  }
}

TEST_F(MainWindowTest, TrayClicksToggleTheWindowOrOpenTheMenu) {
  Tfrm_main& main = Start();
  EXPECT_FALSE(main.isVisible());
  main.RxTrayIcon1Click(Qt::LeftButton);
  EXPECT_TRUE(main.isVisible());
  main.RxTrayIcon1Click(Qt::LeftButton);
  EXPECT_FALSE(main.isVisible());
  main.RxTrayIcon1Click(Qt::MiddleButton);
  EXPECT_FALSE(main.isVisible());
  EXPECT_FALSE(main.PM1->isVisible());
  main.RxTrayIcon1Click(Qt::RightButton);
  EXPECT_TRUE(main.PM1->isVisible());
  main.PM1->hide();
  main.PM1->actions()[0]->trigger();
  EXPECT_TRUE(main.isVisible());
}

TEST_F(MainWindowTest, WithoutNotificationAreaTheWindowStaysReachable) {
  Tfrm_main& main = Start(/*trayAvailable=*/false);
  EXPECT_TRUE(main.isVisible());
  EXPECT_FALSE(main.windowFlags().testFlag(Qt::Tool));
  EXPECT_TRUE(main.btn_Zamknij->isVisible());
  main.btn_Tray->click();
  EXPECT_TRUE(main.isMinimized());
  EXPECT_TRUE(main.Timer1->isActive());
  main.btn_Zamknij->click();
  EXPECT_TRUE(program.Exists("Tavrel.ini"));
}

TEST_F(MainWindowTest, WithNotificationAreaTheWindowStartsHidden) {
  Tfrm_main& main = Start();
  EXPECT_FALSE(main.isVisible());
  EXPECT_TRUE(main.btn_Zamknij->isHidden());
}

TEST_F(MainWindowTest, AboutAndEmailWindowsOpenModallyAndClose) {
  Tfrm_main& main = Start();
  QTimer::singleShot(0, [this] {
    EXPECT_TRUE(windows.frm_about->isModal() || QApplication::activeModalWidget() == windows.frm_about.get());
    QTest::keyClick(windows.frm_about.get(), Qt::Key_Escape);
  });
  main.btn_Info->click();
  EXPECT_EQ(windows.frm_about->result(), QDialog::Accepted);
  QTimer::singleShot(0, [this] {
    windows.frm_Email->ed_bcc->setText("kopia@firma.pl");
    windows.frm_Email->btn_OK->click();
  });
  main.btn_1->click();
  EXPECT_FALSE(windows.frm_Email->isVisible());
  EXPECT_EQ(windows.frm_Email->ed_bcc->text(), "kopia@firma.pl");
}

TEST_F(MainWindowTest, SettingsThatCannotBeWrittenAreReportedAndTheProgramStillEnds) {
  Tfrm_main& main = Start();
  std::filesystem::create_directory(program.Folder() + "Tavrel.ini");  // a folder in the way
  main.Zamknijprogram1Click();
  ASSERT_EQ(errors.size(), 1u);
  EXPECT_EQ(errors[0], "Unable to write to " + program.Folder() + "Tavrel.ini");
}

}  // namespace
