#include "tables/frxDBSet.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/CodePage.h"
#include "platform/Stream.h"
#include "report/frxRes.h"
#include "tables/JobDataSets.h"

namespace {

using ::testing::ElementsAre;
using Names = std::vector<std::string>;

std::string Ansi(std::string_view utf8) { return codepage::Utf8ToAnsi(utf8); }

// Stands in for the report object: collects the errors it is given.
class RecordingReport : public TfrxDataSetReport {
 public:
  std::string CurrentObjectName() const override { return objectName; }
  void AddError(const std::string& message) override { errors.push_back(message); }
  std::string objectName = "Memo1";
  Names errors;
};

// A delivery note job: Dane holds the documents, Seria their lines, Sumy one total each.
// The fourth document has no lines.
class JobFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    tables.CreateJobTables();
    const int lines[] = {2, 3, 1, 0};
    for (int doc = 1; doc <= 4; ++doc) {
      tables.db_Data.Append();
      tables.db_Data.FieldByName("D0").SetAsString(std::to_string(doc));
      tables.db_Data.FieldByName("D1").SetAsString("WZ " + std::to_string(doc) + "/2026");
      tables.db_Data.FieldByName("D2").SetAsString(Ansi("Skład Opału Żuraw"));
      tables.db_Data.Post();
      for (int line = 1; line <= lines[doc - 1]; ++line) {
        tables.db_Serial.Append();
        tables.db_Serial.FieldByName("D0").SetAsString(std::to_string(doc));
        tables.db_Serial.FieldByName("S1").SetAsString(std::to_string(doc) + "." + std::to_string(line));
        tables.db_Serial.Post();
      }
      tables.db_sumy.Append();
      tables.db_sumy.FieldByName("D0").SetAsString(std::to_string(doc));
      tables.db_sumy.FieldByName("U1").SetAsString(std::to_string(doc * 100) + ",00");
      tables.db_sumy.Post();
    }
    for (TfrxDataSet* ds : {&sets.src_Data, &sets.src_Serial, &sets.src_sumy}) {
      ds->SetReport(&report);
      ds->BeginUse();
    }
  }
  void TearDown() override {
    for (TfrxDataSet* ds : {&sets.src_Data, &sets.src_Serial, &sets.src_sumy}) ds->EndUse();
  }

  // The values of one field over the rows of a dataset, walked as the engine does.
  static Names Column(TfrxDataSet& ds, const std::string& field) {
    Names values;
    for (ds.First(); !ds.Eof(); ds.Next()) values.push_back(ds.Value(field).toString8());
    return values;
  }

  TJobTables tables;
  TJobDataSets sets{tables};
  RecordingReport report;
};

TEST_F(JobFixture, TheFourJobDatasets) {
  struct Case {
    TfrxDBDataset* ds;
    const char* name;
    const char* alias;
    TRxMemoryData* table;
  };
  for (const Case& c : {Case{&sets.src_Data, "src_Data", "Dane", &tables.db_Data},
                        Case{&sets.src_Serial, "src_Serial", "Seria", &tables.db_Serial},
                        Case{&sets.src_sumy, "src_sumy", "Sumy", &tables.db_sumy},
                        Case{&sets.frxDBDataset1, "frxDBDataset1", "frxDBDataset1", nullptr}}) {
    EXPECT_EQ(c.ds->Name(), c.name);
    EXPECT_EQ(c.ds->UserName(), c.alias);
    EXPECT_EQ(c.ds->GetDataSet(), c.table);
    EXPECT_FALSE(c.ds->CloseDataSource());
    EXPECT_FALSE(c.ds->BCDToCurrency());
    EXPECT_TRUE(c.ds->FieldAliases().empty());
    EXPECT_EQ(frxFindGlobalDataSet(c.alias, nullptr), c.ds) << "templates find it by alias";
  }
  EXPECT_EQ(frxFindGlobalDataSet("DANE", nullptr), &sets.src_Data);
}

TEST_F(JobFixture, FieldNamesIgnoreCase) {
  sets.src_Data.First();
  EXPECT_EQ(sets.src_Data.Value("d1").toString8(), "WZ 1/2026");
  EXPECT_EQ(sets.src_Data.Value("D1").toString8(), "WZ 1/2026");
  sets.src_Data.Next();
  EXPECT_EQ(sets.src_Data.Value("d1").toString8(), "WZ 2/2026");
  EXPECT_TRUE(sets.src_Data.Value("d3").isNull()) << "an empty text field reads as null";
  EXPECT_TRUE(sets.src_Data.HasField("d200"));
  EXPECT_EQ(sets.src_Data.FieldsCount(), 201);
  EXPECT_TRUE(report.errors.empty());
}

