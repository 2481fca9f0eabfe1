// The step plotter's pixel sink over a Qt picture.
#pragma once

#include <QImage>

#include "windows/cnc_graphics.h"

// A sink over `image` when it is a QImage::Format_RGB32 picture, else one that plots nothing.
TRasterSink RasterOf(QImage& image);
