// Stroked vector fonts (CHR files) and the program-wide font slot table.
#pragma once

#include <string>

#include "engine/records.h"

class TVectorFont {
 public:
  // Starts the font engine on a font folder; loads the default font and reports
  // loading errors to `messages`.
  void Init(const std::string& fontPath, TMessageList& messages);

 private:
  std::string FontPath;
  TMessageList* Messages = nullptr;
};
