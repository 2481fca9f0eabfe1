// File > Export picture...: the save dialog and the pane line that tells how it went.
#pragma once

#include <QString>
#include <string>

#include "display/user_dialogs.h"

class TSimView;

// The save question: PNG pictures and SVG drawings, starting at SuggestedPictureName; a name
// typed without an extension gets the one of the chosen filter.
TFileQuestion ExportPictureQuestion(const std::string& programFile);

// Where the dialog starts: the program's folder and name with the picture's extension;
// empty without a program.
QString SuggestedPictureName(const std::string& programFile);

// Saves the view as it shows now (a pending repaint is done first) and returns the line for
// the information pane: where it went, or why nothing was written.
std::string ExportViewPicture(TSimView& view, const std::string& fileName);
