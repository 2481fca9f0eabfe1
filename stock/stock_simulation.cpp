#include "stock/stock_simulation.h"

#include <algorithm>
#include <cmath>
#include <thread>

#include "stock/sweep.h"

namespace {

// Rows of a band: small enough that both cores stay busy to the end, large enough that a
// move seldom spans many bands.
constexpr int32_t kBandRows = 64;
// A running band looks at the cancel flag every so many moves.
constexpr size_t kCancelCheckMoves = 1024;
constexpr size_t kPrefetchMoves = 8;

// Wide vector code run earlier on a thread (or on the thread it was started from, whose
// state a new thread inherits) may leave the upper halves of the vector registers dirty.
// Every scalar floating-point step then waits on them: the command line's sweep took twice
// as long as the same sweep in a clean process.
#if defined(__x86_64__) || defined(__i386__)
__attribute__((target("avx"))) void ClearUpperVectorsAvx() { __builtin_ia32_vzeroupper(); }
void ClearUpperVectors() {
  if (__builtin_cpu_supports("avx")) ClearUpperVectorsAvx();
}
#else
void ClearUpperVectors() {}
#endif

struct TBandEffect {
  uint32_t Move = 0;
  TSweepEffect Effect;
};

struct TBandPlan {
  int32_t Bands = 0;
  std::vector<std::vector<uint32_t>> Moves;  // per band, the moves that reach it, in order
};

TBandPlan BinMoves(const THeightMap& map, const std::vector<TStockMove>& moves, const TCutterTable& cutters) {
  TBandPlan plan;
  plan.Bands = (map.Ny + kBandRows - 1) / kBandRows;
  plan.Moves.resize(size_t(plan.Bands));
  for (size_t m = 0; m < moves.size(); ++m) {
    if (std::min(moves[m].From.Z, moves[m].To.Z) >= map.Top) continue;  // in the air
    const TRowRange rows = MoveRows(map, moves[m], cutters[moves[m].Tool].Radius, {0, map.Ny});
    if (rows.From >= rows.To) continue;
    for (int32_t band = rows.From / kBandRows; band <= (rows.To - 1) / kBandRows; ++band)
      plan.Moves[size_t(band)].push_back(static_cast<uint32_t>(m));
  }
  return plan;
}

bool Notable(const TStockMove& move, const TSweepEffect& e, double bottom) {
  return ((move.Rapid || !move.SpindleOn) && e.Removed >= kRemovalThreshold) || e.Lowest < bottom - kBottomTolerance;
}

void RunBand(THeightMap& map, int32_t band, const std::vector<uint32_t>& list, const std::vector<TStockMove>& moves,
             const TCutterTable& cutters, double bottom, const TSimulationControl& control,
             std::vector<TBandEffect>& out) {
  const TRowRange rows{band * kBandRows, std::min(map.Ny, (band + 1) * kBandRows)};
  if (list.empty()) return;
  TTileCeilings ceilings(map, rows);
  for (size_t k = 0; k < list.size(); ++k) {
    if (k % kCancelCheckMoves == kCancelCheckMoves - 1) {
      if (control.Done) control.Done->fetch_add(kCancelCheckMoves, std::memory_order_relaxed);
      if (control.Cancel && control.Cancel->load(std::memory_order_relaxed)) return;
    }
    // The band's moves lie far apart in the list: fetching ahead hides the wait for them.
    if (k + kPrefetchMoves < list.size()) {
      const char* ahead = reinterpret_cast<const char*>(&moves[list[k + kPrefetchMoves]]);
      __builtin_prefetch(ahead);
      __builtin_prefetch(ahead + sizeof(TStockMove) - 1);
    }
    const TStockMove& move = moves[list[k]];
    TSweepEffect effect;
    effect.Floor = bottom - kBottomTolerance;
    SweepMove(map, rows, move, cutters[move.Tool], effect, &ceilings);
    if (Notable(move, effect, bottom)) out.push_back({list[k], effect});
  }
  if (control.Done) control.Done->fetch_add(list.size() % kCancelCheckMoves, std::memory_order_relaxed);
}

// The effects of each move over all bands, one per move: the deepest removal and the
// lowest point, the first band winning a tie.
std::vector<TBandEffect> MergeByMove(std::vector<std::vector<TBandEffect>>& perBand) {
  std::vector<TBandEffect> all;
  for (auto& band : perBand) all.insert(all.end(), band.begin(), band.end());
  std::ranges::stable_sort(all, {}, &TBandEffect::Move);
  std::vector<TBandEffect> merged;
  for (const TBandEffect& e : all) {
    if (merged.empty() || merged.back().Move != e.Move) {
      merged.push_back(e);
      continue;
    }
    TSweepEffect& m = merged.back().Effect;
    if (e.Effect.Removed > m.Removed) {
      m.Removed = e.Effect.Removed;
      m.X = e.Effect.X;
      m.Y = e.Effect.Y;
      m.Z = e.Effect.Z;
    }
    if (e.Effect.Lowest < m.Lowest) {
      m.Lowest = e.Effect.Lowest;
      m.LowX = e.Effect.LowX;
      m.LowY = e.Effect.LowY;
    }
  }
  return merged;
}

void AddFinding(TStockResult& r, const TFinding& f) {
  ++r.FindingsTotal;
  if (r.Findings.size() < kMaxFindingsKept) r.Findings.push_back(f);
}

}  // namespace

