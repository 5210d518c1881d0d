#pragma once
// The main window of the resident utility. It owns, for the life of the process, the
// job timer, the tray icon with its menu and the job queue (the list `Lista`); the
// settings file and the job tickets live in the program's folder given at creation.
//
// Life: created hidden, with the job tables defined and open; ReadSettings and FillPrinterList run once the e-mail window
// exists (see Tavrel.h); Timer1 runs from creation, so its first cycle comes once the
// message loop runs. Closing the window hides it (or minimises it where the desktop has
// no notification area, so that it stays reachable); only "Zamknij program" ends the
// program, after writing the settings.
//
// The timer cycle: Timer1Timer = timer off, ScanTickets, ExecuteFirstJob unless paused,
// timer on; an error escaping the cycle is shown in the standard error box first.
// ExecuteFirstJob takes the first queue entry; RemoveJob ends every job.
//
// Deletion is guarded (jobs/JobFiles.h): an entry remembers whether its ticket was
// trusted, and only then does RemoveJob delete the data file. What the program leaves
// alone, and a program folder other users can write into, is said in the status line.

#include <QWidget>
#include <string>
#include <string_view>

#include "app/JobExportFilters.h"
#include "jobs/JobFiles.h"
#include "jobs/JobSequence.h"
#include "jobs/JobTicket.h"
#include "jobs/MapiSendMail.h"
#include "report/frxClassReport.h"
#include "tables/JobDataSets.h"
#include "tables/JobTables.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QStackedWidget;
class QSystemTrayIcon;
class QTimer;
class QTreeWidget;
class QTreeWidgetItem;
class TDirectoryEdit;
class Tfrm_about;
class Tfrm_Email;

class Tfrm_main : public QWidget {
 public:
  // `programFolder` ends with "/"; `trayAvailable` tells whether the desktop has a
  // notification area.
  Tfrm_main(std::string programFolder, bool trayAvailable, QWidget* parent = nullptr);
  ~Tfrm_main() override;

  void SetAboutWindow(Tfrm_about* window) { frm_about_ = window; }
  void SetEmailWindow(Tfrm_Email* window) { frm_Email_ = window; }

  // The program's folder, with its trailing "/".
  const std::string& ProgramFolder() const { return programFolder_; }
  bool TrayAvailable() const { return trayAvailable_; }

  // Settings file `Tavrel.ini` into the controls of both windows, then cb_AkcjaChange.
  void ReadSettings();
  // Writes the seven settings; throws EIniFileException when the file cannot be saved.
  void WriteSettings();
  // Waits the start-up delay (ed_Opoznienie, whole seconds; throws EConvertError when
  // it is not a whole number), then lists the system's printers.
  void FillPrinterList();

  // Timer cycle and the job queue.
  void Timer1Timer();
  void ScanTickets();
  void AddTicket(const std::string& ticketPath);
  // Executes the first job of the queue; nothing when the queue is empty.
  virtual void ExecuteFirstJob();
  // Ends a job: the entry leaves the queue and its data file is deleted; never throws.
  void RemoveJob(QTreeWidgetItem* entry);

  int JobCount() const;
  QTreeWidgetItem* FirstJob() const;  // nullptr when the queue is empty
  // The entry's template path (caption) and data file path (first sub-item), 8-bit text
  // exactly as the ticket gave them.
  static std::string JobTemplatePath(const QTreeWidgetItem& entry);
  static std::string JobDataPath(const QTreeWidgetItem& entry);
  // Whether the entry's ticket was trusted, so that its data file may be deleted.
  static bool JobDataDeletable(const QTreeWidgetItem& entry);

  // Puts an 8-bit notice into the status line (the last few stay in its tooltip).
  void ShowNotice(const std::string& notice);

  // Handlers.
  bool FormKeyDown(int key);  // true when the key was used
  void cb_AkcjaChange();
  void cb_PrinterChange();
  void btn_PrinterSetupClick();
  void btn_InfoClick();
  void btn_1Click();
  void RxTrayIcon1Click(Qt::MouseButton button);
  void Pokaprogram1Click();
  void Zamknijprogram1Click();

  // Controls.
  QPushButton* btn_Tray;
  QCheckBox* cb_Stop;
  QCheckBox* cb_Interact;
  QComboBox* cb_Akcja;
  QStackedWidget* Pages;
  QComboBox* cb_Printer;
  QPushButton* btn_PrinterSetup;
  TDirectoryEdit* ed_Katalog;
  TDirectoryEdit* ed_KatalogTemp;
  QPushButton* btn_1;
  QPushButton* btn_Info;
  QLineEdit* ed_Opoznienie;
  // Shown only where there is no notification area: the way to end the program there.
  QPushButton* btn_Zamknij;
  QTreeWidget* Lista;
  // Under the list: what the program left alone and why (empty while all is well).
  QLabel* lb_Status;
  QTimer* Timer1;
  QMenu* PM1;
  QSystemTrayIcon* RxTrayIcon1;

  // The job tables (Dane, Seria, Sumy) that each job's data is loaded into.
  TJobTables JobTables;
  // Their report datasets "Dane", "Seria", "Sumy" and frxDBDataset1.
  TJobDataSets JobDataSets{JobTables};
  // The report object every job loads its template into, with the host's settings.
  TfrxReport fr1;
  // The export filters the window owns, with the host settings.
  TJobExportFilters ExportFilters;
  // What the program can do with a prepared report: the export filters PDF_E and
  // JPG_E, printing and the mail hand-off, as far as the program has them.
  TJobOutputs JobOutputs;
  // The mail component of the e-mail action; keeps its properties from job to job.
  TMapiSendMail MSM;
  // The settings of the controls that a job reads.
  TJobSettings JobSettings() const;

 protected:
  void closeEvent(QCloseEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void CreateControls();
  void CreateTray();
  void AppendJob(const std::string& templatePath, const std::string& dataPath, int copies, bool dataDeletable);
  std::string SettingsPath() const { return programFolder_ + "Tavrel.ini"; }

  std::string programFolder_;
  bool trayAvailable_;
  Tfrm_about* frm_about_ = nullptr;
  Tfrm_Email* frm_Email_ = nullptr;
  TTicketsMet ticketsMet_;
};
