#include "engine/interpreter.h"

#include <algorithm>
#include <limits>
#include <stdexcept>
#include <string>

#include "base/convert.h"
#include "engine/cycles.h"
#include "base/prefault.h"
#include "engine/line_error.h"
#include "engine/engraving_commands.h"

namespace {

constexpr const char* kRangeError = "Range check error";
// Elements reserved before a run at most (144 MB a list).
constexpr size_t kMaxInitialReserve = 2'000'000;

int32_t CheckedRange(int64_t v, int64_t lo, int64_t hi) {
  if (v < lo || v > hi) throw TLineError(kRangeError);
  return static_cast<int32_t>(v);
}

int32_t StrictInteger(const TLineWord& w) {
  if (!w.IsInteger) throw TLineError("'" + std::string(w.Word.Rest) + "' is not a valid integer value");
  return CheckedRange(w.Integer, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max());
}

constexpr uint32_t Cmd(char a, char b, char c) {
  return (static_cast<uint32_t>(static_cast<unsigned char>(a)) << 16) |
         (static_cast<uint32_t>(static_cast<unsigned char>(b)) << 8) | static_cast<unsigned char>(c);
}

// The first three characters of a word, case kept.
uint32_t CommandOf(const TWord& w) {
  const char b = w.Rest.size() > 0 ? w.Rest[0] : '\0';
  const char c = w.Rest.size() > 1 ? w.Rest[1] : '\0';
  return Cmd(w.First, b, c);
}

struct TLineState {
  int32_t L = 0;
  int32_t CycleFeed = 0;
  bool XGiven = false, YGiven = false, ZGiven = false, IGiven = false, JGiven = false;
  double PreviousZ = 0.0;
};

class TLineInterpreter {
 public:
  TLineInterpreter(TCncFileReader& inst, const TLineWords& words, TElementList& target, int pass)
      : I(inst), W(words), Target(target), Pass(pass) {}

  void Run() {
    try {
      ScanA();
      ScanB();
      ScanC();
      ScanD();
    } catch (const TLineError& e) {
      I.AddMessage("ErrorNr 25, in program line: " + std::to_string(S.L) + ":  " + e.what());
    }
  }
  int32_t LineNumber() const { return S.L; }

 private:
  void Add(const char* text, TCode code) { Target.push_back(MakeElement(S.L, text, code)); }
  void AddAtPos(const char* text, TCode code) { Target.push_back(MakeElement(S.L, text, code, I.Pos)); }
  void LineMessage(const char* head, const char* tail) {
    I.AddMessage(head + std::to_string(S.L) + tail);
  }
  double Scaled(const TLineWord& w) const { return w.Number * I.UnitFactor; }
  int32_t Integer(const TLineWord& w) const {
    return (w.Integer < std::numeric_limits<int32_t>::min() || w.Integer > std::numeric_limits<int32_t>::max())
               ? 0 : static_cast<int32_t>(w.Integer);
  }
  void Coordinate(double& axis, const TLineWord& w) {
    if (I.Incremental) axis += Scaled(w); else axis = Scaled(w);
  }

  // Feed, block number, speed, tool.
  void ScanA() {
    const bool g81Line = W.Count > 0 && W.Words[0].Word.First == 'G' && W.Words[0].Word.Rest == "81";
    for (size_t k = 0; k < W.Count; ++k) {
      const TLineWord& w = W.Words[k];
      switch (w.Word.Letter()) {
        case 'F':
          if (g81Line) {
            S.CycleFeed = CheckedRange(w.Integer, 0, 65535);
          } else {
            const int32_t feed = Integer(w);
            const std::string text = "Set feed " + std::string(w.Word.Rest);
            Target.push_back(MakeValueElement(S.L, I.Texts.Intern(text), "F0X", feed));
            I.Feed = feed;
          }
          break;
        case 'N':
          S.L = Integer(w);
          break;
        case 'S': {
          const std::string text = "set spindle speed S" + std::string(w.Word.Rest);
          Target.push_back(MakeValueElement(S.L, I.Texts.Intern(text), "S0X", Integer(w)));
          break;
        }
        case 'T':
          Target.push_back(MakeValueElement(S.L, "Set tool Tx", "T", Integer(w)));
          I.Tool = static_cast<uint8_t>(CheckedRange(Integer(w), 0, 255));
          break;
        default:
          break;
      }
    }
  }

