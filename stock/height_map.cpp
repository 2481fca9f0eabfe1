#include "stock/height_map.h"

#include <sys/mman.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>
#include <new>

#include "base/convert.h"

namespace {

// Cells along one side: a part cell counts whole. A hair below a whole number is that
// number, so that 10 mm in cells of 0.1 mm are 100 cells, not 101.
int64_t CellsAlong(double length, double cell) {
  constexpr double kWholeSlack = 1e-9;
  return std::max<int64_t>(1, static_cast<int64_t>(std::ceil(length / cell - kWholeSlack)));
}

// Below this a map takes ordinary memory.
constexpr size_t kHugePageBytes = size_t(2) << 20;

}  // namespace

void* AllocateHugePages(size_t bytes) {
  if (bytes < kHugePageBytes) return ::operator new(bytes);
  void* p = std::aligned_alloc(kHugePageBytes, (bytes + kHugePageBytes - 1) / kHugePageBytes * kHugePageBytes);
  if (!p) throw std::bad_alloc();
  ::madvise(p, bytes, MADV_HUGEPAGE);
  return p;
}

void FreeHugePages(void* p, size_t bytes) {
  if (bytes < kHugePageBytes) ::operator delete(p);
  else std::free(p);
}

std::string StockBoxProblem(const TStockBox& box) {
  const double values[] = {box.X0, box.Y0, box.X1, box.Y1, box.Top, box.Thickness};
  if (!std::ranges::all_of(values, [](double v) { return std::isfinite(v); }))
    return "the stock has a size that is not a number";
  if (!(box.X1 > box.X0) || !(box.Y1 > box.Y0)) return "the stock needs X1 above X0 and Y1 above Y0";
  if (!(box.Thickness > 0)) return "the stock needs a thickness above 0";
  return "";
}

TGridPlan PlanGrid(const TStockBox& box, std::optional<double> cell) {
  TGridPlan plan;
  if (const std::string problem = StockBoxProblem(box); !problem.empty()) {
    plan.Error = problem;
    return plan;
  }
  const double width = box.X1 - box.X0, height = box.Y1 - box.Y0;
  if (cell && !(*cell > 0 && std::isfinite(*cell))) {
    plan.Error = "the cell must be a size above 0 mm";
    return plan;
  }
  double size = cell.value_or(std::max(kFinestDefaultCell, std::sqrt(width * height / double(kDefaultCells))));
  // The default may land a hair over its budget where the sides round up: widen it until not.
  while (!cell && double(CellsAlong(width, size)) * double(CellsAlong(height, size)) > double(kDefaultCells))
    size *= 1.001;
  const double nx = double(CellsAlong(width, size)), ny = double(CellsAlong(height, size));
  if (nx * ny > double(kMaxCells)) {
    const double finest = std::sqrt(width * height / double(kMaxCells));
    plan.Error = "a cell of " + ShortestFloat(size) + " mm makes " + ShortestFloat(nx * ny) + " cells, more than the " +
                 std::to_string(kMaxCells) + " allowed; choose " + FloatToText(finest * 1.0001 + 0.00005, 0, 4) +
                 " mm or more";
    return plan;
  }
  plan.Cell = size;
  plan.Nx = static_cast<int32_t>(nx);
  plan.Ny = static_cast<int32_t>(ny);
  return plan;
}

THeightMap::THeightMap(const TStockBox& box, const TGridPlan& plan)
    : X0(box.X0),
      Y0(box.Y0),
      Cell(plan.Cell),
      Nx(plan.Nx),
      Ny(plan.Ny),
      Top(box.Top),
      Z(plan.Cells(), static_cast<float>(box.Top)) {}

std::optional<std::pair<int32_t, int32_t>> THeightMap::CellAt(double x, double y) const {
  const double fi = std::floor((x - X0) / Cell), fj = std::floor((y - Y0) / Cell);
  if (!(fi >= 0 && fi < Nx && fj >= 0 && fj < Ny)) return std::nullopt;
  return std::pair<int32_t, int32_t>{static_cast<int32_t>(fi), static_cast<int32_t>(fj)};
}

double THeightMap::RemovedVolume() const {
  double depth = 0.0;
  for (const float z : Z) depth += Top - double(z);
  return depth * Cell * Cell;
}

double THeightMap::MinZ() const {
  float lowest = std::numeric_limits<float>::infinity();
  for (const float z : Z) lowest = z < lowest ? z : lowest;
  return Z.empty() ? Top : double(lowest);
}
