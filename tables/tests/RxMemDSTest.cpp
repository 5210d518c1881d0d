#include "tables/RxMemDS.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/Convert.h"
#include "platform/ErrorBox.h"
#include "platform/ListError.h"

namespace {

using ::testing::ElementsAre;

// Expects `action` to raise an exception of type E with exactly `message`.
template <typename E>
void ExpectError(const std::function<void()>& action, const std::string& message) {
  try {
    action();
    ADD_FAILURE() << "expected the error: " << message;
  } catch (const E& error) {
    EXPECT_EQ(error.what(), message);
  }
}

// A delivery-note table with one field of every type.
class Items : public ::testing::Test {
 protected:
  void SetUp() override {
    table.AddFieldDef("Lp", TFieldType::ftAutoInc);
    table.AddFieldDef("Nazwa", TFieldType::ftString, 20);
    table.AddFieldDef("Ilosc", TFieldType::ftInteger);
    table.AddFieldDef("Cena", TFieldType::ftFloat);
    table.AddFieldDef("Wydano", TFieldType::ftDate);
    table.AddFieldDef("Zaplacono", TFieldType::ftBoolean);
    table.AddFieldDef("Uwagi", TFieldType::ftBlob);
    table.Open();
  }

  void Add(const std::string& name, int quantity) {
    table.Append();
    table.FieldByName("Nazwa").SetAsString(name);
    table.FieldByName("Ilosc").SetValue(quantity);
    table.Post();
  }

  std::string Name() { return table.FieldByName("Nazwa").AsString(); }

  // The names of the visible records, walking from First to Eof.
  std::vector<std::string> VisibleNames() {
    std::vector<std::string> names;
    for (table.First(); !table.Eof(); table.Next()) names.push_back(Name());
    return names;
  }

