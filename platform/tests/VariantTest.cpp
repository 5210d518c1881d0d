#include "platform/Variant.h"

#include <gtest/gtest.h>

TEST(Variant, KindCodesAreTheOnesScriptsSee) {
  struct Case { Variant value; uint16_t code; };
  const Case cases[] = {
      {Variant(), 0},
      {Variant::Null(), 1},
      {Variant(int16_t{-2}), 2},
      {Variant(42), 3},
      {Variant(1.5f), 4},
      {Variant(2.5), 5},
      {Variant::Currency(1.23456), 6},
      {Variant::Date(45000.5), 7},
      {Variant(u"zażółć"), 8},
      {Variant::Dispatch(nullptr), 9},
      {Variant(true), 11},
      {Variant(int8_t{-1}), 16},
      {Variant(uint8_t{200}), 17},
      {Variant(uint16_t{60000}), 18},
      {Variant(uint32_t{4000000000u}), 19},
      {Variant(int64_t{1} << 40), 20},
      {Variant("tekst"), 256},
      {Variant::Array(0, 2), 8192 | 12},
      {Variant::Array(1, 3, VarKind::Integer), 8192 | 3},
  };
  for (const auto& c : cases) EXPECT_EQ(c.value.varType(), c.code) << VarKindName(c.value.kind());
}

TEST(Variant, ReadsBackWhatItWasBuiltFrom) {
  EXPECT_EQ(Variant(int16_t{-2}).toInt64(), -2);
  EXPECT_EQ(Variant(uint32_t{4000000000u}).toInt64(), 4000000000LL);
  EXPECT_DOUBLE_EQ(Variant(2.5).toDouble(), 2.5);
  EXPECT_DOUBLE_EQ(Variant(7).toDouble(), 7.0);
  EXPECT_EQ(Variant::Currency(1.23456).currencyScaled(), 12346);
  EXPECT_DOUBLE_EQ(Variant::Currency(1.5).toDouble(), 1.5);
  EXPECT_TRUE(Variant(true).toBool());
  EXPECT_EQ(Variant(true).toInt64(), -1);
  EXPECT_EQ(Variant("abc").str(), "abc");
}

TEST(Variant, TextKindsConvertThroughTheSystemCodePage) {
  const std::string ansi = "\xA5\xB9\xE6";  // Ąąć in Windows-1250
  EXPECT_EQ(Variant(ansi).toWide(), u"Ąąć");
  EXPECT_EQ(Variant(u"Ąąć").toString8(), ansi);
}

TEST(Variant, ReadingAsAnotherTypeNamesBothKinds) {
  try {
    (void)Variant("12").toInt64();
    FAIL() << "expected an error";
  } catch (const EVariantError& e) {
    EXPECT_STREQ(e.what(), "Could not convert variant of type (String) into type (Int64)");
  }
  EXPECT_THROW((void)Variant(int64_t{1} << 40).toInt32(), EVariantError);
  EXPECT_THROW((void)Variant::Null().toDouble(), EVariantError);
  EXPECT_THROW((void)Variant(5).str(), EVariantError);
}

TEST(Variant, ArraysAreCopiedByValueAndBoundsChecked) {
  Variant a = Variant::Array(1, 3);
  a.at(1) = Variant(10);
  a.at(3) = Variant("x");
  Variant b = a;
  b.at(1) = Variant(20);
  EXPECT_EQ(a.at(1).toInt64(), 10);
  EXPECT_EQ(b.at(1).toInt64(), 20);
  EXPECT_TRUE(a.at(2).isEmpty());
  EXPECT_THROW(a.at(0), EVariantError);
  EXPECT_THROW(a.at(4), EVariantError);
  EXPECT_THROW(Variant(1).at(0), EVariantError);
  EXPECT_FALSE(a.identical(b));
  b.at(1) = Variant(10);
  EXPECT_TRUE(a.identical(b));
}
