// velquor-cnc machine: the machine-coordinate view of a processed program as a PNG picture.
#pragma once

extern const char* const kMachineUsage;

// argv[1] is "machine". Returns the process exit code.
int MachineCommand(int argc, char** argv);
