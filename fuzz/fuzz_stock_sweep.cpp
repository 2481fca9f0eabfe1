// Random moves (lines, plunges, arcs and helices) of random cutters swept into a small height
// map one at a time: no move raises a cell, no cell changes outside the boxes the cutters
// passed over, and no cell lies below the lowest tip that passed over it. The banded run on
// two threads gives the same map as the moves swept in order.
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "fuzz/fuzz_input.h"
#include "stock/stock_simulation.h"
#include "stock/sweep.h"

namespace {

// Coordinates on a grid of 1/64 mm around a map of 12 x 10 mm, some beyond it.
double Coordinate(TFuzzBytes& in) { return in.Int16() / 2048.0; }

TCutterShape Shape(TFuzzBytes& in) {
  const uint8_t b = in.Byte();
  if (b % 3 == 0) return {TCutterKind::Flat};
  if (b % 3 == 1) return {TCutterKind::Ball};
  return {TCutterKind::VBit, 10.0 + double(b % 160)};
}

// Slack for the float cells and the rounding of the closed forms.
constexpr double kSlack = 1e-4;

struct TBox {
  double XMin, XMax, YMin, YMax, ZMin;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TFuzzBytes in(data, size);
  const TStockBox box{-6, -5, 6, 5, 0, 3};
  const TGridPlan plan = PlanGrid(box, 0.1 + in.Byte() / 255.0 * 0.4);
  TCutterTable cutters{};
  for (int t = 0; t < 4; ++t) cutters[t] = MakeCutter(Shape(in), in.Byte() / 64.0);

  std::vector<TStockMove> moves;
  TPoint at{Coordinate(in), Coordinate(in), Coordinate(in)};
  while (!in.Done() && moves.size() < 48) {
    TStockMove m;
    m.From = at;
    m.To = {Coordinate(in), Coordinate(in), Coordinate(in)};
    const uint8_t kind = in.Byte();
    m.Tool = kind & 3;
    m.Rapid = kind & 4;
    m.SpindleOn = kind & 8;
    if (kind & 16) m.To = {at.X, at.Y, m.To.Z};  // a plunge
    if (kind & 32) {
      m.Shape = kind & 64 ? TMoveShape::Cw : TMoveShape::Ccw;
      m.CentreX = Coordinate(in);
      m.CentreY = Coordinate(in);
    }
    moves.push_back(m);
    at = m.To;
  }

  THeightMap map(box, plan);
  std::vector<TBox> passed;
  for (const TStockMove& m : moves) {
    const THeights before = map.Z;
    TSweepEffect effect;
    SweepMove(map, {0, map.Ny}, m, cutters[m.Tool], effect);
    for (size_t k = 0; k < map.Z.size(); ++k)
      if (map.Z[k] > before[k]) __builtin_trap();
    const TMoveBounds b = BoundsOf(m);
    const double r = cutters[m.Tool].Radius + kSlack;
    passed.push_back({b.XMin - r, b.XMax + r, b.YMin - r, b.YMax + r, b.ZMin});
  }
  for (int32_t j = 0; j < map.Ny; ++j)
    for (int32_t i = 0; i < map.Nx; ++i) {
      const double x = map.CentreX(i), y = map.CentreY(j);
      double lowestTip = box.Top;
      for (const TBox& b : passed)
        if (x >= b.XMin && x <= b.XMax && y >= b.YMin && y <= b.YMax) lowestTip = std::min(lowestTip, b.ZMin);
      if (map.At(i, j) < lowestTip - kSlack) __builtin_trap();
    }

  const TStockResult banded = SimulateStock(moves, box, plan, cutters, {nullptr, nullptr, nullptr, 2});
  if (banded.Map.Z != map.Z) __builtin_trap();
  return 0;
}
