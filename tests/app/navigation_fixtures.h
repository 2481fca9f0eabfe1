// What the navigation tests of the main window share: a window without a settings file and a
// view of one pixel per millimetre.
#pragma once

#include "app/main_window.h"
#include "display/view_window.h"

// The main window's paths with a settings file that does not exist: the defaults hold.
inline TStartPaths NoSettings() {
  TStartPaths p = TStartPaths::BesideExecutable();
  p.SettingsFile = "/nonexistent/velquor.INI";
  return p;
}

// 600 x 400 pixels showing -40..560 x -40..360 mm.
inline TViewWindow View600x400() {
  TViewWindow w;
  w.SetRect({-40, 560, -40, 360});
  w.Width = 600;
  w.Height = 400;
  w.UpdateScale();
  return w;
}
