// mkchrfont: converts a Hershey font (.jhf) into a stroked CHR font file.
//
//   mkchrfont INPUT.jhf OUTPUT.CHR NAME
//
// The i-th glyph of the input becomes character 32 + i. Coordinates are moved so that the
// character's origin is its left bound on the baseline, with y up; the advance width is the
// distance between the Hershey left and right bounds.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

namespace {

constexpr int kFirstCode = 32;
constexpr int kHersheyOrigin = 'R';
constexpr int kHersheyBaseline = 9;  // y of the baseline in Hershey's y-down grid
constexpr size_t kHeaderPos = 128;
constexpr size_t kMaxFileSize = 65000;  // every position the reader uses lies below this

struct TPointCmd {
  bool Draw = false;
  int X = 0;
  int Y = 0;
};

struct TGlyph {
  int Width = 0;
  std::vector<TPointCmd> Points;
};

struct TError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

int Count(const std::string& field, size_t lineNo) {
  int v = 0;
  bool digits = false;
  for (char c : field) {
    if (c == ' ') continue;
    if (c < '0' || c > '9') throw TError("line " + std::to_string(lineNo) + ": bad vertex count '" + field + "'");
    v = v * 10 + (c - '0');
    digits = true;
  }
  if (!digits || v < 1) throw TError("line " + std::to_string(lineNo) + ": bad vertex count '" + field + "'");
  return v;
}

TGlyph ConvertGlyph(const std::string& body, size_t lineNo) {
  const auto where = [&] { return "glyph at line " + std::to_string(lineNo); };
  const int left = body[0] - kHersheyOrigin;
  const int right = body[1] - kHersheyOrigin;
  TGlyph g;
  g.Width = right - left;
  if (g.Width < 0 || g.Width > 255) throw TError(where() + ": width " + std::to_string(g.Width) + " outside 0..255");
  bool penUp = true;
  for (size_t i = 2; i + 1 < body.size(); i += 2) {
    if (body[i] == ' ' && body[i + 1] == 'R') {
      penUp = true;
      continue;
    }
    TPointCmd p{!penUp, (body[i] - kHersheyOrigin) - left, kHersheyBaseline - (body[i + 1] - kHersheyOrigin)};
    if (p.X < -64 || p.X > 63 || p.Y < -64 || p.Y > 63) throw TError(where() + ": point outside the 7-bit grid");
    g.Points.push_back(p);
    penUp = false;
  }
  return g;
}

// Glyph lines: 5 columns glyph number, 3 columns vertex count (bounds included), then two
// characters per vertex; long glyphs may continue on the following lines.
std::vector<TGlyph> ReadHershey(const std::string& path) {
  std::ifstream in(path);
  if (!in) throw TError("cannot open " + path);
  std::vector<TGlyph> glyphs;
  std::string line;
  size_t lineNo = 0;
  while (std::getline(in, line)) {
    ++lineNo;
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.find_first_not_of(' ') == std::string::npos) continue;
    if (line.size() < 8) throw TError("line " + std::to_string(lineNo) + ": too short for a glyph");
    const size_t start = lineNo;
    const size_t need = 2 * static_cast<size_t>(Count(line.substr(5, 3), lineNo));
    std::string body = line.substr(8);
    while (body.size() < need && std::getline(in, line)) {
      ++lineNo;
      if (!line.empty() && line.back() == '\r') line.pop_back();
      body += line;
    }
    if (body.size() < need) throw TError("glyph at line " + std::to_string(start) + ": data ends early");
    body.resize(need);
    glyphs.push_back(ConvertGlyph(body, start));
  }
  if (glyphs.empty()) throw TError(path + " holds no glyphs");
  if (glyphs.size() > 255 - kFirstCode + 1) glyphs.resize(255 - kFirstCode + 1);
  return glyphs;
}

void Put16(std::vector<uint8_t>& out, size_t pos, size_t v) {
  out[pos] = static_cast<uint8_t>(v & 0xFF);
  out[pos + 1] = static_cast<uint8_t>((v >> 8) & 0xFF);
}

uint8_t Seven(int v) { return static_cast<uint8_t>(v & 0x7F); }

std::vector<uint8_t> BuildChr(const std::vector<TGlyph>& glyphs, const std::string& name, const std::string& source) {
  const size_t n = glyphs.size();
  std::string text = "Velquor stroked font " + name + ", converted from Hershey " + source + " (public domain)";
  if (text.size() > kHeaderPos - 16) text.resize(kHeaderPos - 16);
  text += "\r\n";
  std::vector<uint8_t> out(text.begin(), text.end());
  const size_t k = out.size();
  out.resize(kHeaderPos + 16 + 3 * n, 0);
  out[k] = 0x1A;
  for (size_t i = 0; i < 4; ++i) out[k + 3 + i] = i < name.size() ? static_cast<uint8_t>(name[i]) : ' ';

  const size_t h = kHeaderPos;
  const size_t d = 16 + 3 * n;
  int capHeight = 0;
  int descender = 0;
  const size_t t = 'T' - kFirstCode;
  if (t < n)
    for (const TPointCmd& p : glyphs[t].Points) capHeight = std::max(capHeight, p.Y);
  for (const TGlyph& g : glyphs)
    for (const TPointCmd& p : g.Points) descender = std::min(descender, p.Y);
  out[h] = '+';
  Put16(out, h + 1, n);
  out[h + 4] = static_cast<uint8_t>(kFirstCode);
  Put16(out, h + 5, d);
  out[h + 8] = static_cast<uint8_t>(capHeight);
  out[h + 10] = static_cast<uint8_t>(static_cast<int8_t>(descender));

  for (size_t i = 0; i < n; ++i) {
    const size_t offset = out.size() - (h + d);
    if (offset > 0xFFFF) throw TError("stroke data too large");
    Put16(out, h + 16 + 2 * i, offset);
    out[h + 16 + 2 * n + i] = static_cast<uint8_t>(glyphs[i].Width);
    for (const TPointCmd& p : glyphs[i].Points) {
      out.push_back(static_cast<uint8_t>(0x80 | Seven(p.X)));
      out.push_back(static_cast<uint8_t>((p.Draw ? 0x80 : 0x00) | Seven(p.Y)));
    }
    out.push_back(0);
    out.push_back(0);
  }
  if (out.size() >= kMaxFileSize) throw TError("font of " + std::to_string(out.size()) + " bytes is too large");
  Put16(out, k + 1, h);
  Put16(out, k + 7, out.size() - h);
  return out;
}

std::string BaseName(const std::string& path) {
  const size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 4) {
    std::fprintf(stderr, "usage: mkchrfont INPUT.jhf OUTPUT.CHR NAME\n");
    return 2;
  }
  const std::string input = argv[1];
  const std::string output = argv[2];
  const std::string name = argv[3];
  try {
    if (name.empty() || name.size() > 4) throw TError("NAME must have 1 to 4 characters");
    const std::vector<uint8_t> chr = BuildChr(ReadHershey(input), name, BaseName(input));
    const std::string temp = output + ".part";
    {
      std::ofstream out(temp, std::ios::binary | std::ios::trunc);
      out.write(reinterpret_cast<const char*>(chr.data()), static_cast<std::streamsize>(chr.size()));
      if (!out.flush()) throw TError("cannot write " + temp);
    }
    if (std::rename(temp.c_str(), output.c_str()) != 0) {
      std::remove(temp.c_str());
      throw TError("cannot create " + output);
    }
  } catch (const TError& e) {
    std::fprintf(stderr, "mkchrfont: %s: %s\n", input.c_str(), e.what());
    return 1;
  }
  return 0;
}
