#include "display/picture_export.h"

#include <QImageWriter>
#include <QSaveFile>
#include <algorithm>
#include <cctype>
#include <filesystem>

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

std::string CannotWrite(const std::string& fileName, const QString& why) {
  return "cannot write " + fileName + ": " + why.toStdString();
}

std::string WritePng(const QImage& image, const std::string& fileName) {
  if (image.isNull()) return CannotWrite(fileName, QStringLiteral("the view has no picture"));
  QSaveFile file(QString::fromStdString(fileName));
  if (!file.open(QIODevice::WriteOnly)) return CannotWrite(fileName, file.errorString());
  QImageWriter writer(&file, "PNG");
  if (!writer.write(image)) return CannotWrite(fileName, writer.errorString());
  if (!file.commit()) return CannotWrite(fileName, file.errorString());
  return {};
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
  const std::string error = *format == TPictureFormat::Png
                                ? WritePng(view.BackBuffer(), fileName)
                                : WriteSvg(SvgDrawing(view.Objects, view), QString::fromStdString(fileName));
  return {error.empty(), error};
}
