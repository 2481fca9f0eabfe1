// Reading and writing the settings file with its 1275 tool keys.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/ini_profile.h"
#include "platform/viewer_settings.h"

namespace {

std::string BenchFolder() {
  std::string pattern = (std::filesystem::temp_directory_path() / "velquor-bench-XXXXXX").string();
  if (::mkdtemp(pattern.data()) == nullptr) std::abort();
  return pattern;
}

TCncType SampleSettings() {
  TCncType s;
  for (int n = 0; n < kToolCount; ++n) {
    s.Tools[n].Name = "Tool " + std::to_string(n);
    s.Tools[n].Diameter = 0.1 * n + 0.05;
    s.Tools[n].Height = 30.0 - n / 7.0;
  }
  return s;
}

void BM_ReadSettings(benchmark::State& state) {
  const std::string dir = BenchFolder();
  const std::string path = dir + "/velquor.INI";
  WriteSettings(path, SampleSettings());
  TCncType s;
  for (auto _ : state) {
    ReadSettings(path, s);
    benchmark::DoNotOptimize(s.Tools[254].Feed);
  }
  std::filesystem::remove_all(dir);
}
BENCHMARK(BM_ReadSettings)->Unit(benchmark::kMicrosecond);

// Load, 1278 key writes, save through a temporary file (with fsync) and rename.
void BM_WriteSettings(benchmark::State& state) {
  const std::string dir = BenchFolder();
  const std::string path = dir + "/velquor.INI";
  TCncType s = SampleSettings();
  WriteSettings(path, s);
  int i = 0;
  for (auto _ : state) {
    s.Tools[i % kToolCount].Feed = i;  // a real change each time
    ++i;
    benchmark::DoNotOptimize(WriteSettings(path, s).Ok);
  }
  std::filesystem::remove_all(dir);
}
BENCHMARK(BM_WriteSettings)->Unit(benchmark::kMicrosecond);

// The in-memory part alone: 1275 tool keys written into a document that lacks them.
void BM_IniWriteToolKeysInMemory(benchmark::State& state) {
  for (auto _ : state) {
    TIniFile ini;
    ini.Parse("[Vorschub]\nBoostFeed=100\n\n[Tools]\n");
    for (int n = 0; n < kToolCount; ++n) {
      ini.WriteString("Tools", ToolKey(n, "Name"), "not specified");
      ini.WriteFloat("Tools", ToolKey(n, "Diameter"), 80.0);
      ini.WriteFloat("Tools", ToolKey(n, "Height"), 20.0);
      ini.WriteInteger("Tools", ToolKey(n, "Speed"), 10000);
      ini.WriteInteger("Tools", ToolKey(n, "Feed"), 2000);
    }
    benchmark::DoNotOptimize(ini.Text().size());
  }
}
BENCHMARK(BM_IniWriteToolKeysInMemory)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