  TRxMemoryData table{"db_Items"};
};

TEST_F(Items, FieldsFollowTheDefinitionsAndAreFoundByNameWithoutRegardToCase) {
  ASSERT_EQ(table.FieldCount(), 7);
  EXPECT_THAT(table.FieldNames(), ElementsAre("Lp", "Nazwa", "Ilosc", "Cena", "Wydano", "Zaplacono", "Uwagi"));
  for (int i = 0; i < table.FieldCount(); ++i) EXPECT_EQ(table.Fields(i).Index(), i);
  EXPECT_EQ(&table.FieldByName("nazwa"), &table.Fields(1));
  EXPECT_EQ(&table.FieldByName("ILOSC"), &table.Fields(2));
  EXPECT_EQ(table.FindField("Brak"), nullptr);
  EXPECT_EQ(table.Fields(1).DisplayWidth(), 20);
  EXPECT_EQ(table.Fields(4).DisplayWidth(), 20);
  EXPECT_EQ(table.Fields(2).DisplayWidth(), 10);
  EXPECT_TRUE(table.Fields(6).IsBlob());
}

TEST_F(Items, UnknownFieldsFailWithTheSystemTexts) {
  ExpectError<EDatabaseError>([&] { table.FieldByName("D250"); }, "Field 'D250' not found");
  ExpectError<EListError>([&] { table.Fields(7); }, "List index out of bounds (7)");
  ExpectError<EListError>([&] { table.Fields(-1); }, "List index out of bounds (-1)");
}

TEST_F(Items, DefinitionsChangeOnlyWhileClosedAndMustBeSound) {
  ExpectError<EDatabaseError>([&] { table.AddFieldDef("Nowe", TFieldType::ftString, 5); },
                              "Cannot perform this operation on an open dataset");
  table.Close();
  ExpectError<EDatabaseError>([&] { table.AddFieldDef("NAZWA", TFieldType::ftString, 5); },
                              "Duplicate field name 'NAZWA'");
  ExpectError<EDatabaseError>([&] { table.AddFieldDef("Pusty", TFieldType::ftString, 0); }, "Invalid field size");
  table.AddFieldDef("Nowe", TFieldType::ftString, 5);
  table.Open();
  EXPECT_EQ(table.FieldCount(), 8);
}

TEST(RxMemoryData, OpeningWithATypeTheLayoutCannotHoldFailsAndStaysClosed) {
  TRxMemoryData table;
  table.AddFieldDef("D0", TFieldType::ftString, 10);
  table.AddFieldDef("Obraz", TFieldType::ftUnknown);
  ExpectError<EDatabaseError>([&] { table.Open(); }, "Field 'Obraz' is of an unknown type");
  EXPECT_FALSE(table.Active());
  EXPECT_EQ(table.FieldCount(), 0);
}

TEST(RxMemoryData, TextIsCutToTheFieldSizeAndEmptyTextIsNull) {
  struct Case {
    int size;
    Variant value;
    Variant expected;
  };
  const std::string polish = "\xA3\xF3\x64\xBC";  // "Łódź" in Windows-1250: four characters
  const Case cases[] = {
      {255, Variant(std::string(300, 'a')), Variant(std::string(255, 'a'))},
      {50, Variant(std::string(60, 'b')), Variant(std::string(50, 'b'))},
      {10, Variant("1234567890"), Variant("1234567890")},
      {10, Variant("12345678901"), Variant("1234567890")},
      {3, Variant(polish), Variant(polish.substr(0, 3))},
      {3, Variant(u"Łódź"), Variant(polish.substr(0, 3))},
      {10, Variant(""), Variant::Null()},
      {10, Variant(u""), Variant::Null()},
      {10, Variant::Null(), Variant::Null()},
      {10, Variant(), Variant::Null()},
      {10, Variant(42), Variant("42")},
      {10, Variant(true), Variant("True")},
      {10, Variant(2.5), Variant("2.5")},
  };
  for (const auto& c : cases) {
    TRxMemoryData table;
    table.AddFieldDef("T", TFieldType::ftString, c.size);
    table.Open();
    table.Append();
    table.Fields(0).SetValue(c.value);
    table.Post();
    const Variant stored = table.Fields(0).Value();
    EXPECT_TRUE(stored.identical(c.expected)) << "size " << c.size << ", stored " << table.Fields(0).AsString();
  }
}

TEST_F(Items, AShorterTextOverwritesALongerOneCompletely) {
  Add("Śruba M8 ocynkowana", 1);
  table.Edit();
  table.FieldByName("Nazwa").SetAsString("Nit");
  table.Post();
  EXPECT_EQ(Name(), "Nit");
  table.Edit();
  table.FieldByName("Nazwa").SetAsString("");
  table.Post();
  EXPECT_TRUE(table.FieldByName("Nazwa").IsNull());
}

TEST_F(Items, SettingAFieldOutsideEditOrInsertFails) {
  const auto set = [&] { table.FieldByName("Nazwa").SetAsString("Kołek"); };
  ExpectError<EDatabaseError>(set, "Dataset not in edit or insert mode");  // just opened
  Add("Kołek", 3);
  ExpectError<EDatabaseError>(set, "Dataset not in edit or insert mode");  // after Post
  table.EmptyTable();
  ExpectError<EDatabaseError>(set, "Dataset not in edit or insert mode");  // after emptying
  ExpectError<EDatabaseError>([&] { table.Post(); }, "Dataset not in edit or insert mode");
}

TEST_F(Items, ReadOnlyFieldsCannotBeModifiedAndNameTheirDisplayName) {
  table.Append();
  ExpectError<EDatabaseError>([&] { table.FieldByName("Lp").SetValue(5); }, "Field 'Lp' cannot be modified");
  table.FieldByName("Nazwa").SetReadOnly(true);
  table.FieldByName("Nazwa").SetDisplayLabel("Nazwa towaru");
  ExpectError<EDatabaseError>([&] { table.FieldByName("Nazwa").SetAsString("x"); },
                              "Field 'Nazwa towaru' cannot be modified");
}

TEST_F(Items, AutoIncrementFieldsAreNumberedByPost) {
  Add("A", 1);
  Add("B", 2);
  table.Append();
  EXPECT_TRUE(table.FieldByName("Lp").IsNull()) << "numbered only when stored";
  table.Cancel();
  Add("C", 3);
  std::vector<int> numbers;
  for (table.First(); !table.Eof(); table.Next()) numbers.push_back(table.FieldByName("Lp").AsInteger());
  EXPECT_THAT(numbers, ElementsAre(1, 2, 3));
}

TEST_F(Items, ValuesOfEveryTypeReadBackAsTheyWereStored) {
  table.Append();
  table.FieldByName("Ilosc").SetAsString("$1F");
  table.FieldByName("Cena").SetValue(12.25);
  table.FieldByName("Wydano").SetValue(Variant::Date(45292.0));  // 1 January 2024
  table.FieldByName("Zaplacono").SetValue(true);
  table.FieldByName("Uwagi").SetValue(std::string("a\0b", 3));
  table.Post();
  EXPECT_TRUE(table.FieldByName("Ilosc").Value().identical(Variant(31)));
  EXPECT_TRUE(table.FieldByName("Cena").Value().identical(Variant(12.25)));
  EXPECT_TRUE(table.FieldByName("Wydano").Value().identical(Variant::Date(45292.0)));
  EXPECT_TRUE(table.FieldByName("Zaplacono").Value().identical(Variant(true)));
  EXPECT_EQ(table.FieldByName("Uwagi").AsString(), std::string("a\0b", 3));
  EXPECT_EQ(table.FieldByName("Wydano").AsString(), "2024-01-01");
  EXPECT_EQ(table.FieldByName("Cena").AsString(), "12.25");
  EXPECT_EQ(table.FieldByName("Zaplacono").AsString(), "True");
  EXPECT_EQ(table.FieldByName("Uwagi").DisplayText(), "(BLOB)");
  EXPECT_EQ(table.FieldByName("Ilosc").AsFloat(), 31.0);
  EXPECT_TRUE(table.FieldByName("Nazwa").IsNull());
  EXPECT_EQ(table.FieldByName("Nazwa").AsString(), "");
}

TEST_F(Items, AValueAFieldCannotTakeFailsAndLeavesTheFieldAsItWas) {
  table.Append();
  table.FieldByName("Ilosc").SetValue(7);
  ExpectError<EConvertError>([&] { table.FieldByName("Ilosc").SetAsString("12 "); },
                             "'12 ' is not a valid integer value");
  EXPECT_THROW(table.FieldByName("Cena").SetAsString("1,5"), EConvertError);
  EXPECT_THROW(table.FieldByName("Ilosc").SetValue(Variant(int64_t{1} << 40)), EVariantError);
  EXPECT_EQ(table.FieldByName("Ilosc").AsInteger(), 7);
  table.Post();
  table.Edit();
  EXPECT_THROW(table.FieldByName("Ilosc").SetAsString("siedem"), EConvertError);
  EXPECT_FALSE(table.Modified()) << "a refused value modifies nothing";
  table.FieldByName("Ilosc").SetAsString("");
  EXPECT_TRUE(table.FieldByName("Ilosc").IsNull()) << "empty text clears a numeric field";
}

TEST(RxMemoryData, TextReadAsIntegerUsesTheStandardConversion) {
  struct Case {
    const char* text;
    bool valid;
    int value;
  };
  const Case cases[] = {{"2", true, 2}, {" 2", true, 2}, {"$A", true, 10}, {"-1", true, -1},
                        {"", false, 0}, {"2 ", false, 0}, {"abc", false, 0}, {"2.0", false, 0}};
  TRxMemoryData table;
  table.AddFieldDef("D0", TFieldType::ftString, 10);
  table.Open();
  table.Append();
  for (const auto& c : cases) {
    table.Fields(0).SetAsString(c.text);
    if (c.valid) {
      EXPECT_EQ(table.Fields(0).AsInteger(), c.value) << c.text;
    } else {
      EXPECT_THROW(table.Fields(0).AsInteger(), EConvertError) << c.text;
    }
  }
}

TEST_F(Items, IdentifiersStartAtTheSmallestValueAndServeAsBookmarks) {
  Add("A", 1);
  EXPECT_EQ(table.GetBookmark(), INT32_MIN + 1);
  Add("B", 2);
  Add("C", 3);
  EXPECT_EQ(table.GetBookmark(), INT32_MIN + 3);

  table.SetRecNo(2);
  const TBookmark b = *table.GetBookmark();
  table.First();
  table.Insert();  // a record before A moves B one place on
  table.FieldByName("Nazwa").SetAsString("Z");
  table.Post();
  EXPECT_EQ(table.GetBookmark(), INT32_MIN + 4);
  table.GotoBookmark(b);
  EXPECT_EQ(Name(), "B");
  EXPECT_EQ(table.RecNo(), 3);

  EXPECT_FALSE(table.BookmarkValid(INT32_MIN + 9));
  ExpectError<EDatabaseError>([&] { table.GotoBookmark(INT32_MIN + 9); }, "Record not found");

  table.EmptyTable();
  EXPECT_FALSE(table.BookmarkValid(b));
  EXPECT_EQ(table.GetBookmark(), std::nullopt);
  Add("D", 4);
  EXPECT_EQ(table.GetBookmark(), INT32_MIN + 1) << "emptying restarts the identifiers";
}

TEST_F(Items, CursorRecNoAndEnds) {
  EXPECT_EQ(table.RecNo(), 0);
  EXPECT_TRUE(table.Bof());
  EXPECT_TRUE(table.Eof());
  EXPECT_TRUE(table.IsEmpty());
  Add("A", 1);
  Add("B", 2);
  Add("C", 3);
  EXPECT_EQ(table.RecNo(), 3) << "Post leaves the appended record current";
  EXPECT_FALSE(table.IsEmpty());

  table.First();
  EXPECT_TRUE(table.Bof());
  EXPECT_FALSE(table.Eof());
  EXPECT_EQ(table.RecNo(), 1);
  table.Next();
  table.Next();
  EXPECT_EQ(Name(), "C");
  table.Next();
  EXPECT_TRUE(table.Eof());
  EXPECT_EQ(Name(), "C") << "moving past the end stays on the last record";
  table.Last();
  table.Prior();
  EXPECT_EQ(Name(), "B");
  table.First();
  table.Prior();
  EXPECT_TRUE(table.Bof());
  EXPECT_EQ(Name(), "A");

  table.SetRecNo(3);
  EXPECT_EQ(Name(), "C");
  for (int outside : {0, -1, 4}) {
    table.SetRecNo(outside);
    EXPECT_EQ(table.RecNo(), 3) << outside;
  }
}

TEST_F(Items, AppendInsertEditAndCancel) {
  Add("A", 1);
  Add("C", 3);
  table.Insert();
  EXPECT_EQ(table.State(), TDataSetState::dsInsert);
  table.FieldByName("Nazwa").SetAsString("B");
  table.Post();
  EXPECT_EQ(table.RecNo(), 2);
  EXPECT_THAT(VisibleNames(), ElementsAre("A", "B", "C"));

  table.SetRecNo(2);
  table.Edit();
  table.FieldByName("Nazwa").SetAsString("X");
  EXPECT_EQ(Name(), "X") << "the pending edit is what readers see";
  table.Cancel();
  EXPECT_EQ(Name(), "B");
  table.Edit();
  table.FieldByName("Nazwa").SetAsString("Bb");
  table.Post();
  EXPECT_EQ(table.State(), TDataSetState::dsBrowse);
  EXPECT_THAT(VisibleNames(), ElementsAre("A", "Bb", "C"));

  table.SetRecNo(2);
  table.Append();
  table.FieldByName("Nazwa").SetAsString("D");
  table.Cancel();
  EXPECT_EQ(table.RecordCount(), 3);
  EXPECT_EQ(Name(), "Bb") << "cancelling an append returns to the record before it";
}

TEST_F(Items, EditWithoutACurrentRecordFindsNoData) {
  ExpectError<EDatabaseError>([&] { table.Edit(); }, "No data found");
}

TEST_F(Items, MovesFinishAPendingEditPostingOnlyWhatWasModified) {
  Add("A", 1);
  table.Append();
  table.First();  // nothing was set: the new record is dropped
  EXPECT_EQ(table.RecordCount(), 1);
  table.Append();
  table.FieldByName("Nazwa").SetAsString("B");
  table.First();
  EXPECT_EQ(table.RecordCount(), 2);
  table.Edit();
  table.FieldByName("Nazwa").SetAsString("A2");
  table.SetFiltered(true);
  EXPECT_EQ(table.State(), TDataSetState::dsBrowse);
  EXPECT_THAT(VisibleNames(), ElementsAre("A2", "B"));
}

TEST_F(Items, EmptyingFreesEverythingAndFinishesAPendingInsert) {
  Add("A", 1);
  int posted = 0;
  table.AfterPost = [&](TRxMemoryData&) { ++posted; };
  table.Append();
  table.FieldByName("Nazwa").SetAsString("B");
  table.EmptyTable();
  EXPECT_EQ(posted, 1) << "a modified insert is posted before the records go";
  EXPECT_EQ(table.State(), TDataSetState::dsBrowse);
  EXPECT_EQ(table.RecordCount(), 0);
  EXPECT_EQ(table.RecNo(), 0);
  EXPECT_TRUE(table.IsEmpty());

  TRxMemoryData closed;
  closed.EmptyTable();  // a closed table is left alone
  EXPECT_FALSE(closed.Active());
}

TEST_F(Items, AfterScrollFiresExactlyWhenTheCurrentRecordChanges) {
  int scrolls = 0;
  table.AfterScroll = [&](TRxMemoryData& t) {
    EXPECT_EQ(&t, &table);
    ++scrolls;
  };
  struct Step {
    const char* what;
    std::function<void()> action;
    int fires;
  };
  const Step steps[] = {
      {"Append", [&] { table.Append(); }, 1},
      {"set a field", [&] { table.FieldByName("Nazwa").SetAsString("A"); }, 0},
      {"Post", [&] { table.Post(); }, 0},
      {"Append, Post", [&] { table.Append(); table.FieldByName("Nazwa").SetAsString("B"); table.Post(); }, 1},
      {"First", [&] { table.First(); }, 1},
      {"Next", [&] { table.Next(); }, 1},
      {"Next at the end", [&] { table.Next(); }, 0},
      {"Prior", [&] { table.Prior(); }, 1},
      {"Prior at the start", [&] { table.Prior(); }, 0},
      {"Last", [&] { table.Last(); }, 1},
      {"RecNo to another", [&] { table.SetRecNo(1); }, 1},
      {"RecNo to the same", [&] { table.SetRecNo(1); }, 0},
      {"RecNo outside", [&] { table.SetRecNo(9); }, 0},
      {"Locate found", [&] { table.Locate("Nazwa", {Variant("B")}); }, 1},
      {"Locate not found", [&] { table.Locate("Nazwa", {Variant("Q")}); }, 0},
      {"Edit, Post", [&] { table.Edit(); table.FieldByName("Ilosc").SetValue(2); table.Post(); }, 0},
      {"Filtered on", [&] { table.SetFiltered(true); }, 1},
      {"Filtered on again", [&] { table.SetFiltered(true); }, 0},
      {"Filtered off", [&] { table.SetFiltered(false); }, 1},
      {"EmptyTable", [&] { table.EmptyTable(); }, 0},
      {"Append after emptying", [&] { table.Append(); }, 1},
  };
  for (const auto& step : steps) {
    const int before = scrolls;
    step.action();
    EXPECT_EQ(scrolls - before, step.fires) << step.what;
  }
}

TEST_F(Items, AppendFiresAfterScrollBeforeAnyFieldIsSet) {
  Add("A", 1);
  Variant seen = Variant("unset");
  table.AfterScroll = [&](TRxMemoryData& t) {
    seen = t.FieldByName("Nazwa").Value();
    EXPECT_EQ(t.State(), TDataSetState::dsInsert);
  };
  table.Append();
  EXPECT_TRUE(seen.isNull());
}

// Shows only the records whose quantity is even.
class EvenItems : public Items {
 protected:
  void SetUp() override {
    Items::SetUp();
    for (int i = 1; i <= 6; ++i) Add("N" + std::to_string(i), i);
    table.OnFilterRecord = [this](TRxMemoryData& t, bool& accept) {
      EXPECT_EQ(t.State(), TDataSetState::dsFilter);
      ++asked;
      accept = t.FieldByName("Ilosc").AsInteger() % 2 == 0;
    };
    table.SetFiltered(true);
  }
  int asked = 0;
};

TEST_F(EvenItems, MovesSkipWhatTheCallbackRejectsButCountsAndRecNoSeeAll) {
  EXPECT_EQ(table.RecNo(), 2) << "turning the filter on moves to the first visible record";
  EXPECT_THAT(VisibleNames(), ElementsAre("N2", "N4", "N6"));
  EXPECT_EQ(table.RecordCount(), 6);
  table.Last();
  EXPECT_EQ(table.RecNo(), 6);
  table.Prior();
  EXPECT_EQ(table.RecNo(), 4);
  EXPECT_TRUE(table.Locate("Nazwa", {Variant("N6")}));
  EXPECT_FALSE(table.Locate("Nazwa", {Variant("N5")})) << "a hidden record is not found";
  EXPECT_EQ(Name(), "N6");
}

TEST_F(EvenItems, TheEndsAreReportedOnTheLastAndFirstVisibleRecords) {
  table.Last();
  table.Next();
  EXPECT_TRUE(table.Eof());
  EXPECT_EQ(Name(), "N6");
  table.First();
  table.Prior();
  EXPECT_TRUE(table.Bof());
  EXPECT_EQ(Name(), "N2");
}

TEST_F(EvenItems, FilteringIsOneScanPerMove) {
  table.First();
  asked = 0;
  for (; !table.Eof(); table.Next()) {
  }
  EXPECT_EQ(asked, 4) << "records 3 to 6 once each";
  table.Next();
  EXPECT_EQ(asked, 4) << "a move at the end asks nothing";
}

TEST_F(EvenItems, ACurrentRecordTheFilterRejectsReadsAsNoRecord) {
  table.SetRecNo(3);  // N3
  EXPECT_TRUE(table.FieldByName("Nazwa").IsNull());
  EXPECT_EQ(table.GetBookmark(), std::nullopt);
  ExpectError<EDatabaseError>([&] { table.Edit(); }, "No data found");
  table.SetFiltered(false);
  table.SetRecNo(3);
  EXPECT_EQ(Name(), "N3");
}

TEST_F(EvenItems, WhenNothingIsVisibleTheTableLooksEmpty) {
  table.OnFilterRecord = [](TRxMemoryData&, bool& accept) { accept = false; };
  table.SetFiltered(false);
  table.SetFiltered(true);
  EXPECT_TRUE(table.IsEmpty());
  EXPECT_EQ(table.RecNo(), 1) << "before the first record while records exist";
  EXPECT_TRUE(table.FieldByName("Nazwa").IsNull());
  EXPECT_EQ(table.RecordCount(), 6);
}

TEST_F(Items, ErrorsInTheFilterGoToTheErrorBoxAndTheFlagKeepsItsValue) {
  std::vector<std::string> shown;
  const auto previous = SetStandardErrorHandler([&](const std::string& m) { shown.push_back(m); });
  Add("odrzucony", 1);
  Add("przyjęty", 2);
  table.OnFilterRecord = [](TRxMemoryData& t, bool& accept) {
    if (t.FieldByName("Ilosc").AsInteger() == 1) accept = false;
    t.FieldByName("Brak");  // raises
  };
  table.SetFiltered(true);
  SetStandardErrorHandler(previous);
  EXPECT_THAT(VisibleNames(), ElementsAre("przyjęty"));
  EXPECT_GE(shown.size(), 2u);
  for (const auto& message : shown) EXPECT_EQ(message, "Field 'Brak' not found");
}

TEST_F(Items, WritesInsideTheFilterDoNotReachTheStoredRecord) {
  Add("A", 1);
  table.OnFilterRecord = [](TRxMemoryData& t, bool&) {
    t.FieldByName("Nazwa").SetAsString("zmienione");
    EXPECT_EQ(t.FieldByName("Nazwa").AsString(), "zmienione");
  };
  table.SetFiltered(true);
  table.SetFiltered(false);
  EXPECT_EQ(Name(), "A");
}

TEST_F(Items, TheFilterCallbackCannotMoveOrEmptyItsOwnTable) {
  Add("A", 1);
  Add("B", 2);
  const std::function<void(TRxMemoryData&)> refused[] = {
      [](TRxMemoryData& t) { t.Next(); },       [](TRxMemoryData& t) { t.First(); },
      [](TRxMemoryData& t) { t.Append(); },     [](TRxMemoryData& t) { t.EmptyTable(); },
      [](TRxMemoryData& t) { t.Close(); },      [](TRxMemoryData& t) { t.SetFiltered(false); },
      [](TRxMemoryData& t) { t.SetRecNo(1); }};
  for (const auto& action : refused) {
    std::vector<std::string> shown;
    const auto previous = SetStandardErrorHandler([&](const std::string& m) { shown.push_back(m); });
    table.OnFilterRecord = [&](TRxMemoryData& t, bool&) {
      action(t);
      EXPECT_EQ(t.FieldByName("Nazwa").AsString().size(), 1u) << "the candidate is still readable";
    };
    table.SetFiltered(true);
    table.SetFiltered(false);
    SetStandardErrorHandler(previous);
    ASSERT_FALSE(shown.empty());
    EXPECT_EQ(shown[0], "Cannot perform this operation while the dataset filters its records");
    EXPECT_EQ(table.RecordCount(), 2);
    EXPECT_EQ(Name(), "A");
  }
}

TEST_F(Items, LocateMatchesEveryNamedField) {
  Add("Nit", 1);
  Add("Nit", 2);
  Add("Kołek", 2);
  EXPECT_TRUE(table.Locate("Nazwa;Ilosc", {Variant("Nit"), Variant(2)}));
  EXPECT_EQ(table.RecNo(), 2);
  EXPECT_TRUE(table.Locate("ilosc", {Variant("2")})) << "the value is taken as the field's type";
  EXPECT_EQ(table.RecNo(), 2);
  EXPECT_TRUE(table.Locate("Cena", {Variant::Null()}));
  EXPECT_EQ(table.RecNo(), 1);
  EXPECT_FALSE(table.Locate("Ilosc", {Variant("dwa")}));
  EXPECT_EQ(table.RecNo(), 1);
  EXPECT_THROW(table.Locate("Nazwa;Ilosc", {Variant("Nit")}), EDatabaseError);
  ExpectError<EDatabaseError>([&] { table.Locate("Brak", {Variant(1)}); }, "Field 'Brak' not found");
}

TEST_F(Items, ListenersAreToldUnlessControlsAreDisabled) {
  std::vector<TDataEvent> events;
  const int id = table.AddDataListener([&](TRxMemoryData&, TDataEvent e) { events.push_back(e); });
  table.Append();
  table.FieldByName("Nazwa").SetAsString("A");
  table.Post();
  EXPECT_THAT(events, ElementsAre(TDataEvent::deUpdateState, TDataEvent::deRecordChange,
                                  TDataEvent::deDataSetChange));

  events.clear();
  table.DisableControls();
  table.DisableControls();
  table.First();
  table.EmptyTable();
  table.EnableControls();
  EXPECT_TRUE(events.empty()) << "still disabled once";
  table.EnableControls();
  EXPECT_THAT(events, ElementsAre(TDataEvent::deDataSetChange));
  EXPECT_FALSE(table.ControlsDisabled());

  events.clear();
  table.RemoveDataListener(id);
  table.Append();
  EXPECT_TRUE(events.empty());
}

TEST_F(Items, ClosingFreesTheRecordsAndAClosedTableRefusesWork) {
  Add("A", 1);
  std::vector<std::string> order;
  table.BeforeClose = [&](TRxMemoryData&) { order.push_back("BeforeClose"); };
  table.AfterClose = [&](TRxMemoryData&) { order.push_back("AfterClose"); };
  table.Close();
  EXPECT_THAT(order, ElementsAre("BeforeClose", "AfterClose"));
  EXPECT_FALSE(table.Active());
  EXPECT_EQ(table.State(), TDataSetState::dsInactive);
  EXPECT_EQ(table.RecordCount(), 0);
  EXPECT_EQ(table.FieldCount(), 0);
  const std::function<void()> refused[] = {[&] { table.First(); }, [&] { table.Next(); },
                                           [&] { table.Append(); }, [&] { table.Post(); },
                                           [&] { table.SetRecNo(1); }};
  for (const auto& action : refused) {
    ExpectError<EDatabaseError>(action, "Cannot perform this operation on a closed dataset");
  }
  table.SetFiltered(true);  // only remembered while closed
  EXPECT_TRUE(table.Filtered());
  table.SetActive(true);
  EXPECT_TRUE(table.IsEmpty());
  EXPECT_EQ(table.FieldCount(), 7);
}

TEST_F(Items, CapacityReservesRoomButNeverBelowTheRecords) {
  table.SetCapacity(500);
  EXPECT_GE(table.Capacity(), 500);
  Add("A", 1);
  Add("B", 2);
  ExpectError<EListError>([&] { table.SetCapacity(1); }, "List capacity out of bounds (1)");
  table.EmptyTable();
  ExpectError<EListError>([&] { table.SetCapacity(-5); }, "List capacity out of bounds (-5)");
}

}  // namespace
