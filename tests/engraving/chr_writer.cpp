#include "chr_writer.h"

#include <unistd.h>
#include <fstream>
#include <stdexcept>

namespace {

void Put16(std::vector<uint8_t>& out, size_t pos, size_t v) {
  out[pos] = static_cast<uint8_t>(v & 0xFF);
  out[pos + 1] = static_cast<uint8_t>((v >> 8) & 0xFF);
}

}  // namespace

std::vector<uint8_t> EncodeStroke(const TTestStroke& s) {
  const uint8_t hi1 = (s.Op & 2) ? 0x80 : 0;
  const uint8_t hi2 = (s.Op & 1) ? 0x80 : 0;
  return {static_cast<uint8_t>(hi1 | (s.X & 0x7F)), static_cast<uint8_t>(hi2 | (s.Y & 0x7F))};
}

size_t TChrWriter::HeaderStart() const { return HeaderPos != 0 ? HeaderPos : Description.size() + 16; }

std::vector<uint8_t> TChrWriter::Build() const {
  const size_t n = static_cast<size_t>(Last - First + 1);
  const size_t h = HeaderStart();
  std::vector<uint8_t> out(Description.begin(), Description.end());
  const size_t k = out.size();
  out.resize(h + 16 + 3 * n, 0);
  out[k] = 0x1A;
  out[k + 3] = 'T';
  out[k + 4] = 'E';
  out[k + 5] = 'S';
  out[k + 6] = 'T';
  const size_t d = 16 + 3 * n;
  out[h] = '+';
  Put16(out, h + 1, static_cast<size_t>(CountField.value_or(static_cast<int>(n))));
  out[h + 4] = static_cast<uint8_t>(First);
  Put16(out, h + 5, d);
  out[h + 8] = 20;
  out[h + 10] = static_cast<uint8_t>(-7);
  for (size_t i = 0; i < n; ++i) {
    Put16(out, h + 16 + 2 * i, out.size() - (h + d));
    auto it = Glyphs.find(First + static_cast<int>(i));
    if (it == Glyphs.end()) {
      out.push_back(0);
      out.push_back(0);
      continue;
    }
    out[h + 16 + 2 * n + i] = static_cast<uint8_t>(it->second.Width);
    for (const TTestStroke& s : it->second.Strokes) {
      const auto b = EncodeStroke(s);
      out.insert(out.end(), b.begin(), b.end());
    }
    out.push_back(0);
    out.push_back(0);
  }
  Put16(out, k + 1, h);
  Put16(out, k + 7, out.size() - h);
  return out;
}

TChrWriter StandardTestFont() {
  TChrWriter w;
  w.Glyphs['T'] = {10, {Move(0, 20), Draw(10, 20), Move(5, 20), Draw(5, 0)}};
  w.Glyphs['I'] = {5, {Move(2, 0), Draw(2, 20)}};
  w.Glyphs['-'] = {7, {Move(0, 10), Draw(6, 10)}};
  w.Glyphs['L'] = {9, {Move(0, 20), Draw(0, 0), Draw(8, 0)}};
  w.Glyphs[' '] = {6, {}};
  return w;
}

void WriteBytes(const std::filesystem::path& path, const std::vector<uint8_t>& bytes) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
  if (!out.flush()) throw std::runtime_error("cannot write " + path.string());
}
