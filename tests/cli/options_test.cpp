#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "cli/options.h"

namespace {

constexpr TOption kEveryOption[] = {TOption::Output, TOption::Size,      TOption::FontPath,    TOption::Settings,
                                    TOption::Radius, TOption::Start,     TOption::MaxElements, TOption::Raw,
                                    TOption::Quiet,  TOption::NoContour, TOption::Path,        TOption::NoPath,
                                    TOption::Edges,  TOption::W0,        TOption::Spindle,     TOption::Window,
                                    TOption::Grid,   TOption::Zoom,      TOption::HScroll,     TOption::VScroll};
constexpr TCommandSyntax kEverything{"try", kEveryOption};
constexpr TOption kRunOnly[] = {TOption::Radius, TOption::Start};
constexpr TCommandSyntax kRun{"run", kRunOnly};

// "cmd" and the words of `args`.
struct TArgs {
  explicit TArgs(const std::vector<std::string>& args) : Words(args) {
    Words.insert(Words.begin(), {"velquor-cnc", "cmd"});
    for (std::string& w : Words) Pointers.push_back(w.data());
  }
  int Count() const { return static_cast<int>(Pointers.size()); }
  char** Values() { return Pointers.data(); }
  std::vector<std::string> Words;
  std::vector<char*> Pointers;
};

TCommandOptions Parse(const TCommandSyntax& syntax, const std::vector<std::string>& args) {
  TArgs a(args);
  return ParseCommandOptions(syntax, a.Count(), a.Values());
}

// The usage error, or "" when the command line is taken.
std::string ErrorOf(const TCommandSyntax& syntax, const std::vector<std::string>& args) {
  try {
    Parse(syntax, args);
    return "";
  } catch (const TOptionError& e) {
    return e.Text;
  }
}

TEST(CommandOptions, ValuesLandWhereTheCommandReadsThem) {
  const TCommandOptions o = Parse(
      kEverything,
      {"p.cnc",  "-o",          "out.svg", "--size",         "20x10", "--radius",  "3=1.5",   "--radius",
       "0=2",    "--start",     "1,2,-3",  "--max-elements", "7",     "--raw",     "--quiet", "--no-contour",
       "--path", "--no-path",   "--edges", "--w0",           "4,5",   "--spindle", "-6,7",    "--window",
       "-1,9,2", "--grid",      "5",       "--zoom",         "20",    "--hscroll", "-30",     "--vscroll",
       "40",     "--font-path", "F",       "--settings",     "s.INI"});
  EXPECT_EQ(o.Programs, std::vector<std::string>{"p.cnc"});
  EXPECT_EQ(o.Output, "out.svg");  // any extension: the command chooses what to write
  ASSERT_TRUE(o.Size);
  EXPECT_EQ(o.Size->Width, 20);
  EXPECT_EQ(o.Size->Height, 10);
  EXPECT_EQ(o.Run.Radii, (std::vector<std::pair<int, double>>{{3, 1.5}, {0, 2.0}}));
  EXPECT_EQ(o.Run.Start.X, 1);
  EXPECT_EQ(o.Run.Start.Z, -3);
  EXPECT_EQ(o.Run.MaxElements, 7);
  EXPECT_TRUE(o.Run.Raw && o.Run.Quiet && o.NoContour && o.Path && o.NoPath && o.Edges);
  EXPECT_EQ(o.W0.Y, 5);
  EXPECT_EQ(o.Spindle.X, -6);
  ASSERT_TRUE(o.Window);
  EXPECT_EQ(o.Window->XMax, 9);
  EXPECT_EQ(o.Grid, 5);
  EXPECT_EQ(o.Zoom, 20);
  EXPECT_EQ(o.HScroll, -30);
  EXPECT_EQ(o.VScroll, 40);
  EXPECT_EQ(o.Run.FontPath, "F");
  EXPECT_EQ(o.Run.SettingsFile, "s.INI");
}

TEST(CommandOptions, OptionsNotGivenStayUnset) {
  const TCommandOptions o = Parse(kEverything, {"p.cnc"});
  EXPECT_FALSE(o.Size || o.Window || o.Grid || o.Zoom || o.HScroll || o.VScroll);
  EXPECT_EQ(o.Run.MaxElements, CNC_DEFAULT_ELEMENT_LIMIT);
  EXPECT_TRUE(o.Run.Radii.empty());
}

// Each limit just inside and just outside: "" is taken, otherwise the message.
struct TLimitCase {
  std::vector<std::string> Args;
  const char* Error;
};

class OptionLimitTest : public ::testing::TestWithParam<TLimitCase> {};

TEST_P(OptionLimitTest, IsTakenOrNamed) {
  std::vector<std::string> args = {"p.cnc"};
  args.insert(args.end(), GetParam().Args.begin(), GetParam().Args.end());
  EXPECT_EQ(ErrorOf(kEverything, args), GetParam().Error);
}

constexpr const char* kRadiusError = "--radius wants N=MM with N in 0..254 and MM from 0 to 1000000, not ";

INSTANTIATE_TEST_SUITE_P(
    Limits, OptionLimitTest,
    ::testing::Values(TLimitCase{{"--size", "16384x1"}, ""}, TLimitCase{{"--size", "1x1"}, ""},
                      TLimitCase{{"--size", "16385x1"}, "--size wants whole pixels from 1 to 16384"},
                      TLimitCase{{"--size", "1x0"}, "--size wants whole pixels from 1 to 16384"},
                      TLimitCase{{"--size", "2.5x3"}, "--size wants whole pixels from 1 to 16384"},
                      TLimitCase{{"--size", "10"}, "--size wants WxH, not 10"},
                      TLimitCase{{"--start", "1,2"}, "--start wants X,Y,Z, not 1,2"},
                      TLimitCase{{"--start", "1,2,3,4"}, "--start wants X,Y,Z, not 1,2,3,4"},
                      TLimitCase{{"--start", "1,2,inf"}, "--start wants X,Y,Z, not 1,2,inf"},
                      TLimitCase{{"--max-elements", "1"}, ""},
                      TLimitCase{{"--max-elements", "0"}, "--max-elements wants a whole number of at least 1, not 0"},
                      TLimitCase{{"--w0", "1"}, "--w0 wants X,Y, not 1"},
                      TLimitCase{{"--spindle", "1,x"}, "--spindle wants X,Y, not 1,x"},
                      TLimitCase{{"--window", "0,1,0"}, ""},
                      TLimitCase{{"--window", "1,1,0"}, "--window wants XMAX above XMIN"},
                      TLimitCase{{"--window", "1,2"}, "--window wants XMIN,XMAX,YMIN, not 1,2"}));

// Whole-number options: both ends of the range are taken, one step beyond either is named.
TEST(CommandOptions, WholeNumberRangesAreTakenToTheirEnds) {
  const struct {
    const char* Option;
    int64_t Low, High;
    const char* Wants;
  } ranges[] = {
      {"--zoom", 1, 1000, "a whole number from 1 to 1000"},
      {"--grid", 1, 1000000, "whole millimetres from 1"},
      {"--hscroll", -10000, 10000, "a whole number from -10000 to 10000"},
      {"--vscroll", -10000, 10000, "a whole number from -10000 to 10000"},
  };
  for (const auto& r : ranges) {
    for (const int64_t inside : {r.Low, r.High})
      EXPECT_EQ(ErrorOf(kEverything, {"p.cnc", r.Option, std::to_string(inside)}), "") << r.Option << " " << inside;
    for (const int64_t outside : {r.Low - 1, r.High + 1}) {
      const std::string value = std::to_string(outside);
      EXPECT_EQ(ErrorOf(kEverything, {"p.cnc", r.Option, value}),
                std::string(r.Option) + " wants " + r.Wants + ", not " + value);
    }
  }
}

// The tool table has 255 tools, 0 to 254; a radius is from 0 to 1000000 mm.
TEST(CommandOptions, RadiusOutsideTheToolTableOrRangeIsNamed) {
  for (const char* bad : {"255=1", "-1=1", "1=1000000.5", "1=-0.001", "1.0=2", "1", "=1", "x=1"})
    EXPECT_EQ(ErrorOf(kEverything, {"p.cnc", "--radius", bad}), kRadiusError + std::string(bad)) << bad;
  for (const char* good : {"254=1", "0=0", "1=1000000"})
    EXPECT_EQ(ErrorOf(kEverything, {"p.cnc", "--radius", good}), "") << good;
}

TEST(CommandOptions, CommandLineShapes) {
  EXPECT_EQ(ErrorOf(kRun, {}), "no program given");
  EXPECT_EQ(ErrorOf(kRun, {"a", "b"}), "run takes one program");
  EXPECT_EQ(ErrorOf(TCommandSyntax{"check", kRunOnly, true}, {"a", "b"}), "");
  EXPECT_EQ(ErrorOf(TCommandSyntax{"render", kEveryOption, false, true}, {"a"}), "no output file given (-o OUT.png)");
  EXPECT_EQ(ErrorOf(kRun, {"a", "--radius"}), "--radius needs a value");
  // An option of another command is unknown here; "-" alone is a program name.
  EXPECT_EQ(ErrorOf(kRun, {"a", "--raw"}), "unknown option --raw");
  EXPECT_EQ(ErrorOf(kRun, {"a", "-o", "x"}), "unknown option -o");
  EXPECT_EQ(Parse(kRun, {"-"}).Programs, std::vector<std::string>{"-"});
}

}  // namespace
