// Finding one's way in the view: the pointer's program coordinates for the status area
// and the window that frames the drawn part. No window needed.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

#include "app/process_file.h"
#include "display/view_window.h"

// Room left around the part by zoom to part, as a share of its size on each side.
inline constexpr double kPartMargin = 0.05;
// A part without width or height (a single line) is framed as if it were this big.
inline constexpr double kSmallestPartMm = 1.0;

// Positions of the view's scroll bars for its window: the horizontal bar is the left edge
// (ScrollToX), the vertical bar the bottom edge negated (ScrollToY).
struct TScrollPositions {
  int32_t Horizontal = 0;
  int32_t Vertical = 0;
};
TScrollPositions ScrollPositionsOf(const TViewWindow& view);

// The name of a mouse mode for the status area.
const char* MouseModeName(int32_t mode);

// "X 12.345  Y -3.000  Pan": the pixel's point in program coordinates (view minus W0).
std::string PointerText(const TViewWindow& view, TRealXY w0, TPixelXY pixel, int32_t mouseMode);

// The window showing `box` with the margin, widened on one axis to the view's aspect;
// none when the view has no pixels.
std::optional<TWindowRect> PartWindow(const TWindowRect& box, int32_t width, int32_t height);

// The box, in view coordinates, of what the view draws of the run's lists: the contour's
// feed moves and the cutting path's moves, as the check boxes choose. None when nothing
// is drawn. `spindle` is where the first move starts in the view.
std::optional<TWindowRect> DrawnPartBox(int32_t handle, const TDisplayChecks& checks, TRealXY spindle, TRealXY w0);
