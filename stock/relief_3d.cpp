#include "stock/relief_3d.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <thread>

#include "stock/relief_colours.h"

namespace {

constexpr double kDegree = std::numbers::pi / 180.0;
// The start view leaves this share of the picture free around the block.
constexpr double kFrameMargin = 0.08;
// Samples along a column at most this many pixels apart, so that no step of the surface
// is missed or drawn a pixel off.
constexpr double kSampleSpacing = 0.5;
// Colours of a merged level are kept when it has at most this many cells; a finer level is
// coloured as it is drawn, so that a fine map is not held twice.
constexpr uint64_t kMostColouredCells = 4ull << 20;
// Pictures with at least this many pixels are drawn on two threads, half the columns each.
constexpr int kPixelsForTwoThreads = 200'000;

double Dot(const TWorldPoint& a, const TWorldPoint& b) { return a.X * b.X + a.Y * b.Y + a.Z * b.Z; }

double WrappedAzimuth(double degrees) {
  const double a = std::fmod(degrees, 360.0);
  return a < 0 ? a + 360.0 : a;
}

// The eight corners of the block.
std::vector<TWorldPoint> BlockCorners(const THeightMap& map, double bottom) {
  const double x1 = map.X0 + map.Nx * map.Cell, y1 = map.Y0 + map.Ny * map.Cell;
  std::vector<TWorldPoint> corners;
  for (double x : {map.X0, x1})
    for (double y : {map.Y0, y1})
      for (double z : {bottom, map.Top}) corners.push_back({x, y, z});
  return corners;
}

// Where the line base + t * dir runs inside the rectangle, and the outward normal of the
// side it enters by.
struct TClip {
  double TMin = -std::numeric_limits<double>::infinity();
  double TMax = std::numeric_limits<double>::infinity();
  double NormalX = 0.0, NormalY = 0.0;
  bool Empty() const { return !(TMin < TMax); }
};

TClip ClipToRectangle(double bx, double by, double dx, double dy, double x0, double y0, double x1, double y1) {
  TClip c;
  const auto side = [&](double base, double dir, double lo, double hi, double nx, double ny) {
    if (std::fabs(dir) < 1e-15) {
      if (base < lo || base > hi) c.TMax = -c.TMax;  // never inside
      return;
    }
    double ta = (lo - base) / dir, tb = (hi - base) / dir;
    double enterSign = -1;  // entering by the low side
    if (ta > tb) {
      std::swap(ta, tb);
      enterSign = 1;
    }
    if (ta > c.TMin) {
      c.TMin = ta;
      c.NormalX = nx * enterSign;
      c.NormalY = ny * enterSign;
    }
    c.TMax = std::min(c.TMax, tb);
  };
  side(bx, dx, x0, x1, 1, 0);
  side(by, dy, y0, y1, 0, 1);
  return c;
}

}  // namespace

TViewAxes AxesOf(const TOrbitView& view) {
  const double az = WrappedAzimuth(view.Azimuth) * kDegree;
  const double el = std::clamp(view.Elevation, kLowestElevation, kHighestElevation) * kDegree;
  TViewAxes a;
  a.SinElevation = std::sin(el);
  a.CosElevation = view.Elevation >= kHighestElevation ? 0.0 : std::cos(el);
  a.Right = {std::cos(az), std::sin(az), 0};
  a.Forward = {-std::sin(az), std::cos(az), 0};
  a.Up = {a.Forward.X * a.SinElevation, a.Forward.Y * a.SinElevation, a.CosElevation};
  return a;
}

TPicturePoint Project(const TOrbitView& view, const TWorldPoint& p) {
  const TViewAxes a = AxesOf(view);
  const TWorldPoint d{p.X - view.Target.X, p.Y - view.Target.Y, p.Z - view.Target.Z};
  return {view.Width / 2.0 + Dot(d, a.Right) * view.Scale, view.Height / 2.0 - Dot(d, a.Up) * view.Scale};
}

TOrbitView StartView(const THeightMap& map, double bottom, int width, int height) {
  TOrbitView v;
  v.Width = width;
  v.Height = height;
  return FramedView(map, bottom, v);
}

TOrbitView FramedView(const THeightMap& map, double bottom, const TOrbitView& view) {
  TOrbitView v = view;
  const int width = v.Width, height = v.Height;
  v.Target = {map.X0 + map.Nx * map.Cell / 2, map.Y0 + map.Ny * map.Cell / 2, (map.Top + bottom) / 2};
  const TViewAxes a = AxesOf(v);
  double across = 0, upright = 0;
  for (const TWorldPoint& c : BlockCorners(map, bottom)) {
    const TWorldPoint d{c.X - v.Target.X, c.Y - v.Target.Y, c.Z - v.Target.Z};
    across = std::max(across, std::fabs(Dot(d, a.Right)));
    upright = std::max(upright, std::fabs(Dot(d, a.Up)));
  }
  const double room = 1 - 2 * kFrameMargin;
  const double sx = across > 0 ? width * room / (2 * across) : 1.0;
  const double sy = upright > 0 ? height * room / (2 * upright) : 1.0;
  v.Scale = std::max(1e-9, std::min(sx, sy));
  return v;
}

