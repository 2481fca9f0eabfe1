#include "engine/interpreter.h"

#include <algorithm>
#include <array>
#include <iterator>
#include <limits>
#include <stdexcept>
#include <string>

#include "base/convert.h"
#include "base/prefault.h"
#include "engine/cycles.h"
#include "engine/engraving_commands.h"
#include "engine/line_error.h"

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

struct TLineState {
  int32_t BlockNumber = 0;  // the line's N number; elements carry what it is when they are made
  int32_t CycleFeed = 0;    // F of a G81 line
  bool XGiven = false, YGiven = false, ZGiven = false, IGiven = false, JGiven = false;
  double PreviousZ = 0.0;
};

class TLineInterpreter;
struct TCommandRow;
using TCommandHandler = void (TLineInterpreter::*)(const TCommandRow&);

// When a command acts: the switching and cycle commands after the coordinates of the whole
// line are read, the motions after them.
enum class TCommandStage : uint8_t { Switching, Motion };

// Whether the two passes of a command may give different elements, messages or state.
// A line whose commands are all alike is interpreted once and copied into the raw path.
enum class TPasses : uint8_t { Alike, MayDiffer };

struct TCommandRow {
  TCode Command;  // the word's first three characters, case kept
  TCommandStage Stage;
  TPasses Passes;
  TCommandHandler Handler;
  const char* Text;  // text of the element the handler appends, "" when it has none of its own
};

class TLineInterpreter {
 public:
  TLineInterpreter(TCncInstance& inst, const TLineWords& words, TElementList& target, TPass pass)
      : Inst(inst), Words(words), Target(target), Pass(pass) {}

  void Run() {
    try {
      ReadFeedNumberSpeedAndTool();
      ReadCoordinatesAndParameters();
      RunCommands(TCommandStage::Switching);
      RunCommands(TCommandStage::Motion);
    } catch (const TLineError& e) {
      Inst.AddMessage("ErrorNr 25, in program line: " + std::to_string(State.BlockNumber) + ":  " + e.what());
    }
  }
  int32_t BlockNumber() const { return State.BlockNumber; }

  // The handlers of the command table.
  void AppendSwitch(const TCommandRow& row) { Add(row.Text, row.Command); }
  void AppendAtPos(const TCommandRow& row) { AddAtPos(row.Text, row.Command); }
  void InchInput(const TCommandRow&) { Inst.UnitFactor = 25.4; }
  void MillimetreInput(const TCommandRow&) { Inst.UnitFactor = 1.0; }
  void AbsoluteInput(const TCommandRow&) { Inst.Incremental = false; }
  void IncrementalInput(const TCommandRow&) { Inst.Incremental = true; }
  void Compensation(const TCommandRow& row) {
    Add(row.Text, row.Command);
    Inst.Compensation = CompensationSideOf(row.Command).value_or(TCompensationSide::Off);
  }
  void Engrave(const TCommandRow&);
  void FontFromSlot(const TCommandRow&) { FontSettingG67(Inst, State.BlockNumber); }
  void FontSpacing(const TCommandRow&) { FontSettingG68(Inst, State.BlockNumber); }
  void FontHeight(const TCommandRow&) { FontSettingG69(Inst, State.BlockNumber); }
  void RegisterFont(const TCommandRow&) { RegisterFontG70(Inst, State.BlockNumber); }
  void Drill(const TCommandRow&) {
    DrillCycleG79(Inst, State.BlockNumber, Target, Pass, CheckedRange(Inst.Feed, 0, 65535));
  }
  void DefineDrillCycle(const TCommandRow&);
  void ClearedPocket(const TCommandRow&) { ClearedPocketG87(Inst, State.BlockNumber, Target, Pass); }
  void SlantedPocket(const TCommandRow&) { PocketCycleG88(Inst, State.BlockNumber, Target, Pass); }
  void RectangularPocket(const TCommandRow&) { PocketCycleG86(Inst, State.BlockNumber, Target, Pass); }
  void RadialScale(const TCommandRow&) { ScaleCycleG89(Inst, State.BlockNumber, Target); }
  void Rapid(const TCommandRow& row);
  void Line(const TCommandRow& row);
  void Arc(const TCommandRow& row);

