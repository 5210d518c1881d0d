#include "tables/JobTables.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <random>
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

// The detail filters answered through the D0 index, against the same filters asked
// about every row: over random jobs and random changes of both sides, every walk must
// show the same rows in the same places.
class IndexedAgainstPlainScan : public ::testing::Test {
 protected:
  struct Twin {
    explicit Twin(bool indexed) {
      tables.CreateJobTables();
      if (!indexed)
        for (TRxMemoryData* detail : {&tables.db_Serial, &tables.db_sumy}) detail->OnFilterKey = nullptr;
    }
    TJobTables tables;
  };

  // Integers, their other spellings, and texts the conversion refuses.
  static constexpr const char* kKeys[] = {"1",  "2", "3",  "4",  "5",   "-3",         "0",
                                          "+5", " 2", "02", "$3", "x4", "",           "2 ",
                                          "abc", "1x", "2147483648", "-2147483648"};

  // One random change or move, applied alike to both twins by `Apply`.
  struct Step {
    int what, table, key, place, finish;
  };

  static void SetRow(TRxMemoryData& detail, const char* key, int tag) {
    detail.Fields(0).SetAsString(key);
    detail.Fields(1).SetAsString("r" + std::to_string(tag));
  }

  // Returns what the step raised ("" when nothing), so that refusals are compared too.
  static std::string Apply(TJobTables& t, const Step& s, int tag) {
    TRxMemoryData& dane = t.db_Data;
    TRxMemoryData& detail = s.table == 0 ? t.db_Serial : t.db_sumy;
    const char* key = kKeys[s.key];
    try {
      switch (s.what) {
        case 0: case 1: case 2:  // the loader's way: append a row
          detail.Append();
          SetRow(detail, key, tag);
          detail.Post();
          break;
        case 3:  // insert a row somewhere
          detail.SetRecNo(1 + s.place % (detail.RecordCount() + 1));
          detail.Insert();
          SetRow(detail, key, tag);
          detail.Post();
          break;
        case 4:  // re-key a row, kept or cancelled
          detail.SetRecNo(1 + s.place % (detail.RecordCount() + 1));
          detail.Edit();
          detail.Fields(0).SetAsString(key);
          s.finish ? detail.Post() : detail.Cancel();
          break;
        case 5:  // a new row given up
          detail.Append();
          SetRow(detail, key, tag);
          detail.Cancel();
          break;
        case 6:  // a new main record
          dane.Append();
          dane.FieldByName("D0").SetAsString(key);
          dane.Post();
          break;
        case 7:  // re-key the current main record
          dane.Edit();
          dane.FieldByName("D0").SetAsString(key);
          dane.Post();
          break;
        case 8: case 9: case 10: case 11: {  // main record moves
          const std::function<void()> moves[] = {[&] { dane.First(); }, [&] { dane.Next(); },
                                                 [&] { dane.Prior(); }, [&] { dane.Last(); },
                                                 [&] { dane.SetRecNo(1 + s.place % (dane.RecordCount() + 1)); }};
          moves[s.place % 5]();
          break;
        }
        case 12:  // rare: start over, reopen, or switch the filter off and on
          if (s.place % 3 == 0) detail.EmptyTable();
          if (s.place % 3 == 1) {
            detail.Close();
            detail.Open();
          }
          if (s.place % 3 == 2) {
            detail.SetFiltered(false);
            detail.SetFiltered(true);
          }
          break;
        default:
          break;
      }
    } catch (const std::exception& e) {
      if (detail.State() != TDataSetState::dsBrowse && detail.Active()) detail.Cancel();
      if (dane.State() != TDataSetState::dsBrowse) dane.Cancel();
      return e.what();
    }
    return "";
  }

  // Where each detail table stands, then every row a walk forward and backward shows.
  static Names Seen(TJobTables& t) {
    Names seen{"Dane " + std::to_string(t.db_Data.RecNo())};
    for (TRxMemoryData* detail : {&t.db_Serial, &t.db_sumy}) {
      seen.push_back(detail->Name() + " at " + std::to_string(detail->RecNo()) + (detail->Eof() ? " eof" : "") +
                     (detail->Bof() ? " bof" : ""));
      if (!detail->Active()) continue;
      for (detail->First(); !detail->Eof(); detail->Next())
        seen.push_back(std::to_string(detail->RecNo()) + ":" + detail->Fields(1).AsString());
      for (detail->Last(); !detail->Bof(); detail->Prior())
        seen.push_back("<" + std::to_string(detail->RecNo()) + ":" + detail->Fields(1).AsString());
    }
    return seen;
  }
};

TEST_F(IndexedAgainstPlainScan, EveryWalkShowsTheSameRows) {
  for (unsigned seed = 1; seed <= 6; ++seed) {
    Twin indexed(true), plain(false);
    std::mt19937 random(seed);
    const auto pick = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    for (int n = 0; n < 300; ++n) {
      // Ways of the loader (appends, new main records, moves) are the common steps.
      Step s{pick(13), pick(2), pick(static_cast<int>(std::size(kKeys))), pick(1000), pick(2)};
      if (s.what == 12 && pick(4) != 0) s.what = 0;
      const std::string raised = Apply(indexed.tables, s, n);
      ASSERT_EQ(raised, Apply(plain.tables, s, n)) << "seed " << seed << " step " << n << " kind " << s.what;
      ASSERT_EQ(Seen(indexed.tables), Seen(plain.tables)) << "seed " << seed << " step " << n << " kind " << s.what;
    }
  }
}

TEST(JobTables, AMoveAsksTheDetailFilterOnlyAboutTheRowsOfItsMainRecord) {
  constexpr int kRecords = 200, kRows = 5;
  TJobTables tables;
  tables.CreateJobTables();
  for (int n = 1; n <= kRecords; ++n) {
    tables.db_Data.Append();
    tables.db_Data.FieldByName("D0").SetAsString(std::to_string(n));
    tables.db_Data.Post();
    for (int row = 0; row < kRows; ++row) {
      tables.db_Serial.Append();
      tables.db_Serial.Fields(0).SetAsString(std::to_string(n));
      tables.db_Serial.Post();
    }
  }
  tables.db_Serial.Append();
  tables.db_Serial.Fields(0).SetAsString("rabat");  // shown with every record
  tables.db_Serial.Post();

  int asked = 0;
  const TFilterRecordEvent filter = tables.db_Serial.OnFilterRecord;
  tables.db_Serial.OnFilterRecord = [&](TRxMemoryData& t, bool& accept) {
    ++asked;
    filter(t, accept);
  };
  int seen = 0;
  for (tables.db_Data.First(); !tables.db_Data.Eof(); tables.db_Data.Next())
    for (tables.db_Serial.First(); !tables.db_Serial.Eof(); tables.db_Serial.Next()) ++seen;
  EXPECT_EQ(seen, kRecords * (kRows + 1));
  // Each move asks only about the record's own rows and the loose one; a plain scan
  // asks about every row of the table on the way.
  EXPECT_LE(asked, kRecords * (kRows + 1 + 2)) << "asked " << asked << " times";
}

}  // namespace
