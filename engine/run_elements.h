// Reading a run's element lists through the engine's C entry points, each element with its
// code decoded. Header only and inlined, no Qt: the drawing walks lists of millions of
// elements, and the job figures, the playback and the machine view walk them as well.
#pragma once

#include <algorithm>
#include <cstdint>
#include <limits>

#include "base/program_reader.h"
#include "base/records.h"
#include "engine/cnc_api.h"

// The code of an element record, letter * 256 + number, taken apart: "G01" is 'G', 1.
struct TElementCode {
  char Letter = 0;
  int Number = 0;
  bool IsMove() const { return Letter == 'G' && Number <= 3; }  // G00 to G03
  // As the engine writes it ("G01", "T00", "F00").
  TCode Text() const { return CodeFromNumber(Letter, Number); }
};

constexpr TElementCode DecodeCode(int32_t code) { return {static_cast<char>((code >> 8) & 0xFF), code & 0xFF}; }

// One element of a list as the reader hands it over.
struct TRunElement {
  int32_t Index = 0;
  bool Read = false;  // false: the record could not be read, and Data is all zero
  TCncElementData Data{};
  TElementCode Code;
};

// The first elements of list `mode` (CNC_MODE_CONTOUR or CNC_MODE_PATH) of instance
// `handle`, at most `most` of them, in list order:
//   for (const TRunElement& e : TRunElements(handle, mode)) ...
// The element handed over is read when the loop reaches it; nothing is allocated.
class TRunElements {
 public:
  TRunElements(int32_t handle, uint8_t mode, int32_t most = std::numeric_limits<int32_t>::max())
      : Handle(handle), Mode(mode), Total(std::min(CncGetCount(handle, mode), most)) {}

  int32_t Count() const { return Total; }
  bool Empty() const { return Total <= 0; }

  struct TEnd {};
  class TCursor {
   public:
    explicit TCursor(TRunElements& list) : List(list) { List.ReadAt(0); }
    const TRunElement& operator*() const { return List.Current; }
    TCursor& operator++() {
      List.ReadAt(List.Current.Index + 1);
      return *this;
    }
    bool operator!=(TEnd) const { return List.Current.Index < List.Total; }

   private:
    TRunElements& List;
  };
  TCursor begin() { return TCursor(*this); }
  TEnd end() const { return {}; }

 private:
  void ReadAt(int32_t index) {
    Current.Index = index;
    if (index >= Total) return;
    Current.Data = TCncElementData{};
    Current.Read = CncGetElement(Handle, index, Mode, &Current.Data) == 0;
    if (!Current.Read) Current.Data = TCncElementData{};
    Current.Code = DecodeCode(Current.Data.Code);
  }

  int32_t Handle;
  uint8_t Mode;
  int32_t Total;
  TRunElement Current;
};

// The unit of the run's F words, as the engine found it in the program.
inline TFeedUnit FeedUnitOfRun(int32_t handle) {
  return CncGetFeedUnit(handle) == CNC_FEED_INCH ? TFeedUnit::Inch : TFeedUnit::Millimetre;
}
