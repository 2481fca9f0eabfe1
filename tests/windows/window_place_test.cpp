// Windows open wholly inside the screen's available area.
#include "windows/window_place.h"

#include <gtest/gtest.h>

#include <QScreen>
#include <QWidget>

#include "windows/window_style.h"

namespace {

// The frame rectangle lies inside the available area.
bool Inside(const TScreenRect& r, const TFrameMargins& f, const TScreenRect& a) {
  return r.X - f.Left >= a.X && r.Y - f.Top >= a.Y && r.X + r.Width + f.Right <= a.X + a.Width &&
         r.Y + r.Height + f.Bottom <= a.Y + a.Height;
}

TEST(PlaceWindow, InsideTheAvailableAreaCentredMovedOrMadeSmaller) {
  const TScreenRect laptop{0, 0, 1366, 738};  // 1366 x 768 less a 30-pixel panel
  const TScreenRect tall{0, 0, 1920, 1000};
  const TFrameMargins f = kFrameEstimate;
  const struct {
    const char* Name;
    int Width, Height;
    TFrameMargins Frame;
    TScreenRect Available;
    std::optional<TScreenRect> At, CentreOn;
    TScreenRect Expected;
  } cases[] = {
      {"main window on the laptop: lower, centred", 994, 885, f, laptop, {}, {}, {186, 32, 994, 702}},
      {"fits: centred", 880, 638, f, tall, {}, {}, {520, 181, 880, 638}},
      {"its own place, bottom beyond the screen",
       880,
       638,
       f,
       tall,
       TScreenRect{100, 400, 0, 0},
       {},
       {100, 358, 880, 638}},
      {"its own place, inside by one pixel", 880, 638, f, tall, TScreenRect{100, 357, 0, 0}, {}, {100, 357, 880, 638}},
      {"centred on an owner half off the left edge",
       400,
       300,
       f,
       tall,
       {},
       TScreenRect{-500, 100, 600, 500},
       {4, 200, 400, 300}},
      {"frameless splash on 800 x 600", 475, 289, {}, {0, 0, 800, 600}, {}, {}, {162, 155, 475, 289}},
      {"second screen to the right", 600, 400, f, {1920, 0, 1280, 1024}, {}, {}, {2260, 312, 600, 400}},
  };
  for (const auto& c : cases) {
    const TScreenRect r = PlaceWindow(c.Width, c.Height, c.Frame, c.Available, c.At, c.CentreOn);
    EXPECT_EQ(r, c.Expected) << c.Name << ": " << r.X << " " << r.Y << " " << r.Width << " " << r.Height;
    EXPECT_TRUE(Inside(r, c.Frame, c.Available)) << c.Name;
  }
}

// A window of the main window's start size on the test screen.
TEST(PlaceWindow, AWidgetLargerThanItsScreenIsPlacedInside) {
  QWidget window;
  window.resize(994, 885);
  PlaceOnScreen(&window, nullptr);
  const QRect area = window.screen()->availableGeometry();
  EXPECT_TRUE(area.contains(window.geometry())) << window.geometry().width() << " x " << window.geometry().height();
}

}  // namespace
