#include "tables/JobDataSets.h"

namespace {

void Configure(TfrxDBDataset& dataSet, const char* name, const char* alias, TRxMemoryData* table) {
  dataSet.SetName(name);
  dataSet.SetUserName(alias);
  dataSet.SetCloseDataSource(false);
  dataSet.SetBCDToCurrency(false);
  dataSet.SetDataSet(table);
}

}  // namespace

TJobDataSets::TJobDataSets(TJobTables& tables) {
  Configure(src_Data, "src_Data", "Dane", &tables.db_Data);
  Configure(src_Serial, "src_Serial", "Seria", &tables.db_Serial);
  Configure(src_sumy, "src_sumy", "Sumy", &tables.db_sumy);
  Configure(frxDBDataset1, "frxDBDataset1", "frxDBDataset1", nullptr);
}
