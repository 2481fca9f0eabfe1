// G81/G79: drilling in steps with the cycle defined by the last G81 line.
#include <cstdio>
#include <string>

#include "engine/cycles.h"

namespace {

// "Setze G81 Vorschub F" / "Setze G01-Vorschub F" with the feed right-aligned in four places.
const char* FeedText(TCncInstance& inst, const char* head, int32_t feed) {
  char buf[16];
  std::snprintf(buf, sizeof buf, "%4d", static_cast<int>(feed));
  return inst.Texts.Intern(std::string(head) + buf);
}

}  // namespace

TG81Cycle MakeDrillCycle(uint16_t feed, uint16_t steps, double depth, double height, double diameter) {
  TG81Cycle c;
  c.Feed = feed;
  c.Steps = steps;
  c.Depth = depth;
  c.Height = height;
  c.Diameter = diameter;
  c.StepDepth = steps == 0 ? depth : depth / steps;
  return c;
}

void DrillCycleG79(TCncInstance& inst, int32_t line, TElementList& target, TPass pass, int32_t feed) {
  const TG81Cycle& c = inst.DrillCycle;
  const TPoint p = inst.Pos;
  if (pass == TPass::Contour) {
    const double r = c.Diameter / 2.0;
    target.push_back(MakeElement(line, "G81 Kreis", "G00", TPoint{p.X - r, p.Y, p.Z}));
    target.push_back(MakeElement(line, "Kreisint G02", "G02", TPoint{p.X + r, p.Y, p.Z}, TPoint{r, 0, 0}));
    target.push_back(MakeElement(line, "Kreisint G02", "G02", TPoint{p.X - r, p.Y, p.Z}, TPoint{-r, 0, 0}));
  } else {
    target.push_back(MakeElement(line, "G79", "G00", p));
    if (c.Feed != feed)
      target.push_back(MakeValueElement(line, FeedText(inst, "Setze G81 Vorschub F", c.Feed), "F0X", c.Feed));
    const double retract = p.Z - c.Depth + c.Height;
    for (int k = 1; k <= c.Steps; ++k) {
      target.push_back(MakeElement(line, "G79", "G01", TPoint{p.X, p.Y, p.Z - k * c.StepDepth}));
      target.push_back(MakeElement(line, "G79", "G00", TPoint{p.X, p.Y, retract}));
    }
  }
  if (c.Feed != feed)
    target.push_back(MakeValueElement(line, FeedText(inst, "Setze G01-Vorschub F", feed), "F0X", feed));
}