 private:
  void Add(const char* text, TCode code) { Target.push_back(MakeElement(State.BlockNumber, text, code)); }
  void AddAtPos(const char* text, TCode code) {
    Target.push_back(MakeElement(State.BlockNumber, text, code, Inst.Pos));
  }
  void LineMessage(const char* head, const char* tail) {
    Inst.AddMessage(head + std::to_string(State.BlockNumber) + tail);
  }
  double Scaled(const TLineWord& w) const { return w.Number * Inst.UnitFactor; }
  int32_t Integer(const TLineWord& w) const {
    return (w.Integer < std::numeric_limits<int32_t>::min() || w.Integer > std::numeric_limits<int32_t>::max())
               ? 0
               : static_cast<int32_t>(w.Integer);
  }
  void Coordinate(double& axis, const TLineWord& w) {
    if (Inst.Incremental) axis += Scaled(w);
    else axis = Scaled(w);
  }

  void ReadFeedNumberSpeedAndTool();
  void ReadCoordinatesAndParameters();
  void RunCommands(TCommandStage stage);

  TCncInstance& Inst;
  const TLineWords& Words;
  TElementList& Target;
  const TPass Pass;
  TLineState State;
};

using T = TLineInterpreter;
constexpr TCommandStage kSwitching = TCommandStage::Switching;
constexpr TCommandStage kMotion = TCommandStage::Motion;
constexpr TPasses kAlike = TPasses::Alike;
constexpr TPasses kMayDiffer = TPasses::MayDiffer;

// The commands of the dialect, in the order a word is compared with them. The cycles write
// an outline into the contour and tool moves into the path; the engraving and font commands
// act on the font engine in each pass.
constexpr TCommandRow kCommands[] = {
    {"M03", kSwitching, kAlike, &T::AppendSwitch, "Spindl on"},
    {"M05", kSwitching, kAlike, &T::AppendSwitch, "Spindle off"},
    {"M06", kSwitching, kAlike, &T::AppendSwitch, "Move to tool change position"},
    {"M08", kSwitching, kAlike, &T::AppendSwitch, "Cooling system on"},
    {"M09", kSwitching, kAlike, &T::AppendSwitch, "Cooling system off"},
    {"M10", kSwitching, kAlike, &T::AppendSwitch, "Vacuum cleaner on"},
    {"M11", kSwitching, kAlike, &T::AppendSwitch, "Vacuum cleaner off"},
    {"M30", kSwitching, kAlike, &T::AppendSwitch, "Program end"},
    {"G20", kSwitching, kAlike, &T::InchInput, ""},
    {"G21", kSwitching, kAlike, &T::MillimetreInput, ""},
    {"G40", kSwitching, kAlike, &T::Compensation, "Fräserradiuskorrektur aus"},
    {"G41", kSwitching, kAlike, &T::Compensation, "Fräserradiuskorrektur G41 ein"},
    {"G42", kSwitching, kAlike, &T::Compensation, "Fräserradiuskorrektur G42 ein"},
    {"G54", kSwitching, kAlike, &T::AppendAtPos, "Setze W0 auf xyz"},
    {"G66", kSwitching, kMayDiffer, &T::Engrave, ""},
    {"G67", kSwitching, kMayDiffer, &T::FontFromSlot, ""},
    {"G68", kSwitching, kMayDiffer, &T::FontSpacing, ""},
    {"G69", kSwitching, kMayDiffer, &T::FontHeight, ""},
    {"G70", kSwitching, kMayDiffer, &T::RegisterFont, ""},
    {"G74", kSwitching, kAlike, &T::AppendSwitch, "Fahre zum W0"},
    {"G76", kSwitching, kAlike, &T::AppendSwitch, "Fahre zum M0"},
    {"G77", kSwitching, kAlike, &T::AppendSwitch, "Fahre zur Werkzeugwechselposition"},
    {"G79", kSwitching, kMayDiffer, &T::Drill, ""},
    {"G81", kSwitching, kMayDiffer, &T::DefineDrillCycle, ""},
    {"G87", kSwitching, kMayDiffer, &T::ClearedPocket, ""},
    {"G88", kSwitching, kMayDiffer, &T::SlantedPocket, ""},
    {"G86", kSwitching, kMayDiffer, &T::RectangularPocket, ""},
    {"G89", kSwitching, kMayDiffer, &T::RadialScale, ""},
    {"G90", kSwitching, kAlike, &T::AbsoluteInput, ""},
    {"G91", kSwitching, kAlike, &T::IncrementalInput, ""},
    // Motion is not modal; G0 to G3 stand for G00 to G03.
    {"G00", kMotion, kAlike, &T::Rapid, "Fahre im Eilgang zu Punkt xyz"},
    {"G01", kMotion, kAlike, &T::Line, "Geradenint G01"},
    {"G02", kMotion, kAlike, &T::Arc, "Kreisint G02"},
    {"G03", kMotion, kAlike, &T::Arc, "Kreisint G03"},
};

