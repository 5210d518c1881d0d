// The timer cycle, the job tickets and the job queue of the main window.
#include <QByteArray>
#include <QCheckBox>
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
  try {
    for (const std::string& name : fsys::FindEntries(programFolder_, "*.prn")) AddTicket(programFolder_ + name);
  } catch (const std::exception&) {
    // The remaining tickets are met in a later cycle.
  }
}

void Tfrm_main::AddTicket(const std::string& ticketPath) {
  const TJobTicket ticket = ReadJobTicket(ticketPath);
  if (fsys::FileExists(ticket.LayoutPath) && fsys::FileExists(ticket.DataPath)) {
    AppendJob(TemplatePathFor(ticket.LayoutPath), ticket.DataPath, ticket.Copies);
    update();
  } else {
    fsys::DeleteFile(ticket.DataPath);
  }
  fsys::DeleteFile(ticketPath);
}

void Tfrm_main::AppendJob(const std::string& templatePath, const std::string& dataPath, int copies) {
  auto* entry = new QTreeWidgetItem(Lista);
  const std::string columns[] = {templatePath, dataPath, std::to_string(copies)};
  for (int column = 0; column < 3; ++column) {
    entry->setText(column, FromAnsi(columns[column]));
    entry->setData(column, kAnsiRole, QByteArray::fromStdString(columns[column]));
  }
}

void Tfrm_main::RemoveJob(QTreeWidgetItem* entry) {
  if (!entry) return;
  try {
    const std::string dataPath = JobDataPath(*entry);
    delete entry;
    update();
    fsys::DeleteFile(dataPath);
  } catch (const std::exception&) {
    // The job is over whatever happens here.
  }
}

int Tfrm_main::JobCount() const { return Lista->topLevelItemCount(); }

QTreeWidgetItem* Tfrm_main::FirstJob() const { return Lista->topLevelItem(0); }

std::string Tfrm_main::JobTemplatePath(const QTreeWidgetItem& entry) { return AnsiOf(entry, 0); }

std::string Tfrm_main::JobDataPath(const QTreeWidgetItem& entry) { return AnsiOf(entry, 1); }
