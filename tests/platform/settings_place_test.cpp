// Which settings file and font folder an installed or unpacked program uses, on real disk.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/install_paths.h"
#include "platform/viewer_settings.h"
#include "tests/platform/test_files.h"

namespace {

namespace fs = std::filesystem;

TEST(SettingsPlace, DecisionTable) {
  const std::string beside = "/opt/velquor/bin/velquor.INI";
  struct TCase {
    TSettingsPlaceFacts Facts;
    std::string Expected;
  };
  const TCase cases[] = {
      {{true, false, "/x", "/home/u"}, beside},  // an existing file wins, even read-only
      {{false, true, "/x", "/home/u"}, beside},  // a writable folder takes a new file
      {{true, true, "", ""}, beside},
      {{false, false, "/x", "/home/u"}, "/x/velquor/velquor.INI"},
      {{false, false, "", "/home/u"}, "/home/u/.config/velquor/velquor.INI"},
      {{false, false, "rel/dir", "/home/u"}, "/home/u/.config/velquor/velquor.INI"},  // relative: ignored
      {{false, false, "", ""}, beside},                                               // nowhere better to go
      // Installed: never beside the executable, even where the file exists and root may write.
      {{true, true, "/x", "/home/u", true}, "/x/velquor/velquor.INI"},
      {{false, true, "", "/root", true}, "/root/.config/velquor/velquor.INI"},
      {{true, true, "", "", true}, beside},
  };
  for (const TCase& c : cases) {
    EXPECT_EQ(ChooseSettingsFile(beside, c.Facts), c.Expected)
        << c.Facts.BesideExists << c.Facts.FolderWritable << " " << c.Facts.ConfigHome;
  }
}

TEST(FontPlace, DecisionTable) {
  EXPECT_EQ(ChooseFontFolder("/usr/bin/", true, true), "/usr/bin/Fonts/");
  EXPECT_EQ(ChooseFontFolder("/usr/bin/", true, false), "/usr/bin/Fonts/");
  EXPECT_EQ(ChooseFontFolder("/usr/bin/", false, true), "/usr/share/velquor/Fonts/");
  EXPECT_EQ(ChooseFontFolder("/usr/bin/", false, false), "/usr/bin/Fonts/");
  // The message names the folder as an absolute path, whatever the executable's was.
  const std::string here = fs::current_path().string();
  EXPECT_EQ(ChooseFontFolder("./", true, false), here + "/Fonts/");
  EXPECT_EQ(ChooseFontFolder("opt/bin/", false, true), here + "/opt/share/velquor/Fonts/");
}

TEST(FontPlace, FoundOnDiskBesideFirstThenShared) {
  TTempFolder root;
  const std::string bin = root.File("bin/");
  fs::create_directories(bin);
  EXPECT_EQ(FontFolderInUse(bin), bin + "Fonts/");
  fs::create_directories(root.File("share/velquor/Fonts"));
  EXPECT_EQ(FontFolderInUse(bin), root.File("share/velquor/Fonts/"));
  fs::create_directories(bin + "Fonts");
  EXPECT_EQ(FontFolderInUse(bin), bin + "Fonts/");
}

TEST(SettingsPlace, WritableFolderKeepsTheFileBesideTheExecutable) {
  TTempFolder root;
  const std::string beside = root.File("velquor.INI");
  EXPECT_EQ(SettingsFileInUse(beside), beside);
}

// As an ordinary user: the executable's folder is read-only.
struct TReadOnlyInstall {
  TTempFolder Root;
  std::string Bin = Root.File("bin");
  std::string Beside = Bin + "/velquor.INI";
  std::string Config = Root.File("config");
  TReadOnlyInstall() {
    fs::create_directories(Bin);
    fs::create_directories(Config);
    ::chmod(Config.c_str(), 0777);
  }
  void Seal() { ::chmod(Bin.c_str(), 0555); }
};

TEST(SettingsPlace, ReadOnlyFolderSavesToTheUsersConfigurationFolder) {
  TReadOnlyInstall install;
  install.Seal();
  const auto got = RunUnprivileged([&] {
    ::setenv("XDG_CONFIG_HOME", install.Config.c_str(), 1);
    const std::string path = SettingsFileInUse(install.Beside);
    TCncType s;
    s.Tools[3].Name = "saved";
    const TSettingsResult w = WriteSettings(path, s);
    TCncType back;
    const TSettingsResult r = ReadSettings(path, back);
    return path + "|" + (w.Ok ? "ok" : w.Error) + "|" + (r.Ok ? back.Tools[3].Name : r.Error);
  });
  if (!got) GTEST_SKIP() << "no unprivileged user";
  EXPECT_EQ(*got, install.Config + "/velquor/velquor.INI|ok|saved");
  EXPECT_FALSE(fs::exists(install.Beside));
}

TEST(SettingsPlace, ExistingFileBesideAReadOnlyExecutableStillWins) {
  TReadOnlyInstall install;
  WriteBytes(install.Beside, "[Tools]\nT00 Name=kept\n");
  install.Seal();
  const auto got = RunUnprivileged([&] {
    ::setenv("XDG_CONFIG_HOME", install.Config.c_str(), 1);
    return SettingsFileInUse(install.Beside);
  });
  if (!got) GTEST_SKIP() << "no unprivileged user";
  EXPECT_EQ(*got, install.Beside);
}

}  // namespace
