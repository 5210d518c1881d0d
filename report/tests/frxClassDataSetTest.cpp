#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "platform/CodePage.h"
#include "report/frxClassDataSet.h"
#include "report/frxRes.h"

namespace {

// Stands in for the report object: the tree root that datasets can belong to.
class FakeReport : public TfrxComponent {
 public:
  FakeReport() : TfrxComponent(nullptr) {}
  bool IsReportObject() const override { return true; }
};

// Walks a dataset the way the engine does and returns the RecNo of every row it saw.
std::vector<int> Walk(TfrxDataSet& ds, int limit = 100) {
  std::vector<int> rows;
  ds.First();
  while (!ds.Eof() && static_cast<int>(rows.size()) < limit) {
    rows.push_back(ds.RecNo());
    ds.Next();
  }
  return rows;
}

TEST(TfrxDataSet, CountRangeStopsAfterTheLimit) {
  TfrxUserDataSet ds(nullptr);
  ds.SetRangeEnd(reCount);
  ds.SetRangeEndCount(3);
  ds.First();
  ds.Next();
  ds.Next();
  EXPECT_EQ(ds.RecNo(), 2);
  EXPECT_FALSE(ds.Eof());
  ds.Next();  // after the third record
  EXPECT_EQ(ds.RecNo(), 2);
  EXPECT_TRUE(ds.Eof());
  EXPECT_EQ(Walk(ds), (std::vector<int>{0, 1, 2}));
}

TEST(TfrxDataSet, CountRangeOfZeroIsEmptyAndOtherRangesNeverEnd) {
  TfrxUserDataSet ds(nullptr);
  ds.SetRangeEnd(reCount);
  ds.First();
  EXPECT_TRUE(ds.Eof());
  ds.SetRangeEnd(reLast);  // the base has no records of its own to run out of
  ds.First();
  for (int i = 0; i < 5; ++i) ds.Next();
  EXPECT_FALSE(ds.Eof());
  EXPECT_EQ(ds.RecNo(), 5);
}

TEST(TfrxDataSet, RecordCountOnlyForAFirstToCountRange) {
  struct Case {
    TfrxRangeBegin begin;
    TfrxRangeEnd end;
    int expected;
  };
  for (const Case& c : {Case{rbFirst, reCount, 7}, Case{rbCurrent, reCount, 0}, Case{rbFirst, reLast, 0},
                        Case{rbFirst, reCurrent, 0}}) {
    TfrxUserDataSet ds(nullptr);
    ds.SetRangeBegin(c.begin);
    ds.SetRangeEnd(c.end);
    ds.SetRangeEndCount(7);
    EXPECT_EQ(ds.RecordCount(), c.expected) << int(c.begin) << " " << int(c.end);
  }
}

TEST(TfrxDataSet, NavigationEventsAndCheckEof) {
  TfrxUserDataSet ds(nullptr);
  std::vector<std::string> calls;
  ds.OnFirst = [&](TfrxDataSet&) { calls.push_back("first"); };
  ds.OnNext = [&](TfrxDataSet& s) { calls.push_back("next " + std::to_string(s.RecNo())); };
  ds.OnPrior = [&](TfrxDataSet& s) { calls.push_back("prior " + std::to_string(s.RecNo())); };
  ds.OnOpen = [&](TfrxDataSet&) { calls.push_back("open"); };
  ds.OnClose = [&](TfrxDataSet&) { calls.push_back("close"); };
  // The host ends the walk after the second record through OnCheckEOF.
  ds.OnCheckEOF = [](TfrxDataSet& s, bool& eof) { eof = eof || s.RecNo() >= 2; };
  ds.SetRangeEnd(reCount);
  ds.SetRangeEndCount(2);

  ds.Open();
  EXPECT_EQ(Walk(ds), (std::vector<int>{0, 1}));
  ds.Prior();
  ds.Close();
  // The Next that hits the count limit fires no OnNext.
  EXPECT_EQ(calls, (std::vector<std::string>{"open", "first", "next 1", "prior 0", "close"}));

  calls.clear();
  ds.SetRangeEnd(reLast);  // now only the host decides
  EXPECT_EQ(Walk(ds), (std::vector<int>{0, 1}));
  EXPECT_EQ(calls, (std::vector<std::string>{"first", "next 1", "next 2"}));
}

TEST(TfrxDataSet, BaseOperations) {
  class Bare : public TfrxDataSet {
   public:
    Bare() : TfrxDataSet(nullptr) {}
  } ds;
  EXPECT_TRUE(ds.Value("X").isNull());
  EXPECT_EQ(ds.DisplayText("X"), u"");
  EXPECT_EQ(ds.DisplayWidth("X"), 10);
  EXPECT_EQ(ds.FieldType("X"), fftNumeric);
  EXPECT_EQ(ds.FieldsCount(), 0);
  EXPECT_FALSE(ds.IsBlobField("X"));
  std::vector<std::string> list{"stale"};
  ds.GetFieldList(list);
  EXPECT_TRUE(list.empty());
  EXPECT_FALSE(ds.HasField("stale"));
}

TEST(TfrxDataSet, UserNameFollowsTheFirstName) {
  TfrxUserDataSet ds(nullptr);
  EXPECT_EQ(ds.UserName(), "");
  ds.SetName("UserDataSet1");
  EXPECT_EQ(ds.UserName(), "UserDataSet1");
  ds.SetName("Faktury");  // the alias is kept once it is set
  EXPECT_EQ(ds.UserName(), "UserDataSet1");

  TfrxUserDataSet named(nullptr);
  named.SetUserName("Pozycje");
  named.SetName("UserDataSet2");
  EXPECT_EQ(named.UserName(), "Pozycje");
}

TEST(TfrxDataSet, BlankUserNameIsRefused) {
  TfrxUserDataSet ds(nullptr);
  ds.SetUserName("Dane");
  for (std::string blank : {"", " ", "  \t"}) {
    try {
      ds.SetUserName(blank);
      ADD_FAILURE() << "accepted '" << blank << "'";
    } catch (const EfrxDataSetError& e) {
      EXPECT_EQ(std::string(e.what()), frxResources().Get("prInvProp"));
    }
    EXPECT_EQ(ds.UserName(), "Dane");
  }
  EXPECT_EQ(frxResources().Get("prInvProp"), codepage::Utf8ToAnsi("Nieprawidłowa wartość właściwości"));
}

TEST(TfrxDataSet, PublishedProperties) {
  const TfrxClassInfo& info = TfrxUserDataSet::StaticClassInfo();
  std::vector<std::string> names;
  for (const TfrxPropInfo* p : info.Properties()) names.push_back(p->Name);
  // Base classes first, each in declaration order.
  std::vector<std::string> tail(names.end() - 6, names.end());
  EXPECT_EQ(tail, (std::vector<std::string>{"Enabled", "RangeBegin", "RangeEnd", "RangeEndCount", "UserName",
                                            "Fields"}));
  EXPECT_NE(info.FindProperty("Left"), nullptr);
  EXPECT_EQ(frxFindClass("TFRXUSERDATASET"), &info);

  TfrxUserDataSet ds(nullptr);
  const TfrxPropInfo* rangeEnd = info.FindProperty("RangeEnd");
  ASSERT_NE(rangeEnd, nullptr);
  EXPECT_TRUE(rangeEnd->IsDefaultValue(ds));
  frxSetPropValue(ds, *rangeEnd, Variant(int32_t{reCount}));
  EXPECT_EQ(ds.RangeEnd(), reCount);
  EXPECT_FALSE(rangeEnd->IsDefaultValue(ds));

  frxSetPropValue(ds, *info.FindProperty("Fields"), Variant(std::string("Nazwa\r\nIlosc\nCena")));
  EXPECT_EQ(ds.Fields(), (std::vector<std::string>{"Nazwa", "Ilosc", "Cena"}));
  EXPECT_EQ(frxGetPropValue(ds, *info.FindProperty("Fields")).toString8(), "Nazwa\r\nIlosc\r\nCena\r\n");

  EXPECT_THROW(frxSetPropValue(ds, *info.FindProperty("UserName"), Variant(std::string(" "))), EfrxDataSetError);
}

TEST(TfrxDataSet, DialogComponentsStayOutOfTheOutput) {
  TfrxUserDataSet ds(nullptr);
  EXPECT_EQ(ds.StyleFlags() & csoCopiedToOutput, 0);
}

TEST(TfrxUserDataSet, ValuesComeFromTheCallbacksInOrder) {
  TfrxUserDataSet ds(nullptr);
  ds.Fields() = {"Nazwa", "Ilosc"};
  EXPECT_TRUE(ds.Value("Nazwa").isNull());
  EXPECT_TRUE(ds.HasField("nazwa"));
  EXPECT_FALSE(ds.HasField("Cena"));
  EXPECT_EQ(ds.FieldsCount(), 2);

  ds.OnGetValue = [](const std::string& field, Variant& value) {
    if (field == "Nazwa") value = Variant(codepage::Utf8ToAnsi("Śruba M6"));
    if (field == "Ilosc") value = Variant(int32_t{12});
  };
  EXPECT_EQ(ds.Value("Nazwa").toString8(), codepage::Utf8ToAnsi("Śruba M6"));
  // The second callback sees what the first gave and may change it.
  ds.OnNewGetValue = [](TfrxDataSet& sender, const std::string& field, Variant& value) {
    if (field == "Ilosc") value = Variant(value.toInt32() * 2);
  };
  EXPECT_EQ(ds.Value("Ilosc").toInt32(), 24);
}

TEST(TfrxUserDataSet, DisplayTextOfValues) {
  struct Case {
    Variant value;
    std::u16string text;
  };
  std::vector<Case> cases;
  cases.push_back({Variant::Null(), u""});
  cases.push_back({Variant(), u""});
  cases.push_back({Variant(std::string("Faktura VAT")), u"Faktura VAT"});
  cases.push_back({Variant(std::string("\x9C\x72\x75\x62\x61")), u"\u015Bruba"});  // "śruba" in Windows-1250
  cases.push_back({Variant(std::u16string(u"Łódź")), u"Łódź"});
  cases.push_back({Variant(int32_t{-42}), u"-42"});
  cases.push_back({Variant(true), u"True"});
  cases.push_back({Variant(2.5), u"2" + std::u16string(1, char16_t(frxDecimalSeparator())) + u"5"});
  for (const Case& c : cases) {
    TfrxUserDataSet ds(nullptr);
    ds.OnGetValue = [&](const std::string&, Variant& value) { value = c.value; };
    EXPECT_EQ(ds.DisplayText("X"), c.text);
  }
}

TEST(FieldListText, SplitsAnyLineBreakAndJoinsWithCrLf) {
  struct Case {
    std::string text;
    std::vector<std::string> lines;
  };
  for (const Case& c : {Case{"", {}}, Case{"A", {"A"}}, Case{"A\r\n", {"A"}}, Case{"A\r\nB", {"A", "B"}},
                        Case{"A\nB\rC", {"A", "B", "C"}}, Case{"A\r\n\r\nB", {"A", "", "B"}},
                        Case{"\n", {""}}}) {
    EXPECT_EQ(frxSplitLines(c.text), c.lines) << c.text;
  }
  EXPECT_EQ(frxJoinLines({"D1=Nazwa", "-D2"}), "D1=Nazwa\r\n-D2\r\n");
}

TEST(DataSetRegistry, DatasetsJoinAndLeaveTheList) {
  auto count = [](TfrxDataSet* ds) {
    auto list = frxGlobalDataSets();
    return std::count(list.begin(), list.end(), ds);
  };
  auto ds = std::make_unique<TfrxUserDataSet>(nullptr);
  TfrxDataSet* raw = ds.get();
  EXPECT_EQ(count(raw), 1);
  ds.reset();
  EXPECT_EQ(count(raw), 0);
}

TEST(DataSetRegistry, LookupByAliasIgnoresCaseAndOtherReports) {
  FakeReport mine, other;
  TfrxUserDataSet free1(nullptr), free2(nullptr);
  free1.SetUserName("Dane");
  free2.SetUserName("DANE");
  auto* ofOther = new TfrxUserDataSet(&other);  // owned and destroyed by `other`
  ofOther->SetUserName("Seria");
  TfrxUserDataSet freeSeria(nullptr);
  freeSeria.SetUserName("Seria");
  auto* ofMine = new TfrxUserDataSet(&mine);
  ofMine->SetUserName("Sumy");

  EXPECT_EQ(frxFindGlobalDataSet("dane", &mine), &free1);  // the first match
  EXPECT_EQ(frxFindGlobalDataSet("seria", &mine), &freeSeria);
  EXPECT_EQ(frxFindGlobalDataSet("seria", &other), ofOther);
  EXPECT_EQ(frxFindGlobalDataSet("Sumy", &mine), ofMine);
  EXPECT_EQ(frxFindGlobalDataSet("Sumy", &other), nullptr);
  EXPECT_EQ(frxFindGlobalDataSet("Sumy", nullptr), nullptr);
  EXPECT_EQ(frxFindGlobalDataSet("", &mine), nullptr);
  EXPECT_EQ(frxFindGlobalDataSet("Faktury", &mine), nullptr);
}

}  // namespace