std::string_view FindingKindName(TFindingKind kind) {
  switch (kind) {
    case TFindingKind::BelowStockBottom: return "below_stock_bottom";
    case TFindingKind::SpindleOff: return "spindle_off";
    case TFindingKind::RapidIntoStock: break;
  }
  return "rapid_into_stock";
}

TStockResult SimulateStock(const std::vector<TStockMove>& moves, const TStockBox& box, const TGridPlan& plan,
                           const TCutterTable& cutters, const TSimulationControl& control) {
  ClearUpperVectors();
  TStockResult r;
  r.Box = box;
  r.Map = THeightMap(box, plan);
  const TBandPlan bands = BinMoves(r.Map, moves, cutters);
  uint64_t total = 0;
  for (const auto& list : bands.Moves) total += list.size();
  if (control.Total) control.Total->store(total);

  std::vector<std::vector<TBandEffect>> effects(size_t(bands.Bands));
  std::atomic<int32_t> next{0};
  const auto worker = [&] {
    ClearUpperVectors();
    for (int32_t band; (band = next.fetch_add(1)) < bands.Bands;) {
      if (control.Cancel && control.Cancel->load(std::memory_order_relaxed)) return;
      RunBand(r.Map, band, bands.Moves[size_t(band)], moves, cutters, box.Bottom(), control, effects[size_t(band)]);
    }
  };
  const int threads = control.Threads > 0 ? control.Threads : int(std::max(1u, std::thread::hardware_concurrency()));
  std::vector<std::jthread> helpers;
  for (int t = 1; t < std::min(threads, bands.Bands); ++t) helpers.emplace_back(worker);
  worker();
  helpers.clear();
  if (control.Cancel && control.Cancel->load()) {
    r.Cancelled = true;
    return r;
  }

  for (const TBandEffect& e : MergeByMove(effects)) {
    const TStockMove& move = moves[e.Move];
    const TSweepEffect& s = e.Effect;
    const TFinding cut{TFindingKind::RapidIntoStock, move.Line, s.X, s.Y, s.Z, s.Removed};
    if (move.Rapid && s.Removed >= kRemovalThreshold) AddFinding(r, cut);
    if (s.Lowest < box.Bottom() - kBottomTolerance)
      AddFinding(r, {TFindingKind::BelowStockBottom, move.Line, s.LowX, s.LowY, s.Lowest, box.Bottom() - s.Lowest});
    if (!move.SpindleOn && s.Removed >= kRemovalThreshold) {
      TFinding off = cut;
      off.Kind = TFindingKind::SpindleOff;
      AddFinding(r, off);
    }
  }
  return r;
}

TStockBox DefaultStockBox(const std::vector<TStockMove>& moves, const TCutterTable& cutters) {
  bool any = false;
  TMoveBounds all;
  double radius = 0.0;
  for (const TStockMove& m : moves) {
    if (m.Rapid) continue;
    const TMoveBounds b = BoundsOf(m);
    all = any ? TMoveBounds{std::min(all.XMin, b.XMin), std::max(all.XMax, b.XMax), std::min(all.YMin, b.YMin),
                            std::max(all.YMax, b.YMax), std::min(all.ZMin, b.ZMin)}
              : b;
    any = true;
    radius = std::max(radius, cutters[m.Tool].Radius);
  }
  if (!any) return {};
  const double grow = radius + kStockMargin;
  const double depth = std::max(0.0, -all.ZMin);
  return {all.XMin - grow, all.YMin - grow, all.XMax + grow, all.YMax + grow, 0.0, depth + kStockFloorMargin};
}