TEST_F(JobFixture, UnknownFieldGivesNullAndOneErrorPerRead) {
  sets.src_Data.First();
  EXPECT_TRUE(sets.src_Data.Value("D250").isNull());
  const std::string expected = "Memo1: " + Ansi("Nieznaleziono pola:") + " Dane.\"D250\"";
  EXPECT_THAT(report.errors, ElementsAre(expected));
  report.objectName = "Memo7";
  sets.src_Serial.Value("X");
  EXPECT_EQ(report.errors.size(), 2u);
  EXPECT_EQ(report.errors[1], "Memo7: " + Ansi("Nieznaleziono pola:") + " Seria.\"X\"");
}

TEST_F(JobFixture, UnknownFieldWithoutAReportStillGivesNull) {
  sets.src_sumy.SetReport(nullptr);
  EXPECT_TRUE(sets.src_sumy.Value("U99").isNull());
  EXPECT_TRUE(report.errors.empty());
}

TEST_F(JobFixture, SeriaCountsAllRowsWhileShowingTheCurrentRecordsRows) {
  sets.src_Data.First();
  sets.src_Data.Next();  // the second document
  EXPECT_EQ(sets.src_Data.Value("D0").toString8(), "2");
  EXPECT_EQ(sets.src_Serial.RecordCount(), 6);
  EXPECT_EQ(sets.src_sumy.RecordCount(), 4);
  EXPECT_THAT(Column(sets.src_Serial, "S1"), ElementsAre("2.1", "2.2", "2.3"));
  EXPECT_EQ(sets.src_Serial.RecordCount(), 6);
}

TEST_F(JobFixture, MasterDetailWalkReadsEachRecordsRows) {
  std::vector<Names> lines;
  Names totals;
  for (sets.src_Data.First(); !sets.src_Data.Eof(); sets.src_Data.Next()) {
    lines.push_back(Column(sets.src_Serial, "s1"));
    Names sum = Column(sets.src_sumy, "U1");
    totals.insert(totals.end(), sum.begin(), sum.end());
  }
  EXPECT_THAT(lines, ElementsAre(Names{"1.1", "1.2"}, Names{"2.1", "2.2", "2.3"}, Names{"3.1"}, Names{}));
  EXPECT_THAT(totals, ElementsAre("100,00", "200,00", "300,00", "400,00"));
  EXPECT_EQ(sets.src_Data.RecNo(), 4);
  EXPECT_TRUE(report.errors.empty());
}

TEST_F(JobFixture, CountRangeStopsAfterTheThirdRecord) {
  sets.src_Data.SetRangeEnd(reCount);
  sets.src_Data.SetRangeEndCount(3);
  EXPECT_THAT(Column(sets.src_Data, "D0"), ElementsAre("1", "2", "3"));
  EXPECT_EQ(sets.src_Data.RecNo(), 2);
  EXPECT_TRUE(sets.src_Data.Eof());
  EXPECT_EQ(sets.src_Data.RecordCount(), 4) << "the table's count, not the range";
}

TEST_F(JobFixture, DatasetWithoutTableCannotBeUsed) {
  try {
    sets.frxDBDataset1.BeginUse();
    FAIL() << "BeginUse succeeded without a table";
  } catch (const EfrxDataSetError& e) {
    EXPECT_EQ(std::string(e.what()), Ansi("Źródło frxDBDataset1 jest niepodłączone"));
  }
  // Read anyway, it is empty and never crashes.
  EXPECT_TRUE(sets.frxDBDataset1.Eof());
  EXPECT_TRUE(sets.frxDBDataset1.Value("D1").isNull());
  EXPECT_EQ(sets.frxDBDataset1.RecordCount(), 0);
  EXPECT_FALSE(sets.frxDBDataset1.HasField("D1"));
}

