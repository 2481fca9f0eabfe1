// velquor-cnc stock: the simulated stock of a program as a shaded relief picture, with the
// findings as text or JSON.
#pragma once

extern const char* const kStockUsage;

// argv[1] is "stock". Returns the process exit code: 0 without findings, 1 with, 2 on a
// usage or input error.
int StockCommand(int argc, char** argv);
