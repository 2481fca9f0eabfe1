// The tool-bar pictures of the main window, drawn at start-up.
#pragma once

#include <QIcon>

enum class TToolIcon {
  Exit,
  Open,
  Edit,
  Refresh,
  ZoomAll,
  ZoomWindow,
  ZoomVaria,
  Pan,
  SetW0,
  SetSpindle,
  Edges,
  Contour,
  CuttingPath,
  Tools,
  Simulation,
  About,
  ZoomToPart,
  Pick
};

QIcon ToolIcon(TToolIcon icon);