// Every command is a letter and two digits: its row is found by them, not by a search.
constexpr size_t kNoRow = std::size(kCommands);
constexpr size_t CommandSlot(char letter, char tens, char ones) {
  return (letter == 'M' ? 100 : 0) + static_cast<size_t>(tens - '0') * 10 + static_cast<size_t>(ones - '0');
}
constexpr bool IsCommandShape(char letter, char tens, char ones) {
  return (letter == 'G' || letter == 'M') && tens >= '0' && tens <= '9' && ones >= '0' && ones <= '9';
}
constexpr std::array<uint8_t, 200> MakeCommandIndex() {
  std::array<uint8_t, 200> index{};
  index.fill(static_cast<uint8_t>(kNoRow));
  for (size_t r = 0; r < std::size(kCommands); ++r) {
    const char* c = kCommands[r].Command.Chars;
    if (!IsCommandShape(c[0], c[1], c[2])) throw "a command is a letter G or M and two digits";
    if (index[CommandSlot(c[0], c[1], c[2])] != kNoRow) throw "a command stands in the table once";
    index[CommandSlot(c[0], c[1], c[2])] = static_cast<uint8_t>(r);
  }
  return index;
}
constexpr std::array<uint8_t, 200> kCommandIndex = MakeCommandIndex();

const TCommandRow* RowOf(char letter, char tens, char ones) {
  const size_t row = kCommandIndex[CommandSlot(letter, tens, ones)];
  return row == kNoRow ? nullptr : &kCommands[row];
}

// The row of a word's command (its first three characters), or none.
const TCommandRow* FindCommand(const TWord& w) {
  const char tens = w.Rest.size() > 0 ? w.Rest[0] : '\0';
  const char ones = w.Rest.size() > 1 ? w.Rest[1] : '\0';
  return IsCommandShape(w.First, tens, ones) ? RowOf(w.First, tens, ones) : nullptr;
}

// A motion word may be written short: "G1" is read as "G01" (the whole word, nothing after).
const TCommandRow* FindMotion(const TWord& w) {
  if (w.First == 'G' && w.Rest.size() == 1 && w.Rest[0] >= '0' && w.Rest[0] <= '3') return RowOf('G', '0', w.Rest[0]);
  return FindCommand(w);
}

