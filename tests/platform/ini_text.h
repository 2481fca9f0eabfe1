// An INI document parsed from text, for the INI tests.
#pragma once

#include <string>

#include "platform/ini_profile.h"

inline TIniFile FromText(const std::string& text) {
  TIniFile ini;
  ini.Parse(text);
  return ini;
}
