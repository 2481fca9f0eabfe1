// JPEG pictures decoded by libjpeg into a QImage.
#pragma once

#include <QImage>
#include <QString>
#include <cstdint>
#include <span>
#include <string>

// Pictures larger than this many pixels are refused rather than decoded.
constexpr uint64_t kMaxJpegPixels = 64u * 1024u * 1024u;

inline bool JpegSizeAllowed(uint64_t width, uint64_t height) { return width * height <= kMaxJpegPixels; }

struct TJpegResult {
  QImage Image;   // RGB888; null when decoding failed
  QString Error;  // why, for the user; empty on success
};

// Any libjpeg error or warning (a cut file, bad data) fails the whole picture.
TJpegResult DecodeJpeg(std::span<const uint8_t> bytes);

// `path` may be a file or a Qt resource (":/pictures/about.jpg").
TJpegResult LoadJpegPicture(const QString& path);
