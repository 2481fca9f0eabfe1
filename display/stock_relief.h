// Painting a simulated stock: its shaded relief into a picture for a window of the plane,
// a legend of the depths, red markers at the findings, and the whole framed to the stock.
#pragma once

#include <QImage>
#include <QPainter>
#include <functional>
#include <vector>

#include "stock/relief_3d.h"
#include "stock/stock_simulation.h"

// The part of the plane a picture shows, in millimetres.
struct TPlaneWindow {
  double XMin = 0.0;
  double XMax = 0.0;
  double YMin = 0.0;
  double YMax = 0.0;
};

// Paints the relief over `image` where the stock lies in `window`; the rest stays.
void PaintRelief(QImage& image, const TStockResult& result, const TPlaneWindow& window);

// The depth ramp from the top to the deepest cut in `area`, with both heights written.
void PaintReliefLegend(QPainter& painter, const QRect& area, const TStockResult& result);

// A red ring at each finding's place; `toPixel` maps millimetres to the picture.
void PaintFindingMarkers(QPainter& painter, const std::vector<TFinding>& findings,
                         const std::function<QPointF(double, double)>& toPixel);

// The relief framed to the stock, with the legend beside it and the findings marked.
QImage StockPicture(const TStockResult& result, int width, int height);

// One 3D picture of the relief `renderer` draws, as `view` sees it.
QImage ReliefImage3d(TReliefRenderer& renderer, const TOrbitView& view);

// The stock in 3D from `azimuth` and `elevation` (degrees), framed whole, with the legend.
QImage StockPicture3d(const TStockResult& result, int width, int height, double azimuth, double elevation);
