// The cutters of the simulated stock: flat end mills, ball ends and V-bits, each described by
// how far its bottom surface rises above the tip at a distance from the axis.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "base/records.h"

enum class TCutterKind : uint8_t { Flat, Ball, VBit };

// What the user says about a tool's end; its radius comes from the tool table.
struct TCutterShape {
  TCutterKind Kind = TCutterKind::Flat;
  double IncludedAngle = 90.0;  // degrees, V-bits only
  friend bool operator==(const TCutterShape&, const TCutterShape&) = default;
};

// Included angles a V-bit may have, in degrees (both ends excluded).
constexpr double kMinVAngle = 0.0;
constexpr double kMaxVAngle = 180.0;

// "flat", "ball" or "v" and the included angle in degrees ("v60"); none for anything else.
std::optional<TCutterShape> ParseCutterShape(std::string_view text);
std::string CutterShapeText(const TCutterShape& shape);

struct TCutter {
  TCutterKind Kind = TCutterKind::Flat;
  double Radius = 0.0;
  double Slope = 0.0;  // V-bits: the rise per millimetre from the axis, 1 / tan(angle / 2)

  // Height of the bottom surface above the tip at `distance` (at most Radius) from the axis.
  double Rise(double distance) const;
};

TCutter MakeCutter(const TCutterShape& shape, double radius);

using TCutterShapes = std::array<TCutterShape, kToolCount>;
using TCutterTable = std::array<TCutter, kToolCount>;
// Every tool's cutter from its shape and its radius in millimetres.
TCutterTable MakeCutterTable(const TCutterShapes& shapes, const std::array<double, kToolCount>& radii);

// Tool ends as the user writes them, blank-separated: "3=ball 5=v60". Tools not named are
// flat. None, with `error` saying why, for a text that is not of that form.
std::optional<TCutterShapes> ParseToolShapes(std::string_view text, std::string& error);
// The tools whose end is not flat, in that form.
std::string ToolShapesText(const TCutterShapes& shapes);
