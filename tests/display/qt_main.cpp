// The display tests paint text and drive widgets: one QApplication for the whole program.
#include <gtest/gtest.h>

#include <QApplication>

namespace {

class TQtEnvironment : public testing::Environment {
 public:
  void SetUp() override {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    App = new QApplication(Argc, Argv);
  }
  void TearDown() override {
    delete App;
    App = nullptr;
  }

 private:
  int Argc = 1;
  char Name[16] = "display_tests";
  char* Argv[2] = {Name, nullptr};
  QApplication* App = nullptr;
};

const testing::Environment* const kQt = testing::AddGlobalTestEnvironment(new TQtEnvironment);

}  // namespace
