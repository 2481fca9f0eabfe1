// velquor-cnc tools: the tool block of a drill file as the import preview reads it.
#pragma once

extern const char* const kToolsUsage;

// argv[1] is "tools". Returns the process exit code: 0 when the block was read, 1 when the
// file could not be read, 2 for a wrong command line.
int ToolsCommand(int argc, char** argv);
