// From a line of the program text to the view: the drawn moves that line made and the
// window that brings them into sight. No window needed.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "display/pick_index.h"
#include "display/view_window.h"

// The drawn moves of both lists that came from file line `fileLine` (from 1), in index order.
std::vector<TPickElement> ElementsOfLine(const TPickIndex& index, int32_t fileLine);

// The box the moves pass through, in view coordinates, arcs by their true extremes;
// none for no moves.
std::optional<TWindowRect> ElementsBox(std::span<const TPickElement> elements);

enum class TSightMove { Kept, Moved, Framed };

struct TSightWindow {
  TWindowRect Window;
  TSightMove Move = TSightMove::Kept;
};

// The window that shows `box`: the view's own when the box lies inside it; the same size
// centred on the box when the box fits inside the window less its margins; else the box
// framed as zoom to part frames the part. Kept when the view has no pixels.
TSightWindow WindowShowing(const TViewWindow& view, const TWindowRect& box);

// Both names lead to one existing file.
bool SameFile(const std::string& a, const std::string& b);

// What a double click on a program line comes to.
struct TLineInView {
  std::vector<TPickElement> Elements;  // to highlight; empty clears the highlight
  std::optional<TWindowRect> Window;   // a new view window, when the moves were out of sight
  std::string Message;                 // one pane line
};

// `line`: the text line, from 0, as the program text window counts it. `sameFile`: the text
// window shows the program the view drew.
TLineInView LineInView(const TPickIndex& index, const TViewWindow& view, int line, bool sameFile);
