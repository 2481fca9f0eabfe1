#include "geometry/milling_path.h"

#include "base/prefault.h"

#include <cmath>
#include <optional>
#include <string>

#include "geometry/corner_joins.h"
#include "geometry/plane_geometry.h"

namespace {

// A rounding arc shorter than this in both x and y is left out where a handler asks.
constexpr double kShortRoundingArc = 0.02;

constexpr const char* kTextG00 = "Fahre G00";
constexpr const char* kTextG01 = "Fahre G01";
constexpr const char* kTextG02 = "Fahre G02";
constexpr const char* kTextG03 = "Fahre G03";
constexpr const char* kTextVertical = "Fahre G01 nach oben/unten";

enum class TElementKind { ToolChange, Compensation, Switch, Move };

// Elements the path repeats as they are.
constexpr TCode kSwitchCodes[] = {"M03", "M04", "M05", "M06", "M08", "M09", "M10", "M11", "M30", "F0X",
                                  "S0X", "G54", "G66", "G67", "G68", "G69", "G74", "G76", "G77"};

TElementKind KindOf(const TCode& c) {
  if (IsMove(c)) return TElementKind::Move;
  if (c == TCode("T")) return TElementKind::ToolChange;
  if (CompensationSideOf(c)) return TElementKind::Compensation;
  for (const TCode& s : kSwitchCodes)
    if (c == s) return TElementKind::Switch;
  // Anything else is handled as a move; only a vertical one appends something.
  return TElementKind::Move;
}

bool IsArc(const TCode& c) { return c == TCode("G02") || c == TCode("G03"); }

TPoint Plus(const TPoint& p, const TPoint& offset) { return TPoint{p.X + offset.X, p.Y + offset.Y, p.Z}; }
TPoint Minus(const TPoint& a, const TPoint& b) { return TPoint{a.X - b.X, a.Y - b.Y, 0.0}; }

// The arc-into-arc pairs differ in their join, their error and whether a rounding arc
// shorter than kShortRoundingArc is left out.
struct TArcArcPair {
  TJoinResult (*Join)(TCompensationSide, double, const TPoint&, const TPoint&, const TPoint&);
  TPathStatus Error;
  const char* Head;
  const char* Tail;
  bool ShortTest;
};
constexpr TArcArcPair kCwCw{JoinCwCw, TPathStatus::CwCw,
                            "ErrorNr 15, in program line: ", " G02-G02, no intersection point", false};
constexpr TArcArcPair kCwCcw{JoinCwCcw, TPathStatus::CwCcw,
                             "ErrorNr 16 in program line: ", " G02-G03 no intersection point", true};
constexpr TArcArcPair kCcwCcw{JoinCcwCcw, TPathStatus::CcwCcw,
                              "ErrorNr 17 in program line: ", " G03-G03 no intersection point", false};
constexpr TArcArcPair kCcwCw{JoinCcwCw, TPathStatus::CcwCw,
                             "ErrorNr 18 in program line: ", " G03-G02 no intesection point", false};

// One programmed move with the move that follows it.
struct TCorner {
  const TCncElement& G;         // the current move
  const TCncElement& H;         // the next move that leaves T1
  TPoint T1;                    // end of the current move
  TPoint T2;                    // end of the next move
  double Z;                     // height of everything appended for G
  TCompensationSide ModeAhead;  // compensation in force at H
};

class TMillingPathRun {
 public:
  TMillingPathRun(const TElementList& raw, TElementList& path, const std::array<double, 256>& toolRadius,
                  TMessageList& messages)
      : Raw(raw), Path(path), ToolRadius(toolRadius), Messages(messages) {}

  int32_t Run(const TPoint& start);

 private:
  using THandler = int32_t (TMillingPathRun::*)(const TCorner&);
  struct THandlerEntry {
    TCode Current;
    TCode Next;
    THandler Handle;
  };
  // One handler per pair of moves, in the order they are tested.
  static const THandlerEntry kHandlers[16];
  static THandler HandlerFor(const TCode& current, const TCode& next);