  // Coordinates and parameters of the whole line, before any command acts.
  void ScanB() {
    S.XGiven = S.YGiven = S.ZGiven = S.IGiven = S.JGiven = false;
    TFontParamRec& f = I.FontParams;
    for (size_t k = 0; k < W.Count; ++k) {
      const TLineWord& w = W.Words[k];
      switch (w.Word.Letter()) {
        case '@': f.FontText = w.Word.Rest; break;
        case 'A': f.FontA = StrictInteger(w); break;
        case 'B': f.FontText = w.Word.Rest; I.ParamB = Scaled(w); break;
        case 'C': f.FontC = StrictInteger(w); break;
        case 'D': f.FontD = StrictInteger(w); break;
        case 'E': f.FontE = Scaled(w); break;
        case 'H': f.FontHeight = Scaled(w); break;
        case 'I': I.ArcI = Scaled(w); S.IGiven = true; break;
        case 'J': I.ArcJ = Scaled(w); S.JGiven = true; break;
        case 'L': I.ParamL = Scaled(w); break;
        case 'O': f.FontO = static_cast<uint8_t>(Integer(w) & 0xFF); break;
        case 'P': f.FontP = w.Number; break;
        case 'Q': I.ParamQ = w.Number; break;
        case 'R': f.FontR = Scaled(w); I.ParamR = f.FontR; break;
        case 'U': I.ParamU = Scaled(w); break;
        case 'V': I.ParamV = Scaled(w); break;
        case 'W': I.ParamW = Scaled(w); break;
        case 'X': Coordinate(I.Pos.X, w); S.XGiven = true; break;
        case 'Y': Coordinate(I.Pos.Y, w); S.YGiven = true; break;
        case 'Z': S.PreviousZ = I.Pos.Z; Coordinate(I.Pos.Z, w); S.ZGiven = true; break;
        default: break;
      }
    }
  }

  // Switching and cycle commands.
  void ScanC() {
    for (size_t k = 0; k < W.Count; ++k) {
      switch (CommandOf(W.Words[k].Word)) {
        case Cmd('M', '0', '3'): Add("Spindl on", "M03"); break;
        case Cmd('M', '0', '5'): Add("Spindle off", "M05"); break;
        case Cmd('M', '0', '6'): Add("Move to tool change position", "M06"); break;
        case Cmd('M', '0', '8'): Add("Cooling system on", "M08"); break;
        case Cmd('M', '0', '9'): Add("Cooling system off", "M09"); break;
        case Cmd('M', '1', '0'): Add("Vacuum cleaner on", "M10"); break;
        case Cmd('M', '1', '1'): Add("Vacuum cleaner off", "M11"); break;
        case Cmd('M', '3', '0'): Add("Program end", "M30"); break;
        case Cmd('G', '2', '0'): I.UnitFactor = 25.4; break;
        case Cmd('G', '2', '1'): I.UnitFactor = 1.0; break;
        case Cmd('G', '4', '0'): Add("Fräserradiuskorrektur aus", "G40"); I.Compensation = 40; break;
        case Cmd('G', '4', '1'): Add("Fräserradiuskorrektur G41 ein", "G41"); I.Compensation = 41; break;
        case Cmd('G', '4', '2'): Add("Fräserradiuskorrektur G42 ein", "G42"); I.Compensation = 42; break;
        case Cmd('G', '5', '4'): AddAtPos("Setze W0 auf xyz", "G54"); break;
        case Cmd('G', '6', '6'): Engrave(); break;
        case Cmd('G', '6', '7'): FontSettingG67(I, S.L); break;
        case Cmd('G', '6', '8'): FontSettingG68(I, S.L); break;
        case Cmd('G', '6', '9'): FontSettingG69(I, S.L); break;
        case Cmd('G', '7', '0'): RegisterFontG70(I, S.L); break;
        case Cmd('G', '7', '4'): Add("Fahre zum W0", "G74"); break;
        case Cmd('G', '7', '6'): Add("Fahre zum M0", "G76"); break;
        case Cmd('G', '7', '7'): Add("Fahre zur Werkzeugwechselposition", "G77"); break;
        case Cmd('G', '7', '9'): DrillCycleG79(I, S.L, Target, Pass, CheckedRange(I.Feed, 0, 65535)); break;
        case Cmd('G', '8', '1'): DefineDrillCycle(); break;
        case Cmd('G', '8', '7'): ClearedPocketG87(I, S.L, Target, Pass); break;
        case Cmd('G', '8', '8'): PocketCycleG88(I, S.L, Target, Pass); break;
        case Cmd('G', '8', '6'): PocketCycleG86(I, S.L, Target, Pass); break;
        case Cmd('G', '8', '9'): ScaleCycleG89(I, S.L, Target); break;
        case Cmd('G', '9', '0'): I.Incremental = false; break;
        case Cmd('G', '9', '1'): I.Incremental = true; break;
        default: break;
      }
    }
  }

