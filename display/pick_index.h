// Finds the drawn move nearest to a point of the view: a uniform grid over the moves' boxes in
// real coordinates, built once per run, so a click looks at a few cells instead of every move.
#pragma once

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "base/records.h"

enum class TPickList : uint8_t { Contour, Path };
enum class TPickShape : uint8_t { Line, ArcCW, ArcCCW };

// One drawn move in view coordinates (W0 added), with what names it to the user.
struct TPickElement {
  TPoint Start;
  TPoint End;
  TPoint Centre;         // arcs only
  int32_t Element = 0;   // index in its list
  int32_t Line = 0;      // N number of the program line, 0 without one
  int32_t FileLine = 0;  // line of the program file, counted from 1; 0 when unknown
  char Code[4] = {};     // "G01"
  TPickShape Shape = TPickShape::Line;
  TPickList List = TPickList::Contour;
};

struct TPickHit {
  size_t Index = 0;  // into the pick index
  double Distance = 0.0;
};

double DistanceToSegment(double x, double y, const TPoint& a, const TPoint& b);
// Distance to the arc's curve over its angular range only (start == end: a full circle).
double DistanceToArc(double x, double y, const TPickElement& arc);
double DistanceToElement(double x, double y, const TPickElement& e);
double ArcRadius(const TPickElement& arc);

struct TArcRange {
  double Start = 0.0;  // angle of the start point
  double Sweep = 0.0;  // 0..2 pi, in the arc's own direction
};
TArcRange ArcRangeOf(const TPickElement& arc);
double ArcDirection(const TPickElement& arc);  // +1 counter-clockwise, -1 clockwise

class TPickIndex {
 public:
  void Clear();
  void Add(const TPickElement& e) {
    Elements.push_back(e);
    Built = false;
  }
  // The grid over the elements. Nearest builds it when elements were added since: a
  // program is opened far more often than a move is picked in it.
  void Build();
  // The nearest element within `within` (real units) of (x, y); none when nothing is that close.
  std::optional<TPickHit> Nearest(double x, double y, double within);
  size_t Count() const { return Elements.size(); }
  size_t LargeCount() const { return Large.size(); }
  size_t CellCount() const { return static_cast<size_t>(Columns) * Rows; }
  size_t ItemCount() const { return CellItems.size(); }
  const TPickElement& operator[](size_t i) const { return Elements[i]; }

 private:
  struct TBox {
    double X1, Y1, X2, Y2;
  };
  static TBox BoxOf(const TPickElement& e);
  // The same rounding when entering and when looking up, so the two always agree; clamped
  // before the conversion, which truncates, so far-off points stay defined.
  static int CellOf(double v, int count) { return static_cast<int>(std::clamp(v, 0.0, count - 1.0)); }
  int CellX(double x) const { return CellOf((x - MinX) * Inverse, Columns); }
  int CellY(double y) const { return CellOf((y - MinY) * Inverse, Rows); }

  std::vector<TPickElement> Elements;
  bool Built = false;
  double MinX = 0, MinY = 0, Cell = 1, Inverse = 1;
  int Columns = 0, Rows = 0;
  std::vector<uint32_t> CellStart;  // Columns * Rows + 1 offsets into CellItems
  std::vector<uint32_t> CellItems;
  std::vector<uint32_t> Large;  // elements spanning too many cells, checked on every query
};

// How a program line is named to the user: "Line 30 (N220)", "Line 30" without an N number,
// "N220" when the file line is not known.
std::string LineName(int32_t fileLine, int32_t block);

// "Line 30 (N220): G01 to X… Y… Z…" in program coordinates (view minus W0); arcs add centre
// and radius.
std::string PickText(const TPickElement& e, double w0x, double w0y);
