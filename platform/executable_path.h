#pragma once

#include <string>

// Full path of the running executable ("/usr/bin/velquor"), empty when unknown.
std::string ExecutablePath();
// Folder of the running executable, with a trailing separator.
std::string ExecutableFolder();
