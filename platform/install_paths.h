// Where the program finds its fonts and its settings file. The places beside the
// executable come first; an installed program, whose folder holds neither and cannot be
// written, falls back to the shared data folder and the user's configuration folder.
#pragma once

#include <string>

// What decides the settings file, gathered from the disk and the environment.
struct TSettingsPlaceFacts {
  bool BesideExists = false;    // the .INI beside the executable is there
  bool FolderWritable = false;  // the executable's folder takes new files
  std::string ConfigHome;       // $XDG_CONFIG_HOME, empty when unset
  std::string Home;             // $HOME, empty when unset
};

// The settings file beside the executable when it exists or can be created there,
// otherwise CONFIG/velquor/velquor.INI (CONFIG: an absolute $XDG_CONFIG_HOME, else
// $HOME/.config). Without any of them the place beside the executable stays.
std::string ChooseSettingsFile(const std::string& besideExecutable, const TSettingsPlaceFacts& facts);
// ChooseSettingsFile with the facts of this machine and process.
std::string SettingsFileInUse(const std::string& besideExecutable);

// "Fonts/" in the executable's folder (which ends with a separator) when it exists,
// otherwise "../share/velquor/Fonts/" from there when that exists, otherwise "Fonts/"
// again so that the font messages name the usual place.
std::string ChooseFontFolder(const std::string& executableFolder, bool besideExists, bool sharedExists);
std::string FontFolderInUse(const std::string& executableFolder);