void Orbit(TOrbitView& view, double azimuthDegrees, double elevationDegrees) {
  view.Azimuth = WrappedAzimuth(view.Azimuth + azimuthDegrees);
  view.Elevation = std::clamp(view.Elevation + elevationDegrees, kLowestElevation, kHighestElevation);
}

void ZoomAbout(TOrbitView& view, double factor, double x, double y) {
  if (!(factor > 0) || !std::isfinite(factor)) return;
  const TViewAxes a = AxesOf(view);
  const double dx = x - view.Width / 2.0, dy = view.Height / 2.0 - y;
  const double shift = 1 / view.Scale - 1 / (view.Scale * factor);
  view.Target.X += (a.Right.X * dx + a.Up.X * dy) * shift;
  view.Target.Y += (a.Right.Y * dx + a.Up.Y * dy) * shift;
  view.Target.Z += (a.Right.Z * dx + a.Up.Z * dy) * shift;
  view.Scale *= factor;
}

void Pan(TOrbitView& view, double dx, double dy) {
  const TViewAxes a = AxesOf(view);
  const double k = 1 / view.Scale;
  view.Target.X += (-a.Right.X * dx + a.Up.X * dy) * k;
  view.Target.Y += (-a.Right.Y * dx + a.Up.Y * dy) * k;
  view.Target.Z += (-a.Right.Z * dx + a.Up.Z * dy) * k;
}

int32_t MergeFactorFor(double cell, double scale) {
  const double cellsPerPixel = 1.0 / (cell * scale);
  if (!(cellsPerPixel >= 2) || !std::isfinite(cellsPerPixel)) return 1;
  return static_cast<int32_t>(std::min(cellsPerPixel, 1e6));
}

THeightMap MergedMap(const THeightMap& map, int32_t factor) {
  factor = std::max(1, factor);
  TStockBox box{map.X0, map.Y0, map.X0 + map.Nx * map.Cell, map.Y0 + map.Ny * map.Cell, map.Top, 0};
  TGridPlan plan;
  plan.Cell = map.Cell * factor;
  plan.Nx = (map.Nx + factor - 1) / factor;
  plan.Ny = (map.Ny + factor - 1) / factor;
  THeightMap merged(box, plan);
  for (int32_t j = 0; j < map.Ny; ++j) {
    const float* row = &map.Z[size_t(j) * size_t(map.Nx)];
    float* out = &merged.Z[size_t(j / factor) * size_t(merged.Nx)];
    for (int32_t i = 0; i < map.Nx; ++i) out[i / factor] = std::min(out[i / factor], row[i]);
  }
  return merged;
}

TReliefRenderer::TReliefRenderer(const THeightMap& map, double bottom, double deepest)
    : Source(map), Bottom(bottom), Deepest(deepest) {}

const TReliefRenderer::TLevel& TReliefRenderer::LevelFor(double scale) {
  const int32_t factor = MergeFactorFor(Source.Cell, scale);
  std::unique_ptr<TLevel>& level = Levels[factor];
  if (level) return *level;
  level = std::make_unique<TLevel>();
  if (factor > 1) level->Map = MergedMap(Source, factor);
  const THeightMap& m = factor > 1 ? level->Map : Source;
  if (uint64_t(m.Nx) * uint64_t(m.Ny) <= kMostColouredCells) {
    level->Colours.resize(size_t(m.Nx) * size_t(m.Ny));
    for (int32_t j = 0; j < m.Ny; ++j)
      for (int32_t i = 0; i < m.Nx; ++i)
        level->Colours[size_t(j) * size_t(m.Nx) + size_t(i)] = ReliefColour(DepthFraction(m.At(i, j), m.Top, Deepest),
                                                                            CellLight(m, i, j));
  }
  return *level;
}

