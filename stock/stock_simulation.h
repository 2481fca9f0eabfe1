// The whole simulation: every move swept into the height map, and the findings of moves
// that harm the machine or the part. The lowest Z does not depend on the order of the moves,
// so the map is cut into bands of rows and the bands run on every core; within a band the
// moves run in program order, so each one meets the stock as it was when it ran there.
#pragma once

#include <atomic>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "stock/cutter.h"
#include "stock/height_map.h"
#include "stock/stock_moves.h"

enum class TFindingKind : uint8_t { RapidIntoStock, BelowStockBottom, SpindleOff };

// "rapid_into_stock", "below_stock_bottom", "spindle_off".
std::string_view FindingKindName(TFindingKind kind);

// A move removes material when it lowers a cell by at least this much.
constexpr double kRemovalThreshold = 0.001;
// A cut counts as below the bottom when deeper than this under it.
constexpr double kBottomTolerance = 1e-6;
// Findings kept in full; beyond them only counted.
constexpr size_t kMaxFindingsKept = 1000;

struct TFinding {
  TFindingKind Kind = TFindingKind::RapidIntoStock;
  int32_t Line = 0;
  double X = 0.0;
  double Y = 0.0;
  double Z = 0.0;
  double Depth = 0.0;  // into the stock as it was, or below its bottom
};

// How a caller follows and stops a running simulation; all optional.
struct TSimulationControl {
  const std::atomic<bool>* Cancel = nullptr;
  std::atomic<uint64_t>* Done = nullptr;   // band moves swept so far
  std::atomic<uint64_t>* Total = nullptr;  // band moves to sweep, set before the first
  int Threads = 0;                         // 0: every core
};

struct TStockResult {
  THeightMap Map;
  TStockBox Box;
  std::vector<TFinding> Findings;  // in program order, the first kMaxFindingsKept
  uint64_t FindingsTotal = 0;
  bool Cancelled = false;
};

TStockResult SimulateStock(const std::vector<TStockMove>& moves, const TStockBox& box, const TGridPlan& plan,
                           const TCutterTable& cutters, const TSimulationControl& control = {});

// The default block: the plane box of the feed moves grown by the largest radius they use
// plus kStockMargin, its top at Z = 0 and as thick as the deepest feed move plus kStockMargin.
constexpr double kStockMargin = 2.0;
constexpr double kStockFloorMargin = 1.0;
TStockBox DefaultStockBox(const std::vector<TStockMove>& moves, const TCutterTable& cutters);