  void Engrave() {
    if (I.Compensation == 41 || I.Compensation == 42) Add("Fräserradiuskorrektur aus", "G40");
    EngraveText(I, S.L, Target);
    if (I.Compensation == 41) Add("Fräserradiuskorrektur 41", "G41");
    if (I.Compensation == 42) Add("Fräserradiuskorrektur 42", "G42");
  }

  void DefineDrillCycle() {
    const double depth = I.Pos.Z;
    // The Z word of a G81 line is the drilling depth, not a move, even when the line fails.
    if (S.ZGiven) I.Pos.Z = S.PreviousZ;
    const int32_t steps = CheckedRange(RoundNearest(I.FontParams.FontHeight), 0, 65535);
    I.DrillCycle = MakeDrillCycle(static_cast<uint16_t>(S.CycleFeed), static_cast<uint16_t>(steps),
                                  depth, TextToFloat(I.FontParams.FontText), I.ToolDiameter());
  }

  // Motion: G0/G00 to G3/G03; not modal.
  void ScanD() {
    for (size_t k = 0; k < W.Count; ++k) {
      const TWord& w = W.Words[k].Word;
      uint32_t cmd = CommandOf(w);
      if (w.First == 'G' && w.Rest.size() == 1 && w.Rest[0] >= '0' && w.Rest[0] <= '3')
        cmd = Cmd('G', '0', w.Rest[0]);
      const bool anyAxis = S.XGiven || S.YGiven || S.ZGiven;
      const bool arcGiven = S.XGiven && S.YGiven && S.IGiven && S.JGiven;
      switch (cmd) {
        case Cmd('G', '0', '0'):
          if (anyAxis) AddAtPos("Fahre im Eilgang zu Punkt xyz", "G00");
          else LineMessage("Error in program line ", ": at least one xyz-paramater for G00 has to be specified");
          break;
        case Cmd('G', '0', '1'):
          if (anyAxis) AddAtPos("Geradenint G01", "G01");
          else LineMessage("Error in program line ", ": at least one xyz-parameter for G01 has to be specified");
          break;
        case Cmd('G', '0', '2'):
          if (arcGiven) Target.push_back(MakeElement(S.L, "Kreisint G02", "G02", I.Pos, TPoint{I.ArcI, I.ArcJ, 0.0}));
          else LineMessage("Error in program line ", ": G02 defined but error(s) in xyij-parameter");
          break;
        case Cmd('G', '0', '3'):
          if (arcGiven) Target.push_back(MakeElement(S.L, "Kreisint G03", "G03", I.Pos, TPoint{I.ArcI, I.ArcJ, 0.0}));
          else LineMessage("Error in program line ", ": G03 defined but error(s) in xyij-parameter");
          break;
        default:
          break;
      }
    }
  }

  TCncFileReader& I;
  const TLineWords& W;
  TElementList& Target;
  const int Pass;
  TLineState S;
};

}  // namespace