// Feed, block number, speed, tool.
void TLineInterpreter::ReadFeedNumberSpeedAndTool() {
  // Most lines are moves without any of these words.
  if ((Words.Letters & (LetterBit('F') | LetterBit('N') | LetterBit('S') | LetterBit('T'))) == 0) return;
  const bool g81Line = Words.Count > 0 && Words.Words[0].Word.First == 'G' && Words.Words[0].Word.Rest == "81";
  for (size_t k = 0; k < Words.Count; ++k) {
    const TLineWord& w = Words.Words[k];
    switch (w.Letter) {
      case 'F':
        if (g81Line) {
          State.CycleFeed = CheckedRange(w.Integer, 0, 65535);
        } else {
          const int32_t feed = Integer(w);
          const std::string text = "Set feed " + std::string(w.Word.Rest);
          Target.push_back(MakeValueElement(State.BlockNumber, Inst.Texts.Intern(text), "F0X", feed));
          Inst.Feed = feed;
        }
        break;
      case 'N': State.BlockNumber = Integer(w); break;
      case 'S': {
        const std::string text = "set spindle speed S" + std::string(w.Word.Rest);
        Target.push_back(MakeValueElement(State.BlockNumber, Inst.Texts.Intern(text), "S0X", Integer(w)));
        break;
      }
      case 'T':
        Target.push_back(MakeValueElement(State.BlockNumber, "Set tool Tx", "T", Integer(w)));
        Inst.Tool = static_cast<uint8_t>(CheckedRange(Integer(w), 0, 255));
        break;
      default: break;
    }
  }
}

// Coordinates and parameters of the whole line, before any command acts.
void TLineInterpreter::ReadCoordinatesAndParameters() {
  State.XGiven = State.YGiven = State.ZGiven = State.IGiven = State.JGiven = false;
  TFontParamRec& f = Inst.FontParams;
  TPocketParams& p = Inst.Pocket;
  for (size_t k = 0; k < Words.Count; ++k) {
    const TLineWord& w = Words.Words[k];
    switch (w.Letter) {
      case '@': f.Text = w.Word.Rest; break;
      case 'A': f.FontNumber = StrictInteger(w); break;
      case 'B':
        f.Text = w.Word.Rest;
        p.Width = Scaled(w);
        break;
      case 'C': f.HorizontalJustification = StrictInteger(w); break;
      case 'D': f.VerticalJustification = StrictInteger(w); break;
      case 'E': f.Depth = Scaled(w); break;
      case 'H': f.Height = Scaled(w); break;
      case 'I':
        Inst.ArcI = Scaled(w);
        State.IGiven = true;
        break;
      case 'J':
        Inst.ArcJ = Scaled(w);
        State.JGiven = true;
        break;
      case 'L': p.Length = Scaled(w); break;
      case 'O': f.Direction = static_cast<uint8_t>(Integer(w) & 0xFF); break;
      case 'P': f.WidthFactor = w.Number; break;
      case 'Q': p.Angle = w.Number; break;
      case 'R':
        f.SafetyHeight = Scaled(w);
        p.CornerRadius = f.SafetyHeight;
        break;
      case 'U': p.Depth = Scaled(w); break;
      case 'V': p.StepDepth = Scaled(w); break;
      case 'W': p.Allowance = Scaled(w); break;
      case 'X':
        Coordinate(Inst.Pos.X, w);
        State.XGiven = true;
        break;
      case 'Y':
        Coordinate(Inst.Pos.Y, w);
        State.YGiven = true;
        break;
      case 'Z':
        State.PreviousZ = Inst.Pos.Z;
        Coordinate(Inst.Pos.Z, w);
        State.ZGiven = true;
        break;
      default: break;
    }
  }
}

// Every command of the line that acts in `stage`, in the order of the words.
void TLineInterpreter::RunCommands(TCommandStage stage) {
  for (size_t k = 0; k < Words.CommandCount; ++k) {
    const TCommandRow& row = kCommands[Words.Commands[k]];
    if (row.Stage == stage) (this->*row.Handler)(row);
  }
}

