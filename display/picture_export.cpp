#include "display/picture_export.h"

#include <QImageWriter>
#include <QSaveFile>
#include <algorithm>
#include <cctype>
#include <filesystem>
#include <functional>

#include "display/sim_view.h"
#include "display/svg_export.h"

namespace {

struct TFormatName {
  const char* Extension;  // lower case, with the dot
  TPictureFormat Format;
};
constexpr TFormatName kFormats[] = {{".png", TPictureFormat::Png}, {".svg", TPictureFormat::Svg}};

std::string LowerExtension(const std::string& fileName) {
  std::string ext = std::filesystem::path(fileName).extension().string();
  std::transform(ext.begin(), ext.end(), ext.begin(), [](unsigned char c) { return std::tolower(c); });
  return ext;
}

// Writes through a file that replaces the old one only when complete; the error text, empty
// when the file was written.
std::string SaveFile(const std::string& fileName, const std::function<bool(QIODevice&, QString&)>& write) {
  const auto cannot = [&fileName](const QString& why) { return "cannot write " + fileName + ": " + why.toStdString(); };
  QSaveFile file(QString::fromStdString(fileName));
  if (!file.open(QIODevice::WriteOnly)) return cannot(file.errorString());
  QString why;
  if (!write(file, why)) return cannot(why.isEmpty() ? file.errorString() : why);
  if (!file.commit()) return cannot(file.errorString());
  return {};
}

bool WritePng(const QImage& image, QIODevice& device, QString& why) {
  if (image.isNull()) {
    why = QStringLiteral("the view has no picture");
    return false;
  }
  QImageWriter writer(&device, "PNG");
  if (writer.write(image)) return true;
  why = writer.errorString();
  return false;
}

}  // namespace

std::optional<TPictureFormat> PictureFormatFor(const std::string& fileName) {
  const std::string ext = LowerExtension(fileName);
  for (const TFormatName& f : kFormats)
    if (ext == f.Extension) return f.Format;
  return std::nullopt;
}

std::string UnknownPictureFormatMessage(const std::string& fileName) {
  std::string names;
  for (const TFormatName& f : kFormats) names += (names.empty() ? "" : " or ") + std::string(f.Extension);
  const std::string ext = LowerExtension(fileName);
  return "cannot save the picture as " + fileName + ": " +
         (ext.empty() ? std::string("no extension") : "unknown extension " + ext) + ", use " + names;
}

TExportResult ExportPicture(const TSimView& view, const std::string& fileName) {
  const std::optional<TPictureFormat> format = PictureFormatFor(fileName);
  if (!format) return {false, UnknownPictureFormatMessage(fileName)};
  const std::string error = SaveFile(fileName, [&](QIODevice& device, QString& why) {
    if (*format == TPictureFormat::Png) return WritePng(view.BackBuffer(), device, why);
    if (WriteSvg(SvgDrawing(view.Objects, view), device)) return true;
    why = QStringLiteral("the drawing could not be started");
    return false;
  });
  return {error.empty(), error};
}
