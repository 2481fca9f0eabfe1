// The view's display list: graphic objects in the order they were added, with their
// pixel coordinates computed once per window and culled by bounding box when painting.
#pragma once

#include <QPoint>
#include <cstddef>
#include <cstdint>
#include <vector>

#include "display/graph_objects.h"

class QPainter;

class TDisplayList {
 public:
  // Appends the object with its pixel coordinates for the window.
  void Add(const TGraphObject& object, const TViewWindow& w);
  void Clear();
  size_t Count() const { return Objects.size(); }
  const TGraphObject& operator[](size_t i) const { return Objects[i]; }
  void Reserve(size_t n);

  // Pixel coordinates of every object for the window.
  void Recalc(const TViewWindow& w);
  // Draws, in list order, every object whose bounding box touched the view when its
  // pixels were computed for this window; returns how many were drawn.
  size_t Paint(QPainter& canvas, const TViewWindow& w) const;

 private:
  std::vector<TGraphObject> Objects;
  std::vector<uint8_t> Shown;  // per object: its bounding box touches the view
  std::vector<QPoint> Curves;  // sampled points of very large circles
};