void PrepareLine(std::string_view line, TLineWords& words) {
  words.Count = 0;
  static_cast<TSplitFlags&>(words) = SplitWords(line, [&](const TWord& word, size_t index) {
    TLineWord& w = words.Words[index];
    w.Word = word;
    w.Number = 0.0;
    w.Integer = 0;
    w.IsInteger = false;
    words.Count = index + 1;
    // Commands are read by their characters; quoted texts are no numbers.
    const char letter = word.Letter();
    if (letter == '@' || letter == 'G' || letter == 'M') return;
    const TNumberText n = ReadNumberText(word.Rest);
    w.Number = n.Value;
    w.Integer = n.Integer;
    w.IsInteger = n.IsInteger;
  });
}

int32_t InterpretLine(TCncFileReader& inst, const TLineWords& words, TElementList& target, int pass) {
  if (words.UnbalancedQuote) inst.AddMessage("to less or to much unquote in command");
  if (words.Count == 0) return 0;
  TLineInterpreter interpreter(inst, words, target, pass);
  interpreter.Run();
  return interpreter.LineNumber();
}

namespace {
// Said once per line, not per pass.
void WarnAboutCutLine(TCncFileReader& inst, const TLineWords& words, int32_t line) {
  if (!words.TooLong && !words.TooManyWords) return;
  inst.AddMessage("Warning in program line " + std::to_string(line) +
                  (words.TooLong ? ": line longer than 255 characters, the rest is ignored"
                                 : ": more than 16 words, the rest is ignored"));
}

// Lines whose two passes can differ: cycles write an outline into the contour and tool
// moves into the path, and the engraving and font commands act on the font engine each time.
bool PassDependent(const TLineWords& words) {
  for (size_t k = 0; k < words.Count; ++k) {
    const TWord& w = words.Words[k].Word;
    if (w.First != 'G' || w.Rest.size() < 2) continue;
    const char a = w.Rest[0];
    const char b = w.Rest[1];
    if ((a == '6' && b >= '6') || (a == '7' && b <= '0') || (a == '7' && b == '9') || (a == '8' && b >= '6') ||
        (a == '8' && b == '1'))
      return true;
  }
  return false;
}
}  // namespace

void InterpretProgram(TCncFileReader& inst) {
  const size_t count = inst.Lines.Count();
  // Most lines give one element; a little headroom avoids doubling a full list. Files of
  // many lines that make nothing (blank lines) must not reserve for them: past the cap the
  // lists grow with what is made.
  const size_t expected = std::min<size_t>(count + count / 4 + 16, kMaxInitialReserve);
  inst.ContourList.reserve(expected);
  inst.RawPathList.reserve(expected);
  TLineWords words;
  TPrefaultCursor contourPages, rawPages;
  for (size_t i = 0; i < count; ++i) {
    inst.CurrentLine = i + 1;
    contourPages.Advance(inst.ContourList);
    rawPages.Advance(inst.RawPathList);
    PrepareLine(inst.Lines.Line(i), words);
    if (!PassDependent(words)) {
      // Both passes give the same elements, messages and state: interpret once, copy.
      const size_t firstElement = inst.ContourList.size();
      const size_t firstMessage = inst.Messages.size();
      const uint64_t firstLeftOut = inst.Messages.LeftOut;
      const int32_t line = InterpretLine(inst, words, inst.ContourList, 0);
      inst.RawPathList.Append(inst.ContourList.begin() + static_cast<ptrdiff_t>(firstElement), inst.ContourList.end());
      const size_t lastMessage = inst.Messages.size();
      // Messages past the bound were not kept, but the second pass would say them too.
      const uint64_t leftOutOnce = inst.Messages.LeftOut - firstLeftOut;
      for (size_t m = firstMessage; m < lastMessage; ++m) inst.Messages.push_back(inst.Messages[m]);
      inst.Messages.LeftOut += leftOutOnce;
      WarnAboutCutLine(inst, words, line);
      continue;
    }
    const TPoint pos = inst.Pos;
    const double unitFactor = inst.UnitFactor;
    const bool incremental = inst.Incremental;
    InterpretLine(inst, words, inst.ContourList, 0);
    // Both passes of a line start from the same point and units.
    inst.Pos = pos;
    inst.UnitFactor = unitFactor;
    inst.Incremental = incremental;
    WarnAboutCutLine(inst, words, InterpretLine(inst, words, inst.RawPathList, 1));
  }
}
