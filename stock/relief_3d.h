// The simulated stock seen in 3D, drawn in software: an orthographic camera orbiting the
// block, and a height-field renderer that fills each column of the picture front to back, so
// that nothing needs graphics hardware and a frame costs about one step per pixel.
#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <vector>

#include "stock/height_map.h"

// Elevation of the view above the plane, in degrees: from nearly level to straight down.
constexpr double kLowestElevation = 5.0;
constexpr double kHighestElevation = 90.0;
// The view a 3D window opens with and Home goes back to.
constexpr double kStartAzimuth = -45.0;
constexpr double kStartElevation = 35.0;

struct TWorldPoint {
  double X = 0.0;
  double Y = 0.0;
  double Z = 0.0;
};

// Where the camera stands and what the picture shows. Azimuth 0 looks from -Y towards +Y
// with +X to the right; positive azimuths turn the camera counter-clockwise seen from above.
struct TOrbitView {
  double Azimuth = kStartAzimuth;      // degrees, any value; 360 apart are the same view
  double Elevation = kStartElevation;  // degrees, kLowestElevation..kHighestElevation
  double Scale = 1.0;                  // pixels per millimetre
  TWorldPoint Target;                  // the point at the picture's centre
  int Width = 0;
  int Height = 0;
};

// The picture's axes and the view direction in the world, for one view.
struct TViewAxes {
  TWorldPoint Right;    // picture x
  TWorldPoint Up;       // picture y, upwards
  TWorldPoint Forward;  // horizontal, away from the camera
  double SinElevation = 0.0;
  double CosElevation = 0.0;
};
TViewAxes AxesOf(const TOrbitView& view);

struct TPicturePoint {
  double X = 0.0;  // pixels from the left
  double Y = 0.0;  // pixels from the top
};
TPicturePoint Project(const TOrbitView& view, const TWorldPoint& p);

// The view of the whole block from the start angles, framed with a margin.
TOrbitView StartView(const THeightMap& map, double bottom, int width, int height);
// `view`'s angles and picture size with the whole block framed in it.
TOrbitView FramedView(const THeightMap& map, double bottom, const TOrbitView& view);
// Turns the camera about the target; the elevation stays within its limits.
void Orbit(TOrbitView& view, double azimuthDegrees, double elevationDegrees);
// Zooms by `factor` about the picture point (x, y): what lies under it stays there.
void ZoomAbout(TOrbitView& view, double factor, double x, double y);
// Moves the picture by (dx, dy) pixels, as a drag does.
void Pan(TOrbitView& view, double dx, double dy);

// Cells of the map merged `factor` by `factor` into one, each keeping the deepest of them.
THeightMap MergedMap(const THeightMap& map, int32_t factor);
// The merge factor that puts about one cell on a pixel at `scale` pixels per millimetre.
int32_t MergeFactorFor(double cell, double scale);

// Draws one map for many views. The merged levels and their colours are kept, so orbiting
// at one zoom costs only the drawing.
class TReliefRenderer {
 public:
  // `deepest`: the depth the colour ramp ends at (the map's lowest Z makes sense).
  TReliefRenderer(const THeightMap& map, double bottom, double deepest);

  // Fills `pixels` (view.Width * view.Height, 0xffRRGGBB, rows from the top).
  void Render(const TOrbitView& view, uint32_t* pixels);

  static constexpr uint32_t kBackground = 0xff202020;  // as behind the top view

 private:
  struct TLevel {
    THeightMap Map;
    std::vector<uint32_t> Colours;  // the lit top surface of each cell
  };
  const TLevel& LevelFor(double scale);

  const THeightMap& Source;
  double Bottom;
  double Deepest;
  std::map<int32_t, std::unique_ptr<TLevel>> Levels;
};

// One point of a section: the distance from the line's start and the height there.
struct TSectionPoint {
  double Distance = 0.0;
  double Z = 0.0;
};

// The heights along the line from (x0, y0) to (x1, y1), a sample every half cell; points
// off the map are left out.
std::vector<TSectionPoint> SectionAlong(const THeightMap& map, double x0, double y0, double x1, double y1);
