// The simulated stock: a block and a height map of square cells over it, each cell holding
// the lowest Z a cutter's bottom surface reached over the cell's centre.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct TStockBox {
  double X0 = 0.0;
  double Y0 = 0.0;
  double X1 = 0.0;
  double Y1 = 0.0;
  double Top = 0.0;
  double Thickness = 0.0;
  double Bottom() const { return Top - Thickness; }
  friend bool operator==(const TStockBox&, const TStockBox&) = default;
};

// Cells of the map: the default keeps it at kDefaultCells at most, and no cell chosen by the
// user may make it larger than kMaxCells (four bytes a cell: 256 MB).
constexpr uint64_t kDefaultCells = 16ull << 20;
constexpr uint64_t kMaxCells = 64ull << 20;
// The finest default cell, in millimetres.
constexpr double kFinestDefaultCell = 0.02;

struct TGridPlan {
  double Cell = 0.0;
  int32_t Nx = 0;
  int32_t Ny = 0;
  std::string Error;  // why no map can be made; the plan is then empty
  uint64_t Cells() const { return uint64_t(Nx) * uint64_t(Ny); }
};

// The cells over `box`: of `cell` millimetres when given, else the default.
TGridPlan PlanGrid(const TStockBox& box, std::optional<double> cell = std::nullopt);

// Why `box` cannot be simulated, or empty when it can.
std::string StockBoxProblem(const TStockBox& box);

void* AllocateHugePages(size_t bytes);
void FreeHugePages(void* p, size_t bytes);

// Memory for large maps in huge pages where the system offers them: a map of millions of
// cells then takes a few dozen page faults instead of tens of thousands, and the sweeps
// jumping between rows miss the address cache far less.
template <typename T>
struct THugePageAllocator {
  using value_type = T;
  THugePageAllocator() = default;
  template <typename U>
  THugePageAllocator(const THugePageAllocator<U>&) {}  // NOLINT(google-explicit-constructor)
  T* allocate(size_t n) { return static_cast<T*>(AllocateHugePages(n * sizeof(T))); }
  void deallocate(T* p, size_t n) { FreeHugePages(p, n * sizeof(T)); }
  friend bool operator==(const THugePageAllocator&, const THugePageAllocator&) { return true; }
};
using THeights = std::vector<float, THugePageAllocator<float>>;

class THeightMap {
 public:
  THeightMap() = default;
  THeightMap(const TStockBox& box, const TGridPlan& plan);

  double X0 = 0.0;
  double Y0 = 0.0;
  double Cell = 0.0;
  int32_t Nx = 0;
  int32_t Ny = 0;
  double Top = 0.0;
  THeights Z;  // row by row from Y0 up, each row from X0 on

  double CentreX(int32_t i) const { return X0 + (i + 0.5) * Cell; }
  double CentreY(int32_t j) const { return Y0 + (j + 0.5) * Cell; }
  float At(int32_t i, int32_t j) const { return Z[size_t(j) * size_t(Nx) + size_t(i)]; }
  // The cell whose square holds the point, or none outside the map.
  std::optional<std::pair<int32_t, int32_t>> CellAt(double x, double y) const;
  double RemovedVolume() const;
  double MinZ() const;
};
