// What the machine-coordinate window's controls hold, shared by the window, the drawing run
// and the command line.
#pragma once

#include <cstdint>
#include <cstdio>
#include <string>

constexpr int kZoomMin = 1;
constexpr int kZoomMax = 1000;
constexpr int kZoomStart = 50;
constexpr int kZoomPage = 10;
constexpr double kZoomPerPixelStep = 1000.0;  // zoom 1000: one pixel per step
constexpr int kScrollMin = -10000;
constexpr int kScrollMax = 10000;
// Pixel of step 0, 0 with both scroll bars at 0.
constexpr int kOriginX = 200;
constexpr int kOriginY = 500;
constexpr int kSurfaceWidth = 880;
constexpr int kSurfaceHeight = 638;

struct TMachineViewControls {
  int Zoom = kZoomStart;
  int HorzPos = 0;
  int VertPos = 0;
  bool ShowContour = true;
  bool ShowPath = true;
};

// Zoom position / 10 as "000.0" and "%": 50 gives "005.0%", 1000 "100.0%".
inline std::string ZoomLabelText(int position) {
  char text[16];
  std::snprintf(text, sizeof text, "%03d.%d%%", position / 10, position % 10);
  return text;
}

constexpr const char* kCurrentCaptions[3] = {"Current X:", "Current Y:", "Current Z:"};
