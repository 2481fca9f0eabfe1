#include "display/display_list.h"

#include <QPainter>
#include <QPen>

namespace {

QPen MakePen(const TPenSpec& spec) {
  QPen pen(QColor::fromRgb(spec.Colour), spec.Width);
  pen.setStyle(spec.Style == kPenDashDot ? Qt::DashDotLine : Qt::SolidLine);
  pen.setCapStyle(Qt::FlatCap);
  return pen;
}

}  // namespace

void TDisplayList::Add(const TGraphObject& object, const TViewWindow& w) {
  Objects.push_back(object);
  Objects.back().ComputePixels(w, Curves);
}

void TDisplayList::Clear() {
  std::vector<TGraphObject>().swap(Objects);
  std::vector<QPoint>().swap(Curves);
}

void TDisplayList::Recalc(const TViewWindow& w) {
  Curves.clear();
  for (TGraphObject& o : Objects) o.ComputePixels(w, Curves);
}

size_t TDisplayList::Paint(QPainter& canvas, const TViewWindow& w) const {
  size_t drawn = 0;
  bool havePen = false;
  TPenSpec current;
  for (const TGraphObject& o : Objects) {
    if (!o.MayShowIn(w.Width, w.Height)) continue;
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
