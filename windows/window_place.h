// Where a window opens: wholly inside the screen's available area, also on a small laptop
// screen. Plain arithmetic on rectangles, no Qt: the windows hand in what they know.
#pragma once

#include <optional>

struct TScreenRect {
  int X = 0;
  int Y = 0;
  int Width = 0;
  int Height = 0;
  friend bool operator==(const TScreenRect&, const TScreenRect&) = default;
};

// What the window manager adds around a window's client area.
struct TFrameMargins {
  int Left = 0;
  int Top = 0;
  int Right = 0;
  int Bottom = 0;
};

// Before a window is first shown its frame is unknown: this much is room for a usual title
// bar and border.
inline constexpr TFrameMargins kFrameEstimate{4, 32, 4, 4};

// The client rectangle of a window whose client area wants `width` × `height`: at its own
// top-left corner `at` when given, else centred on `centreOn` (the owner window), else on
// `available`. A window larger than `available` (frame included) is made smaller; then it
// is moved just as far as needed for its frame to lie inside `available`.
TScreenRect PlaceWindow(int width, int height, const TFrameMargins& frame, const TScreenRect& available,
                        std::optional<TScreenRect> at = std::nullopt,
                        std::optional<TScreenRect> centreOn = std::nullopt);
