// velquor-cnc version FILE: the version record of an executable as one JSON object.
#pragma once

extern const char* const kVersionUsage;

// argv[1] is "version". Returns the process exit code.
int VersionCommand(int argc, char** argv);