  int32_t Element(size_t i);
  void ToolChange(const TCncElement& g);
  int32_t Move(size_t i, const TCncElement& g);
  void LastMove(const TCncElement& g, const TPoint& T1, double z);
  TNextMove LookAhead(size_t from, const TPoint& end);

  int32_t LineLine(const TCorner& k);
  int32_t RapidLine(const TCorner& k);
  int32_t LineRapid(const TCorner& k);
  int32_t RapidRapid(const TCorner& k);
  int32_t LineCw(const TCorner& k);
  int32_t RapidCw(const TCorner& k);
  int32_t LineCcw(const TCorner& k);
  int32_t RapidCcw(const TCorner& k);
  int32_t CwLine(const TCorner& k);
  int32_t CwRapid(const TCorner& k);
  int32_t CcwLine(const TCorner& k);
  int32_t CcwRapid(const TCorner& k);
  int32_t CwCw(const TCorner& k);
  int32_t CwCcw(const TCorner& k);
  int32_t CcwCcw(const TCorner& k);
  int32_t CcwCw(const TCorner& k);
  int32_t ArcIntoArc(const TCorner& k, const TArcArcPair& pair);

  // Shared pieces of the handlers.
  int32_t LineToJoint(const TCorner& k, const TJoinResult& j, bool shortTest);
  int32_t RapidToJoint(const TCorner& k, const TJoinResult& j);
  int32_t ArcToJoint(const TCorner& k, const TPoint& A1, const TJoinResult& j, bool rounding, bool shortTest);
  int32_t Unchanged(const TCorner& k);
  int32_t UnchangedArc(const TCorner& k, const TPoint& A);
  bool AppendRoundingArc(const TCorner& k, const TJoinResult& j, bool shortTest);
  void AppendLine(const TCncElement& g, const TPoint& to, double z, const char* text = kTextG01);
  void AppendArc(const TCncElement& g, const TPoint& centre, const TPoint& end, double z);
  int32_t Warn(std::string head, int32_t line, const char* tail);
  int32_t Stop(TPathStatus error, std::string head, int32_t line, const char* tail);
  TPoint ArcCentre(const TCncElement& g) const { return Plus(P, g.P2); }

  const TElementList& Raw;
  TElementList& Path;
  const std::array<double, 256>& ToolRadius;
  TMessageList& Messages;

  TPoint P;        // programmed position
  TPoint C;        // compensated position: end of the last path element
  double R = 0.0;  // tool radius in effect, 0 while compensation is off
  TCompensationSide Mode = TCompensationSide::Off;
  uint8_t Tool = 0;

