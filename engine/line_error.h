// An error inside the words of a line. Thrown by the interpreter and the cycles, it ends
// the scans of the line with the "ErrorNr 25" message; the next line runs normally.
#pragma once

#include <stdexcept>

struct TLineError : std::runtime_error {
  using std::runtime_error::runtime_error;
};
