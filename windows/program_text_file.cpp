#include "windows/program_text_file.h"

#include "platform/whole_file.h"

namespace {

constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

QByteArray Bytes(std::string_view s) { return QByteArray(s.data(), static_cast<qsizetype>(s.size())); }

}  // namespace

TDecodedProgramText DecodeProgramText(std::string_view bytes) {
  TDecodedProgramText d;
  const size_t nl = bytes.find('\n');
  if (nl != std::string_view::npos && nl > 0 && bytes[nl - 1] == '\r') d.Format.LineEnd = "\r\n";
  // Lines ended by CR alone are lines as the engine counts them: shown as such, saved as such.
  const bool crOnly = nl == std::string_view::npos && bytes.find('\r') != std::string_view::npos;
  if (crOnly) d.Format.LineEnd = "\r";
  // Qt drops a byte order mark when decoding; it is kept aside and written back.
  const bool mark = bytes.substr(0, kUtf8ByteOrderMark.size()) == kUtf8ByteOrderMark;
  const QByteArray raw = Bytes(mark ? bytes.substr(kUtf8ByteOrderMark.size()) : bytes);
  QString text = QString::fromUtf8(raw);
  d.Format.ByteOrderMark = mark;
  if (text.toUtf8() != raw) {
    d.Format = {TTextEncoding::Latin1, d.Format.LineEnd, false};
    text = QString::fromLatin1(Bytes(bytes));
  }
  text.replace(QLatin1String("\r\n"), QLatin1String("\n"));
  if (crOnly) text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
  d.Text = std::move(text);
  return d;
}

std::optional<std::string> EncodeProgramText(const QString& text, const TProgramTextFormat& format) {
  QString withEnds = text;
  if (format.LineEnd != "\n") withEnds.replace(QLatin1Char('\n'), QString::fromStdString(format.LineEnd));
  if (format.Encoding == TTextEncoding::Utf8)
    return (format.ByteOrderMark ? std::string(kUtf8ByteOrderMark) : std::string()) + withEnds.toUtf8().toStdString();
  for (const QChar c : withEnds)
    if (c.unicode() > 0xFF) return std::nullopt;
  return withEnds.toLatin1().toStdString();
}

TProgramFileRead ReadProgramTextFile(const QString& path) {
  TProgramFileRead r;
  std::string bytes;
  const TFileResult read = ReadWholeFile(path.toStdString(), kMaxShownFileSize, bytes);
  if (!read.Ok) {
    r.Error = QString::fromStdString(read.Error);
  } else if (bytes.find('\0') != std::string::npos) {
    r.Error = "cannot show " + path + ": it holds NUL bytes, so it is no program text";
  } else {
    r.Decoded = DecodeProgramText(bytes);
  }
  return r;
}

QString WriteProgramTextFile(const QString& path, std::string_view bytes) {
  const TFileResult r = ReplaceWholeFile(path.toStdString(), bytes);
  return r.Ok ? QString() : QString::fromStdString(r.Error);
}
