#include "bench/program_generator.h"

#include <algorithm>
#include <cstdio>
#include <random>
#include <vector>

namespace {

// Micrometres to the shortest mm text ("5.5", "-2", "0.125").
std::string Mm(int64_t um) {
  char buf[32];
  const bool neg = um < 0;
  const int64_t a = neg ? -um : um;
  int n = std::snprintf(buf, sizeof buf, "%s%lld", neg ? "-" : "", static_cast<long long>(a / 1000));
  int64_t frac = a % 1000;
  if (frac) {
    int digits = 3;
    while (frac % 10 == 0) {
      frac /= 10;
      --digits;
    }
    std::snprintf(buf + n, sizeof buf - static_cast<size_t>(n), ".%0*lld", digits, static_cast<long long>(frac));
  }
  return buf;
}

struct TGenerator {
  std::mt19937_64 Rng;
  std::string Out;
  size_t Lines = 0;
  int64_t X = 0, Y = 0;
  int N = 0;

  explicit TGenerator(uint64_t seed) : Rng(seed) {}
  int64_t Uniform(int64_t lo, int64_t hi) { return std::uniform_int_distribution<int64_t>(lo, hi)(Rng); }
  bool Chance(double p) { return std::uniform_real_distribution<double>(0, 1)(Rng) < p; }

  void Emit(const std::string& words) {
    if (Chance(0.3)) {
      N += 10;
      Out += "N" + std::to_string(N) + " ";
    }
    Out += words;
    Out += '\n';
    ++Lines;
  }
  void Step(int64_t maxStep) {
    X = std::clamp<int64_t>(X + Uniform(-maxStep, maxStep) / 5 * 5, 0, 300000);
    Y = std::clamp<int64_t>(Y + Uniform(-maxStep, maxStep) / 5 * 5, 0, 200000);
  }
  void Arc() {
    // 3-4-5 lattice: start and end both lie exactly on the circle.
    static const int64_t pts[][2] = {{5, 0}, {0, 5}, {-5, 0}, {0, -5}, {3, 4}, {4, 3}, {-3, 4}, {-4, -3}};
    const int64_t s = 1000 * Uniform(1, 4);
    const auto& u = pts[Uniform(0, 7)];
    const auto& v = pts[Uniform(0, 7)];
    if (&u == &v) return Linear();
    const int64_t cx = X - u[0] * s, cy = Y - u[1] * s;
    X = cx + v[0] * s;
    Y = cy + v[1] * s;
    Emit(std::string(Chance(0.5) ? "G02" : "G03") + " X" + Mm(X) + " Y" + Mm(Y) + " I" + Mm(-u[0] * s) + " J" +
         Mm(-u[1] * s));
  }
  void Linear() {
    Step(15000);
    std::string w = "G01 X" + Mm(X) + " Y" + Mm(Y);
    if (Chance(0.15)) w += " Z" + Mm(-Uniform(0, 24) * 125);
    if (Chance(0.25)) w += " F" + std::to_string(Uniform(2, 40) * 50);
    Emit(w);
  }
  void Rapid() {
    if (Chance(0.3)) return Emit("G00 Z5");
    Step(60000);
    Emit("G00 X" + Mm(X) + " Y" + Mm(Y));
  }
  void Misc() {
    const double r = std::uniform_real_distribution<double>(0, 1)(Rng);
    if (r < 0.35) {
      Out += "; pass " + std::to_string(Uniform(1, 20)) + "\n";
      ++Lines;
    } else if (r < 0.55) Emit("F" + std::to_string(Uniform(2, 40) * 50));
    else if (r < 0.7) Emit("S" + std::to_string(Uniform(8, 24) * 1000));
    else if (r < 0.85) Emit(Chance(0.5) ? "M03" : "M05");
    else Emit("T" + std::to_string(Uniform(1, 8)) + " ; tool change");
  }
  // A rectangle cut outside, clockwise under G41: 9 lines.
  void Contour() {
    const int64_t w = Uniform(4, 40) * 1000, h = Uniform(4, 40) * 1000;
    const int64_t x0 = std::min<int64_t>(X, 300000 - w), y0 = std::min<int64_t>(Y, 200000 - h);
    Emit("G00 X" + Mm(x0 - 5000) + " Y" + Mm(y0));
    Emit("G01 Z-1 F300");
    Emit("G41");
    Emit("G01 X" + Mm(x0) + " Y" + Mm(y0));
    Emit("G01 X" + Mm(x0) + " Y" + Mm(y0 + h));
    Emit("G01 X" + Mm(x0 + w) + " Y" + Mm(y0 + h));
    Emit("G01 X" + Mm(x0 + w) + " Y" + Mm(y0));
    Emit("G01 X" + Mm(x0) + " Y" + Mm(y0));
    Emit("G40");
    Emit("G00 Z5");
    X = x0;
    Y = y0;
  }
};

}  // namespace

std::string GenerateProgram(size_t lines, uint64_t seed, bool compensation) {
  TGenerator g(seed);
  g.Out.reserve(lines * 26);
  g.Emit("G21 ; metric");
  g.Emit("G90");
  g.Emit("T1");
  g.Emit("S12000");
  g.Emit("M03");
  while (g.Lines + 12 < lines) {
    const double r = std::uniform_real_distribution<double>(0, 1)(g.Rng);
    if (compensation && r < 0.01) g.Contour();
    else if (r < 0.15) g.Rapid();
    else if (r < 0.55) g.Linear();
    else if (r < 0.85) g.Arc();
    else g.Misc();
  }
  while (g.Lines + 2 < lines) g.Emit("G00 Z5");
  g.Emit("M05");
  g.Emit("M30");
  return g.Out;
}
