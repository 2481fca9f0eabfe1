// Sweeping a cutter along a move into the rows of a height map. Each cell centre is tested
// against the exact swept shape: for a straight move the lowest point of the cutter over the
// centre has a closed form (the cutter's rise is convex in the distance along the move), so
// the result does not depend on how the grid falls against the path. Arcs and helices go as
// chords within a quarter cell of the true path.
#pragma once

#include <cstdint>
#include <limits>

#include "stock/cutter.h"
#include "stock/height_map.h"
#include "stock/stock_moves.h"

// Rows [From, To) of the map that a sweep may change.
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

// Rows the cutter of `radius` may reach along `move`, within `rows`.
TRowRange MoveRows(const THeightMap& map, const TStockMove& move, double radius, TRowRange rows);

void SweepSegment(THeightMap& map, TRowRange rows, const TPoint& a, const TPoint& b, const TCutter& cutter,
                  TSweepEffect& effect);
void SweepMove(THeightMap& map, TRowRange rows, const TStockMove& move, const TCutter& cutter, TSweepEffect& effect);
