// The INI layer: any text reads back byte for byte, values written read back as written,
// and the written document parses to the same values again.
#include <cstdint>
#include <string>

#include "platform/ini_profile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string text(reinterpret_cast<const char*>(data), size);
  TIniFile ini;
  ini.Parse(text);
  if (ini.Text() != text) __builtin_trap();

  // Names and values taken from the input itself, so that they meet its sections and keys.
  const std::string section = text.substr(0, size % 7);
  const std::string key = text.substr(size / 3, size % 5 + 1);
  const std::string value = text.substr(size / 2, size % 11);
  const std::string trimmedKey(TrimBlanks(key));
  if (TrimBlanks(section).find_first_of("[]=\r\n") != std::string::npos || trimmedKey.empty() ||
      trimmedKey.find_first_of("[]=;#\r\n") != std::string::npos || trimmedKey[0] == '[')
    return 0;
  ini.WriteString(section, key, value);
  ini.WriteInteger("Tools", "T07 Feed", static_cast<int32_t>(size));
  ini.WriteFloat("Tools", "T07 Diameter", 1.0 / (1.0 + static_cast<double>(size)));
  const std::string written = ini.Text();
  const std::string expected(TrimBlanks(ini.ReadString(section, key, "")));

  TIniFile again;
  again.Parse(written);
  if (again.Text() != written) __builtin_trap();
  if (again.ReadString(section, key, "") != expected) __builtin_trap();
  if (again.ReadInteger("Tools", "T07 Feed", -1) != static_cast<int32_t>(size)) __builtin_trap();
  // Floats are written with at most 15 significant digits: they read back as that text does.
  const double diameter = IniTextToFloat(IniFloatToText(1.0 / (1.0 + static_cast<double>(size))), -2);
  if (again.ReadFloat("Tools", "T07 Diameter", -1) != diameter) __builtin_trap();
  return 0;
}