  // The last look-ahead: a stretch of elements that leave its end point where it is
  // is scanned once, however many moves ask about it.
  TNextMove Ahead;
  size_t AheadFrom = 0;
  TPoint AheadEnd;
  bool AheadValid = false;
};

const TMillingPathRun::THandlerEntry TMillingPathRun::kHandlers[16] = {
    {"G01", "G01", &TMillingPathRun::LineLine},  {"G00", "G01", &TMillingPathRun::RapidLine},
    {"G01", "G00", &TMillingPathRun::LineRapid}, {"G00", "G00", &TMillingPathRun::RapidRapid},
    {"G01", "G02", &TMillingPathRun::LineCw},    {"G00", "G02", &TMillingPathRun::RapidCw},
    {"G01", "G03", &TMillingPathRun::LineCcw},   {"G00", "G03", &TMillingPathRun::RapidCcw},
    {"G02", "G01", &TMillingPathRun::CwLine},    {"G02", "G00", &TMillingPathRun::CwRapid},
    {"G03", "G01", &TMillingPathRun::CcwLine},   {"G03", "G00", &TMillingPathRun::CcwRapid},
    {"G02", "G02", &TMillingPathRun::CwCw},      {"G02", "G03", &TMillingPathRun::CwCcw},
    {"G03", "G03", &TMillingPathRun::CcwCcw},    {"G03", "G02", &TMillingPathRun::CcwCw},
};

// Both codes are G00..G03, so the table is four by four.
TMillingPathRun::THandler TMillingPathRun::HandlerFor(const TCode& current, const TCode& next) {
  static const auto cells = [] {
    std::array<std::array<THandler, 4>, 4> t{};
    for (const THandlerEntry& e : kHandlers) t[e.Current.Chars[2] - '0'][e.Next.Chars[2] - '0'] = e.Handle;
    return t;
  }();
  if (!IsMove(current) || !IsMove(next)) return nullptr;
  return cells[current.Chars[2] - '0'][next.Chars[2] - '0'];
}

int32_t TMillingPathRun::Run(const TPoint& start) {
  Tool = 0;
  R = 0.0;
  Mode = TCompensationSide::Off;
  P = C = start;
  if (Raw.empty()) {
    Messages.push_back("Error -5 no program code in Pre-command buffer available");
    return static_cast<int32_t>(TPathStatus::NoProgramCode);
  }
  Path.reserve(Path.size() + Raw.size() + Raw.size() / 4);
  TPrefaultCursor pathPages;
  for (size_t i = 0; i < Raw.size(); ++i) {
    pathPages.Advance(Path);
    // What an element makes, and a message where the path stops at it, come from its line.
    Path.FileLine = Raw[i].FileLine;
    Messages.CurrentFileLine = Raw[i].FileLine;
    if (const int32_t error = Element(i)) return error;
  }
  Path.FileLine = 0;
  Messages.CurrentFileLine = 0;
  return 0;
}

int32_t TMillingPathRun::Element(size_t i) {
  const TCncElement& g = Raw[i];
  switch (KindOf(g.Code)) {
    case TElementKind::ToolChange: ToolChange(g); return 0;
    case TElementKind::Compensation:
      Mode = CompensationSideOf(g.Code).value_or(TCompensationSide::Off);
      Path.push_back(g);
      R = CompensationOn(Mode) ? ToolRadius[Tool] : 0.0;
      return 0;
    case TElementKind::Switch: Path.push_back(g); return 0;
    case TElementKind::Move: return Move(i, g);
  }
  return 0;
}

void TMillingPathRun::ToolChange(const TCncElement& g) {
  // A negative number names no tool either; it must not wrap into the table.
  if (g.ToolNo() > 255 || g.ToolNo() < 0)
    Messages.push_back("Unknown tool name in program line " + std::to_string(g.Line));
  else Tool = static_cast<uint8_t>(g.ToolNo());
  R = Mode == TCompensationSide::Off ? 0.0 : ToolRadius[Tool];
  Path.push_back(g);
}

int32_t TMillingPathRun::Move(size_t i, const TCncElement& g) {
  const TPoint T1 = g.P1;
  const double z = T1.Z;
  if (!IsArc(g.Code) && !DiffersXY(P, T1)) {
    Path.push_back(MakeElement(g.Line, kTextVertical, g.Code, C, z));
    P.Z = z;
    C.Z = z;
    return 0;
  }
  // Other codes handled as moves have no handler and no last-move form.
  if (!IsMove(g.Code)) return 0;
  const TNextMove next = LookAhead(i + 1, T1);
  if (next.Position < 0) {
    LastMove(g, T1, z);
    return 0;
  }
  const TCncElement& h = Raw[static_cast<size_t>(next.Position)];
  const THandler handle = HandlerFor(g.Code, h.Code);
  if (handle == nullptr) return 0;
  return (this->*handle)(TCorner{g, h, T1, h.P1, z, next.ModeAhead});
}

TNextMove TMillingPathRun::LookAhead(size_t from, const TPoint& end) {
  if (AheadValid && from >= AheadFrom && !DiffersXY(end, AheadEnd) &&
      (Ahead.Position < 0 || static_cast<int64_t>(from) <= Ahead.Position)) {
    TNextMove r = Ahead;
    if (r.ModeSetAt < static_cast<int64_t>(from)) {
      r.ModeAhead = Mode;
      r.ModeSetAt = -1;
    }
    return r;
  }
  Ahead = FindNextMove(Raw, from, end, Mode);
  AheadFrom = from;
  AheadEnd = end;
  AheadValid = true;
  return Ahead;
}

void TMillingPathRun::LastMove(const TCncElement& g, const TPoint& T1, double z) {
  TPoint end = T1;
  if (g.Code == TCode("G01")) {
    if (Mode != TCompensationSide::Off) end = Displaced(T1, R, SideNormal(Mode, P, T1));
    AppendLine(g, end, z);
  } else if (g.Code == TCode("G00")) {
    AppendLine(g, T1, z);
  } else {
    const TPoint A = ArcCentre(g);
    if (Mode == TCompensationSide::Off) {
      Path.push_back(MakeElementAtHeight(g.Line, g.Code == TCode("G02") ? kTextG02 : kTextG03, g.Code, T1, g.P2, z));
    } else {
      const bool outside = (g.Code == TCode("G02")) == (Mode == TCompensationSide::Left);
      end = Displaced(T1, outside ? R : -R, UnitVec(VecBetween(A, T1)));
      AppendArc(g, A, end, z);
    }
  }
  P = T1;
  C = TPoint{end.X, end.Y, z};
}

// ---- the handlers -----------------------------------------------------------------------

int32_t TMillingPathRun::LineLine(const TCorner& k) {
  if (Mode == TCompensationSide::Off) return Unchanged(k);
  const TJoinResult j = JoinLineLine(Mode, R, P, k.T1, k.T2);
  if (j.Count == TJoinCount::NoJoint)
    return Stop(TPathStatus::LineLine, "Error 10 in program line: ", k.G.Line, ": G01-G01 have no intersection point");
  return LineToJoint(k, j, true);
}

int32_t TMillingPathRun::RapidLine(const TCorner& k) {
  if (k.ModeAhead == TCompensationSide::Off) return Unchanged(k);
  const TPoint end = Displaced(k.T1, R, SideNormal(Mode, k.T1, k.T2));
  AppendLine(k.G, end, k.Z, kTextG00);
  P = k.T1;
  C = TPoint{end.X, end.Y, k.Z};
  return 0;
}

int32_t TMillingPathRun::LineRapid(const TCorner& k) {
  if (Mode == TCompensationSide::Off) return Unchanged(k);
  const TPoint end = Displaced(k.T1, R, SideNormal(Mode, P, k.T1));
  AppendLine(k.G, end, k.Z);
  P = k.T1;
  C = TPoint{end.X, end.Y, k.Z};
  return 0;
}

int32_t TMillingPathRun::RapidRapid(const TCorner& k) { return Unchanged(k); }

int32_t TMillingPathRun::LineCw(const TCorner& k) {
  if (Mode == TCompensationSide::Off) return Unchanged(k);
  const TJoinResult j = JoinLineCw(Mode, R, P, k.T1, Plus(k.T1, k.H.P2));
  if (j.Count == TJoinCount::NoJoint)
    Warn("ErrorNr 11, in program line: ", k.G.Line, " G01-G02 resp. G00 G02, have no intersection point");
  if (j.Count == TJoinCount::LineMisses) Warn("ErrorNr 45, in program line: ", k.G.Line, " Intersection result -1");
  AppendLine(k.G, j.S1, k.Z);
  AppendRoundingArc(k, j, true);
  // The next arc starts from S2 even when its rounding arc was too short to append.
  P = k.T1;
  C = TPoint{j.S2.X, j.S2.Y, k.Z};
  return 0;
}

int32_t TMillingPathRun::RapidCw(const TCorner& k) {
  if (k.ModeAhead == TCompensationSide::Off) return Unchanged(k);
  return RapidToJoint(k, JoinRapidCw(k.ModeAhead, R, k.T1, Plus(k.T1, k.H.P2)));
}

int32_t TMillingPathRun::LineCcw(const TCorner& k) {
  if (Mode == TCompensationSide::Off) return Unchanged(k);
  const TJoinResult j = JoinLineCcw(Mode, R, P, k.T1, Plus(k.T1, k.H.P2));
  if (j.Count == TJoinCount::NoJoint)
    return Stop(TPathStatus::LineCcw, "ErrorNr 12, in program line: ", k.G.Line,
                " G01-G03 resp. G00 G03, no intersection point");
  return LineToJoint(k, j, false);
}

int32_t TMillingPathRun::RapidCcw(const TCorner& k) {
  if (k.ModeAhead == TCompensationSide::Off) return Unchanged(k);
  return RapidToJoint(k, JoinRapidCcw(k.ModeAhead, R, k.T1, Plus(k.T1, k.H.P2)));
}

int32_t TMillingPathRun::CwLine(const TCorner& k) {
  const TPoint A = ArcCentre(k.G);
  if (Mode == TCompensationSide::Off) return UnchangedArc(k, A);
  const TJoinResult j = JoinCwLine(Mode, R, k.T1, k.T2, A);
  if (j.Count == TJoinCount::NoJoint)
    Warn("ErrorNr 13, in program line: ", k.G.Line, " G02-G01 resp. G02 G00, no intersection point");
  return ArcToJoint(k, A, j, true, true);
}

int32_t TMillingPathRun::CwRapid(const TCorner& k) {
  const TPoint A = ArcCentre(k.G);
  if (Mode == TCompensationSide::Off) return UnchangedArc(k, A);
  return ArcToJoint(k, A, JoinArcRapid(Mode, R, k.T1, A, true), false, false);
}

int32_t TMillingPathRun::CcwLine(const TCorner& k) {
  const TPoint A = ArcCentre(k.G);
  if (Mode == TCompensationSide::Off) return UnchangedArc(k, A);
  const TJoinResult j = JoinCcwLine(Mode, R, k.T1, k.T2, A);
  if (j.Count == TJoinCount::NoJoint)
    return Stop(TPathStatus::CcwLine, "ErrorNr 14, in program line: ", k.G.Line,
                " G03-G01 resp. G03 G00, no intersection point");
  return ArcToJoint(k, A, j, true, false);
}

int32_t TMillingPathRun::CcwRapid(const TCorner& k) {
  const TPoint A = ArcCentre(k.G);
  if (Mode == TCompensationSide::Off) return UnchangedArc(k, A);
  return ArcToJoint(k, A, JoinArcRapid(Mode, R, k.T1, A, false), false, false);
}

int32_t TMillingPathRun::CwCw(const TCorner& k) { return ArcIntoArc(k, kCwCw); }
int32_t TMillingPathRun::CwCcw(const TCorner& k) { return ArcIntoArc(k, kCwCcw); }
int32_t TMillingPathRun::CcwCcw(const TCorner& k) { return ArcIntoArc(k, kCcwCcw); }
int32_t TMillingPathRun::CcwCw(const TCorner& k) { return ArcIntoArc(k, kCcwCw); }

// The arc-arc pairs have no test of the mode: compensation off joins at the corner itself.
int32_t TMillingPathRun::ArcIntoArc(const TCorner& k, const TArcArcPair& pair) {
  const TPoint A1 = ArcCentre(k.G);
  const TJoinResult j = pair.Join(Mode, R, A1, Plus(k.T1, k.H.P2), k.T1);
  if (j.Count == TJoinCount::NoJoint) return Stop(pair.Error, pair.Head, k.G.Line, pair.Tail);
  return ArcToJoint(k, A1, j, true, pair.ShortTest);
}

// ---- shared pieces ----------------------------------------------------------------------

int32_t TMillingPathRun::LineToJoint(const TCorner& k, const TJoinResult& j, bool shortTest) {
  AppendLine(k.G, j.S1, k.Z);
  const bool rounded = AppendRoundingArc(k, j, shortTest);
  P = k.T1;
  const TPoint& c = rounded ? j.S2 : j.S1;
  C = TPoint{c.X, c.Y, k.Z};
  return 0;
}

int32_t TMillingPathRun::RapidToJoint(const TCorner& k, const TJoinResult& j) {
  AppendLine(k.G, j.S1, k.Z);
  P = k.T1;
  C = TPoint{j.S1.X, j.S1.Y, k.Z};
  return 0;
}

int32_t TMillingPathRun::ArcToJoint(const TCorner& k, const TPoint& A1, const TJoinResult& j, bool rounding,
                                    bool shortTest) {
  AppendArc(k.G, A1, j.S1, k.Z);
  const bool rounded = rounding && AppendRoundingArc(k, j, shortTest);
  P = k.T1;
  const TPoint& c = rounded ? j.S2 : j.S1;
  C = TPoint{c.X, c.Y, k.Z};
  return 0;
}

int32_t TMillingPathRun::Unchanged(const TCorner& k) {
  if (IsArc(k.G.Code)) return UnchangedArc(k, ArcCentre(k.G));
  AppendLine(k.G, k.T1, k.Z);
  P = C = TPoint{k.T1.X, k.T1.Y, k.Z};
  return 0;
}

int32_t TMillingPathRun::UnchangedArc(const TCorner& k, const TPoint& A) {
  AppendArc(k.G, A, k.T1, k.Z);
  P = C = TPoint{k.T1.X, k.T1.Y, k.Z};
  return 0;
}

bool TMillingPathRun::AppendRoundingArc(const TCorner& k, const TJoinResult& j, bool shortTest) {
  if (!j.RoundingArc) return false;
  if (shortTest && std::fabs(j.S2.X - j.S1.X) < kShortRoundingArc && std::fabs(j.S2.Y - j.S1.Y) < kShortRoundingArc)
    return false;
  const bool left = Mode == TCompensationSide::Left;
  Path.push_back(
      MakeElementAtHeight(k.G.Line, left ? kTextG02 : kTextG03, left ? "G02" : "G03", j.S2, Minus(k.T1, j.S1), k.Z));
  return true;
}

void TMillingPathRun::AppendLine(const TCncElement& g, const TPoint& to, double z, const char* text) {
  Path.push_back(MakeElement(g.Line, text, g.Code, to, z));
}

// An offset arc about the absolute centre, from the current path end.
void TMillingPathRun::AppendArc(const TCncElement& g, const TPoint& centre, const TPoint& end, double z) {
  Path.push_back(
      MakeElementAtHeight(g.Line, g.Code == TCode("G02") ? kTextG02 : kTextG03, g.Code, end, Minus(centre, C), z));
}

int32_t TMillingPathRun::Warn(std::string head, int32_t line, const char* tail) {
  head += std::to_string(line);
  head += tail;
  Messages.push_back(std::move(head));
  return 0;
}

int32_t TMillingPathRun::Stop(TPathStatus error, std::string head, int32_t line, const char* tail) {
  Warn(std::move(head), line, tail);
  return static_cast<int32_t>(error);
}

}  // namespace

TNextMove FindNextMove(const TElementList& raw, size_t from, const TPoint& end, TCompensationSide mode) {
  TNextMove r;
  r.ModeAhead = mode;
  for (size_t i = from; i < raw.size(); ++i) {
    const TCncElement& e = raw[i];
    if (IsMove(e.Code)) {
      if (DiffersXY(e.P1, end)) {
        r.Position = static_cast<int64_t>(i);
        return r;
      }
    } else if (const std::optional<TCompensationSide> side = CompensationSideOf(e.Code)) {
      r.ModeAhead = *side;
      r.ModeSetAt = static_cast<int64_t>(i);
    }
  }
  return r;
}

int32_t ComputeMillingPath(const TElementList& raw, TElementList& path, const std::array<double, 256>& toolRadius,
                           const TPoint& start, TMessageList& messages) {
  return TMillingPathRun(raw, path, toolRadius, messages).Run(start);
}
