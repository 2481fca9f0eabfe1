// velquor-cnc stock, run as the program it is.
#include <gtest/gtest.h>

#include <QImage>
#include <string>

#include "tests/command_runner.h"
#include "tests/support/temp_folder.h"

namespace {

TCommandResult RunCli(const std::string& args, const char* streams = " 2>/dev/null") {
  return RunShellCommand("QT_QPA_PLATFORM=offscreen '" VELQUOR_CLI "' " + args + streams);
}

struct TStockCommand : TTempFolderTest {
  TStockCommand() {
    Write("slot.cnc", "T1\nM03\nG00 X0 Y0 Z5\nG01 Z-2 F100\nG01 X20\nG00 Z5\nM05\n");
    Write("rapid.cnc", "T1\nM03\nG00 X0 Y0 Z5\nG01 Z-2 F100\nG01 X20\nG00 Z-0.5\nN7 G00 X0 Y5\n");
  }
  std::string In(const char* name) const { return Folder.File(name); }
};

TEST_F(TStockCommand, WritesTheReliefAndTheJsonAndExitsByTheFindings) {
  const TCommandResult clean = RunCli("stock " + In("slot.cnc") + " -o " + In("slot.png") +
                                      " --json --radius 1=1 --size 300x200 --cell 0.05");
  EXPECT_EQ(clean.Status, 0) << clean.Output;
  // A slot 20 mm long, 2 mm wide, 2 mm deep in the default stock: -3..23 by -3..3, 3 mm thick.
  EXPECT_EQ(
      clean.Output.rfind("{\"cell_mm\": 0.05, \"cells\": [520, 120], \"stock\": {\"x\": [-3, 23], \"y\": [-3, 3], "
                         "\"top\": 0, \"thickness\": 3}, \"removed_volume_mm3\": ",
                         0),
      0u)
      << clean.Output;
  EXPECT_NE(clean.Output.find("\"min_z\": -2, \"findings\": [], \"findings_total\": 0}"), std::string::npos);
  EXPECT_EQ(QImage(QString::fromStdString(In("slot.png"))).size(), QSize(300, 200));

  const TCommandResult found = RunCli("stock " + In("rapid.cnc") + " -o " + In("rapid.png") +
                                      " --json --radius 1=1 --stock -5,-5,25,10,0,4 --tool 1=ball");
  EXPECT_EQ(found.Status, 1) << found.Output;
  EXPECT_NE(found.Output.find("\"findings\": [{\"kind\": \"rapid_into_stock\", \"line\": 7, "), std::string::npos)
      << found.Output;
  EXPECT_NE(found.Output.find("\"findings_total\": 1}"), std::string::npos);
}

TEST_F(TStockCommand, RefusesWrongCommandLinesAndInputs) {
  ExpectUsageErrors("QT_QPA_PLATFORM=offscreen '" VELQUOR_CLI "'",
                    {{"stock x.cnc", "no output file given"},
                     {"stock x.cnc -o y.png --tool 1=cone", "--tool wants N=flat"},
                     {"stock x.cnc -o y.png --tool 255=ball", "--tool wants"},
                     {"stock x.cnc -o y.png --stock 5,0,1,1,0,1", "X1 above X0"},
                     {"stock x.cnc -o y.png --stock 0,0,1,1,0", "--stock wants X0,Y0,X1,Y1,TOP,THICKNESS"},
                     {"stock x.cnc -o y.png --cell 0", "--cell wants a size above 0 mm"}});
  const std::string slot = In("slot.cnc");
  for (const std::string& args :
       {"stock " + In("none.cnc") + " -o " + In("a.png"), "stock " + slot + " -o " + In("a.svg"),
        "stock " + slot + " -o " + In("a.png") + " --stock 0,0,1000,1000,0,1 --cell 0.1"}) {
    const TCommandResult r = RunCli(args, " 2>&1");
    EXPECT_EQ(r.Status, 2) << args << ": " << r.Output;
    EXPECT_NE(r.Output.find("velquor-cnc: "), std::string::npos) << r.Output;
  }
}

}  // namespace
