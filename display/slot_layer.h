// Thin objects are drawn as colour slots into a byte per pixel, which the processor's cache
// holds, and laid over the picture before QPainter draws and at the end.
#pragma once

#include <QImage>
#include <QRgb>
#include <algorithm>
#include <climits>
#include <cstdint>
#include <vector>

#include "display/thin_raster.h"

class TSlotLayer {
 public:
  static constexpr size_t kSlots = 255;
  TSlotLayer(QImage& image, size_t pens)
      : Pixels(reinterpret_cast<uint32_t*>(image.bits())),
        Stride(image.bytesPerLine() / 4),
        Width(image.width()),
        Height(image.height()),
        Slots(size_t(Width) * size_t(Height), 0),
        PenSlot(pens, 0),
        Covered(Width, Height) {}
  // `backwards`: pixels keep their first colour and count towards the covered tiles.
  TRasterTarget Target(bool backwards = false) {
    if (backwards) Counting = true;
    return {Slots.data(), Width, Width, Height, backwards ? &Covered : nullptr};
  }
  TRasterValue SlotOf(uint32_t pen, QRgb colour) {
    if (PenSlot[pen] != 0) return PenSlot[pen];
    if (Colours.size() == kSlots) Flush();
    Colours.push_back(0xFF000000u | colour);
    return PenSlot[pen] = static_cast<TRasterValue>(Colours.size());
  }
  // An object drawn within this box: only the rows it spans need laying over.
  void Touch(const TPixelBox& p) {
    RowLo = std::min(RowLo, std::min(p.Y1, p.Y2) - kRowSlack);
    RowHi = std::max(RowHi, std::max(p.Y1, p.Y2) + kRowSlack);
  }
  // Lays the drawn pixels over the picture and starts empty.
  void Flush() {
    if (Colours.empty()) return;
    const int32_t last = std::min(Height - 1, RowHi);
    for (int32_t y = std::max(0, RowLo); y <= last; ++y) {
      TRasterValue* cells = Slots.data() + size_t(y) * size_t(Width);
      uint32_t* row = Pixels + size_t(y) * size_t(Stride);
      for (int32_t x = 0; x < Width; ++x) {
        if (cells[x] == 0) continue;
        row[x] = Colours[cells[x] - 1];
        cells[x] = 0;
      }
    }
    Colours.clear();
    std::fill(PenSlot.begin(), PenSlot.end(), TRasterValue{0});
    if (Counting) Covered.Clear();
    Counting = false;
    RowLo = INT32_MAX;
    RowHi = INT32_MIN;
  }

 private:
  static constexpr int32_t kRowSlack = 2;  // rounding of outlines at the box's edge
  int32_t RowLo = INT32_MAX, RowHi = INT32_MIN;
  uint32_t* Pixels;
  int32_t Stride, Width, Height;
  std::vector<TRasterValue> Slots;
  std::vector<TRasterValue> PenSlot;  // by pen number, 0 for none yet
  std::vector<uint32_t> Colours;      // by slot - 1
  TCoverage Covered;
  bool Counting = false;  // Covered may hold counts
};
