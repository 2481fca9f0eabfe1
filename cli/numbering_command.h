// velquor-cnc number FILE / unnumber FILE: N block numbers added to or removed from a
// program file in place.
#pragma once

extern const char* const kNumberingUsage;

// argv[1] is "number" or "unnumber". Returns the process exit code.
int NumberingCommand(int argc, char** argv);
