// Sweeping a cutter along a move into the rows of a height map. Each cell centre is tested
// against the exact swept shape: for a straight move the lowest point of the cutter over the
// centre has a closed form (the cutter's rise is convex in the distance along the move), so
// the result does not depend on how the grid falls against the path. Arcs and helices go as
// chords within a quarter cell of the true path.
#pragma once

#include <cstdint>
#include <limits>
#include <utility>
#include <vector>

#include "stock/cutter.h"
#include "stock/height_map.h"
#include "stock/stock_moves.h"

// Rows (or columns) [From, To) of the map.
struct TRowRange {
  int32_t From = 0;
  int32_t To = 0;
};

// What one move did to the cells it passed over.
struct TSweepEffect {
  double Removed = 0.0;  // the most any cell was lowered
  double X = 0.0;        // where, and the new height there
  double Y = 0.0;
  double Z = 0.0;
  // The lowest the cutter came over a cell. Cells the cutter cannot lower are passed over
  // unseen unless it may come below Floor there, so Lowest is exact only below Floor.
  double Lowest = std::numeric_limits<double>::infinity();
  double LowX = 0.0;
  double LowY = 0.0;
  double Floor = -std::numeric_limits<double>::infinity();
};

// Upper bounds of the heights in tiles of cells over a band of rows, and in blocks of tiles
// as tall as the band. A move whose lowest tip is no lower than a tile's bound cannot change
// the tile, so it passes it without reading its cells: most of a long program's moves run
// over ground already cut deeper.
class TTileCeilings {
 public:
  static constexpr int32_t kRows = 8;
  static constexpr int32_t kCols = 8;
  static constexpr int32_t kBlockTiles = 8;  // tile columns of a block

  TTileCeilings(const THeightMap& map, TRowRange rows);

  int32_t FirstRow() const { return Rows_.From; }
  int32_t TileCols() const { return Cols_; }
  float& At(int32_t tileRow, int32_t tileCol) { return Ceiling_[size_t(tileRow) * size_t(Cols_) + size_t(tileCol)]; }
  // The columns of the cells whose squares reach into [xLo, xHi].
  TRowRange Columns(double xLo, double xHi) const;
  // Whether a block over cells `columns` has a bound above `height`.
  bool AnyBlockAbove(double height, TRowRange columns) const;
  // Sets the tile's bound to the highest of its cells.
  void Refresh(const THeightMap& map, int32_t tileRow, int32_t tileCol);
  // Sets the block's bound to the highest of its tiles' bounds.
  void RefreshBlock(int32_t block);
  // Scratch for a sweep: which tiles of a tile row it must look into.
  std::vector<uint8_t>& Needed() { return Needed_; }

 private:
  TRowRange Rows_;
  int32_t Cols_ = 0;
  int32_t TileRows_ = 0;
  int32_t Nx_ = 0;
  double X0_ = 0.0;
  double PerMillimetre_ = 0.0;  // cells
  std::vector<float> Ceiling_;
  std::vector<float> Block_;
  std::vector<uint8_t> Needed_;
};

// Rows the cutter of `radius` may reach along `move`, within `rows`.
TRowRange MoveRows(const THeightMap& map, const TStockMove& move, double radius, TRowRange rows);

// Sweeps into rows `rows` of the map; with `ceilings` over those rows, tiles the move cannot
// lower are passed unread and the ceilings are kept up to date.
void SweepSegment(THeightMap& map, TRowRange rows, const TPoint& a, const TPoint& b, const TCutter& cutter,
                  TSweepEffect& effect, TTileCeilings* ceilings = nullptr);
void SweepMove(THeightMap& map, TRowRange rows, const TStockMove& move, const TCutter& cutter, TSweepEffect& effect,
               TTileCeilings* ceilings = nullptr);
