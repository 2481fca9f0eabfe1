// The view's display list: graphic objects in the order they were added, each drawn with
// the pixel coordinates of the window it belongs to, culled by bounding box when painting.
//
// Programs of a million lines become millions of objects, so the list is compact: a 4-byte
// record per object (pen number from a small palette, shape) and the real geometry in one
// array per shape (32 bytes a line, 24 a circle, 56 an arc). Pixel coordinates are not
// kept: painting computes them run by run, only for runs that can show, and the view keeps
// the painted picture for repaints without a window change.
#pragma once

#include <QPoint>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "base/prefault.h"
#include "display/graph_objects.h"

class QImage;
class QPainter;

// Fast draws one-pixel pens itself straight into the picture and leaves wide pens and
// dash-dot curves to QPainter; Reference draws everything with QPainter.
enum class TPaintMethod { Fast, Reference };

// The objects [First, Last) in list order: a prefix for playback, or what a prefix gained.
struct TObjectRange {
  size_t First = 0;
  size_t Last = SIZE_MAX;
};

class TDisplayList {
 public:
  // Appends the object; it is drawn with its pixel coordinates for the window until a Recalc.
  void Add(const TGraphObject& object, const TViewWindow& w);
  void Clear();
  size_t Count() const { return Records.size(); }
  // The object as a value (walks the list: for tests and inspection, not for drawing).
  TGraphObject operator[](size_t i) const;
  // All objects as values, in list order.
  std::vector<TGraphObject> All() const;
  // Room for this many more objects of each shape, so that growing never copies.
  void Reserve(size_t lines, size_t circles, size_t arcs);
  // Different pens among the objects.
  size_t PenCount() const { return Pens.size(); }
  // Bytes of the objects: records, geometry, runs and palette.
  size_t BytesUsed() const;
  // Grows with every Add and Clear: a picture drawn at one value is still right while it stays.
  uint64_t Version() const { return Changes; }

  // Every object is drawn with its pixel coordinates for the window from now on.
  void Recalc(const TViewWindow& w);
  // Draws, in list order, every object of `range` whose bounding box touches the view of
  // its window; returns how many were drawn, leaving out runs of objects that later objects
  // hide wholly. `canvas` paints on `image`.
  size_t Paint(QImage& image, QPainter& canvas, TPaintMethod method = TPaintMethod::Fast,
               TObjectRange range = {}) const;

 private:
  struct TRecord {
    uint32_t Pen : 24;
    uint32_t Shape : 2;
  };
  struct TLineData {
    TRealXY A, B;
  };
  struct TCircleData {
    TRealXY Centre;
    double Radius;
  };
  struct TArcData {
    TRealXY Centre;
    double Radius;
    TRealXY P3, P4;
  };
  // An object's pixel coordinates for a window. Curves too large to draw directly are
  // sampled points in a buffer, described by Run.
  struct TPlaced {
    TPixelForm Form = TPixelForm::Hidden;
    TPixelBox Pixels;  // lines: the two end points; circles and arcs: the box
    TCurveRun Run;
  };

  uint32_t PenNumber(const TPenSpec& pen);
  // Which geometry array holds the object: lines, circles or arcs.
  static size_t GeometryArray(const TRecord& rec);
  // `data`: the object's place in the geometry array of its shape; sampled points go to `curves`.
  TPlaced Place(const TRecord& rec, size_t data, const TPixelMapping& m, std::vector<QPoint>& curves) const;
  TGraphObject Object(const TRecord& rec, size_t data, const TPixelMapping& m) const;
  struct TPainting;
  void PaintBlock(TPainting& p, size_t block) const;
  void PaintObject(TPainting& p, const TRecord& rec, size_t data, const TPixelMapping& m) const;
  void DrawWithPainter(QPainter& canvas, const TRecord& rec, const TPlaced& placed, const TArcRadials* radials) const;

  std::vector<TRecord> Records;
  std::vector<TLineData> Lines;
  std::vector<TCircleData> Circles;
  std::vector<TArcData> Arcs;
  std::vector<TPenSpec> Pens;         // the palette; few pens serve a whole program
  mutable TEllipseRaster Ellipses;    // outlines of small ellipses, kept from paint to paint
  mutable std::vector<QPoint> Curve;  // sampled points of the curve being drawn or read

  // The window objects from First on belong to, up to the next span: a Recalc leaves one.
  struct TWindowSpan {
    size_t First;
    TViewWindow Window;
  };
  std::vector<TWindowSpan> Spans;
  // The span of object i.
  size_t SpanOf(size_t object) const;

  // Short runs of consecutive objects with the real box around them. Painting passes over
  // runs that lie wholly outside the view or, painting backwards, under parts of the picture
  // that later objects have drawn wholly, without computing their objects' pixels. Runs are
  // short because even generated paths that jump about keep a few moves together.
  static constexpr size_t kBlockObjects = 8;
  static constexpr double kEmpty = 1e300;
  struct TBlock {
    TWindowRect Box{kEmpty, -kEmpty, kEmpty, -kEmpty};
    uint32_t FirstData[3] = {0, 0, 0};  // geometry of its first object in each array
    uint8_t WidestPen = 0;
    bool Unbounded = false;       // holds an object with a coordinate that is not finite: never culled
    bool PainterObjects = false;  // holds an object that QPainter draws (wide or dash-dot curve)
  };
  static void Extend(TBlock& block, const TGraphObject& object);
  // Whether the run may show in the view of `m`; with `box`, its pixel box there.
  static bool BlockMeets(const TBlock& block, const TPixelMapping& m, TPixelBox* box = nullptr);
  // Asks the processor for the data of a run that meets the view, a few runs before it is
  // reached: runs are far apart in memory, and waiting for them took most of the time. What
  // it finds out about the run serves again when the run is reached.
  static constexpr size_t kLookAhead = 4;
  void Prefetch(TPainting& p, size_t block) const;
  // Whether the run may show.
  bool MayShow(TPainting& p, size_t block) const;
  std::vector<TBlock> Blocks;
  uint64_t Changes = 0;
  // The lists fault their storage in many pages at a time as they grow.
  struct TPages {
    TPrefaultCursor Records, Lines, Circles, Arcs, Blocks;
  } Pages;
};
