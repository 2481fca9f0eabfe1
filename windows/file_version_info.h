// The version record with the desktop's type name of the file, for the windows and the
// command line.
#pragma once

#include <string>

#include "platform/version_resource.h"

// The MIME database's description of the file ("executable"), at most kMaxTypeNameLength
// characters, empty when it has none.
std::string ShellTypeName(const std::string& path);

// ReadFileVersionInfo with the type name filled in.
TVersionReadResult ReadFileVersionInfoWithTypeName(const std::string& path);

// The record of the running executable, read once.
const TFileVersionInfo& OwnVersionInfo();
