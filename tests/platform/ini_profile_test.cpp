// Value conversions of the INI layer.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <ostream>
#include <string>

#include "platform/ini_profile.h"

namespace {

struct IntCase {
  const char* Text;
  int32_t Expected;  // -777 marks "the default"
};

void PrintTo(const IntCase& c, std::ostream* os) { *os << '"' << c.Text << '"'; }

class IniIntTest : public ::testing::TestWithParam<IntCase> {};

TEST_P(IniIntTest, ReadsDecimalAndHexOrGivesTheDefault) {
  const IntCase& c = GetParam();
  bool ok = true;
  EXPECT_EQ(IniTextToInt(c.Text, -777, &ok), c.Expected) << '"' << c.Text << '"';
  EXPECT_EQ(ok, c.Expected != -777) << '"' << c.Text << '"';
}

INSTANTIATE_TEST_SUITE_P(
    Values, IniIntTest,
    ::testing::Values(IntCase{"10000", 10000}, IntCase{"0x10", 16}, IntCase{"0X1f", 31}, IntCase{" 42 ", 42},
                      IntCase{"\t-5\r", -5}, IntCase{"+7", 7}, IntCase{"0", 0}, IntCase{"007", 7},
                      IntCase{"2147483647", 2147483647}, IntCase{"-2147483648", -2147483647 - 1},
                      IntCase{"0xFFFFFFFF", -1}, IntCase{"0x7fffffff", 2147483647},
                      // not integers
                      IntCase{"", -777}, IntCase{"   ", -777}, IntCase{"abc", -777}, IntCase{"12abc", -777},
                      IntCase{"1.5", -777}, IntCase{"0x", -777}, IntCase{"0xg1", -777}, IntCase{"0x100000000", -777},
                      IntCase{"2147483648", -777}, IntCase{"99999999999999999999", -777}, IntCase{"+-1", -777},
                      IntCase{"--1", -777}, IntCase{"-0x10", -777}, IntCase{"1 2", -777}));

struct FloatCase {
  const char* Text;
  double Expected;  // NaN marks "the default"
};

void PrintTo(const FloatCase& c, std::ostream* os) { *os << '"' << c.Text << '"'; }

class IniFloatTest : public ::testing::TestWithParam<FloatCase> {};

TEST_P(IniFloatTest, ReadsPointOrCommaOrGivesTheDefault) {
  const FloatCase& c = GetParam();
  bool ok = true;
  const double got = IniTextToFloat(c.Text, -777.0, &ok);
  if (std::isnan(c.Expected)) {
    EXPECT_EQ(got, -777.0) << '"' << c.Text << '"';
    EXPECT_FALSE(ok) << '"' << c.Text << '"';
  } else {
    EXPECT_EQ(got, c.Expected) << '"' << c.Text << '"';
    EXPECT_TRUE(ok) << '"' << c.Text << '"';
  }
}

constexpr double kDefault = std::numeric_limits<double>::quiet_NaN();

INSTANTIATE_TEST_SUITE_P(
    Values, IniFloatTest,
    ::testing::Values(FloatCase{"3,5", 3.5}, FloatCase{"3.5", 3.5}, FloatCase{"6", 6.0}, FloatCase{" 80 ", 80.0},
                      FloatCase{"-0,25", -0.25}, FloatCase{"+2.5", 2.5}, FloatCase{".5", 0.5}, FloatCase{",5", 0.5},
                      FloatCase{"1e3", 1000.0}, FloatCase{"2,5E-1", 0.25}, FloatCase{"3.175\r", 3.175},
                      // not numbers
                      FloatCase{"", kDefault}, FloatCase{"abc", kDefault}, FloatCase{"1.2.3", kDefault},
                      FloatCase{"1,234.5", kDefault}, FloatCase{"inf", kDefault}, FloatCase{"-inf", kDefault},
                      FloatCase{"nan", kDefault}, FloatCase{"infinity", kDefault}, FloatCase{"1e400", kDefault},
                      FloatCase{"0x10", kDefault}, FloatCase{"6 mm", kDefault}, FloatCase{",", kDefault},
                      FloatCase{"-", kDefault}, FloatCase{"1e", kDefault}));

TEST(IniFloatText, IsTheShortestFormWithAPointAndAtMostFifteenDigits) {
  const std::pair<double, const char*> cases[] = {{80.0, "80"},         {200.0, "200"},
                                                  {0.1, "0.1"},         {3.25, "3.25"},
                                                  {-2.5, "-2.5"},       {3.175, "3.175"},
                                                  {100000.0, "100000"}, {123456.789, "123456.789"},
                                                  {0.1 + 0.2, "0.3"},   {1.0 / 3.0, "0.333333333333333"},
                                                  {1e-7, "1e-07"},      {0.00001, "0.00001"},
                                                  {1e20, "1e+20"},      {123456789012345.0, "123456789012345"},
                                                  {0.0, "0"},           {2.0 / 3.0 * 1e-9, "6.66666666666667e-10"}};
  for (const auto& [v, text] : cases) EXPECT_EQ(IniFloatToText(v), text) << v;
}

TEST(IniFloatText, ReadsBackTheSameValueUpToFifteenDigits) {
  const double values[] = {0.001, 1.5875, 6.35, 12.7, 25.4, 0.7, 1234.5678, 99999.99999, 1e-300, 1.7e300, -0.003};
  for (double v : values) {
    bool ok = false;
    EXPECT_EQ(IniTextToFloat(IniFloatToText(v), 0.0, &ok), v) << IniFloatToText(v);
    EXPECT_TRUE(ok);
  }
}

}  // namespace
