// The view's display list: graphic objects in the order they were added, with their
// pixel coordinates computed once per window and culled by bounding box when painting.
//
// Programs of a million lines become millions of objects, so the list is compact: a
// 20-byte record per object (pixel box, pen number from a small palette, shape, form) and
// the real geometry in one array per shape (32 bytes a line, 24 a circle, 56 an arc).
// Records and geometry are walked together in list order.
#pragma once

#include <QPoint>
#include <cstddef>
#include <cstdint>
#include <vector>

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
  // Appends the object with its pixel coordinates for the window (computed when first read
  // or painted, unless a Recalc comes first).
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
  // Bytes of the objects: records, geometry, palette and sampled curves.
  size_t BytesUsed() const;
  // Grows with every Add and Clear: a picture drawn at one value is still right while it stays.
  uint64_t Version() const { return Changes; }

  // Pixel coordinates of every object for the window (computed when first read or painted).
  void Recalc(const TViewWindow& w);
  // Draws, in list order, every object of `range` whose bounding box touches the view;
  // returns how many were drawn, leaving out runs of objects that later objects hide wholly.
  // `canvas` paints on `image`.
  size_t Paint(QImage& image, QPainter& canvas, const TViewWindow& w, TPaintMethod method = TPaintMethod::Fast,
               TObjectRange range = {}) const;

 private:
  struct TRecord {
    TPixelBox Pixels;  // lines: the two end points; circles and arcs: the box
    uint32_t Pen : 24;
    uint32_t Shape : 2;
    uint32_t Form : 2;
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
  // A polyline object and its points in Curves, in list order.
  struct TCurveRef {
    size_t Object;
    TCurveRun Run;
  };

  uint32_t PenNumber(const TPenSpec& pen);
  // Which geometry array holds the object: lines, circles or arcs.
  static size_t GeometryArray(const TRecord& rec);
  TGraphObject Object(const TRecord& rec, size_t data) const;
  // `data`: the object's place in the geometry array of its shape.
  void SetPixels(TRecord& rec, size_t index, const TPixelMapping& m, size_t data);
  struct TPainting;
  // Asks the processor for the data of a stale run that meets the view, a few runs before it
  // is reached: runs are far apart in memory, and waiting for them took most of the time.
  static constexpr size_t kLookAhead = 4;
  void Prefetch(const TPainting& p, size_t block) const;
  // Whether the run may show; computes its pixels when it does.
  bool ReadyToPaint(TPainting& p, size_t block) const;
  void PaintBlock(TPainting& p, size_t block) const;
  // `arcIndex`: the place of its data in Arcs (when it is an arc).
  void PaintObject(TPainting& p, size_t object, uint32_t arcIndex) const;
  const TCurveRef* CurveOf(size_t object) const;
  void DrawWithPainter(QPainter& canvas, const TRecord& rec, const TArcRadials* radials, const TCurveRef* curve) const;

  std::vector<TRecord> Records;
  std::vector<TLineData> Lines;
  std::vector<TCircleData> Circles;
  std::vector<TArcData> Arcs;
  std::vector<TPenSpec> Pens;  // the palette; few pens serve a whole program
  std::vector<QPoint> Curves;  // sampled points of very large circles
  std::vector<TCurveRef> CurveRefs;
  mutable TEllipseRaster Ellipses;  // outlines of small ellipses, kept from paint to paint

  // Short runs of consecutive objects with the real box around them. Recalc only marks the
  // runs stale; Paint computes the pixels of a run when it reaches it, and never for runs that
  // lie wholly outside the view or, painting backwards, under parts of the picture that later
  // objects have drawn wholly. Runs are short because even generated paths that jump about
  // keep a few moves together.
  static constexpr size_t kBlockObjects = 8;
  static constexpr double kEmpty = 1e300;
  struct TBlock {
    TWindowRect Box{kEmpty, -kEmpty, kEmpty, -kEmpty};
    int32_t WidestPen = 0;
    bool Unbounded = false;  // holds an object with a coordinate that is not finite: never culled
    uint32_t FirstData[3] = {0, 0, 0};  // geometry of its first object in each array
    uint32_t Epoch = 0;  // the Recalc its objects have pixels for
    bool PainterObjects = false;  // holds an object that QPainter draws (wide or dash-dot curve)
  };
  static void Extend(TBlock& block, const TGraphObject& object);
  // Whether the run may show in the view of `m`; with `box`, its pixel box there.
  static bool BlockMeets(const TBlock& block, const TPixelMapping& m, TPixelBox* box = nullptr);
  void SetBlockPixels(size_t block, const TPixelMapping& m);
  // Computes the pixels of a stale run for BlockWindow.
  void Refresh(size_t block);
  void Refresh(size_t block) const { const_cast<TDisplayList*>(this)->Refresh(block); }
  // Pixels of the objects of every stale run, for reading them one by one.
  void RefreshAll() const;
  std::vector<TBlock> Blocks;
  TViewWindow BlockWindow;  // the window of the last Recalc
  uint32_t Epoch = 0;       // Recalcs so far, wrapping round after 2^32 of them
  // Its objects have no pixels for BlockWindow yet.
  bool Stale(const TBlock& block) const { return block.Epoch != Epoch; }

  // Objects from Pending on were added in PendingWindow and have no pixels yet: reading or
  // painting them computes them (a cache, so const), Recalc makes it unnecessary.
  void ResolvePending();
  void ResolvePending() const;
  size_t Pending = 0;
  uint64_t Changes = 0;
  TViewWindow PendingWindow;
  size_t PendingNext[3] = {0, 0, 0};  // geometry of the first pending object in each array
};