TEST_F(JobFixture, TablesStayOpenAfterTheRun) {
  sets.src_Data.First();
  for (TfrxDataSet* ds : {&sets.src_Data, &sets.src_Serial, &sets.src_sumy}) ds->EndUse();
  for (TRxMemoryData* table : {&tables.db_Data, &tables.db_Serial, &tables.db_sumy})
    EXPECT_TRUE(table->Active()) << table->Name();
  EXPECT_EQ(tables.db_Data.RecordCount(), 4);
  // The next run uses them again.
  for (TfrxDataSet* ds : {&sets.src_Data, &sets.src_Serial, &sets.src_sumy}) ds->BeginUse();
  EXPECT_THAT(Column(sets.src_Data, "D0"), ElementsAre("1", "2", "3", "4"));
}

// A plain price list table for the cases that need other field types and ranges.
class PriceList : public ::testing::Test {
 protected:
  void SetUp() override {
    table.AddFieldDef("Nazwa", TFieldType::ftString, 30);
    table.AddFieldDef("Ilosc", TFieldType::ftInteger);
    table.AddFieldDef("Cena", TFieldType::ftFloat);
    table.AddFieldDef("Dostepny", TFieldType::ftBoolean);
    table.AddFieldDef("Dostawa", TFieldType::ftDateTime);
    table.AddFieldDef("Zdjecie", TFieldType::ftBlob);
    table.Open();
    const char* names[] = {"Cegła", "Cement", "Piasek", "Wapno", "Żwir"};
    for (int i = 0; i < 5; ++i) {
      table.Append();
      table.FieldByName("Nazwa").SetAsString(Ansi(names[i]));
      table.FieldByName("Ilosc").SetValue(Variant(int32_t{10 * (i + 1)}));
      table.Post();
    }
    ds.SetName("frxCennik");
    ds.SetDataSet(&table);
    ds.SetReport(&report);
  }

  Names Walk() {
    Names values;
    for (ds.First(); !ds.Eof(); ds.Next()) values.push_back(codepage::AnsiToUtf8(ds.Value("Nazwa").toString8()));
    return values;
  }

  TRxMemoryData table{"tbl_Cennik"};
  TfrxDBDataset ds{nullptr};
  RecordingReport report;
};

TEST_F(PriceList, RangesFromAndToTheCurrentRecord) {
  struct Case {
    TfrxRangeBegin begin;
    TfrxRangeEnd end;
    Names rows;
  };
  const Case cases[] = {
      {rbFirst, reLast, {"Cegła", "Cement", "Piasek", "Wapno", "Żwir"}},
      {rbCurrent, reLast, {"Piasek", "Wapno", "Żwir"}},
      {rbFirst, reCurrent, {"Cegła", "Cement", "Piasek"}},
      {rbCurrent, reCurrent, {"Piasek"}},
  };
  for (const Case& c : cases) {
    table.SetRecNo(3);  // the current record when the report starts
    ds.SetRangeBegin(c.begin);
    ds.SetRangeEnd(c.end);
    ds.BeginUse();
    EXPECT_EQ(Walk(), c.rows) << int(c.begin) << " " << int(c.end);
    EXPECT_EQ(Walk(), c.rows) << "a second walk, as a group change or a second pass does";
    ds.EndUse();
    int expected = c.begin == rbFirst && c.end == reLast ? 5 : 3;
    EXPECT_EQ(table.RecNo(), expected) << "EndUse goes back to the remembered record";
  }
}

TEST_F(PriceList, FieldAliasesRenameAndHide) {
  ds.FieldAliases() = {"Nazwa=Towar", "-Ilosc=Sztuk", "Cena=Cena netto", "Dostepny", "Zdjecie=towar"};
  ds.BeginUse();
  Names list;
  ds.GetFieldList(list);
  EXPECT_THAT(list, ElementsAre("Towar", "Cena netto", "Dostepny", "towar"));
  EXPECT_EQ(ds.FieldsCount(), 4);
  ds.First();
  EXPECT_EQ(ds.Value("TOWAR").toString8(), Ansi("Cegła")) << "the first line of an alias wins";
  EXPECT_EQ(ds.FieldType("Cena netto"), fftNumeric);
  EXPECT_EQ(ds.FieldType("Dostepny"), fftBoolean);
  EXPECT_TRUE(report.errors.empty());
  for (const char* hidden : {"Nazwa", "Ilosc", "Sztuk", "Cena"}) {
    EXPECT_TRUE(ds.Value(hidden).isNull()) << hidden;
    EXPECT_FALSE(ds.HasField(hidden)) << hidden;
  }
  EXPECT_EQ(report.errors.size(), 4u);
  ds.EndUse();
}

