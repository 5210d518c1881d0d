#include "tables/JobTables.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/ErrorBox.h"

namespace {

using ::testing::ElementsAre;
using ::testing::ElementsAreArray;
using Names = std::vector<std::string>;

TEST(JobTables, CreateJobTablesDefinesAndOpensTheThreeTablesInOrder) {
  TJobTables tables;
  Names opened;
  for (auto* table : {&tables.db_Data, &tables.db_Serial, &tables.db_sumy}) {
    table->AfterOpen = [&](TRxMemoryData& t) { opened.push_back(t.Name()); };
  }
  tables.CreateJobTables();
  EXPECT_THAT(opened, ElementsAre("db_Serial", "db_Data", "db_sumy"));

  struct Case {
    TRxMemoryData* table;
    char prefix;
    int count;   // fields after D0
    int keySize;
    int size;
  };
  const Case cases[] = {{&tables.db_Data, 'D', 200, 255, 255},
                        {&tables.db_Serial, 'S', 20, 10, 50},
                        {&tables.db_sumy, 'U', 20, 10, 50}};
  for (const auto& c : cases) {
    TRxMemoryData& table = *c.table;
    ASSERT_EQ(table.FieldCount(), c.count + 1) << table.Name();
    EXPECT_EQ(table.Fields(0).FieldName(), "D0");
    EXPECT_EQ(table.Fields(0).Size(), c.keySize) << table.Name();
    for (int i = 1; i <= c.count; ++i) {
      const TField& field = table.Fields(i);
      EXPECT_EQ(field.FieldName(), c.prefix + std::to_string(i));
      EXPECT_EQ(field.DataType(), TFieldType::ftString);
      EXPECT_EQ(field.Size(), c.size);
    }
    EXPECT_FALSE(table.Filtered()) << table.Name();
    EXPECT_EQ(table.RecordCount(), 0);
  }
}

TEST(JobTables, ValuesLongerThanAFieldAreCut) {
  TJobTables tables;
  tables.CreateJobTables();
  struct Case {
    TRxMemoryData* table;
    const char* field;
    size_t length;
    size_t kept;
  };
  const Case cases[] = {{&tables.db_Data, "D5", 300, 255},   {&tables.db_Data, "D0", 300, 255},
                        {&tables.db_Data, "D200", 255, 255}, {&tables.db_Serial, "S1", 60, 50},
                        {&tables.db_Serial, "D0", 11, 10},   {&tables.db_sumy, "U20", 60, 50},
                        {&tables.db_sumy, "D0", 10, 10}};
  for (const auto& c : cases) {
    c.table->Append();
    c.table->FieldByName(c.field).SetAsString(std::string(c.length, 'x'));
    c.table->Post();
    EXPECT_EQ(c.table->FieldByName(c.field).AsString(), std::string(c.kept, 'x')) << c.field;
  }
}

// A job as the data file loader leaves it: main records numbered 1..n in D0, detail
// rows carrying the number of their main record.
class LoadedJob : public ::testing::Test {
 protected:
  void SetUp() override {
    previousErrorHandler = SetStandardErrorHandler([this](const std::string& m) { errorsShown.push_back(m); });
    tables.CreateJobTables();
    tables.db_Data.EmptyTable();
    tables.db_Serial.EmptyTable();
    tables.db_sumy.EmptyTable();
    AddMainRecord(1, "Hurtownia Wisła sp. z o.o.");
    AddRows(tables.db_Serial, "1", {"Śruba M8", "Nakrętka M8"});
    AddRows(tables.db_sumy, "1", {"23%"});
    AddMainRecord(2, "Piekarnia Łódź");
    AddRows(tables.db_Serial, "2", {"Mąka żytnia", "Drożdże", "Sól"});
    AddRows(tables.db_sumy, "2", {"5%", "8%"});
    AddMainRecord(3, "Sklep Kraków");
    AddRows(tables.db_Serial, "3", {"Cukier"});
    tables.db_Data.Post();
  }
  void TearDown() override {
    SetStandardErrorHandler(previousErrorHandler);
    EXPECT_THAT(errorsShown, ElementsAre()) << "errors of the detail filters are swallowed";
  }

  void AddMainRecord(int number, const std::string& buyer) {
    if (tables.db_Data.State() != TDataSetState::dsBrowse) tables.db_Data.Post();
    tables.db_Data.Append();
    tables.db_Data.FieldByName("D0").SetAsString(std::to_string(number));
    tables.db_Data.FieldByName("D1").SetAsString(buyer);
  }

  static void AddRows(TRxMemoryData& detail, const std::string& mainRecord, const Names& firstCells) {
    for (const auto& cell : firstCells) {
      detail.Append();
      detail.Fields(0).SetAsString(mainRecord);
      detail.Fields(1).SetAsString(cell);
      detail.Post();
    }
  }

  // The first cell of every visible row, walking the detail table as a report does.
  static Names Visible(TRxMemoryData& detail) {
    Names cells;
    for (detail.First(); !detail.Eof(); detail.Next()) cells.push_back(detail.Fields(1).AsString());
    return cells;
  }

  void GoToMainRecord(int recNo) {
    tables.db_Data.First();
    while (tables.db_Data.RecNo() < recNo && !tables.db_Data.Eof()) tables.db_Data.Next();
  }

  void OverwriteMainKey(int recNo, const std::string& d0) {
    GoToMainRecord(recNo);
    tables.db_Data.Edit();
    tables.db_Data.FieldByName("D0").SetAsString(d0);
    tables.db_Data.Post();
  }

