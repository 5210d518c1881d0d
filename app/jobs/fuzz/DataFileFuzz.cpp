// Data files come from another program: any bytes must load or fail with an error.
#include <cstdint>
#include <exception>
#include <string_view>

#include "jobs/DataFile.h"
#include "report/frxVariables.h"
#include "tables/JobTables.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static TJobTables* tables = [] {
    auto* t = new TJobTables;
    t->CreateJobTables();
    return t;
  }();
  TfrxVariables variables;
  TJobHeader header;
  try {
    LoadDataFile(std::string_view(reinterpret_cast<const char*>(data), size), header, *tables, variables);
  } catch (const std::exception&) {
    // A clear error is the expected answer to a bad file; the next job starts afresh.
    for (TRxMemoryData* t : {&tables->db_Data, &tables->db_Serial, &tables->db_sumy})
      if (t->State() != TDataSetState::dsBrowse) t->Cancel();
  }
  return 0;
}
