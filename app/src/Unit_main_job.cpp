// Executing a job: the step the timer cycle takes when processing is not paused.
#include <QCheckBox>
#include <QComboBox>
#include <QTreeWidget>

#include "app/DirectoryEdit.h"
#include "app/Unit_main.h"
#include "platform/QtText.h"

TJobSettings Tfrm_main::JobSettings() const {
  TJobSettings settings;
  settings.Action = cb_Akcja->currentIndex();
  settings.ServiceMode = cb_Interact->isChecked();
  settings.TargetFolder = ToAnsi(ed_Katalog->text());
  settings.TempFolder = ToAnsi(ed_KatalogTemp->text());
  return settings;
}

void Tfrm_main::ExecuteFirstJob() {
  QTreeWidgetItem* entry = FirstJob();
  if (!entry) return;
  const std::string templatePath = JobTemplatePath(*entry);
  const std::string dataPath = JobDataPath(*entry);
  TJobSequence sequence(fr1, JobTables, JobOutputs);
  // The entry goes, and its data file with it, whatever the job did; an error reaches
  // the timer cycle after that.
  RunThenRemove([&] { sequence.Run(templatePath, dataPath, JobSettings()); }, [&] { RemoveJob(entry); });
}
