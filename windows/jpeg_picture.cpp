#include "windows/jpeg_picture.h"

#include <QFile>
#include <csetjmp>
#include <cstdio>

// jpeglib.h needs size_t and FILE declared before it.
#include <jpeglib.h>

namespace {

constexpr qint64 kMaxJpegFileSize = 64 * 1024 * 1024;

struct TErrorManager {
  jpeg_error_mgr Base;  // first member: libjpeg hands back a pointer to it
  std::jmp_buf Escape;
  char Message[JMSG_LENGTH_MAX];
};

[[noreturn]] void ErrorExit(j_common_ptr info) {
  auto* manager = reinterpret_cast<TErrorManager*>(info->err);
  (*info->err->format_message)(info, manager->Message);
  std::longjmp(manager->Escape, 1);
}

// Warnings (a cut file gets a fake end marker) count as errors: half a picture is no picture.
void EmitMessage(j_common_ptr info, int level) {
  if (level < 0) ErrorExit(info);
}

// Only trivially destructible objects live in this frame, so the jump back skips nothing.
bool DecodeInto(jpeg_decompress_struct* cinfo, TErrorManager* errors, std::span<const uint8_t> bytes, QImage* image) {
  if (setjmp(errors->Escape) != 0) return false;
  jpeg_create_decompress(cinfo);
  jpeg_mem_src(cinfo, bytes.data(), static_cast<unsigned long>(bytes.size()));
  jpeg_read_header(cinfo, TRUE);
  if (!JpegSizeAllowed(cinfo->image_width, cinfo->image_height)) {
    std::snprintf(errors->Message, sizeof errors->Message, "picture of %ux%u pixels is too large", cinfo->image_width,
                  cinfo->image_height);
    return false;
  }
  cinfo->out_color_space = JCS_RGB;
  jpeg_start_decompress(cinfo);
  *image = QImage(static_cast<int>(cinfo->output_width), static_cast<int>(cinfo->output_height), QImage::Format_RGB888);
  if (image->isNull()) {
    std::snprintf(errors->Message, sizeof errors->Message, "no memory for the picture");
    return false;
  }
  while (cinfo->output_scanline < cinfo->output_height) {
    JSAMPROW row = image->scanLine(static_cast<int>(cinfo->output_scanline));
    jpeg_read_scanlines(cinfo, &row, 1);
  }
  jpeg_finish_decompress(cinfo);
  return true;
}

}  // namespace

TJpegResult DecodeJpeg(std::span<const uint8_t> bytes) {
  TJpegResult result;
  if (bytes.empty()) {
    result.Error = "empty file";
    return result;
  }
  jpeg_decompress_struct cinfo{};
  TErrorManager errors{};
  cinfo.err = jpeg_std_error(&errors.Base);
  errors.Base.error_exit = ErrorExit;
  errors.Base.emit_message = EmitMessage;
  QImage image;
  const bool ok = DecodeInto(&cinfo, &errors, bytes, &image);
  jpeg_destroy_decompress(&cinfo);
  if (ok) {
    result.Image = image;
  } else {
    result.Error = QString::fromLocal8Bit(errors.Message);
  }
  return result;
}

TJpegResult LoadJpegPicture(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) return {QImage(), path + ": " + file.errorString()};
  if (file.size() > kMaxJpegFileSize) return {QImage(), path + ": file too large for a picture"};
  const QByteArray bytes = file.readAll();
  TJpegResult r = DecodeJpeg({reinterpret_cast<const uint8_t*>(bytes.constData()), static_cast<size_t>(bytes.size())});
  if (!r.Error.isEmpty()) r.Error = path + ": " + r.Error;
  return r;
}