TEST_F(PriceList, FieldDescriptionsOpenAndClosed) {
  struct Case {
    const char* field;
    int width;
    TfrxFieldType type;
    bool blob;
  };
  const Case cases[] = {
      {"nazwa", 30, fftString, false},   {"Ilosc", 10, fftNumeric, false},  {"Cena", 10, fftNumeric, false},
      {"Dostepny", 10, fftBoolean, false}, {"Dostawa", 20, fftNumeric, false}, {"Zdjecie", 10, fftNumeric, true},
      {"Rabat", 10, fftNumeric, false},
  };
  for (bool open : {true, false}) {
    if (!open) {
      table.Close();
      ds.SetOpenDataSource(false);
    }
    ds.BeginUse();
    for (const Case& c : cases) {
      EXPECT_EQ(ds.DisplayWidth(c.field), c.width) << c.field << " open " << open;
      EXPECT_EQ(ds.FieldType(c.field), c.type) << c.field << " open " << open;
      EXPECT_EQ(ds.IsBlobField(c.field), c.blob) << c.field << " open " << open;
    }
    ds.EndUse();
  }
  EXPECT_FALSE(table.Active()) << "OpenDataSource off leaves the table closed";
  EXPECT_TRUE(report.errors.empty()) << "describing a field reports nothing";
}

TEST_F(PriceList, DisplayTexts) {
  ds.BeginUse();
  ds.First();
  EXPECT_EQ(ds.DisplayText("NAZWA"), u"Cegła");
  EXPECT_EQ(ds.DisplayText("Ilosc"), u"10");
  const std::string message = "Memo1: " + Ansi("Nieznaleziono pola:") + " frxCennik.\"Rabat\"";
  EXPECT_EQ(ds.DisplayText("Rabat"), codepage::ToWide(message));
  EXPECT_THAT(report.errors, ElementsAre(message));
  ds.EndUse();

  table.Close();
  ds.SetOpenDataSource(false);
  ds.BeginUse();
  EXPECT_EQ(ds.DisplayText("Nazwa"), u"frxCennik.\"Nazwa\"");
  EXPECT_TRUE(ds.Value("Nazwa").isNull());
  EXPECT_EQ(report.errors.size(), 1u);
  ds.EndUse();
}

TEST_F(PriceList, CopyBlobToWritesTheBytesAndRewinds) {
  const std::string picture("\x89PNG\r\n\x1A\n\0\0\0\rIHDR", 16);
  table.First();
  table.Edit();
  table.FieldByName("Zdjecie").SetValue(Variant(picture));
  table.Post();
  ds.BeginUse();
  ds.First();
  TMemoryStream stream;
  ds.CopyBlobTo("zdjecie", stream);
  EXPECT_EQ(stream.Position(), 0);
  EXPECT_EQ(stream.DataString(), picture);
  TMemoryStream untouched;
  ds.CopyBlobTo("Nazwa", untouched);
  EXPECT_EQ(untouched.Size(), 0) << "a text field is not a blob";
  ds.EndUse();
}

TEST_F(PriceList, CloseDataSourceClosesTheTableAfterTheRun) {
  for (bool close : {false, true}) {
    table.Open();
    ds.SetCloseDataSource(close);
    ds.BeginUse();
    ds.First();
    ds.EndUse();
    EXPECT_EQ(table.Active(), !close);
  }
  ds.BeginUse();
  EXPECT_EQ(Walk().size(), 0u) << "the table was emptied by closing it";
  EXPECT_TRUE(table.Active()) << "Open opens it again";
  ds.EndUse();
}

TEST_F(PriceList, TheTablesOwnHandlersRunFirstAndComeBack) {
  Names calls;
  table.AfterOpen = [&](TRxMemoryData&) { calls.push_back("own open"); };
  table.BeforeClose = [&](TRxMemoryData&) { calls.push_back("own close"); };
  ds.OnOpen = [&](TfrxDataSet&) { calls.push_back("dataset open"); };
  auto second = std::make_unique<TfrxDBDataset>(nullptr);
  second->SetDataSet(&table);

  ds.BeginUse();
  second->BeginUse();
  ds.First();
  table.Close();
  table.Open();
  // The field map was dropped with the fields and is built again on the next read.
  EXPECT_EQ(ds.Value("Nazwa").isNull(), true) << "the reopened table is empty";
  EXPECT_THAT(calls, ElementsAre("dataset open", "own close", "own open", "dataset open"));

  // Ended in the order they began, not the reverse: each takes only its own hook out.
  ds.EndUse();
  second->EndUse();
  second.reset();
  calls.clear();
  table.Close();
  table.Open();
  EXPECT_THAT(calls, ElementsAre("own close", "own open"));
}

