#include "app/line_in_view.h"

#include <filesystem>

#include "app/job_figures.h"
#include "app/view_navigation.h"

namespace {

// G01, G02 and G03 as the element records number them (letter x 256 + number).
constexpr int32_t kCodeG = 'G' << 8;

int32_t CodeOf(TPickShape shape) {
  switch (shape) {
    case TPickShape::ArcCW: return kCodeG | 2;
    case TPickShape::ArcCCW: return kCodeG | 3;
    default: return kCodeG | 1;
  }
}

bool Inside(const TWindowRect& box, const TWindowRect& window) {
  return box.XMin >= window.XMin && box.XMax <= window.XMax && box.YMin >= window.YMin && box.YMax <= window.YMax;
}

}  // namespace

std::vector<TPickElement> ElementsOfLine(const TPickIndex& index, int32_t fileLine) {
  std::vector<TPickElement> out;
  for (size_t i = 0; i < index.Count(); ++i)
    if (index[i].FileLine == fileLine) out.push_back(index[i]);
  return out;
}

std::optional<TWindowRect> ElementsBox(std::span<const TPickElement> elements) {
  if (elements.empty()) return std::nullopt;
  TAxisRange x, y;
  for (const TPickElement& e : elements) {
    // The job figures' sum knows the true extremes of arcs: one move from its own start.
    TJobFigureSum sum({e.Start.X, e.Start.Y, e.Start.Z}, TFeedUnit::Millimetre);
    TCncElementData d{};
    d.Code = CodeOf(e.Shape);
    d.P1 = {e.End.X, e.End.Y, e.End.Z};
    d.P2 = {e.Centre.X - e.Start.X, e.Centre.Y - e.Start.Y, 0.0};
    sum.Add(d);
    const TJobFigures& f = sum.Figures();
    x.Take(f.X.Min), x.Take(f.X.Max), y.Take(f.Y.Min), y.Take(f.Y.Max);
  }
  return TWindowRect{x.Min, x.Max, y.Min, y.Max};
}

TSightWindow WindowShowing(const TViewWindow& view, const TWindowRect& box) {
  const TWindowRect now = view.Rect();
  if (!view.CanConvert() || Inside(box, now)) return {now, TSightMove::Kept};
  const double w = now.XMax - now.XMin, h = now.YMax - now.YMin;
  const double room = 1 - 2 * kPartMargin;
  if (box.XMax - box.XMin <= w * room && box.YMax - box.YMin <= h * room) {
    const double cx = (box.XMin + box.XMax) / 2, cy = (box.YMin + box.YMax) / 2;
    return {{cx - w / 2, cx + w / 2, cy - h / 2, cy + h / 2}, TSightMove::Moved};
  }
  const auto framed = PartWindow(box, view.Width, view.Height);
  return framed ? TSightWindow{*framed, TSightMove::Framed} : TSightWindow{now, TSightMove::Kept};
}

bool SameFile(const std::string& a, const std::string& b) {
  if (a.empty() || b.empty()) return false;
  std::error_code ec;
  return std::filesystem::equivalent(a, b, ec) && !ec;
}

TLineInView LineInView(const TPickIndex& index, const TViewWindow& view, int line, bool sameFile) {
  TLineInView r;
  const int32_t fileLine = line + 1;
  if (!sameFile) {
    r.Message = "Text line " + std::to_string(fileLine) +
                ": the view shows another program; open this one to see its moves";
    return r;
  }
  r.Elements = ElementsOfLine(index, fileLine);
  if (r.Elements.empty()) {
    r.Message = "Line " + std::to_string(fileLine) + ": no drawn moves";
    return r;
  }
  const std::string name = LineName(fileLine, r.Elements.front().Line);
  r.Message = name + ": " + std::to_string(r.Elements.size()) + (r.Elements.size() == 1 ? " move" : " moves") +
              " highlighted";
  const TSightWindow sight = WindowShowing(view, *ElementsBox(r.Elements));
  if (sight.Move != TSightMove::Kept) r.Window = sight.Window;
  return r;
}
