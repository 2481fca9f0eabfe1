// G89: radial scale about the current point, main strokes from the start angle to the
// end angle with subdivision strokes between them. The same elements in both passes.
#include <cmath>

#include "engine/cycle_emitter.h"
#include "engine/cycles.h"
#include "engine/line_error.h"

namespace {

constexpr double kMaxStrokes = 100'000;

// What G89 cuts. It has no words of its own: it reads the words of the pockets and of the
// engraving under its own meanings.
struct TScaleParams {
  int32_t Count;      // C: main strokes
  int32_t Division;   // D: subdivisions between two main strokes
  double StartAngle;  // Q: of the first main stroke, degrees
  double EndAngle;    // W: of the last main stroke, degrees (scaled as every W)
  double MainRadius;  // R: main strokes run from here ...
  double MainLength;  // L: ... this far outwards
  double MainDepth;   // U: below the start height
  double SubRadius;   // B: subdivision strokes run from here ...
  double SubLength;   // V: ... this far outwards
  double SubDepth;    // E: below the start height
};

TScaleParams ScaleParamsOf(const TCncInstance& inst) {
  const TPocketParams& p = inst.Pocket;
  const TFontParamRec& f = inst.FontParams;
  return {f.HorizontalJustification,
          f.VerticalJustification,
          p.Angle,
          p.Allowance,
          p.CornerRadius,
          p.Length,
          p.Depth,
          p.Width,
          p.StepDepth,
          f.Depth};
}

// Float division that fails as the line's error instead of yielding inf or nan.
double Divide(double a, double b) {
  if (b == 0) throw TLineError(a == 0 ? "Invalid floating point operation" : "Floating point division by zero");
  return a / b;
}

// Rapid above the inner end, plunge, feed outwards, lift.
void Stroke(TCycleEmitter& e, double degrees, double r1, double r2, double depth, double top) {
  const TTurn t = TurnOf(degrees);
  e.Rapid(r1 * t.Cos, r1 * t.Sin, top);
  e.Feed(r1 * t.Cos, r1 * t.Sin, depth);
  e.Feed(r2 * t.Cos, r2 * t.Sin, depth);
  e.Rapid(r2 * t.Cos, r2 * t.Sin, top);
}

}  // namespace

void ScaleCycleG89(TCncInstance& inst, int32_t line, TElementList& target) {
  const TScaleParams scale = ScaleParamsOf(inst);
  const int32_t count = scale.Count;
  const int32_t division = scale.Division;
  const double start = scale.StartAngle, end = scale.EndAngle;
  // The line fails before any element, so no lone "G40" is left behind.
  const double step = Divide(start - end, static_cast<double>(count) - 1);
  const double substep = Divide(step, division);

  const double subStrokes = division > 1 ? static_cast<double>(division) - 1 : 0.0;
  const double strokes = count > 0 ? count + (count - 1.0) * subStrokes : 0.0;
  if (strokes > kMaxStrokes) {
    inst.AddMessage(CycleMessage(line, "more than 100000 scale strokes, the scale is left out"));
    return;
  }

  const double top = inst.Pos.Z;
  const double mainDepth = top - scale.MainDepth, subDepth = top - scale.SubDepth;
  const double mainInner = scale.MainRadius, mainOuter = scale.MainRadius + scale.MainLength;
  const double subInner = scale.SubRadius, subOuter = scale.SubRadius + scale.SubLength;
  // Strokes are placed by their own angle about the centre; the frame itself is not turned.
  TCycleEmitter e(target, line, inst.Pos.X, inst.Pos.Y, 0.0);
  e.PauseCompensation(inst.Compensation);
  double theta = start;
  for (int32_t k = 1; k <= count; ++k) {
    Stroke(e, theta, mainInner, mainOuter, mainDepth, top);
    if (k == count) break;
    if (division > 0) {
      double phi = theta - substep;
      for (int32_t i = 1; i < division; ++i) {
        Stroke(e, phi, subInner, subOuter, subDepth, top);
        phi -= substep;
      }
    }
    theta -= step;
  }
  // The outer end of the last main stroke; the centre stays when there was none.
  if (e.Moved()) {
    inst.Pos.X = e.LastPoint().X;
    inst.Pos.Y = e.LastPoint().Y;
  }
  e.ResumeCompensation(inst.Compensation);
}
