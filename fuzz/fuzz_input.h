// Reading structured values off a fuzz input, and handing bytes to code that opens files.
#pragma once

#include <sys/mman.h>
#include <unistd.h>

#include <cstddef>
#include <cstdint>
#include <string>

class TFuzzBytes {
 public:
  TFuzzBytes(const uint8_t* data, size_t size) : Data(data), Size(size) {}
  // The next byte, 0 once the input is used up.
  uint8_t Byte() { return Pos < Size ? Data[Pos++] : 0; }
  int16_t Int16() { return static_cast<int16_t>(Byte() | (Byte() << 8)); }
  bool Done() const { return Pos >= Size; }
  std::string Rest() {
    std::string s(reinterpret_cast<const char*>(Data) + Pos, Size - Pos);
    Pos = Size;
    return s;
  }

 private:
  const uint8_t* Data;
  size_t Size;
  size_t Pos = 0;
};

// An anonymous in-memory file that programs and fonts are read from by name, so fuzzing
// does not write to disk. The name opens as a regular file.
class TMemoryFile {
 public:
  TMemoryFile() : Fd(::memfd_create("velquor-fuzz", 0)) {}
  ~TMemoryFile() { ::close(Fd); }
  TMemoryFile(const TMemoryFile&) = delete;
  TMemoryFile& operator=(const TMemoryFile&) = delete;
  // Replaces the content; the name to open it by.
  std::string Hold(const void* data, size_t size) {
    if (::ftruncate(Fd, 0) != 0 || ::pwrite(Fd, data, size, 0) != static_cast<ssize_t>(size)) return "";
    return "/proc/self/fd/" + std::to_string(Fd);
  }

 private:
  int Fd;
};
