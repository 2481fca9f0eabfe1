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
  void Clear() { Set.clear(); Store.clear(); }

 private:
  std::deque<std::string> Store;
  std::unordered_set<std::string_view> Set;
};

// Engraving parameters, filled by the letter words @, H, C, D, A, O, P, E, R.
struct TFontParamRec {
  std::string FontText;
  double FontHeight = 10.0;
  int32_t FontC = 0;
  int32_t FontD = 0;
  int32_t FontA = 0;
  uint8_t FontO = 0;
  double FontP = 1.0;
  double FontE = 0.5;
  double FontR = 0.5;
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
};

struct TCncInstance : TCncProgram {
  TMessageList Messages;
  TVectorFont Font;
  TFontParamRec FontParams;
  TG81Cycle DrillCycle;
  TCompensationSide Compensation = TCompensationSide::Off;
  double ParamL = 10.0;
  double ParamB = 10.0;
  double ParamR = 5.0;
  double ParamQ = 0.0;
  double ParamU = 5.0;
  double ParamV = 1.0;
  double ParamW = 1.0;
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
