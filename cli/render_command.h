// velquor-cnc render: the simulation view of a processed program as a PNG picture or an SVG
// drawing.
#pragma once

extern const char* const kRenderUsage;

// argv[1] is "render". Returns the process exit code.
int RenderCommand(int argc, char** argv);
