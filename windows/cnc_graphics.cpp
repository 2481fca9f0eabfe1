#include "windows/cnc_graphics.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

// Nearest whole step, ties to even; what is not a finite number becomes 0.
int64_t NearestStep(double v) {
  if (!std::isfinite(v)) return 0;
  return static_cast<int64_t>(std::clamp(std::nearbyint(v), -9.0e18, 9.0e18));
}

// Degrees 0 <= a < 360 counter-clockwise from +X, the way the controller's firmware
// measures them (from the arc tangent, x = 0 taken apart).
double AngleOf(double x, double y) {
  if (x == 0.0) return y > 0.0 ? 90.0 : 270.0;
  double a = std::atan(y / x) * 180.0 / std::numbers::pi;
  if (x < 0.0) a += 180.0;
  else if (a < 0.0) a += 360.0;
  return a;
}

double Normalised(double degrees) {
  const double a = std::fmod(degrees, 360.0);
  return a < 0.0 ? a + 360.0 : a;
}

// Counter-clockwise angle from (x0, y0) to (x1, y1) in radians, a full turn when both point
// the same way.
double SweepCCW(double x0, double y0, double x1, double y1) {
  double a = std::atan2(y1, x1) - std::atan2(y0, x0);
  if (a <= 0.0) a += 2.0 * std::numbers::pi;
  return a;
}

// Pixel of a cursor position: nearest, ties to even, as NearestStep, but without a library
// call. Adding and taking away 1.5 * 2^52 leaves the value rounded by the FPU's default
// mode (the compiler may not fold it without -ffast-math); cursor positions times a scale of
// at most 1 stay far below 2^51.
int64_t PixelOf(double v) {
  constexpr double kShift = 6755399441055744.0;
  constexpr double kExactBelow = 2251799813685248.0;  // 2^51
  if (!(v > -kExactBelow && v < kExactBelow)) return NearestStep(v);
  return static_cast<int64_t>((v + kShift) - kShift);
}

}  // namespace

void TRasterSink::Fill(TRgb colour) {
  for (int y = 0; y < Height; ++y) std::fill_n(Bits + y * Stride, Width, 0xff000000u | colour);
}

TArcCentre CentreOfArc(int32_t kind, double i, double j, double startX, double startY, double endX, double endY) {
  const double dx = endX - startX;
  const double dy = endY - startY;
  const double w = std::sqrt(dx * dx + dy * dy);
  const double a = std::sqrt(i * i + j * j);
  const auto fallback = [&](int32_t result) { return TArcCentre{result, NearestStep(i), NearestStep(j)}; };
  if (a == 0.0) return fallback(kCentreZeroRadius);
  if (w == 0.0) return fallback(kCentreStartIsEnd);
  if (w / 2.0 > a) return fallback(kCentreChordTooLong);
  const double startAngle = AngleOf(-i, -j);
  const double endAngle = AngleOf(dx - i, dy - j);
  const bool clockwise = kind == static_cast<int32_t>(TMotionKind::ArcCW);
  const double phi = clockwise ? Normalised(endAngle - startAngle) : Normalised(startAngle - endAngle);
  const double h = std::sqrt(std::max(0.0, a * a - w * w / 4.0));
  // Right of the chord for a clockwise arc of less than half a turn, left otherwise.
  const bool right = (phi > 180.0) == clockwise;
  const double sideX = right ? dy : -dy;
  const double sideY = right ? -dx : dx;
  return TArcCentre{kCentreOk, NearestStep(dx / 2.0 + h * sideX / w), NearestStep(dy / 2.0 + h * sideY / w)};
}

void TCNCgraphics::Origin(int64_t x, int64_t y) {
  OriginX = x;
  OriginY = y;
  CursorX = 0;
  CursorY = 0;
  TargetPos = {};
}

void TCNCgraphics::PlotPixel() {
  Canvas->Plot(OriginX + PixelOf(static_cast<double>(CursorX) * Scale),
               OriginY + PixelOf(static_cast<double>(CursorY) * Scale), Pen);
}

void TCNCgraphics::Refuse(int64_t cursorDx, int64_t cursorDy) {
  Refused = true;
  Steps = 0;
  CursorX += cursorDx;
  CursorY += cursorDy;
}

void TCNCgraphics::StraightMove(int64_t dx, int64_t dy, bool feed, int64_t dz) {
  Pen = feed ? FeedColour : RapidColour;
  Running = true;
  Refused = false;
  Kind = TMotionKind::Line;
  const std::array<int64_t, 3> delta = {dx, dy, dz};
  const TStepPosition start = TargetPos;
  TargetPos = {start.X + dx, start.Y + dy, start.Z + dz};
  if (std::any_of(delta.begin(), delta.end(), [](int64_t d) { return d > kMaxMoveSteps || d < -kMaxMoveSteps; })) {
    Refuse(dx, -dy);
    return;
  }
  Pos = {start.X, start.Y, start.Z};
  for (int a = 0; a < 3; ++a) {
    End[a] = Pos[a] + delta[a];
    Twice[a] = 2 * std::abs(delta[a]);
    Sign[a] = (delta[a] > 0) - (delta[a] < 0);
    Bits[a] = delta[a] > 0 ? kPlusBits[a] : delta[a] < 0 ? kMinusBits[a] : 0;
  }
  if (std::max(Twice[1], Twice[2]) <= Twice[0]) Driving = 0;
  else if (std::max(Twice[0], Twice[2]) <= Twice[1]) Driving = 1;
  else Driving = 2;
  Steps = std::abs(delta[Driving]);
  for (int a = 0; a < 3; ++a) Error[a] = a == Driving ? 0 : Twice[a] - Steps;
}