void TLineInterpreter::Engrave(const TCommandRow&) {
  // The strokes are drawn as programmed: compensation pauses around them.
  if (CompensationOn(Inst.Compensation)) Add("Fräserradiuskorrektur aus", "G40");
  EngraveText(Inst, State.BlockNumber, Target);
  if (Inst.Compensation == TCompensationSide::Left) Add("Fräserradiuskorrektur 41", "G41");
  if (Inst.Compensation == TCompensationSide::Right) Add("Fräserradiuskorrektur 42", "G42");
}

void TLineInterpreter::DefineDrillCycle(const TCommandRow&) {
  const double depth = Inst.Pos.Z;
  // The Z word of a G81 line is the drilling depth, not a move, even when the line fails.
  if (State.ZGiven) Inst.Pos.Z = State.PreviousZ;
  // G81 reads the H word as its number of steps and the font text (B or @) as its height.
  const int32_t steps = CheckedRange(RoundNearest(Inst.FontParams.Height), 0, 65535);
  Inst.DrillCycle = MakeDrillCycle(static_cast<uint16_t>(State.CycleFeed), static_cast<uint16_t>(steps), depth,
                                   TextToFloat(Inst.FontParams.Text), Inst.ToolDiameter());
}

void TLineInterpreter::Rapid(const TCommandRow& row) {
  if (State.XGiven || State.YGiven || State.ZGiven) AddAtPos(row.Text, row.Command);
  else LineMessage("Error in program line ", ": at least one xyz-paramater for G00 has to be specified");
}

void TLineInterpreter::Line(const TCommandRow& row) {
  if (State.XGiven || State.YGiven || State.ZGiven) AddAtPos(row.Text, row.Command);
  else LineMessage("Error in program line ", ": at least one xyz-parameter for G01 has to be specified");
}

void TLineInterpreter::Arc(const TCommandRow& row) {
  if (State.XGiven && State.YGiven && State.IGiven && State.JGiven) {
    Target.push_back(
        MakeElement(State.BlockNumber, row.Text, row.Command, Inst.Pos, TPoint{Inst.ArcI, Inst.ArcJ, 0.0}));
  } else if (row.Command == TCode("G02")) {
    LineMessage("Error in program line ", ": G02 defined but error(s) in xyij-parameter");
  } else {
    LineMessage("Error in program line ", ": G03 defined but error(s) in xyij-parameter");
  }
}

}  // namespace

void PrepareLine(std::string_view line, TLineWords& words) {
  words.Count = 0;
  words.CommandCount = 0;
  words.PassDependent = false;
  words.Letters = 0;
  static_cast<TSplitFlags&>(words) = SplitWords(line, [&](const TWord& word, size_t index) {
    TLineWord& w = words.Words[index];
    w.Word = word;
    w.Number = 0.0;
    w.Integer = 0;
    w.IsInteger = false;
    words.Count = index + 1;
    const char letter = word.Letter();
    w.Letter = letter;
    words.Letters |= LetterBit(letter);
    // Commands are read by their characters; quoted texts are no numbers.
    if (letter == '@' || letter == 'G' || letter == 'M') {
      // A motion word's row stands for the word in both scans: its short spelling names no
      // switching command.
      if (const TCommandRow* row = FindMotion(word)) {
        words.Commands[words.CommandCount++] = static_cast<uint8_t>(row - kCommands);
        if (row->Passes == TPasses::MayDiffer) words.PassDependent = true;
      }
      return;
    }
    const TNumberText n = ReadNumberText(word.Rest);
    w.Number = n.Value;
    w.Integer = n.Integer;
    w.IsInteger = n.IsInteger;
  });
}

std::vector<TCode> DialectCommands() {
  std::vector<TCode> commands;
  for (const TCommandRow& row : kCommands) commands.push_back(row.Command);
  return commands;
}

int32_t InterpretLine(TCncInstance& inst, const TLineWords& words, TElementList& target, TPass pass) {
  if (words.UnbalancedQuote) inst.AddMessage("to less or to much unquote in command");
  if (words.Count == 0) return 0;
  TLineInterpreter interpreter(inst, words, target, pass);
  interpreter.Run();
  return interpreter.BlockNumber();
}

