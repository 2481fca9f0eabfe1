#include "app/file_look.h"

namespace {

// Text of either code page (bytes of 0x80 and above included) and the ends of its lines.
bool Expected(unsigned char c) {
  constexpr unsigned char kFirstPrintable = 0x20, kDelete = 0x7f;
  if (c >= kFirstPrintable) return c != kDelete;
  return c == '\t' || c == '\n' || c == '\r' || c == '\f';
}

}  // namespace

TTextLook LookAtText(std::string_view head) {
  head = head.substr(0, kLookedAtBytes);
  TTextLook look;
  for (const char c : head) {
    if (Expected(static_cast<unsigned char>(c))) continue;
    ++look.Unexpected;
    look.HasNul = look.HasNul || c == '\0';
  }
  look.LooksBinary = look.HasNul || static_cast<double>(look.Unexpected) > kUnexpectedShare * head.size();
  return look;
}

std::optional<std::string> BinaryFileWarning(const std::string& name, const TTextLook& look) {
  if (!look.LooksBinary) return std::nullopt;
  return "Warning: " + name + " does not look like a text file (" + std::to_string(look.Unexpected) +
         " unexpected bytes in the first 64 KB)";
}