TEST_F(PriceList, DestroyedWhileInUseLeavesNoHookBehind) {
  Names calls;
  table.BeforeClose = [&](TRxMemoryData&) { calls.push_back("own close"); };
  {
    TfrxDBDataset other(nullptr);
    other.SetDataSet(&table);
    other.BeginUse();
    other.First();
  }
  table.Close();
  EXPECT_THAT(calls, ElementsAre("own close"));
}

TEST_F(PriceList, SwitchingTheTableWhileInUseForgetsTheOldOne) {
  Names calls;
  table.BeforeClose = [&](TRxMemoryData&) { calls.push_back("own close"); };
  TRxMemoryData other("tbl_Inny");
  other.AddFieldDef("Nazwa", TFieldType::ftString, 30);
  other.Open();
  for (const char* name : {"Papa", "Gips", "Klej"}) {
    other.Append();
    other.FieldByName("Nazwa").SetAsString(name);
    other.Post();
  }
  other.First();
  table.SetRecNo(3);
  {
    TfrxDBDataset switching(nullptr);
    switching.SetRangeBegin(rbCurrent);
    switching.SetDataSet(&table);
    switching.BeginUse();
    switching.First();
    EXPECT_EQ(switching.Value("Nazwa").toString8(), "Piasek");
    switching.SetDataSet(&other);
    switching.First();  // from the new table's current record, not the old bookmark
    EXPECT_EQ(switching.Value("Nazwa").toString8(), "Papa");
    table.Close();
  }
  EXPECT_THAT(calls, ElementsAre("own close"));
}

TEST_F(PriceList, TableRebuiltBehindTheDatasetIsReadByName) {
  ds.First();  // used without BeginUse: nothing tells the dataset of the rebuild
  EXPECT_EQ(ds.Value("Ilosc").toInt32(), 10);
  table.Close();
  table.ClearFieldDefs();
  table.AddFieldDef("Ilosc", TFieldType::ftInteger);
  table.AddFieldDef("Nazwa", TFieldType::ftString, 30);
  table.Open();
  table.Append();
  table.FieldByName("Nazwa").SetAsString("Kruszywo");
  table.FieldByName("Ilosc").SetValue(Variant(int32_t{7}));
  table.Post();
  EXPECT_EQ(ds.Value("Nazwa").toString8(), "Kruszywo");
  EXPECT_EQ(ds.Value("Ilosc").toInt32(), 7);
}

TEST(TfrxDBDataset, DataSetAndDataSourceClearEachOther) {
  TRxMemoryData a("a"), b("b");
  TDataSource link(&b);
  TfrxDBDataset ds(nullptr);
  EXPECT_EQ(ds.GetDataSet(), nullptr);
  ds.SetDataSet(&a);
  EXPECT_EQ(ds.GetDataSet(), &a);
  ds.SetDataSource(&link);
  EXPECT_EQ(ds.DataSet(), nullptr);
  EXPECT_EQ(ds.GetDataSet(), &b);
  ds.SetDataSet(&a);
  EXPECT_EQ(ds.DataSource(), nullptr);
  EXPECT_EQ(ds.GetDataSet(), &a);
}

TEST(TfrxDBDataset, PublishedProperties) {
  const TfrxClassInfo& info = TfrxDBDataset::StaticClassInfo();
  Names names;
  for (const TfrxPropInfo* p : info.Properties()) names.push_back(p->Name);
  Names tail(names.end() - 9, names.end());
  EXPECT_THAT(tail, ElementsAre("Enabled", "RangeBegin", "RangeEnd", "RangeEndCount", "UserName", "CloseDataSource",
                                "FieldAliases", "OpenDataSource", "BCDToCurrency"));
  EXPECT_EQ(frxFindClass("tfrxdbdataset"), &info);

  TfrxDBDataset ds(nullptr);
  for (const char* name : {"CloseDataSource", "OpenDataSource", "BCDToCurrency"})
    EXPECT_TRUE(info.FindProperty(name)->IsDefaultValue(ds)) << name;
  frxSetPropValue(ds, *info.FindProperty("FieldAliases"), Variant(std::string("D1=Numer\r\n-D2\r\n")));
  EXPECT_THAT(ds.FieldAliases(), ElementsAre("D1=Numer", "-D2"));
}

}  // namespace
