#include "engraving/chr_font.h"

#include <algorithm>
#include <utility>

namespace {

constexpr uint8_t kEndOfText = 0x1A;
constexpr size_t kEndOfTextSearch = 128;
constexpr size_t kHeaderSize = 16;
constexpr int kReferenceChar = 'T';

uint16_t Word(const std::vector<uint8_t>& d, size_t p) { return static_cast<uint16_t>(d[p] | (d[p + 1] << 8)); }

// For every position p, whether a stroke list starting there ends inside the first `limit`
// bytes. One backward pass, so that characters sharing one long stroke list do not walk it
// once each.
std::vector<bool> StrokeListsEnding(const std::vector<uint8_t>& d, size_t limit) {
  std::vector<bool> ends(limit + 2, false);
  for (size_t p = limit < 2 ? 0 : limit - 1; p-- > 0;)
    ends[p] = DecodeStroke(d[p], d[p + 1]).Op == kStrokeEnd || ends[p + 2];
  return ends;
}

}  // namespace

const char* FontStatusMessage(int32_t code) {
  switch (code) {
    case kFontInvalid: return "ungültiger Font";
    case kFontNoMemory: return "nicht genug Speicher um Font zu laden";
    case kFontNotLoaded: return "falscher Font";
    case kFontUnreadable: return "falsche oder fehlerhafte Fontdatei";
    default: return "";
  }
}

size_t TLoadedFont::StrokeStart(int c) const {
  return static_cast<size_t>(H) + D + Word(Data, OffsetTable + 2 * static_cast<size_t>(c - F));
}

uint8_t TLoadedFont::Width(int c) const { return HasChar(c) ? Data[WidthTable + static_cast<size_t>(c - F)] : 0; }

std::vector<TStrokeCommand> TLoadedFont::Strokes(int c) const {
  std::vector<TStrokeCommand> out;
  ForEachStroke(c, [&](const TStrokeCommand& cmd) { out.push_back(cmd); });
  return out;
}

int32_t ReadChrFont(std::vector<uint8_t> data, TLoadedFont& font) {
  const size_t size = data.size();
  if (size > kMaxFontFileSize) return kFontInvalid;
  const size_t search = std::min(size, kEndOfTextSearch);
  const size_t k = static_cast<size_t>(std::find(data.begin(), data.begin() + search, kEndOfText) - data.begin());
  if (k == search || k + 9 > size) return kFontInvalid;
  const size_t h = Word(data, k + 1);
  const size_t s = Word(data, k + 7);
  if (h + s != size) return kFontInvalid;

  const size_t limit = std::min(size, kFontReadLimit);
  if (h + kHeaderSize > limit) return kFontInvalid;
  TLoadedFont f;
  f.H = static_cast<uint16_t>(h);
  f.N = data[h + 1];
  f.F = data[h + 4];
  f.D = Word(data, h + 5);
  f.CapHeight = data[h + 8];
  f.Descender = static_cast<int8_t>(data[h + 10]);
  f.OffsetTable = h + kHeaderSize;
  f.WidthTable = f.OffsetTable + 2 * static_cast<size_t>(f.N);
  if (f.WidthTable + f.N > limit) return kFontInvalid;
  f.Data = std::move(data);
  const std::vector<bool> ends = StrokeListsEnding(f.Data, limit);
  for (int c = f.F; c < f.F + f.N; ++c) {
    const size_t start = f.StrokeStart(c);
    if (start >= limit || !ends[start]) return kFontInvalid;
  }

  // The height of "T" is the reference of every size; a font without it cannot be scaled.
  int32_t top = 0;
  int32_t bottom = 0;
  bool first = true;
  f.ForEachStroke(kReferenceChar, [&](const TStrokeCommand& cmd) {
    if (cmd.Op != kStrokeMove && cmd.Op != kStrokeDraw) return;
    bottom = first ? cmd.Y : std::min(bottom, cmd.Y);
    top = std::max(top, cmd.Y);
    first = false;
  });
  if (top <= 0) return kFontInvalid;
  // Kept, so that sizing does not walk a long "T" again each time.
  f.ReferenceTop = top;
  f.ReferenceBottom = bottom;

  font = std::move(f);
  return kFontOk;
}