bool TCNCgraphics::LineStep() {
  const int d = Driving;
  if (Pos[d] == End[d]) return false;
  std::array<bool, 3> moved{};
  moved[d] = true;
  for (int o = 0; o < 3; ++o) {
    if (o == d || Error[o] < 0) continue;
    Pos[o] += Sign[o];
    Error[o] -= Twice[d];
    moved[o] = true;
  }
  Pos[d] += Sign[d];
  for (int o = 0; o < 3; ++o)
    if (o != d) Error[o] += Twice[o];
  if (moved[0]) CursorX += Sign[0];
  if (moved[1]) CursorY -= Sign[1];
  PlotPixel();  // a step in z alone plots the same pixel again
  return true;
}

void TCNCgraphics::ArcMove(int64_t dx, int64_t dy, int32_t kind, int64_t centreY, int64_t centreX) {
  Pen = FeedColour;
  Running = true;
  Refused = false;
  Kind = kind == 2 ? TMotionKind::ArcCW : kind == 3 ? TMotionKind::ArcCCW : TMotionKind::Unknown;
  TargetPos.X += dx;
  TargetPos.Y += dy;
  const auto tooLarge = [](int64_t v) { return v > kMaxMoveSteps || v < -kMaxMoveSteps; };
  if (tooLarge(dx) || tooLarge(dy) || tooLarge(centreX) || tooLarge(centreY)) {
    Refuse(dx, -dy);
    return;
  }
  ArcX = -centreX;
  ArcY = -centreY;
  ArcEndX = dx - centreX;
  ArcEndY = dy - centreY;
  const double radius = std::sqrt(static_cast<double>(centreX) * centreX + static_cast<double>(centreY) * centreY);
  const int64_t r = NearestStep(radius);
  R2 = r * r;
  double sweep = 0.0;
  if (Kind == TMotionKind::ArcCW)
    sweep = SweepCCW(static_cast<double>(ArcEndX), ArcEndY, static_cast<double>(ArcX), ArcY);
  else if (Kind == TMotionKind::ArcCCW)
    sweep = SweepCCW(static_cast<double>(ArcX), ArcY, static_cast<double>(ArcEndX), ArcEndY);
  Steps = static_cast<int64_t>(std::ceil(static_cast<double>(r) * sweep));
}

bool TCNCgraphics::ArcEndReached() const {
  if ((ArcX < 0) != (ArcEndX < 0) || (ArcY < 0) != (ArcEndY < 0)) return false;
  const int64_t ax = std::abs(ArcX), ay = std::abs(ArcY);
  const int64_t bx = std::abs(ArcEndX), by = std::abs(ArcEndY);
  const bool sameHalf = ax == ay || bx == by || (ax > ay) == (bx > by);
  if (!sameHalf) return false;
  return ay >= ax ? ArcX == ArcEndX : ArcY == ArcEndY;
}

void TCNCgraphics::StepArcX(int64_t sx) {
  ArcX += sx;
  CursorX += sx;
  PlotPixel();
}

void TCNCgraphics::StepArcY(int64_t sy) {
  ArcY += sy;
  CursorY -= sy;
  PlotPixel();
}

bool TCNCgraphics::ArcStep() {
  if (ArcEndReached()) return false;
  const int64_t x = ArcX, y = ArcY;
  int64_t sx = 0, sy = 0;
  if (Kind == TMotionKind::ArcCW) {
    sx = y < 0 ? -1 : 1;
    sy = x < 0 ? 1 : -1;
  } else {
    sx = y < 1 ? 1 : -1;
    sy = x < 1 ? -1 : 1;
  }
  const auto f = [&](int64_t px, int64_t py) { return px * px + py * py - R2; };
  if (std::abs(y) < std::abs(x)) {
    const int64_t t = f(x, y + sy) + f(x + sx, y + sy);
    if (sx * x < 1 ? t >= 0 : t < 0) StepArcX(sx);
    StepArcY(sy);
  } else {
    const int64_t b = f(x + sx, y) + f(x + sx, y + sy);
    if (sy * y < 1 ? b >= 0 : b < 0) StepArcY(sy);
    StepArcX(sx);
  }
  return true;
}

int32_t TCNCgraphics::Run() {
  if (Running && Refused) {
    Running = false;
    return kRunNotFinished;
  }
  for (int64_t rounds = kRoundsPerStep * Steps + kExtraRounds; rounds > 0; --rounds) {
    if (!Running) return kRunFinished;
    switch (Kind) {
      case TMotionKind::Line: Running = LineStep(); break;
      case TMotionKind::ArcCW:
      case TMotionKind::ArcCCW: Running = ArcStep(); break;
      default: return kRunBadKind;
    }
  }
  return kRunNotFinished;
}
