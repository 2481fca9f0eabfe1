#include "platform/version_resource.h"

#include <gtest/gtest.h>

#include "platform/executable_resource.h"
#include "tests/platform/executable_images.h"
#include "tests/platform/test_files.h"

namespace {

using test_images::ElfWithSection;
using test_images::PeWithVersion;

TVersionBlockContent ContentWith(std::vector<std::pair<std::string, std::string>> strings) {
  TVersionBlockContent content;
  content.Fixed.FileType = 1;
  content.Fixed.FileFlagsMask = 0x3F;
  content.Strings = std::move(strings);
  return content;
}

TFileVersionInfo InfoOf(const std::vector<uint8_t>& block) {
  TVersionBlock parsed;
  EXPECT_TRUE(parsed.Parse(block));
  return VersionInfoFromBlock(parsed);
}

std::span<const uint8_t> Bytes(const std::vector<uint8_t>& v) { return {v.data(), v.size()}; }

TEST(VersionBlock, StringsComeBackThroughTheFirstTranslation) {
  const auto block = BuildVersionBlock(ContentWith({{"ProductName", "Velquor"},
                                                    {"FileVersion", "1.3.0.2"},
                                                    {"LegalCopyRight", "(C) Fr\xC3\xA4ser \xF0\x9F\x94\xA7"},
                                                    {"Comments", ""}}));
  ASSERT_EQ(block.size() % 2, 0u);
  const TFileVersionInfo info = InfoOf(block);
  EXPECT_EQ(info.ProductName, "Velquor");
  EXPECT_EQ(info.LegalCopyRight, "(C) Fr\xC3\xA4ser \xF0\x9F\x94\xA7");  // umlaut and a surrogate pair
  EXPECT_EQ(VersionLine(info), "Version: 1.3.0.2  ");
  EXPECT_EQ(info.Comments, "");
  EXPECT_EQ(info.CompanyName, "");  // a missing string is empty
  EXPECT_EQ(info.FileTypeText, "Application");
}

TEST(VersionBlock, KeysAndTableNamesMatchWithoutRegardToCase) {
  TVersionBlock parsed;
  ASSERT_TRUE(parsed.Parse(BuildVersionBlock(ContentWith({{"LegalCopyright", "x"}}))));
  // The table is written "040904B0"; the reader asks for "040904b0".
  EXPECT_EQ(parsed.Query("\\StringFileInfo\\040904b0\\LEGALCOPYRIGHT"), "x");
  EXPECT_EQ(VersionInfoFromBlock(parsed).LegalCopyRight, "x");
  EXPECT_FALSE(parsed.Query("\\StringFileInfo\\040704b0\\LegalCopyright"));
}

TEST(VersionBlock, StringsOfAnotherTableThanTheFirstTranslationStayEmpty) {
  TVersionBlockContent content = ContentWith({{"ProductName", "Velquor"}});
  content.Translation = {0x0407, 0x04E4};
  TVersionBlock parsed;
  ASSERT_TRUE(parsed.Parse(BuildVersionBlock(content)));
  ASSERT_EQ(parsed.Translations().size(), 1u);
  EXPECT_EQ(parsed.Translations()[0].CodePage, 0x04E4);
  EXPECT_EQ(VersionInfoFromBlock(parsed).ProductName, "Velquor");
}

TEST(VersionBlock, FlagsCountOnlyWhereSetInFlagsAndMask) {
  for (const TVersionFlagField& f : kVersionFlagFields) {
    TVersionBlockContent content = ContentWith({});
    content.Fixed.FileFlags = f.Bit;
    content.Fixed.FileFlagsMask = 0x3F & ~f.Bit;
    EXPECT_FALSE(InfoOf(BuildVersionBlock(content)).*f.Member) << f.Name << " outside the mask";
    content.Fixed.FileFlagsMask = 0x3F;
    const TFileVersionInfo info = InfoOf(BuildVersionBlock(content));
    for (const TVersionFlagField& g : kVersionFlagFields)
      EXPECT_EQ(info.*g.Member, &g == &f) << f.Name << " set, " << g.Name << " read";
  }
}

TEST(FileTypeText, EveryTypeAndTheSubtypesAtTheEndsOfTheTables) {
  const struct {
    uint32_t Type, Subtype;
    const char* Text;
  } cases[] = {
      {0, 0, "Unknown"},
      {1, 0, "Application"},
      {2, 0, "DLL"},
      {3, 0, "Unknown Driver"},
      {3, 8, "InstallableDriver"},
      {3, 10, "Communications Driver"},
      {3, 11, ""},
      {4, 0, "Unknown Font"},
      {4, 3, "Truetype Font"},
      {4, 4, ""},
      {5, 0x1A, "Virtual Defice Identifier = 0000001A"},
      {5, 0xFFFFFFFF, "Virtual Defice Identifier = FFFFFFFF"},
      {6, 0, ""},
      {7, 0, "Static-link Library"},
      {8, 0, ""},
  };
  for (const auto& c : cases) EXPECT_EQ(FileTypeText(c.Type, c.Subtype), c.Text) << c.Type << "/" << c.Subtype;
  TVersionBlockContent content = ContentWith({});
  content.Fixed.FileType = 5;
  content.Fixed.FileSubtype = 0x1A;
  EXPECT_EQ(InfoOf(BuildVersionBlock(content)).FileTypeText, "Virtual Defice Identifier = 0000001A");
}

TEST(ParseVersionQuad, FourPartsOfSixteenBits) {
  EXPECT_EQ(ParseVersionQuad("1.3.0.2"), (std::pair<uint32_t, uint32_t>{0x00010003, 0x00000002}));
  EXPECT_EQ(ParseVersionQuad("0.1.0"), (std::pair<uint32_t, uint32_t>{0x00000001, 0}));
  EXPECT_EQ(ParseVersionQuad("65535.0.0.0"), (std::pair<uint32_t, uint32_t>{0xFFFF0000, 0}));
  for (const char* bad : {"", "65536.0.0.0", "1.2.3.4.5", "1..2", "a.b", "1.2 "})
    EXPECT_FALSE(ParseVersionQuad(bad)) << bad;
}

TEST(VersionBlock, EveryCutOrCorruptBlockParsesWithinItsBytes) {
  const auto block = BuildVersionBlock(ContentWith({{"ProductName", "Velquor"}, {"FileVersion", "1.0"}}));
  for (size_t n = 0; n < block.size(); ++n) {
    TVersionBlock parsed;
    parsed.Parse(std::span(block).first(n));  // ASan watches the bounds
    (void)VersionInfoFromBlock(parsed);
  }
  for (size_t at = 0; at < block.size(); ++at) {
    auto bad = block;
    bad[at] ^= 0xFF;
    TVersionBlock parsed;
    parsed.Parse(bad);
    (void)VersionInfoFromBlock(parsed);
  }
  TVersionBlock parsed;
  EXPECT_FALSE(parsed.Parse(std::vector<uint8_t>{1, 2, 3}));
  EXPECT_EQ(VersionInfoFromBlock(parsed).ProductName, "");
}

TEST(FindVersionResource, ElfSectionInEveryClassAndByteOrder) {
  const auto block = BuildVersionBlock(ContentWith({{"ProductName", "Velquor"}}));
  for (bool elf64 : {true, false})
    for (bool bigEndian : {false, true}) {
      const auto image = ElfWithSection(kVersionSectionName, block, {elf64, bigEndian});
      const TVersionResourceLookup found = FindVersionResource(Bytes(image));
      EXPECT_EQ(found.Kind, TExecutableKind::Elf);
      ASSERT_EQ(found.Block.size(), block.size()) << elf64 << bigEndian;
      EXPECT_TRUE(std::equal(block.begin(), block.end(), found.Block.begin()));
    }
  const auto other = ElfWithSection(".data", block);
  EXPECT_TRUE(FindVersionResource(Bytes(other)).Block.empty());
  const auto noBits = ElfWithSection(kVersionSectionName, block, {.SectionType = 8});
  EXPECT_TRUE(FindVersionResource(Bytes(noBits)).Block.empty());
}

TEST(FindVersionResource, PeResourceSection) {
  const auto block = BuildVersionBlock(ContentWith({{"ProductName", "Velquor"}}));
  const auto image = PeWithVersion(block);
  const TVersionResourceLookup found = FindVersionResource(Bytes(image));
  EXPECT_EQ(found.Kind, TExecutableKind::Pe);
  ASSERT_EQ(found.Block.size(), block.size());
  TVersionBlock parsed;
  ASSERT_TRUE(parsed.Parse(found.Block));
  EXPECT_EQ(VersionInfoFromBlock(parsed).ProductName, "Velquor");
  const auto iconsOnly = PeWithVersion(block, 3);
  EXPECT_EQ(FindVersionResource(Bytes(iconsOnly)).Kind, TExecutableKind::Pe);
  EXPECT_TRUE(FindVersionResource(Bytes(iconsOnly)).Block.empty());
}

TEST(FindVersionResource, CutOrCorruptFilesStayWithinTheirBytes) {
  const auto block = BuildVersionBlock(ContentWith({{"ProductName", "Velquor"}}));
  for (const auto& image : {ElfWithSection(kVersionSectionName, block), PeWithVersion(block)}) {
    for (size_t n = 0; n < image.size(); ++n) (void)FindVersionResource(std::span(image).first(n));
    for (size_t at = 0; at < image.size(); at += 3) {
      auto bad = image;
      bad[at] ^= 0xA5;
      const TVersionResourceLookup found = FindVersionResource(Bytes(bad));
      TVersionBlock parsed;
      parsed.Parse(found.Block);
    }
  }
}

TEST(ReadFileVersionInfo, FilesWithAndWithoutABlock) {
  TTempFolder folder;
  const auto block = BuildVersionBlock(ContentWith({{"ProductName", "Velquor"}, {"FileVersion", "1.3.0.2"}}));
  const auto elf = ElfWithSection(kVersionSectionName, block);
  WriteBytes(folder.File("tool"), std::string(elf.begin(), elf.end()));
  TVersionReadResult r = ReadFileVersionInfo(folder.File("tool"));
  EXPECT_TRUE(r.Ok);
  EXPECT_EQ(r.Info.ProductName, "Velquor");
  EXPECT_EQ(VersionLine(r.Info), "Version: 1.3.0.2  ");

  WriteBytes(folder.File("plain.txt"), "G01 X5\n");
  r = ReadFileVersionInfo(folder.File("plain.txt"));
  EXPECT_TRUE(r.Ok);
  EXPECT_EQ(r.Info.ProductName, "");
  EXPECT_EQ(r.Info.FileTypeText, "");
  EXPECT_EQ(VersionLine(r.Info), "Version:   ");

  r = ReadFileVersionInfo(folder.File("missing"));
  EXPECT_FALSE(r.Ok);
  EXPECT_NE(r.Error.find("missing"), std::string::npos);
}

void ExpectOurVersion(const std::string& executable, const std::string& name) {
  const TVersionReadResult r = ReadFileVersionInfo(executable);
  ASSERT_TRUE(r.Ok) << r.Error;
  EXPECT_EQ(r.Info.ProductName, "Velquor");
  EXPECT_EQ(r.Info.ProductVersion, VELQUOR_PROJECT_VERSION);
  EXPECT_EQ(r.Info.OriginalFileName, name);
  EXPECT_EQ(r.Info.FileTypeText, "Application");
  EXPECT_FALSE(r.Info.Debug);
}

TEST(ReadFileVersionInfo, OurExecutablesCarryTheirVersion) {
  ExpectOurVersion(VELQUOR_CLI, "velquor-cnc");
#ifdef VELQUOR_VIEWER
  ExpectOurVersion(VELQUOR_VIEWER, "velquor");
#endif
}

}  // namespace
