// Emitting the moves of the cycles that place their points relative to a centre or an
// anchor (G86, G87, G88, G89): points are given in the cycle's own frame, turned by the
// cycle's angle about the centre and moved to it; arc centre offsets are only turned.
#pragma once

#include <cstdint>
#include <string>
#include "geometry/compensation_side.h"

#include "base/records.h"

// Cosine and sine of an angle in degrees; exact at multiples of 90 degrees, so that a
// pocket turned by 90 keeps its coordinates free of rounding noise.
struct TTurn {
  double Cos = 1.0;
  double Sin = 0.0;
};
TTurn TurnOf(double degrees);

class TCycleEmitter {
 public:
  TCycleEmitter(TElementList& target, int32_t line, double centreX, double centreY, double degrees);

  // The absolute point of (x, y) in the cycle's frame, at height z.
  TPoint Place(double x, double y, double z) const;
  // (i, j) turned by the cycle's angle, not moved.
  TPoint Turn(double i, double j) const;

  // "G00", "Line G00" / "G01", "Line G01" to the placed point.
  void Rapid(double x, double y, double z);
  void Feed(double x, double y, double z);
  // "G02", "Kreisint G02" to the placed end point; (i, j) is the centre seen from the
  // arc's start in the cycle's frame.
  void ArcCw(double x, double y, double z, double i, double j);

  // "G40" before a cycle that runs with compensation on, and the matching "G41"/"G42"
  // after it.
  void PauseCompensation(TCompensationSide side);
  void ResumeCompensation(TCompensationSide side);

  // Absolute end point of the last move, and whether there was one.
  bool Moved() const { return HasMoved; }
  const TPoint& LastPoint() const { return Last; }

 private:
  void Append(const TCncElement& e);

  TElementList& Target;
  int32_t Line;
  double CentreX;
  double CentreY;
  TTurn Rot;
  bool HasMoved = false;
  TPoint Last;
};

// "Error in program line 40: " followed by the text.
std::string CycleMessage(int32_t line, const char* text);

// Largest number of moves one cycle line may generate; beyond it the cycle is refused
// instead of filling memory.
constexpr double kMaxCycleMoves = 1'000'000;
