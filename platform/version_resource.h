// Version information of an executable file, read from its version resource.
#pragma once

#include <array>
#include <cstdint>
#include <string>

#include "platform/version_block.h"

struct TFileVersionInfo {
  std::string TypeName;  // the desktop's name for the kind of file, at most kMaxTypeNameLength
  std::string CompanyName;
  std::string FileDescription;
  std::string FileVersion;
  std::string InternalName;
  std::string LegalCopyRight;
  std::string LegalTradeMarks;
  std::string OriginalFileName;
  std::string ProductName;
  std::string ProductVersion;
  std::string Comments;
  std::string SpecialBuild;
  std::string PrivateBuild;
  std::string FileTypeText;
  bool Debug = false;
  bool PreRelease = false;
  bool IsSpecialBuild = false;
  bool IsPrivateBuild = false;
  bool Patched = false;
  bool InfoInferred = false;
};

constexpr size_t kMaxTypeNameLength = 80;

// The version strings: resource key and field, in the record's order.
struct TVersionStringField {
  const char* Key;
  std::string TFileVersionInfo::*Member;
};
extern const std::array<TVersionStringField, 12> kVersionStringFields;

// The file flags: the record's name for each, its bit, and its field.
struct TVersionFlagField {
  const char* Name;
  uint32_t Bit;
  bool TFileVersionInfo::*Member;
};
extern const std::array<TVersionFlagField, 6> kVersionFlagFields;

// Text for the fixed file information's file type and subtype ("Application", "Sound Driver").
std::string FileTypeText(uint32_t fileType, uint32_t fileSubtype);

// The record of a parsed block; strings come from the table of the first translation.
TFileVersionInfo VersionInfoFromBlock(const TVersionBlock& block);

// "Version: " + FileVersion + two blanks.
std::string VersionLine(const TFileVersionInfo& info);

struct TVersionReadResult {
  bool Ok = true;
  std::string Error;      // why the file could not be read
  TFileVersionInfo Info;  // all empty for a file without a version block; TypeName is left empty
};

// Reads the version block of an ELF or PE file.
TVersionReadResult ReadFileVersionInfo(const std::string& path);
