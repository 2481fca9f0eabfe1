// Reads back the SVG drawings that the picture export writes: the size, the viewBox and every
// path with the pen and the transforms of the groups around it, to compare with the picture.
#pragma once

#include <QColor>
#include <QFile>
#include <QImage>
#include <QPainterPath>
#include <QRectF>
#include <QRegularExpression>
#include <QTransform>
#include <QXmlStreamReader>
#include <vector>

struct TSvgPathRead {
  QPainterPath Path;  // in viewBox units: the groups' transforms applied
  QColor Stroke;
  double StrokeWidth = 0.0;
  QString DashArray;
};

struct TSvgRead {
  bool Ok = false;
  QString Width, Height;  // as written, with their unit
  QRectF ViewBox;
  int Rects = 0;
  std::vector<TSvgPathRead> Paths;
};

// "matrix(a,b,c,d,e,f)", the one form QSvgGenerator writes.
inline QTransform SvgMatrix(const QString& text) {
  static const QRegularExpression number(QStringLiteral("[-+]?(?:\\d+\\.?\\d*|\\.\\d+)(?:[eE][-+]?\\d+)?"));
  std::vector<double> v;
  for (auto it = number.globalMatch(text); it.hasNext();) v.push_back(it.next().captured().toDouble());
  return v.size() == 6 ? QTransform(v[0], v[1], v[2], v[3], v[4], v[5]) : QTransform();
}

// Path data with absolute M, L and C commands.
inline QPainterPath SvgPathData(const QString& d) {
  static const QRegularExpression token(QStringLiteral("([MLCZ])|([-+]?(?:\\d+\\.?\\d*|\\.\\d+)(?:[eE][-+]?\\d+)?)"));
  QPainterPath path;
  QChar command;
  std::vector<double> args;
  const auto flush = [&] {
    const size_t n = command == u'C' ? 6 : 2;
    for (size_t i = 0; i + n <= args.size(); i += n) {
      if (command == u'M') path.moveTo(args[i], args[i + 1]);
      else if (command == u'L') path.lineTo(args[i], args[i + 1]);
      else if (command == u'C') path.cubicTo(args[i], args[i + 1], args[i + 2], args[i + 3], args[i + 4], args[i + 5]);
    }
    args.clear();
  };
  for (auto it = token.globalMatch(d); it.hasNext();) {
    const QRegularExpressionMatch m = it.next();
    if (m.capturedLength(1) > 0) {
      flush();
      command = m.captured(1).at(0);
    } else {
      args.push_back(m.captured(2).toDouble());
    }
  }
  flush();
  return path;
}

inline TSvgRead ReadSvg(const QString& fileName) {
  TSvgRead svg;
  QFile file(fileName);
  if (!file.open(QIODevice::ReadOnly)) return svg;
  QXmlStreamReader xml(&file);
  struct TGroup {
    QTransform Transform;
    QColor Stroke;
    double StrokeWidth = 0.0;
    QString DashArray;
  };
  std::vector<TGroup> groups{TGroup{}};
  while (!xml.atEnd()) {
    const QXmlStreamReader::TokenType t = xml.readNext();
    if (t == QXmlStreamReader::EndElement && xml.name() == u"g") groups.pop_back();
    if (t != QXmlStreamReader::StartElement) continue;
    const QXmlStreamAttributes a = xml.attributes();
    if (xml.name() == u"svg") {
      svg.Width = a.value(QLatin1String("width")).toString();
      svg.Height = a.value(QLatin1String("height")).toString();
      const QStringList box = a.value(QLatin1String("viewBox")).toString().split(QLatin1Char(' '), Qt::SkipEmptyParts);
      if (box.size() == 4)
        svg.ViewBox = QRectF(box[0].toDouble(), box[1].toDouble(), box[2].toDouble(), box[3].toDouble());
    } else if (xml.name() == u"g") {
      TGroup g = groups.back();
      if (a.hasAttribute(QLatin1String("transform")))
        g.Transform = SvgMatrix(a.value(QLatin1String("transform")).toString()) * g.Transform;
      if (a.hasAttribute(QLatin1String("stroke"))) g.Stroke = QColor(a.value(QLatin1String("stroke")).toString());
      if (a.hasAttribute(QLatin1String("stroke-width")))
        g.StrokeWidth = a.value(QLatin1String("stroke-width")).toDouble();
      g.DashArray = a.value(QLatin1String("stroke-dasharray")).toString();
      groups.push_back(g);
    } else if (xml.name() == u"rect") {
      ++svg.Rects;
    } else if (xml.name() == u"path") {
      const TGroup& g = groups.back();
      TSvgPathRead path;
      path.Path = g.Transform.map(SvgPathData(a.value(QLatin1String("d")).toString()));
      path.Stroke = g.Stroke;
      path.StrokeWidth = g.StrokeWidth;
      path.DashArray = g.DashArray;
      svg.Paths.push_back(path);
    }
  }
  svg.Ok = !xml.hasError();
  return svg;
}

// The box around every path, in pixels of a picture of `size` that shows the viewBox.
inline QRectF SvgPixelBounds(const TSvgRead& svg, QSize size) {
  QRectF box;
  for (const TSvgPathRead& p : svg.Paths) box = box.united(p.Path.boundingRect());
  const double sx = size.width() / svg.ViewBox.width(), sy = size.height() / svg.ViewBox.height();
  return QRectF((box.left() - svg.ViewBox.left()) * sx, (box.top() - svg.ViewBox.top()) * sy, box.width() * sx,
                box.height() * sy);
}

// The box around the pixels of `picture` that differ from `ground` (the same view without the
// objects), as pixel centres.
inline QRectF LitPixelBounds(const QImage& picture, const QImage& ground) {
  int left = picture.width(), right = -1, top = picture.height(), bottom = -1;
  for (int y = 0; y < picture.height(); ++y)
    for (int x = 0; x < picture.width(); ++x) {
      if (picture.pixel(x, y) == ground.pixel(x, y)) continue;
      left = std::min(left, x);
      right = std::max(right, x);
      top = std::min(top, y);
      bottom = std::max(bottom, y);
    }
  return right < 0 ? QRectF() : QRectF(left, top, right - left, bottom - top);
}
