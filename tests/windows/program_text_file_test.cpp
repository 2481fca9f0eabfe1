#include "windows/program_text_file.h"

#include <gtest/gtest.h>

#include "tests/platform/test_files.h"

namespace {

TEST(ProgramTextFile, DecodedTextEncodesBackByteForByte) {
  const struct {
    const char* Bytes;
    TTextEncoding Encoding;
    const char* LineEnd;
  } cases[] = {
      {"G01 X5\r\nM30\r\n", TTextEncoding::Utf8, "\r\n"},
      {"G01 X5\nM30", TTextEncoding::Utf8, "\n"},
      {"G01 X5\rM30\r", TTextEncoding::Utf8, "\r"},  // lines ended by CR alone
      {"(Fr\xC3\xA4ser \xE2\x82\xAC)\n", TTextEncoding::Utf8, "\n"},
      {"\xEF\xBB\xBFG01\r\n", TTextEncoding::Utf8, "\r\n"},  // byte order mark
      {"(Fr\xE4ser)\r\n\xFF\r\n", TTextEncoding::Latin1, "\r\n"},
      {"\x84\x94\x81 cp850\n", TTextEncoding::Latin1, "\n"},
      {"one line", TTextEncoding::Utf8, "\n"},
      {"", TTextEncoding::Utf8, "\n"},
  };
  for (const auto& c : cases) {
    const TDecodedProgramText d = DecodeProgramText(c.Bytes);
    EXPECT_EQ(d.Format.Encoding, c.Encoding) << c.Bytes;
    EXPECT_EQ(d.Format.LineEnd, c.LineEnd) << c.Bytes;
    EXPECT_FALSE(d.Text.contains('\r')) << c.Bytes;
    EXPECT_EQ(EncodeProgramText(d.Text, d.Format), std::string(c.Bytes));
  }
  EXPECT_EQ(DecodeProgramText("(Fr\xC3\xA4ser)").Text, QString::fromUtf8("(Fräser)"));
  EXPECT_EQ(DecodeProgramText("(Fr\xE4ser)").Text, QString::fromUtf8("(Fräser)"));
}

TEST(ProgramTextFile, AnEightBitFileRefusesCharactersItCannotStore) {
  const TProgramTextFormat latin1{TTextEncoding::Latin1, "\r\n"};
  EXPECT_EQ(EncodeProgramText(QString::fromUtf8("ä\nb"), latin1), std::string("\xE4\r\nb"));
  EXPECT_FALSE(EncodeProgramText(QString::fromUtf8("€"), latin1));
}

TEST(ProgramTextFile, NulBytesMissingFilesAndFoldersAreRefused) {
  TTempFolder folder;
  WriteBytes(folder.File("binary.cnc"), std::string("G01\0X5\n", 7));
  WriteBytes(folder.File("good.cnc"), "G01 X5\r\n");
  const struct {
    QString Path;
    const char* Part;
  } bad[] = {
      {QString::fromStdString(folder.File("binary.cnc")), "NUL"},
      {QString::fromStdString(folder.File("missing.cnc")), "missing.cnc"},
      {QString::fromStdString(folder.Path()), "folder"},
  };
  for (const auto& b : bad) {
    const TProgramFileRead r = ReadProgramTextFile(b.Path);
    EXPECT_TRUE(r.Error.contains(b.Part)) << r.Error.toStdString();
    EXPECT_TRUE(r.Decoded.Text.isEmpty());
  }
  const TProgramFileRead good = ReadProgramTextFile(QString::fromStdString(folder.File("good.cnc")));
  EXPECT_TRUE(good.Error.isEmpty());
  EXPECT_EQ(good.Decoded.Text, "G01 X5\n");
}

}  // namespace