namespace {
// Line i (from 0) of the file as the user counts it; beyond what an element can hold the
// count stops rather than wraps.
int32_t FileLineNumber(size_t i) {
  return static_cast<int32_t>(std::min<size_t>(i + 1, std::numeric_limits<int32_t>::max()));
}

// Said once per line, not per pass.
void WarnAboutCutLine(TCncInstance& inst, const TLineWords& words, int32_t line) {
  if (!words.TooLong && !words.TooManyWords) return;
  inst.AddMessage("Warning in program line " + std::to_string(line) +
                  (words.TooLong ? ": line longer than 255 characters, the rest is ignored"
                                 : ": more than 16 words, the rest is ignored"));
}

// Both passes give the same elements, messages and state: interpret once, copy.
int32_t InterpretOnceAndCopy(TCncInstance& inst, const TLineWords& words) {
  const size_t firstElement = inst.ContourList.size();
  const size_t firstMessage = inst.Messages.size();
  const uint64_t firstLeftOut = inst.Messages.LeftOut;
  const int32_t line = InterpretLine(inst, words, inst.ContourList, TPass::Contour);
  inst.RawPathList.Append(inst.ContourList.begin() + static_cast<ptrdiff_t>(firstElement), inst.ContourList.end());
  const size_t lastMessage = inst.Messages.size();
  // Messages past the bound were not kept, but the second pass would say them too.
  const uint64_t leftOutOnce = inst.Messages.LeftOut - firstLeftOut;
  for (size_t m = firstMessage; m < lastMessage; ++m) inst.Messages.push_back(inst.Messages[m]);
  inst.Messages.LeftOut += leftOutOnce;
  return line;
}

}  // namespace

int32_t InterpretBothPasses(TCncInstance& inst, const TLineWords& words) {
  const TPoint pos = inst.Pos;
  const double unitFactor = inst.UnitFactor;
  const bool incremental = inst.Incremental;
  InterpretLine(inst, words, inst.ContourList, TPass::Contour);
  // Both passes of a line start from the same point and units.
  inst.Pos = pos;
  inst.UnitFactor = unitFactor;
  inst.Incremental = incremental;
  return InterpretLine(inst, words, inst.RawPathList, TPass::RawPath);
}

void InterpretProgram(TCncInstance& inst) {
  const size_t count = inst.Lines.Count();
  // Most lines give one element; a little headroom avoids doubling a full list. Files of
  // many lines that make nothing (blank lines) must not reserve for them: past the cap the
  // lists grow with what is made.
  const size_t expected = std::min<size_t>(count + count / 4 + 16, kMaxInitialReserve);
  inst.ContourList.reserve(expected);
  inst.RawPathList.reserve(expected);
  inst.FeedUnits = {};
  TLineWords words;
  TPrefaultCursor contourPages, rawPages;
  for (size_t i = 0; i < count; ++i) {
    inst.CurrentLine = i + 1;
    const int32_t fileLine = FileLineNumber(i);
    // Whatever the line makes, a cycle's or an engraving's many moves too, comes from it.
    inst.Messages.CurrentFileLine = fileLine;
    inst.ContourList.FileLine = fileLine;
    inst.RawPathList.FileLine = fileLine;
    contourPages.Advance(inst.ContourList);
    rawPages.Advance(inst.RawPathList);
    PrepareLine(inst.Lines.Line(i), words);
    inst.FeedUnits.Line(words.Count, [&](size_t k) -> const TWord& { return words.Words[k].Word; });
    // A line whose two passes may differ is interpreted in each; the command table says which.
    const int32_t line = words.PassDependent ? InterpretBothPasses(inst, words) : InterpretOnceAndCopy(inst, words);
    WarnAboutCutLine(inst, words, line);
  }
  inst.Messages.CurrentFileLine = 0;
  inst.ContourList.FileLine = 0;
  inst.RawPathList.FileLine = 0;
}
