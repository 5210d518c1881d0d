#include "jobs/DataFile.h"

#include <gtest/gtest.h>

#include <functional>

#include "platform/CodePage.h"
#include "report/frxVariables.h"
#include "tables/JobTables.h"

namespace {

class DataFileTest : public ::testing::Test {
 public:
  void SetUp() override { tables.CreateJobTables(); }

  void Load(std::string_view text) { LoadDataFile(text, header, tables, variables); }

  // The value of `field` in record `recNo` (1-based) of `table`, "" for null.
  static std::string At(TRxMemoryData& table, int recNo, std::string_view field) {
    table.SetRecNo(recNo);
    return table.FieldByName(field).AsString();
  }

  int64_t Count(std::string_view name) const {
    Variant v = variables.Get(name);
    return v.isNull() ? -1 : v.toInt64();
  }

  TJobTables tables;
  TfrxVariables variables;
  TJobHeader header;
};

TEST_F(DataFileTest, ValueLinesStartRecordsAndFillTheHeader) {
  Load("1=Firma A\r\n2=Miasto A\r\n95=Faktura 12/2024\r\n1=Firma B\r\n2=Miasto B\r\n");
  ASSERT_EQ(tables.db_Data.RecordCount(), 2);
  EXPECT_EQ(At(tables.db_Data, 1, "D0"), "1");
  EXPECT_EQ(At(tables.db_Data, 1, "D1"), "Firma A");
  EXPECT_EQ(At(tables.db_Data, 1, "D2"), "Miasto A");
  EXPECT_EQ(At(tables.db_Data, 1, "D95"), "Faktura 12/2024");
  EXPECT_EQ(At(tables.db_Data, 2, "D0"), "2");
  EXPECT_EQ(At(tables.db_Data, 2, "D1"), "Firma B");
  EXPECT_EQ(header.DocumentName, "Faktura 12/2024");
  EXPECT_EQ(Count("DataRecordCount"), 2);
}

TEST_F(DataFileTest, LineEndingsAndTrimming) {
  Load("1=  Firma A \t\r2=Miasto\n3=\x01Kod\x02\r\n");
  ASSERT_EQ(tables.db_Data.RecordCount(), 1);
  EXPECT_EQ(At(tables.db_Data, 1, "D1"), "Firma A");
  EXPECT_EQ(At(tables.db_Data, 1, "D2"), "Miasto");
  EXPECT_EQ(At(tables.db_Data, 1, "D3"), "Kod");
}

struct LineCase {
  const char* name;
  const char* text;
  std::function<void(DataFileTest&)> check;
};

class DataFileLines : public DataFileTest, public ::testing::WithParamInterface<const LineCase*> {};

TEST_P(DataFileLines, AsThePartnerWritesThem) {
  Load(GetParam()->text);
  GetParam()->check(*this);
}

const LineCase kLineCases[] = {
    {"TableBlockAddsRowsOfTheLastRecord", "1=A\r\nTABLE P\r\nx</>y</>\r\nENDTABLE\r\n",
     [](DataFileTest& t) {
       ASSERT_EQ(t.tables.db_Serial.RecordCount(), 1);
       t.tables.db_Data.First();
       EXPECT_EQ(t.At(t.tables.db_Serial, 1, "D0"), "1");
       EXPECT_EQ(t.At(t.tables.db_Serial, 1, "S1"), "x");
       EXPECT_EQ(t.At(t.tables.db_Serial, 1, "S2"), "y");
       EXPECT_EQ(t.Count("SerialRecordCount"), 1);
       EXPECT_EQ(t.Count("SumyRecordCount"), 0);
     }},
    {"TextAfterTheLastCellIsNotStored", "1=A\r\nTABLE S\r\na</>b\r\nENDTABLE\r\n",
     [](DataFileTest& t) {
       ASSERT_EQ(t.tables.db_sumy.RecordCount(), 1);
       EXPECT_EQ(t.At(t.tables.db_sumy, 1, "U1"), "a");
       EXPECT_EQ(t.At(t.tables.db_sumy, 1, "U2"), "");
     }},
    {"TablePWinsOverTableS", "1=A\r\nTABLE S TABLE P\r\nx</>\r\nENDTABLE\r\n",
     [](DataFileTest& t) {
       EXPECT_EQ(t.tables.db_Serial.RecordCount(), 1);
       EXPECT_EQ(t.tables.db_sumy.RecordCount(), 0);
     }},
    {"RowsBeforeTheFirstRecordBelongToRecordZero", "TABLE P\r\nx</>\r\nENDTABLE\r\n1=A\r\n",
     [](DataFileTest& t) {
       t.tables.db_Serial.SetFiltered(false);
       EXPECT_EQ(t.At(t.tables.db_Serial, 1, "D0"), "0");
     }},
    {"KeyZeroOverwritesTheRecordNumber", "1=A\r\n0=X7\r\n",
     [](DataFileTest& t) { EXPECT_EQ(t.At(t.tables.db_Data, 1, "D0"), "X7"); }},
    {"LinesWhoseKeyIsNotAnIntegerAreIgnored", "1=A\r\nabc=1\r\n=5\r\n12 =3\r\n12345=x\r\n",
     [](DataFileTest& t) {
       ASSERT_EQ(t.tables.db_Data.RecordCount(), 1);
       EXPECT_EQ(t.At(t.tables.db_Data, 1, "D12"), "");
       EXPECT_EQ(t.At(t.tables.db_Data, 1, "D5"), "");
     }},
    {"HexadecimalKeysAddressFields", "1=A\r\n$A=dziesi\xEA\x63\r\n0x1=B\r\n",
     [](DataFileTest& t) {
       ASSERT_EQ(t.tables.db_Data.RecordCount(), 2);  // "0x1" is the number 1 after "1" was met
       EXPECT_EQ(t.At(t.tables.db_Data, 1, "D10"), "dziesi\xEA\x63");
       EXPECT_EQ(t.At(t.tables.db_Data, 2, "D1"), "B");
     }},
    {"OtherSpellingsOfOneStartRecordsOnlyAfterKeyOne", "1=A\r\n01=B\r\n+1=C\r\n",
     [](DataFileTest& t) { EXPECT_EQ(t.tables.db_Data.RecordCount(), 3); }},
    {"RecipientIsCutButItsFieldIsNot",
     "1=A\r\n77=0123456789012345678901234567890123456789012345678901234567890123456789\r\n",
     [](DataFileTest& t) {
       EXPECT_EQ(t.header.Recipient.size(), 60u);
       EXPECT_EQ(t.At(t.tables.db_Data, 1, "D77").size(), 70u);
     }},
    {"DocumentNameIsCutToForty",
     "1=A\r\n95=Faktura korygująca nr 123/2024 do faktury VAT 99/2024\r\n",
     [](DataFileTest& t) { EXPECT_EQ(t.header.DocumentName.size(), 40u); }},
    {"LongValuesAreCutToTheFieldSize", "1=A\r\nTABLE P\r\n0123456789012345678901234567890123456789012345678901234567890</>\r\nENDTABLE\r\n",
     [](DataFileTest& t) { EXPECT_EQ(t.At(t.tables.db_Serial, 1, "S1").size(), 50u); }},
    {"WithoutBlocksTheDetailCountsAreNotSet", "1=A\r\n",
     [](DataFileTest& t) {
       EXPECT_EQ(t.Count("SerialRecordCount"), -1);
       EXPECT_EQ(t.Count("SumyRecordCount"), -1);
     }},
};

INSTANTIATE_TEST_SUITE_P(Cases, DataFileLines, ::testing::ValuesIn([] {
                           std::vector<const LineCase*> cases;
                           for (const auto& c : kLineCases) cases.push_back(&c);
                           return cases;
                         }()),
                         [](const auto& info) { return std::string(info.param->name); });

TEST_F(DataFileTest, ABlockStoresAtMost499Rows) {
  std::string text = "1=A\r\nTABLE P\r\n";
  for (int i = 0; i < 600; ++i) text += "w" + std::to_string(i) + "</>\r\n";
  text += "ENDTABLE\r\n";
  Load(text);
  EXPECT_EQ(tables.db_Serial.RecordCount(), 499);
  EXPECT_EQ(At(tables.db_Serial, 499, "S1"), "w498");
}

TEST_F(DataFileTest, EachErrorEndsTheLoadWithItsMessage) {
  std::string cells21;
  for (int i = 0; i < 21; ++i) cells21 += "c</>";
  struct Case { const char* name; std::string text; const char* message; };
  const Case cases[] = {
      {"key above the fields", "1=A\r\n201=x\r\n", "List index out of bounds (201)"},
      {"value before the first record", "2=x\r\n", "Dataset not in edit or insert mode"},
      {"row of 21 cells", "1=A\r\nTABLE P\r\n" + cells21 + "\r\nENDTABLE\r\n", "List index out of bounds (21)"},
      {"block without its end", "1=A\r\nTABLE S\r\nx</>\r\n", "List index out of bounds (3)"},
  };
  for (const Case& c : cases) {
    try {
      Load(c.text);
      ADD_FAILURE() << c.name << ": loaded without an error";
    } catch (const std::exception& e) {
      EXPECT_STREQ(e.what(), c.message) << c.name;
    }
    // The next job starts from empty tables whatever this one left.
    for (TRxMemoryData* t : {&tables.db_Data, &tables.db_Serial, &tables.db_sumy})
      if (t->State() != TDataSetState::dsBrowse) t->Cancel();
  }
}

TEST_F(DataFileTest, PolishLettersOfWindows1250ReadBackAsTheSameLetters) {
  const std::string ansi = codepage::FromWide(u"1=Zakład Usług Świętokrzyskich\r\n2=Łódź, ul. Żółkiewskiego 5\r\n");
  Load(ansi);
  EXPECT_EQ(codepage::ToWide(At(tables.db_Data, 1, "D1")), u"Zakład Usług Świętokrzyskich");
  EXPECT_EQ(codepage::ToWide(At(tables.db_Data, 1, "D2")), u"Łódź, ul. Żółkiewskiego 5");
}

TEST_F(DataFileTest, EachJobStartsFromEmptyTables) {
  Load("1=A\r\nTABLE P\r\nx</>\r\nENDTABLE\r\n1=B\r\n");
  Load("1=C\r\n");
  EXPECT_EQ(tables.db_Data.RecordCount(), 1);
  EXPECT_EQ(tables.db_Serial.RecordCount(), 0);
  EXPECT_EQ(At(tables.db_Data, 1, "D0"), "1");
}

TEST(SplitDataLines, BreaksAtEveryLineEnd) {
  EXPECT_EQ(SplitDataLines("a\r\nb\nc\rd"), (std::vector<std::string>{"a", "b", "c", "d"}));
  EXPECT_EQ(SplitDataLines("a\r\n\r\n"), (std::vector<std::string>{"a", ""}));
  EXPECT_TRUE(SplitDataLines("").empty());
}

}  // namespace
