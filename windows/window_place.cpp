#include "windows/window_place.h"

#include <algorithm>

namespace {

// Moves [start, start + length) into [low, high) as little as possible; a span longer than
// the room starts at low.
int Inside(int start, int length, int low, int high) { return std::max(low, std::min(start, high - length)); }

}  // namespace

TScreenRect PlaceWindow(int width, int height, const TFrameMargins& frame, const TScreenRect& available,
                        std::optional<TScreenRect> at, std::optional<TScreenRect> centreOn) {
  const int frameWidth = frame.Left + frame.Right, frameHeight = frame.Top + frame.Bottom;
  TScreenRect r;
  r.Width = std::max(1, std::min(width, available.Width - frameWidth));
  r.Height = std::max(1, std::min(height, available.Height - frameHeight));
  if (at) {
    r.X = at->X;
    r.Y = at->Y;
  } else {
    const TScreenRect& centre = centreOn ? *centreOn : available;
    r.X = centre.X + (centre.Width - r.Width) / 2;
    r.Y = centre.Y + (centre.Height - r.Height) / 2;
  }
  // The frame, not only the client area, must lie inside.
  r.X = Inside(r.X - frame.Left, r.Width + frameWidth, available.X, available.X + available.Width) + frame.Left;
  r.Y = Inside(r.Y - frame.Top, r.Height + frameHeight, available.Y, available.Y + available.Height) + frame.Top;
  return r;
}
