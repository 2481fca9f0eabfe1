// The display tests paint text and drive widgets: one QApplication for the whole program.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <memory>

namespace {

class TQtEnvironment : public testing::Environment {
 public:
  void SetUp() override {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    // The user's own configuration (QSettings) goes to a folder of the test's own, for this
    // program and the viewers it starts, and is gone afterwards.
    UserConfig = std::make_unique<QTemporaryDir>(QDir::tempPath() + "/velquor_config_XXXXXX");
    if (!UserConfig->isValid()) qFatal("no folder for the user's configuration");
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(UserConfig->path()));
    App = new QApplication(Argc, Argv);
  }
  void TearDown() override {
    delete App;
    App = nullptr;
    UserConfig.reset();
  }

 private:
  int Argc = 1;
  char Name[16] = "display_tests";
  char* Argv[2] = {Name, nullptr};
  QApplication* App = nullptr;
  std::unique_ptr<QTemporaryDir> UserConfig;
};

const testing::Environment* const kQt = testing::AddGlobalTestEnvironment(new TQtEnvironment);

}  // namespace
