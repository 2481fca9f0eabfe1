#include "display/draw_elements.h"

#include <QColor>
#include <algorithm>

#include "display/pick_index.h"
#include "display/sim_view.h"
#include "engine/cnc_api.h"
#include "engine/run_elements.h"

namespace {

// The look of a drawn program.
struct TListLook {
  int Width;
  QColor Colour;
};
const TListLook kContourLook{1, QColor(255, 255, 0)};
const TListLook kPathLook{0, QColor(0, 255, 0)};
const QColor kRapidColour(0, 0, 255);
const QColor kToolCircleColour(0, 128, 0);
const QColor kContourEdgeColour(255, 0, 0);
const QColor kPathEdgeColour(255, 255, 255);

}  // namespace

double ToolCircleRadius(const TToolTable& tools, int32_t tool) {
  if (tool < 0 || tool >= static_cast<int32_t>(tools.size())) return 0.0;
  return tools[tool].Diameter / 2;
}

void DrawElements(TSimView& view, int32_t handle, uint8_t mode, const TDrawRun& run, std::vector<size_t>* objectEnds) {
  const auto info = [&](const std::string& s) {
    if (run.Info) run.Info(s);
  };
  TPoint current{view.SpindleX(), view.SpindleY(), 0.0};
  TRunElements list(handle, mode);
  if (list.Empty()) {
    info("Empty list, no data to process");
    return;
  }
  const bool path = mode == CNC_MODE_PATH;
  const int width = path ? kPathLook.Width : kContourLook.Width;
  const QColor colour = path ? kPathLook.Colour : kContourLook.Colour;
  // Room for the most each element can add, so the list never grows by copying (unused
  // room is never touched, so it costs no memory).
  const size_t elements = static_cast<size_t>(list.Count());
  view.Objects.Reserve(elements * (run.PointOutEdges ? 3 : 1), path ? elements : 0, elements);
  if (objectEnds) objectEnds->reserve(objectEnds->size() + elements);
  const auto elementDone = [&] {
    if (objectEnds) objectEnds->push_back(view.Objects.Count());
  };
  for (const TRunElement& element : list) {
    if (!element.Read) {
      // The record holds nothing defined: the element is left out.
      info("Error on reading line " + std::to_string(element.Index));
      elementDone();
      continue;
    }
    const TCncElementData& e = element.Data;
    if (element.Code.IsMove()) {
      const TPoint start = current;
      const TPoint end{e.P1.X + view.W0X(), e.P1.Y + view.W0Y(), e.P1.Z};
      const TPoint centre{start.X + e.P2.X, start.Y + e.P2.Y, e.P2.Z};
      const auto pick = [&](TPickShape shape) {
        if (!run.Pick) return;
        const TCode code = element.Code.Text();
        TPickElement p;
        p.Start = start;
        p.End = end;
        p.Centre = centre;
        p.Element = element.Index;
        p.Line = e.Line;
        p.FileLine = std::max(0, CncGetElementFileLine(handle, element.Index, mode));
        std::copy_n(code.Chars, 3, p.Code);
        p.Shape = shape;
        p.List = path ? TPickList::Path : TPickList::Contour;
        run.Pick->Add(p);
      };
      switch (element.Code.Number) {
        case 0:
          if (path) view.AddLine(start, end, kPenDashDot, 0, kRapidColour);
          if (path) pick(TPickShape::Line);
          break;
        case 1:
          view.AddLine(start, end, kPenSolid, width, colour);
          pick(TPickShape::Line);
          break;
        case 2:
          view.AddArcCW(start, end, kPenSolid, width, colour, centre);
          pick(TPickShape::ArcCW);
          break;
        case 3:
          view.AddArcCCW(start, end, kPenSolid, width, colour, centre);
          pick(TPickShape::ArcCCW);
          break;
      }
      if (path && run.Tools && run.CurrentTool) {
        const double r = ToolCircleRadius(*run.Tools, *run.CurrentTool);
        if (r > 0.0) view.AddCircle(start, kPenSolid, r, 0, kToolCircleColour);
      }
      current = end;
      if (run.PointOutEdges) view.AddCross(start, kPenSolid, 1, path ? kPathEdgeColour : kContourEdgeColour);
    } else if (element.Code.Letter == 'T' && element.Code.Number == 0) {
      if (run.CurrentTool) *run.CurrentTool = e.ToolNo;
    }
    elementDone();
  }
  view.Invalidate();
}

void DrawProgram(TSimView& view, int32_t handle, const TShownLists& lists, const TDrawRun& run,
                 TPlayedDrawing* played) {
  // The path plays back when it is shown, else the contour; its objects come last.
  const auto draw = [&](uint8_t mode, bool plays) {
    if (!plays || !played) return DrawElements(view, handle, mode, run);
    *played = {mode, run.CurrentTool ? *run.CurrentTool : 0, view.Objects.Count(), {}};
    DrawElements(view, handle, mode, run, &played->ObjectEnds);
  };
  if (lists.Contour) draw(CNC_MODE_CONTOUR, !lists.Path);
  if (lists.Path) draw(CNC_MODE_PATH, true);
}
