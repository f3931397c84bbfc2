// Reading typed numbers: decimal, "$" hexadecimal, blanks, signs and overflow.

#include <gtest/gtest.h>

#include "params/number_text.h"

namespace velmora {
namespace {

struct NumberCase {
  const char* Text;
  std::optional<int32_t> Expected;
};

class ParamsNumberText : public testing::TestWithParam<NumberCase> {};

TEST_P(ParamsNumberText, ReadsAsTheDialogDoes) {
  const NumberCase& c = GetParam();
  EXPECT_EQ(ParseNumberText(c.Text), c.Expected) << '"' << c.Text << '"';
  EXPECT_EQ(NumberOrDefault(c.Text, NotANumber), c.Expected.value_or(NotANumber));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ParamsNumberText,
    testing::Values(NumberCase{"8000", 8000}, NumberCase{"$1F40", 8000}, NumberCase{"$1f40", 8000},
                    NumberCase{" 8000", 8000}, NumberCase{"   -12", -12}, NumberCase{"+5", 5},
                    NumberCase{"-$10", -16}, NumberCase{"0", 0},
                    NumberCase{"2147483647", 2147483647},
                    NumberCase{"-2147483648", std::numeric_limits<int32_t>::min()},
                    NumberCase{"$7FFFFFFF", 2147483647}, NumberCase{"8000 ", std::nullopt},
                    NumberCase{"", std::nullopt}, NumberCase{"   ", std::nullopt},
                    NumberCase{"-", std::nullopt}, NumberCase{"$", std::nullopt},
                    NumberCase{"12a", std::nullopt}, NumberCase{"1.5", std::nullopt},
                    NumberCase{"$1G", std::nullopt}, NumberCase{"--1", std::nullopt},
                    NumberCase{"2147483648", std::nullopt}, NumberCase{"-2147483649", std::nullopt},
                    NumberCase{"$80000000", std::nullopt},
                    NumberCase{"99999999999999999999", std::nullopt}));

TEST(ParamsNumberTextSentinel, TheSentinelTextReadsAsNotANumber) {
  // The checks cannot tell the typed sentinel from text that is not a number.
  EXPECT_EQ(ParseNumberText("-93845"), NotANumber);
  EXPECT_EQ(NumberOrDefault("-93845", 7), NotANumber);
  EXPECT_EQ(NumberOrDefault("x", 7), 7);
}

} // namespace
} // namespace velmora
