// Programs of random words from the whole dialect, cycles, engraving and compensation
// included, with extreme and degenerate values: every run ends, with a known result.
#include <gtest/gtest.h>

#include <cstdint>
#include <memory>
#include <random>
#include <string>

#include "engine/instance_run.h"
#include "tests/engine/engine_test_util.h"

namespace {

std::string RandomProgram(std::mt19937_64& rng, int lines) {
  static const char* kCommands[] = {"G00", "G01", "G02", "G03", "G40", "G41", "G42",  "G79",  "G81",  "G86",
                                    "G87", "G88", "G89", "G66", "G67", "G68", "G69",  "G90",  "G91",  "G20",
                                    "G21", "M03", "G54", "T1",  "T2",  "T0",  "T255", "F100", "S1000"};
  static const char* kLetters = "XYZIJLBRQUVWEHPACDO";
  static const char* kValues[] = {"0",    "1",   "-1", "0.5", "2", "10",    "-10", "100", "0.001", "1e6",
                                  "-1e6", "3.5", "90", "360", "7", "1e300", "x",   "",    "65536", "-0"};
  auto pick = [&rng](int n) { return static_cast<int>(rng() % static_cast<uint64_t>(n)); };
  std::string program;
  for (int i = 0; i < lines; ++i) {
    const int words = 1 + pick(6);
    for (int w = 0; w < words; ++w) {
      if (pick(3) == 0) {
        program += kCommands[pick(sizeof kCommands / sizeof *kCommands)];
      } else if (pick(12) == 0) {
        program += "@\"Velquor 2026\"";
      } else {
        program += kLetters[pick(19)];
        program += kValues[pick(sizeof kValues / sizeof *kValues)];
      }
      program += ' ';
    }
    program += '\n';
  }
  return program;
}

TEST(RandomPrograms, EveryRunEndsWithAKnownResult) {
  std::mt19937_64 rng(2026);
  for (int round = 0; round < 300; ++round) {
    const std::string program = RandomProgram(rng, 30);
    auto inst = std::make_unique<TCncInstance>(1, "", VELQUOR_FONT_DIR);
    inst->ToolRadius[1] = 1.5;
    inst->ToolRadius[2] = 0.0;
    inst->Lines.Assign(program);
    const int32_t run = RunInstance(*inst, TPoint{});
    EXPECT_TRUE(run == 0 || run == -5 || (run >= 10 && run <= 18)) << run << "\n" << program;
    EXPECT_LT(inst->ContourList.size() + inst->RawPathList.size(), 10'000'000u) << program;
  }
}

}  // namespace
