// Files on disk for the viewer tests, removed again at the end of the test.
#pragma once

#include <string>
#include <vector>

#include "app/process_file.h"
#include "app/viewer_preferences.h"
#include "tests/support/temp_folder.h"

// One file in a folder of its own.
class TTempFile {
 public:
  TTempFile(const std::string& text, const std::string& extension) : Path(Folder.Write("program" + extension, text)) {}

  std::string Name() const { return Path; }

 private:
  TTempFolder Folder;
  std::string Path;
};

// The information pane as a list of lines.
class TPaneLines : public TInfoPane {
 public:
  void Append(const std::string& line) override { Lines.push_back(line); }
  void PutInFront(const std::string& text) override { Lines.insert(Lines.begin(), text); }
  size_t Count(const std::string& line) const {
    size_t n = 0;
    for (const auto& l : Lines) n += l == line;
    return n;
  }
  std::vector<std::string> Lines;
};

// A contour of two feed moves from (10, 20), one G00 and a tool change to tool 5.
inline const char* const kSmallProgram = "T5\nG00 X10 Y20\nG01 X50 Y20\nG01 X50 Y60\n";

// While it lives, opening a program keeps the window the view shows (View > Fit program on
// open unchecked), for tests that work out where things are from the start window. Made
// before the main window, which reads the preference when it is created.
struct TKeepWindowOnOpen {
  TKeepWindowOnOpen() { WriteFitOnOpen(false); }
  ~TKeepWindowOnOpen() { WriteFitOnOpen(true); }
  TKeepWindowOnOpen(const TKeepWindowOnOpen&) = delete;
  TKeepWindowOnOpen& operator=(const TKeepWindowOnOpen&) = delete;
};
