#include "stock/engine_moves.h"

#include "engine/run_elements.h"

namespace {

// The spindle switches of the milling path: M03 and M04 start it, M05 stops it.
constexpr int kSpindleClockwise = 3;
constexpr int kSpindleCounterClockwise = 4;
constexpr int kSpindleStop = 5;
constexpr int kRapid = 0;
constexpr int kClockwise = 2;
constexpr int kCounterClockwise = 3;

}  // namespace

int32_t ProgramLineOf(int32_t handle, int32_t index, const TCncElementData& element) {
  const int32_t fileLine = CncGetElementFileLine(handle, index, CNC_MODE_PATH);
  return fileLine > 0 ? fileLine : element.Line;
}

std::vector<TStockMove> ReadStockMoves(int32_t handle, const TCncPoint& start) {
  std::vector<TStockMove> moves;
  TPoint at{start.X, start.Y, start.Z};
  uint8_t tool = 0;
  bool spindle = false;
  bool approach = true;
  for (const TRunElement& e : TRunElements(handle, CNC_MODE_PATH)) {
    if (!e.Read) continue;
    const TCncElementData& d = e.Data;
    if (e.Code.Letter == 'T') {
      if (d.ToolNo >= 0 && d.ToolNo < kToolCount) tool = static_cast<uint8_t>(d.ToolNo);
      continue;
    }
    if (e.Code.Letter == 'M') {
      if (e.Code.Number == kSpindleClockwise || e.Code.Number == kSpindleCounterClockwise) spindle = true;
      if (e.Code.Number == kSpindleStop) spindle = false;
      continue;
    }
    if (!e.Code.IsMove()) continue;
    TStockMove m;
    m.From = at;
    m.To = TPoint{d.P1.X, d.P1.Y, d.P1.Z};
    m.Rapid = e.Code.Number == kRapid;
    if (e.Code.Number == kClockwise || e.Code.Number == kCounterClockwise) {
      m.Shape = e.Code.Number == kClockwise ? TMoveShape::Cw : TMoveShape::Ccw;
      m.CentreX = at.X + d.P2.X;
      m.CentreY = at.Y + d.P2.Y;
    }
    m.SpindleOn = spindle;
    m.Tool = tool;
    m.Line = ProgramLineOf(handle, e.Index, d);
    if (!approach) moves.push_back(m);
    approach = false;
    at = m.To;
  }
  return moves;
}

std::array<double, kToolCount> RadiiInMillimetres(const std::array<int32_t, kToolCount>& microns) {
  std::array<double, kToolCount> mm{};
  for (int t = 0; t < kToolCount; ++t) mm[t] = microns[t] / 1000.0;
  return mm;
}
