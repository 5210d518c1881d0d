#include "report/frxRes.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct LookupCase {
  const char* what;
  const char* stored;  // nullptr: no entry for the key
  const char* expected;
};

TEST(frxResLookup, FollowsTheEntryRules) {
  const LookupCase cases[] = {
      {"missing key yields the key", nullptr, "clDecryptError"},
      {"plain entry", "Błąd", "Błąd"},
      {"leading ! is dropped", "!Domyślny", "Domyślny"},
      {"only one ! is dropped", "!!Uwaga", "!Uwaga"},
      {"entry of a lone !", "!", ""},
      {"empty entry is not a missing one", "", ""},
      {"! inside the text stays", "Uwaga!", "Uwaga!"},
      {"blanks are kept", " Strona ", " Strona "},
  };
  for (const auto& c : cases) {
    TfrxResources table;
    if (c.stored) table.Add("clDecryptError", c.stored);
    EXPECT_EQ(table.Get("clDecryptError"), c.expected) << c.what;
    EXPECT_EQ(table.Contains("clDecryptError"), c.stored != nullptr) << c.what;
  }
}

TEST(frxResLookup, KeysCompareExactly) {
  TfrxResources table;
  table.Add("prDupl", "Nazwa jest już użyta");
  EXPECT_EQ(table.Get("PRDUPL"), "PRDUPL");
  EXPECT_EQ(table.Get("prDupl "), "prDupl ");
  EXPECT_EQ(table.Get(""), "");
}

TEST(frxResLookup, NumberedKeysAreTheirDecimalText) {
  TfrxResources table;
  table.Add("200", "Drukuj");
  EXPECT_EQ(table.Get(200), "Drukuj");
  EXPECT_EQ(table.Get(201), "201");
}

TEST(frxResLookup, LaterEntryReplacesEarlier) {
  TfrxResources table;
  table.Add("mbError", "Error");
  table.Add("mbError", "Błąd");
  EXPECT_EQ(table.Get("mbError"), "Błąd");
  table.AddEntries({{"mbError", "Uwaga"}, {"clClose", "Zamknij"}, {"mbError", "!Błąd krytyczny"}});
  EXPECT_EQ(table.Get("mbError"), "Błąd krytyczny");
  EXPECT_EQ(table.Get("clClose"), "Zamknij");
  EXPECT_EQ(table.Count(), 2u);
}

}  // namespace
