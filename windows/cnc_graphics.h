// The step interpolator of the ORVIK USB controller and its pixel plotter: every line and
// arc is broken into single steps of 0.01 mm as the controller makes them, and every step
// is plotted as one pixel. Drawing goes through a pixel sink, so no window is needed.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>

// 0xRRGGBB.
using TRgb = uint32_t;

constexpr TRgb Rgb(uint8_t r, uint8_t g, uint8_t b) { return (TRgb(r) << 16) | (TRgb(g) << 8) | b; }

class TPixelSink {
 public:
  virtual ~TPixelSink() = default;
  // Pixels outside the surface are ignored.
  virtual void Plot(int64_t x, int64_t y, TRgb colour) = 0;
  virtual void Fill(TRgb colour) = 0;
};

// A 32-bit pixel buffer (0xffRRGGBB per pixel), e.g. the bits of a QImage::Format_RGB32.
class TRasterSink final : public TPixelSink {
 public:
  TRasterSink(uint32_t* bits, int width, int height, ptrdiff_t stridePixels)
      : Bits(bits), Width(width), Height(height), Stride(stridePixels) {}
  void Plot(int64_t x, int64_t y, TRgb colour) override {
    if (static_cast<uint64_t>(x) >= static_cast<uint64_t>(Width) ||
        static_cast<uint64_t>(y) >= static_cast<uint64_t>(Height))
      return;
    Bits[y * Stride + x] = 0xff000000u | colour;
  }
  void Fill(TRgb colour) override;

 private:
  uint32_t* Bits;
  int Width;
  int Height;
  ptrdiff_t Stride;
};

enum class TMotionKind : int32_t { None = 0, Line = 1, ArcCW = 2, ArcCCW = 3, Unknown = 4 };

// Run results.
constexpr int32_t kRunFinished = 0;
constexpr int32_t kRunNotFinished = -1;
constexpr int32_t kRunBadKind = 1;

// Centre-of-arc results.
constexpr int32_t kCentreOk = 0;
constexpr int32_t kCentreZeroRadius = 1;
constexpr int32_t kCentreStartIsEnd = 2;
constexpr int32_t kCentreChordTooLong = -3;

// Rounds a move may take: a generous multiple of its step count, so every move finishes
// (a step call plots at most two pixels) while a move that cannot finish still ends.
constexpr int64_t kRoundsPerStep = 4;
constexpr int64_t kExtraRounds = 16;

// A move beyond 1 km (one axis, or an arc radius) is not stepped at all: far beyond
// any controller's travel, and it would keep the drawing busy for seconds.
constexpr int64_t kMaxMoveSteps = 100'000'000;

// Direction bits of a line step, per axis: positive and negative.
constexpr std::array<uint8_t, 3> kPlusBits = {0x01, 0x02, 0x04};
constexpr std::array<uint8_t, 3> kMinusBits = {0x11, 0x22, 0x44};

struct TStepPosition {
  int64_t X = 0;
  int64_t Y = 0;
  int64_t Z = 0;
  friend bool operator==(const TStepPosition&, const TStepPosition&) = default;
};

struct TArcCentre {
  int32_t Result = kCentreOk;
  int64_t X = 0;  // centre relative to the start point, steps
  int64_t Y = 0;
};

// The centre of an arc of `kind` (2 clockwise, 3 counter-clockwise) from its programmed
// centre offset I, J and its start and end, all in steps. On failure the centre is I, J.
TArcCentre CentreOfArc(int32_t kind, double i, double j, double startX, double startY, double endX, double endY);

class TCNCgraphics {
 public:
  explicit TCNCgraphics(TPixelSink& canvas) : Canvas(&canvas) {}

  void SetCanvas(TPixelSink& canvas) { Canvas = &canvas; }
  void Zoom(double pixelsPerStep) { Scale = pixelsPerStep; }
  // Also zeroes the plotting cursor and the target position.
  void Origin(int64_t x, int64_t y);
  void Colours(TRgb rapid, TRgb feed) {
    RapidColour = rapid;
    FeedColour = feed;
  }
  void StraightMove(int64_t dx, int64_t dy, bool feed, int64_t dz);
  void ArcMove(int64_t dx, int64_t dy, int32_t kind, int64_t centreY, int64_t centreX);
  // Steps the motion set up last: kRunFinished, kRunNotFinished, kRunBadKind.
  int32_t Run();
  // Moves the plotting cursor without stepping (y counts downward).
  void ShiftPen(int64_t dx, int64_t dy) {
    CursorX += dx;
    CursorY += dy;
  }
  void SetToolDiameter(int32_t diameter) { ToolDiameter = diameter; }
  void PlotPixel();

  // Steps of the motion set up last: the largest absolute delta of a line, the length of
  // an arc (a full turn for an arc ending where it starts), rounded up.
  int64_t MotionSteps() const { return Steps; }
  TStepPosition Target() const { return TargetPos; }
  TStepPosition Cursor() const { return {CursorX, CursorY, 0}; }
  int32_t ToolDiameterValue() const { return ToolDiameter; }

  // Line set-up, readable for checks: 0 x, 1 y, 2 z.
  int DrivingAxis() const { return Driving; }
  std::array<uint8_t, 3> DirectionBits() const { return Bits; }
  std::array<int64_t, 3> ErrorTerms() const { return Error; }

 private:
  bool LineStep();
  bool ArcStep();
  bool ArcEndReached() const;
  void StepArcX(int64_t sx);
  void StepArcY(int64_t sy);
  // A refused motion: the cursor goes to its end at once, so later moves stay in place.
  void Refuse(int64_t cursorDx, int64_t cursorDy);

  TPixelSink* Canvas;
  int64_t CursorX = 0;
  int64_t CursorY = 0;
  TRgb RapidColour = 0;
  TRgb FeedColour = 0;
  TRgb Pen = 0;
  double Scale = 1.0;
  int64_t OriginX = 0;
  int64_t OriginY = 0;
  int32_t ToolDiameter = 0;

  bool Running = false;
  bool Refused = false;
  TMotionKind Kind = TMotionKind::None;
  TStepPosition TargetPos;
  int64_t Steps = 0;

  // Line: per axis x, y, z.
  std::array<int64_t, 3> Pos{};
  std::array<int64_t, 3> End{};
  std::array<int64_t, 3> Twice{};  // 2 |delta|
  std::array<int64_t, 3> Sign{};
  std::array<int64_t, 3> Error{};
  std::array<uint8_t, 3> Bits{};
  int Driving = 0;

  // Arc: points relative to the centre.
  int64_t ArcX = 0;
  int64_t ArcY = 0;
  int64_t ArcEndX = 0;
  int64_t ArcEndY = 0;
  int64_t R2 = 0;
};
