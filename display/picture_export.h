// Saving what the simulation view shows: its back buffer as a PNG picture, or its display
// list as an SVG drawing in millimetres. The file name's extension chooses.
#pragma once

#include <optional>
#include <string>

class TSimView;

enum class TPictureFormat { Png, Svg };

// The format named by the file's extension, in any case; none for any other extension.
std::optional<TPictureFormat> PictureFormatFor(const std::string& fileName);

// What to tell the user when the extension names no format we write.
std::string UnknownPictureFormatMessage(const std::string& fileName);

struct TExportResult {
  bool Ok = false;
  std::string Error;  // why nothing was written
};

// Writes the view as it was last painted (PNG) or its objects for its window (SVG). A file
// that cannot be written is left as it was.
TExportResult ExportPicture(const TSimView& view, const std::string& fileName);
