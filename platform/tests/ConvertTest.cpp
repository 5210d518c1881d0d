#include "platform/Convert.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <optional>
#include <utility>

namespace {

struct IntCase {
  const char* text;
  std::optional<int> value;
};

TEST(ConvertTest, StrToIntAcceptsWhatTheSystemConversionAccepts) {
  const IntCase cases[] = {
      {"0", 0},           {"12", 12},         {"  7", 7},        {"-3", -3},
      {"+4", 4},          {"$1F", 31},        {"x1f", 31},       {"X10", 16},
      {"0x10", 16},       {"0X1a", 26},       {"-$10", -16},     {"$FFFFFFFF", -1},
      {"2147483647", 2147483647},             {"-2147483648", -2147483647 - 1},
      {"2147483648", std::nullopt},           {"$100000000", std::nullopt},
      {"", std::nullopt}, {" ", std::nullopt}, {"-", std::nullopt}, {"$", std::nullopt},
      {"0x", std::nullopt}, {"abc", std::nullopt}, {"12 ", std::nullopt},
      {"1.5", std::nullopt}, {"1e3", std::nullopt}, {"$G", std::nullopt},
  };
  for (const IntCase& c : cases) {
    EXPECT_EQ(TryStrToInt(c.text), c.value) << "'" << c.text << "'";
  }
}

TEST(ConvertTest, StrToInt64TakesTheWholeRange) {
  const std::pair<const char*, std::optional<int64_t>> cases[] = {
      {"5000000000", 5000000000LL},
      {"-9223372036854775808", INT64_MIN},
      {"9223372036854775807", INT64_MAX},
      {"9223372036854775808", std::nullopt},
      {"$FFFFFFFFFFFFFFFF", -1},
      {"$FFFFFFFF", 4294967295LL},
      {"0x10000000000000000", std::nullopt},
      {" -12", -12},
      {"12a", std::nullopt},
  };
  for (const auto& [text, value] : cases) EXPECT_EQ(TryStrToInt64(text), value) << text;
  EXPECT_THROW(StrToInt64("abc"), EConvertError);
}

TEST(ConvertTest, FailureCarriesTheSystemMessage) {
  EXPECT_EQ(StrToIntDef("abc", 1), 1);
  try {
    StrToInt("1,5");
    FAIL() << "no error";
  } catch (const EConvertError& e) {
    EXPECT_STREQ(e.what(), "'1,5' is not a valid integer value");
  }
}

}  // namespace
