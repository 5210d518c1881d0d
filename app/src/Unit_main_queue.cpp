// The timer cycle, the job tickets and the job queue of the main window.
#include <QByteArray>
#include <QCheckBox>
#include <QLabel>
#include <QTimer>
#include <QTreeWidget>

#include "app/Unit_main.h"
#include "platform/ErrorBox.h"
#include "platform/FileSystem.h"
#include "platform/QtText.h"

namespace {

// Each column keeps the ticket's own bytes beside the text it shows, so that a path
// reaches the job exactly as the parent application wrote it.
constexpr int kAnsiRole = Qt::UserRole;
// On the caption: whether the ticket was trusted, so that the data file may be deleted.
constexpr int kDeletableRole = Qt::UserRole + 1;
// Notices kept in the status line's tooltip.
constexpr int kNoticesKept = 10;

std::string AnsiOf(const QTreeWidgetItem& entry, int column) {
  return entry.data(column, kAnsiRole).toByteArray().toStdString();
}

}  // namespace

void Tfrm_main::Timer1Timer() {
  Timer1->stop();
  try {
    ScanTickets();
    if (!cb_Stop->isChecked()) ExecuteFirstJob();
  } catch (const std::exception& e) {
    ShowStandardError(e.what());
  }
  Timer1->start();
}

void Tfrm_main::ScanTickets() {
  ticketsMet_.BeginScan();
  try {
    for (const std::string& name : fsys::FindEntries(programFolder_, "*.prn")) AddTicket(programFolder_ + name);
  } catch (const std::exception&) {
    // The remaining tickets are met in a later cycle.
  }
}

void Tfrm_main::AddTicket(const std::string& ticketPath) {
  const TTicketCheck check = CheckTicket(ticketPath);
  // An untrusted ticket left in place is run and reported once, not in every cycle.
  if (!check.Trusted && ticketsMet_.MetBefore(check.Entry)) return;
  if (!check.Notice.empty()) ShowNotice(check.Notice);
  const TJobTicket ticket = check.Readable ? ReadJobTicket(ticketPath) : TJobTicket();
  if (fsys::FileExists(ticket.LayoutPath) && fsys::FileExists(ticket.DataPath)) {
    AppendJob(TemplatePathFor(ticket.LayoutPath), ticket.DataPath, ticket.Copies, check.Trusted);
    update();
  } else if (const std::string notice = DeleteJobDataFile(ticket.DataPath, check.Trusted); !notice.empty()) {
    ShowNotice(notice);
  }
  if (!fsys::DeleteFile(ticketPath) && !check.Trusted) ticketsMet_.Remember(check.Entry);
}

void Tfrm_main::AppendJob(const std::string& templatePath, const std::string& dataPath, int copies,
                          bool dataDeletable) {
  auto* entry = new QTreeWidgetItem(Lista);
  const std::string columns[] = {templatePath, dataPath, std::to_string(copies)};
  for (int column = 0; column < 3; ++column) {
    entry->setText(column, FromAnsi(columns[column]));
    entry->setData(column, kAnsiRole, QByteArray::fromStdString(columns[column]));
  }
  entry->setData(0, kDeletableRole, dataDeletable);
}

void Tfrm_main::RemoveJob(QTreeWidgetItem* entry) {
  if (!entry) return;
  try {
    const std::string dataPath = JobDataPath(*entry);
    const bool deletable = JobDataDeletable(*entry);
    delete entry;
    update();
    if (const std::string notice = DeleteJobDataFile(dataPath, deletable); !notice.empty()) ShowNotice(notice);
  } catch (const std::exception&) {
    // The job is over whatever happens here.
  }
}

void Tfrm_main::ShowNotice(const std::string& notice) {
  const QString text = FromAnsi(notice);
  lb_Status->setText(text);
  QStringList kept = lb_Status->toolTip().split(QLatin1Char('\n'), Qt::SkipEmptyParts);
  kept.append(text);
  while (kept.size() > kNoticesKept) kept.removeFirst();
  lb_Status->setToolTip(kept.join(QLatin1Char('\n')));
}

int Tfrm_main::JobCount() const { return Lista->topLevelItemCount(); }

QTreeWidgetItem* Tfrm_main::FirstJob() const { return Lista->topLevelItem(0); }

std::string Tfrm_main::JobTemplatePath(const QTreeWidgetItem& entry) { return AnsiOf(entry, 0); }

std::string Tfrm_main::JobDataPath(const QTreeWidgetItem& entry) { return AnsiOf(entry, 1); }

bool Tfrm_main::JobDataDeletable(const QTreeWidgetItem& entry) { return entry.data(0, kDeletableRole).toBool(); }
