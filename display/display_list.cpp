#include "display/display_list.h"

#include <QPainter>
#include <QPen>

namespace {

QPen MakePen(const TPenSpec& style) {
  QPen pen(QColor::fromRgb(style.Colour), style.Width);
  pen.setStyle(style.Style == kPenDashDot ? Qt::DashDotLine : Qt::SolidLine);
  pen.setCapStyle(Qt::FlatCap);
  return pen;
}

}  // namespace

void TDisplayList::Add(const TGraphObject& object, const TViewWindow& w) {
  Objects.push_back(object);
  TGraphObject& o = Objects.back();
  o.ComputePixels(TPixelMapping(w), Curves);
  Shown.push_back(o.MayShowIn(w.Width, w.Height));
}

void TDisplayList::Reserve(size_t n) {
  Objects.reserve(n);
  Shown.reserve(n);
}

void TDisplayList::Clear() {
  std::vector<TGraphObject>().swap(Objects);
  std::vector<uint8_t>().swap(Shown);
  std::vector<QPoint>().swap(Curves);
}

void TDisplayList::Recalc(const TViewWindow& w) {
  Curves.clear();
  const TPixelMapping m(w);
  for (size_t i = 0; i < Objects.size(); ++i) {
    Objects[i].ComputePixels(m, Curves);
    Shown[i] = Objects[i].MayShowIn(w.Width, w.Height);
  }
}

size_t TDisplayList::Paint(QPainter& canvas, const TViewWindow&) const {
  size_t drawn = 0;
  bool havePen = false;
  TPenSpec current;
  for (size_t i = 0; i < Objects.size(); ++i) {
    if (!Shown[i]) continue;
    const TGraphObject& o = Objects[i];
    if (!havePen || !(o.Pen == current)) {
      current = o.Pen;
      havePen = true;
      canvas.setPen(MakePen(current));
    }
    o.Draw(canvas, Curves.data());
    ++drawn;
  }
  return drawn;
}
