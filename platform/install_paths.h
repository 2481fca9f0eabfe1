// Where the program finds its fonts and its settings file. The places beside the
// executable come first; an installed program, whose folder holds neither and cannot be
// written, falls back to the shared data folder and the user's configuration folder.
#pragma once

#include <string>

#include "platform/whole_file.h"

// What decides the settings file, gathered from the disk and the environment.
struct TSettingsPlaceFacts {
  bool BesideExists = false;    // the .INI beside the executable is there
  bool FolderWritable = false;  // the executable's folder takes new files
  std::string ConfigHome;       // $XDG_CONFIG_HOME, empty when unset
  std::string Home;             // $HOME, empty when unset
  bool Installed = false;       // the executable lies in the install prefix's bin folder
};

// CONFIG/velquor/velquor.INI (CONFIG: an absolute $XDG_CONFIG_HOME, else $HOME/.config) for
// an installed executable, which never writes beside itself. Otherwise (a build tree, an
// unpacked copy) the file beside the executable when it exists or can be created there, and
// the configuration folder after that. Without any of them the place beside the executable
// stays.
std::string ChooseSettingsFile(const std::string& besideExecutable, const TSettingsPlaceFacts& facts);
// ChooseSettingsFile with the facts of this machine and process.
std::string SettingsFileInUse(const std::string& besideExecutable);

// "Fonts/" in the executable's folder (which ends with a separator) when it exists,
// otherwise "../share/velquor/Fonts/" from there when that exists, otherwise "Fonts/"
// again so that the font messages name the usual place. Always absolute and without "..".
std::string ChooseFontFolder(const std::string& executableFolder, bool besideExists, bool sharedExists);
std::string FontFolderInUse(const std::string& executableFolder);

// The example tool table that a first start copies into a new settings file, so that the
// example programs run as they are: "examples/tools.INI" in the executable's folder, else
// "../share/velquor/examples/tools.INI" from there (absolute); empty when neither exists.
std::string ExampleToolTableInUse(const std::string& executableFolder);
// Copies `seed` to `settingsFile` (making its folder) when `settingsFile` does not exist yet.
// Created tells whether it was written; a failure names the file and the reason.
struct TSeedResult {
  bool Created = false;
  TFileResult Result;
};
TSeedResult SeedSettingsFile(const std::string& settingsFile, const std::string& seed);
