// The engraving half of TVectorFont: size, justification, strokes.
#include "engraving/text_engraving.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "base/convert.h"
#include "engraving/font_slots.h"
#include "engraving/vector_font.h"

namespace {

constexpr double kScaleStep = 0.01;

double UnitsToMm(int64_t units) { return static_cast<double>(units) * 25.4 / 1270.0; }

int64_t Truncated(double v) { return static_cast<int64_t>(std::trunc(v)); }

std::string LineMessage(int32_t line, const char* tail) {
  return "Error in program line " + std::to_string(line) + tail;
}

}  // namespace

bool FontHeightInRange(double mm) {
  const double units = mm * kUnitsPerMm;
  return std::isfinite(units) && std::fabs(units) <= static_cast<double>(kMaxFontHeightUnits) + 0.5;
}

int32_t TVectorFont::FontHeight() const {
  if (!Current) return 0;
  // The highest scaled y of "T": truncation keeps the order, so it is the scaled top, or
  // the scaled bottom when the scale is negative.
  const int32_t y = ScaleYValue >= 0 ? Current->ReferenceTop : Current->ReferenceBottom;
  return static_cast<int32_t>(std::max<int64_t>(0, Truncated(y * ScaleYValue)));
}

TSizeResult TVectorFont::SetSize(double height) {
  if (!Current) return TSizeResult::NoFont;
  if (!FontHeightInRange(height)) return TSizeResult::OutOfRange;
  const int64_t a = RoundNearest(height * kUnitsPerMm);
  if (a == 0) return TSizeResult::ZeroHeight;
  ScaleYValue = 1.0;
  // Loading refuses fonts whose "T" has no height, so this never divides by 0.
  ScaleYValue = static_cast<double>(a) / FontHeight();
  // The smallest scale in steps of 0.01 at which "T" is taller than a units.
  while (a >= FontHeight()) ScaleYValue += kScaleStep;
  ScaleXValue = ScaleYValue;
  return TSizeResult::Set;
}

void TVectorFont::SetJustification(int32_t horizontal, int32_t vertical) {
  HJust = horizontal;
  VJust = vertical;
}

int64_t TVectorFont::CharWidth(int c) const { return Current ? RoundNearest(Current->Width(c) * ScaleXValue) : 0; }

int64_t TVectorFont::TextWidth(std::string_view text, double widthFactor) const {
  if (!Current) return 0;
  int64_t sum = 0;
  for (unsigned char c : text) sum += CharWidth(c);
  return RoundNearest(static_cast<double>(sum) * widthFactor);
}

TPoint TVectorFont::EngraveText(int32_t line, const TPoint& start, TElementList& list, double widthFactor, double depth,
                                double safetyHeight, std::string_view text) {
  const double upperZ = start.Z + safetyHeight;
  const double lowerZ = start.Z - depth;
  TPoint cur = start;
  if (!Current) {
    StatusCode = kFontNotLoaded;
    AddMessage(FontStatusMessage(kFontNotLoaded));
    return start;
  }
  // Pen positions are 32-bit units; a start or a text beyond them is refused whole.
  int64_t sum = 0;
  for (unsigned char c : text) sum += CharWidth(c);
  const double extent = std::fabs(static_cast<double>(sum) * widthFactor);
  const auto inRange = [](double v) { return std::isfinite(v) && std::fabs(v) <= kMaxPenUnits; };
  if (!inRange(start.X * kUnitsPerMm) || !inRange(start.Y * kUnitsPerMm) || !inRange(extent)) {
    AddMessage(LineMessage(line, ": engraved text beyond the coordinate range"));
    return start;
  }

  int64_t penX = RoundNearest(start.X * kUnitsPerMm);
  int64_t penY = RoundNearest(start.Y * kUnitsPerMm);
  bool penUp = false;  // the tool counts as down, so the first move lifts it

  int64_t x = penX;
  int64_t y = penY;
  const int64_t fontHeight = FontHeight();
  const int64_t textWidth = RoundNearest(static_cast<double>(sum) * widthFactor);
  if (Dir == 0) {
    if (VJust == 2) y -= fontHeight;
    if (VJust == 1) y -= fontHeight / 2;
    if (HJust == 2) x -= textWidth;
    if (HJust == 1) x -= textWidth / 2;
  } else {
    if (VJust == 2) x += fontHeight;
    if (VJust == 1) x += fontHeight / 2;
    if (HJust == 1) y -= textWidth / 2;
    if (HJust == 2) y -= textWidth;
  }

  const auto add = [&](const char* code) { list.push_back(MakeElement(line, "Font", code, cur)); };
  for (unsigned char c : text) {
    Current->ForEachStroke(c, [&](const TStrokeCommand& cmd) {
      if (cmd.Op != kStrokeMove && cmd.Op != kStrokeDraw) return;
      int64_t px = Truncated(cmd.X * ScaleXValue);
      int64_t py = Truncated(cmd.Y * ScaleYValue);
      if (Dir == 1) {
        const int64_t t = px;
        px = -py;
        py = t;
      }
      if (cmd.Op == kStrokeMove && !penUp) {
        cur.Z = upperZ;
        add("G00");
        penUp = true;
      } else if (cmd.Op == kStrokeDraw && penUp) {
        cur.Z = lowerZ;
        add("G01");
        penUp = false;
      }
      penX = x + px;
      penY = y + py;
      cur.X = UnitsToMm(penX);
      cur.Y = UnitsToMm(penY);
      add(cmd.Op == kStrokeMove ? "G00" : "G01");
    });
    const int64_t advance = RoundNearest(static_cast<double>(CharWidth(c)) * widthFactor);
    if (Dir == 0) x += advance;
    else y += advance;
  }
  return cur;
}
