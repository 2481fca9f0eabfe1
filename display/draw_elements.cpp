#include "display/draw_elements.h"

#include "display/pick_index.h"
#include "display/sim_view.h"
#include "engine/cnc_api.h"

double ToolCircleRadius(const std::array<ToolParam, 255>& tools, int32_t tool) {
  if (tool < 0 || tool >= static_cast<int32_t>(tools.size())) return 0.0;
  return tools[tool].Diameter / 2;
}

void DrawElements(TSimView& view, int32_t handle, uint8_t mode, int width, QColor colour, const TDrawRun& run) {
  const auto info = [&](const std::string& s) {
    if (run.Info) run.Info(s);
  };
  TPoint current{view.SpindleX(), view.SpindleY(), 0.0};
  const int32_t n = CncGetCount(handle, mode);
  if (n <= 0) {
    info("Empty list, no data to process");
    return;
  }
  const bool path = mode == CNC_MODE_PATH;
  // Room for the most each element can add, so the list never grows by copying (unused
  // room is never touched, so it costs no memory).
  const size_t elements = static_cast<size_t>(n);
  view.Objects.Reserve(elements * (run.PointOutEdges ? 3 : 1), path ? elements : 0, elements);
  if (run.ObjectEnds) run.ObjectEnds->reserve(run.ObjectEnds->size() + elements);
  const auto elementDone = [&] {
    if (run.ObjectEnds) run.ObjectEnds->push_back(view.Objects.Count());
  };
  for (int32_t i = 0; i < n; ++i) {
    TCncElementData e{};
    if (CncGetElement(handle, i, mode, &e) != 0) {
      // The record holds nothing defined: the element is left out.
      info("Error on reading line " + std::to_string(i));
      elementDone();
      continue;
    }
    const TCode code = CodeFromNumber(static_cast<char>((e.Code >> 8) & 0xFF), e.Code & 0xFF);
    if (IsMove(code)) {
      const TPoint start = current;
      const TPoint end{e.P1.X + view.W0X(), e.P1.Y + view.W0Y(), e.P1.Z};
      const TPoint centre{start.X + e.P2.X, start.Y + e.P2.Y, e.P2.Z};
      const auto pick = [&](TPickShape shape) {
        if (!run.Pick) return;
        TPickElement p{start, end, centre, i, e.Line, {code.Chars[0], code.Chars[1], code.Chars[2], 0}, shape,
                       path ? TPickList::Path : TPickList::Contour};
        run.Pick->Add(p);
      };
      switch (code.Chars[2]) {
        case '0':
          if (path) view.AddLine(start, end, kPenDashDot, 0, QColor(0, 0, 255));
          if (path) pick(TPickShape::Line);
          break;
        case '1':
          view.AddLine(start, end, kPenSolid, width, colour);
          pick(TPickShape::Line);
          break;
        case '2':
          view.AddArcCW(start, end, kPenSolid, width, colour, centre);
          pick(TPickShape::ArcCW);
          break;
        case '3':
          view.AddArcCCW(start, end, kPenSolid, width, colour, centre);
          pick(TPickShape::ArcCCW);
          break;
      }
      if (path && run.Tools && run.CurrentTool) {
        const double r = ToolCircleRadius(*run.Tools, *run.CurrentTool);
        if (r > 0.0) view.AddCircle(start, kPenSolid, r, 0, QColor(0, 128, 0));
      }
      current = end;
      if (run.PointOutEdges) view.AddCross(start, kPenSolid, 1, path ? QColor(255, 255, 255) : QColor(255, 0, 0));
    } else if (code == TCode("T00")) {
      if (run.CurrentTool) *run.CurrentTool = e.ToolNo;
    }
    elementDone();
  }
  view.Invalidate();
}