  TJobTables tables;
  Names errorsShown;
  StandardErrorHandler previousErrorHandler;
};

TEST_F(LoadedJob, TheDetailTablesFollowTheCurrentMainRecord) {
  struct Case {
    int recNo;
    Names serial;
    Names sumy;
  };
  const Case cases[] = {{1, {"Śruba M8", "Nakrętka M8"}, {"23%"}},
                        {2, {"Mąka żytnia", "Drożdże", "Sól"}, {"5%", "8%"}},
                        {3, {"Cukier"}, {}}};
  for (const auto& c : cases) {
    GoToMainRecord(c.recNo);
    ASSERT_EQ(tables.db_Data.RecNo(), c.recNo);
    EXPECT_THAT(Visible(tables.db_Serial), ElementsAreArray(c.serial)) << "Dane record " << c.recNo;
    EXPECT_THAT(Visible(tables.db_sumy), ElementsAreArray(c.sumy)) << "Dane record " << c.recNo;
    EXPECT_EQ(tables.db_Serial.RecordCount(), 6) << "the count covers every row of the job";
    EXPECT_EQ(tables.db_sumy.RecordCount(), 3);
  }
}

TEST_F(LoadedJob, MovingDaneAloneMovesSeriaToTheFirstRowOfTheRecord) {
  GoToMainRecord(2);
  EXPECT_TRUE(tables.db_Serial.Filtered());
  EXPECT_EQ(tables.db_Serial.Fields(1).AsString(), "Mąka żytnia");
  EXPECT_EQ(tables.db_Serial.RecNo(), 3) << "RecNo counts over all rows";
  tables.db_Serial.Next();
  EXPECT_EQ(tables.db_Serial.RecNo(), 4);
  tables.db_Serial.Next();
  tables.db_Serial.Next();
  EXPECT_TRUE(tables.db_Serial.Eof());
  EXPECT_EQ(tables.db_Serial.RecNo(), 5) << "the end leaves the cursor on the record's last row";
  EXPECT_FALSE(tables.db_Serial.ControlsDisabled());
  EXPECT_FALSE(tables.db_sumy.ControlsDisabled());
}

TEST_F(LoadedJob, AMainRecordWhoseNumberDoesNotReadAsAnIntegerShowsEveryRow) {
  struct Case {
    const char* d0;
    Names serial;
    size_t sumyRows;
  };
  const Names all = {"Śruba M8", "Nakrętka M8", "Mąka żytnia", "Drożdże", "Sól", "Cukier"};
  const Case cases[] = {
      {"abc", all, 3},
      {"", all, 3},                                   // empty reads as null
      {"2 ", all, 3},                                 // a trailing blank fails the conversion
      {" 2", {"Mąka żytnia", "Drożdże", "Sól"}, 2},   // leading blanks are allowed
      {"$3", {"Cukier"}, 0},                          // hexadecimal
      {"7", {}, 0},                                   // a number without rows
  };
  for (const auto& c : cases) {
    OverwriteMainKey(2, c.d0);
    GoToMainRecord(2);
    EXPECT_THAT(Visible(tables.db_Serial), ElementsAreArray(c.serial)) << "D0 '" << c.d0 << "'";
    EXPECT_EQ(Visible(tables.db_sumy).size(), c.sumyRows) << "D0 '" << c.d0 << "'";
  }
}

TEST_F(LoadedJob, ADetailRowWhoseKeyIsNotANumberIsVisibleForEveryMainRecord) {
  AddRows(tables.db_Serial, "1x", {"Rabat"});  // "x1" would be hexadecimal 1
  for (int recNo = 1; recNo <= 3; ++recNo) {
    GoToMainRecord(recNo);
    const Names visible = Visible(tables.db_Serial);
    ASSERT_FALSE(visible.empty());
    EXPECT_EQ(visible.back(), "Rabat") << "Dane record " << recNo;
  }
}

TEST_F(LoadedJob, WithDaneEmptyEveryDetailRowIsVisible) {
  tables.db_Data.EmptyTable();
  tables.db_DataAfterScroll(tables.db_Data);
  EXPECT_EQ(Visible(tables.db_Serial).size(), 6u);
  EXPECT_EQ(Visible(tables.db_sumy).size(), 3u);
}

TEST_F(LoadedJob, EmptyingDoesNotScrollAndTheNextAppendDoes) {
  int scrolls = 0;
  const TDataSetNotifyEvent handler = tables.db_Data.AfterScroll;
  tables.db_Data.AfterScroll = [&](TRxMemoryData& t) {
    ++scrolls;
    handler(t);
  };
  tables.db_Data.EmptyTable();
  EXPECT_EQ(scrolls, 0);
  EXPECT_THROW(tables.db_Data.FieldByName("D1").SetAsString("Firma A"), EDatabaseError);
  tables.db_Data.Append();
  EXPECT_EQ(scrolls, 1);
  EXPECT_EQ(Visible(tables.db_Serial).size(), 6u) << "the new record has no number yet";
}

TEST_F(LoadedJob, TheRefilterTellsReadersOfEachDetailTableOnce) {
  std::vector<TDataEvent> events;
  tables.db_Serial.AddDataListener([&](TRxMemoryData&, TDataEvent e) { events.push_back(e); });
  GoToMainRecord(1);
  events.clear();
  tables.db_Data.Next();
  EXPECT_THAT(events, ElementsAre(TDataEvent::deDataSetChange));
}

}  // namespace
