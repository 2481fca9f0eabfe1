#include "engine/cycle_emitter.h"

#include <cmath>
#include <numbers>

TTurn TurnOf(double degrees) {
  if (!std::isfinite(degrees)) return {};
  const double a = std::fmod(degrees, 360.0);
  const double r = a < 0 ? a + 360.0 : a;
  if (r == 0.0) return {1.0, 0.0};
  if (r == 90.0) return {0.0, 1.0};
  if (r == 180.0) return {-1.0, 0.0};
  if (r == 270.0) return {0.0, -1.0};
  const double rad = r * std::numbers::pi / 180.0;
  return {std::cos(rad), std::sin(rad)};
}

TCycleEmitter::TCycleEmitter(TElementList& target, int32_t line, double centreX, double centreY, double degrees)
    : Target(target), Line(line), CentreX(centreX), CentreY(centreY), Rot(TurnOf(degrees)) {}

TPoint TCycleEmitter::Place(double x, double y, double z) const {
  const TPoint t = Turn(x, y);
  return {CentreX + t.X, CentreY + t.Y, z};
}

TPoint TCycleEmitter::Turn(double i, double j) const {
  return {i * Rot.Cos - j * Rot.Sin, i * Rot.Sin + j * Rot.Cos, 0.0};
}

void TCycleEmitter::Append(const TCncElement& e) {
  Target.push_back(e);
  Last = e.P1;
  HasMoved = true;
}

void TCycleEmitter::Rapid(double x, double y, double z) {
  Append(MakeElement(Line, "Line G00", "G00", Place(x, y, z)));
}

void TCycleEmitter::Feed(double x, double y, double z) { Append(MakeElement(Line, "Line G01", "G01", Place(x, y, z))); }

void TCycleEmitter::ArcCw(double x, double y, double z, double i, double j) {
  Append(MakeElement(Line, "Kreisint G02", "G02", Place(x, y, z), Turn(i, j)));
}

void TCycleEmitter::PauseCompensation(TCompensationSide side) {
  if (CompensationOn(side)) Target.push_back(MakeElement(Line, "Fräserradiuskorrektur aus", "G40"));
}

void TCycleEmitter::ResumeCompensation(TCompensationSide side) {
  if (side == TCompensationSide::Left) Target.push_back(MakeElement(Line, "Fräserradiuskorrektur 41", "G41"));
  if (side == TCompensationSide::Right) Target.push_back(MakeElement(Line, "Fräserradiuskorrektur 42", "G42"));
}

std::string CycleMessage(int32_t line, const char* text) {
  return "Error in program line " + std::to_string(line) + ": " + text;
}
