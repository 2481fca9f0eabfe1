// An engine instance: one loaded program with its modal state, parameter block,
// element lists and messages.
#pragma once

#include <array>
#include <cstdint>
#include <deque>
#include <string>
#include <string_view>
#include <unordered_set>
#include "geometry/compensation_side.h"

#include "base/program_reader.h"
#include "base/records.h"
#include "engraving/vector_font.h"

// Owns the texts of elements that are not literals ("Set feed 1200"); equal texts are
// stored once. Texts are cut to 50 bytes, as elements hold at most 50 characters.
class TTextPool {
 public:
  const char* Intern(std::string_view text);
  void Clear() {
    Set.clear();
    Store.clear();
  }

 private:
  std::deque<std::string> Store;
  std::unordered_set<std::string_view> Set;
};

// Engraving parameters of G66 to G70, filled by the letter words @, H, C, D, A, O, P, E, R.
struct TFontParamRec {
  std::string Text;                     // @ or B: the text to engrave, the file G70 registers
  double Height = 10.0;                 // H: character height, mm
  int32_t HorizontalJustification = 0;  // C: 0 left, 1 centre, 2 right
  int32_t VerticalJustification = 0;    // D: 0 baseline, 1 centre, 2 top
  int32_t FontNumber = 0;               // A: the font slot G67 selects
  uint8_t Direction = 0;                // O: 0 horizontal, 1 upwards
  double WidthFactor = 1.0;             // P: multiplies each character's advance
  double Depth = 0.5;                   // E: engraving depth below the start, mm
  double SafetyHeight = 0.5;            // R: rapid moves above the start, mm
};

// Sizes of the pockets G86 to G88, filled by the letter words L, B, R, Q, U, V, W.
struct TPocketParams {
  double Length = 10.0;       // L: along the pocket's own X axis
  double Width = 10.0;        // B
  double CornerRadius = 5.0;  // R
  double Angle = 0.0;         // Q: degrees counter-clockwise, never scaled
  double Depth = 5.0;         // U: total depth below the start height
  double StepDepth = 1.0;     // V: depth per step
  double Allowance = 1.0;     // W: finishing allowance on every side
};

// Drilling cycle as defined by the last G81 line.
struct TG81Cycle {
  uint16_t Steps = 1;
  double Depth = 1.0;
  double Height = 3.0;
  double StepDepth = 1.0;  // Depth / Steps, or Depth when Steps is 0
  uint16_t Feed = 200;
  double Diameter = 3.0;
};

struct TCncProgram {
  TElementBudget Budget;  // shared by the three lists below
  TElementList RawPathList;
  TElementList PathList;
  TElementList ContourList;
  TProgramLines Lines;
  std::string FileName;
  uint8_t Tool = 0;
  std::array<double, 256> ToolRadius{};
  int32_t Handle = 0;
  int32_t Feed = 0;
  TPoint Pos;
  double ArcI = 0.0;
  double ArcJ = 0.0;
  bool Incremental = false;
  double UnitFactor = 1.0;
  TFeedUnitScan FeedUnits;  // the unit of the F words, for those who read the lists
};

struct TCncInstance : TCncProgram {
  TMessageList Messages;
  TVectorFont Font;
  TFontParamRec FontParams;
  TG81Cycle DrillCycle;
  TCompensationSide Compensation = TCompensationSide::Off;
  TPocketParams Pocket;
  TTextPool Texts;
  size_t CurrentLine = 0;  // 1-based line of the program being interpreted

  // A new instance with every default, the font engine started on `fontPath`.
  TCncInstance(int32_t handle, std::string fileName, const std::string& fontPath);

  void AddMessage(std::string text) { Messages.push_back(std::move(text)); }
  double ToolDiameter() const { return 2.0 * ToolRadius[Tool]; }

  // Loads the program file into Lines; returns the number of lines. A file that cannot be
  // read gives 0 lines and a message with the reason.
  int32_t Load();
};
