#include "windows/image_sink.h"

TRasterSink RasterOf(QImage& image) {
  if (image.isNull() || image.format() != QImage::Format_RGB32) return TRasterSink(nullptr, 0, 0, 0);
  return TRasterSink(reinterpret_cast<uint32_t*>(image.bits()), image.width(), image.height(),
                     image.bytesPerLine() / 4);
}