void TReliefRenderer::Render(const TOrbitView& view, uint32_t* pixels) {
  const int W = view.Width, H = view.Height;
  if (W <= 0 || H <= 0) return;
  std::fill(pixels, pixels + size_t(W) * size_t(H), kBackground);
  if (Source.Nx <= 0 || Source.Ny <= 0 || !(view.Scale > 0)) return;
  const TLevel& level = LevelFor(view.Scale);
  const THeightMap& m = level.Map.Nx > 0 ? level.Map : Source;  // a level of factor 1 is the map itself
  const TViewAxes a = AxesOf(view);
  const double s = view.Scale, sinE = a.SinElevation, cosE = a.CosElevation;
  const double x0 = m.X0, y0 = m.Y0, x1 = m.X0 + m.Nx * m.Cell, y1 = m.Y0 + m.Ny * m.Cell;
  const double step = std::min(m.Cell, 1 / (s * sinE)) * kSampleSpacing;
  const double halfW = W / 2.0, halfH = H / 2.0;
  // The picture row of a point `t` ahead of the target at height h.
  const auto rowOf = [&](double t, double h) { return halfH - (t * sinE + (h - view.Target.Z) * cosE) * s; };
  // The first row a span reaching up to picture y covers.
  const auto firstRow = [&](double y) { return std::clamp(static_cast<int>(std::ceil(y - 0.5)), 0, H); };
  const auto colourAt = [&](int32_t i, int32_t j) {
    if (!level.Colours.empty()) return level.Colours[size_t(j) * size_t(m.Nx) + size_t(i)];
    return ReliefColour(DepthFraction(m.At(i, j), m.Top, Deepest), CellLight(m, i, j));
  };
  // A wall at `t` lit as a surface facing (nx, ny, 0): each row coloured by its own height.
  const auto wallRows = [&](uint32_t* column, int from, int to, double t, double light) {
    for (int r = from; r < to; ++r) {
      const double h = view.Target.Z + ((halfH - (r + 0.5)) / s - t * sinE) / cosE;
      column[size_t(r) * size_t(W)] = 0xff000000u | ReliefColour(DepthFraction(h, m.Top, Deepest), light);
    }
  };
  const double innerWallLight = NormalLight(-a.Forward.X, -a.Forward.Y, 0);
  // Only what can reach the picture: rows 0..H of the block's heights.
  const double tNear = ((-halfH) / s - (m.Top - view.Target.Z) * cosE) / sinE;
  const double tFar = (halfH / s - (Bottom - view.Target.Z) * cosE) / sinE;

  const auto drawColumns = [&](int first, int last) {
    for (int c = first; c < last; ++c) {
      const double across = (c + 0.5 - halfW) / s;
      const double bx = view.Target.X + across * a.Right.X, by = view.Target.Y + across * a.Right.Y;
      TClip clip = ClipToRectangle(bx, by, a.Forward.X, a.Forward.Y, x0, y0, x1, y1);
      const bool enteredBySide = clip.TMin >= tNear;
      clip.TMin = std::max(clip.TMin, tNear);
      clip.TMax = std::min(clip.TMax, tFar);
      if (clip.Empty()) continue;
      uint32_t* column = pixels + c;
      int32_t i = 0, j = 0;
      const auto cellAt = [&](double at) {
        const double x = bx + at * a.Forward.X, y = by + at * a.Forward.Y;
        i = std::clamp(static_cast<int32_t>((x - x0) / m.Cell), 0, m.Nx - 1);
        j = std::clamp(static_cast<int32_t>((y - y0) / m.Cell), 0, m.Ny - 1);
      };
      // Rows from `limit` down are drawn or lie below the block.
      int limit = H;
      double t = clip.TMin;
      cellAt(t);
      double h = m.At(i, j);
      if (enteredBySide) {
        // The block's side facing the camera, from the bottom to the surface.
        limit = firstRow(rowOf(t, Bottom));
        const int top = firstRow(rowOf(t, h));
        if (cosE > 0) wallRows(column, top, limit, t, NormalLight(clip.NormalX, clip.NormalY, 0));
        limit = std::min(limit, top);
      }
      uint32_t colour = 0xff000000u | colourAt(i, j);
      while (limit > 0) {
        const double next = std::min(t + step, clip.TMax);
        // The surface of the cell at t, up to the next sample.
        const int surface = firstRow(rowOf(next, h));
        for (int r = surface; r < limit; ++r) column[size_t(r) * size_t(W)] = colour;
        limit = std::min(limit, surface);
        if (next >= clip.TMax) break;
        t = next;
        cellAt(t);
        const double rise = m.At(i, j);
        if (rise > h && cosE > 0) {
          // A step up: the wall facing the camera.
          const int top = firstRow(rowOf(t, rise));
          if (top < limit) wallRows(column, top, limit, t, innerWallLight);
          limit = std::min(limit, top);
        }
        h = rise;
        colour = 0xff000000u | colourAt(i, j);
      }
    }
  };
  if (W * H >= kPixelsForTwoThreads && std::thread::hardware_concurrency() > 1) {
    std::thread right(drawColumns, W / 2, W);
    drawColumns(0, W / 2);
    right.join();
  } else {
    drawColumns(0, W);
  }
}

std::vector<TSectionPoint> SectionAlong(const THeightMap& map, double x0, double y0, double x1, double y1) {
  std::vector<TSectionPoint> points;
  const double length = std::hypot(x1 - x0, y1 - y0);
  if (map.Nx <= 0 || map.Ny <= 0 || !std::isfinite(length)) return points;
  const double spacing = map.Cell / 2;
  const auto samples = static_cast<size_t>(std::min(length / spacing, 1e7)) + 1;
  points.reserve(samples);
  for (size_t k = 0; k <= samples; ++k) {
    const double d = std::min(length, static_cast<double>(k) * spacing);
    const double f = length > 0 ? d / length : 0;
    if (const auto cell = map.CellAt(x0 + (x1 - x0) * f, y0 + (y1 - y0) * f))
      points.push_back({d, map.At(cell->first, cell->second)});
    if (d >= length) break;
  }
  return points;
}
