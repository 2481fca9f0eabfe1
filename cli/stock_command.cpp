#include "cli/stock_command.h"

#include <QGuiApplication>
#include <QImage>
#include <cstdio>
#include <string>

#include "cli/json_writer.h"
#include "cli/options.h"
#include "cli/program_run.h"
#include "display/picture_export.h"
#include "display/stock_relief.h"
#include "platform/viewer_settings.h"
#include "stock/engine_moves.h"
#include "stock/stock_simulation.h"

const char* const kStockUsage =
    "       velquor-cnc stock PROGRAM -o OUT.png [--json] [--cell MM] [--stock X0,Y0,X1,Y1,TOP,THICKNESS]\n"
    "                  [--tool N=flat|ball|vANGLE]... [--radius N=MM]... [--settings FILE.INI] [--size WxH]\n"
    "                  [--start X,Y,Z] [--font-path DIR] [--view AZ,EL]\n";

namespace {

constexpr int kNoFindingsExit = 0;
constexpr int kFindingsExit = 1;
constexpr int kInputErrorExit = 2;
// The picture's size without --size: the viewer's view.
constexpr int kPictureWidth = 994;
constexpr int kPictureHeight = 628;

constexpr TOption kStockOptions[] = {TOption::Output, TOption::Json,     TOption::Cell,     TOption::Stock,
                                     TOption::Tool,   TOption::Radius,   TOption::Settings, TOption::Size,
                                     TOption::Start,  TOption::FontPath, TOption::View};
constexpr TCommandSyntax kStockSyntax{"stock", kStockOptions, false, true};

int InputError(const std::string& text) {
  std::fprintf(stderr, "velquor-cnc: %s\n", text.c_str());
  return kInputErrorExit;
}

void AppendNumber(std::string& out, double v) { AppendJsonNumber(out, v); }

// "[a, b]"
void AppendPair(std::string& out, double a, double b) {
  out += '[';
  AppendJsonNumber(out, a);
  out += ", ";
  AppendJsonNumber(out, b);
  out += ']';
}

std::string StockJson(const TStockResult& r) {
  const THeightMap& m = r.Map;
  std::string out = "{\"cell_mm\": ";
  AppendNumber(out, m.Cell);
  out += ", \"cells\": [" + std::to_string(m.Nx) + ", " + std::to_string(m.Ny) + "], \"stock\": {\"x\": ";
  AppendPair(out, r.Box.X0, r.Box.X1);
  out += ", \"y\": ";
  AppendPair(out, r.Box.Y0, r.Box.Y1);
  out += ", \"top\": ";
  AppendNumber(out, r.Box.Top);
  out += ", \"thickness\": ";
  AppendNumber(out, r.Box.Thickness);
  out += "}, \"removed_volume_mm3\": ";
  AppendNumber(out, m.RemovedVolume());
  out += ", \"min_z\": ";
  AppendNumber(out, m.MinZ());
  out += ", \"findings\": [";
  for (size_t k = 0; k < r.Findings.size(); ++k) {
    const TFinding& f = r.Findings[k];
    out += k ? ", {\"kind\": " : "{\"kind\": ";
    AppendJsonString(out, FindingKindName(f.Kind));
    out += ", \"line\": " + std::to_string(f.Line) + ", \"x\": ";
    AppendNumber(out, f.X);
    out += ", \"y\": ";
    AppendNumber(out, f.Y);
    out += ", \"z\": ";
    AppendNumber(out, f.Z);
    out += ", \"depth_mm\": ";
    AppendNumber(out, f.Depth);
    out += "}";
  }
  out += "], \"findings_total\": " + std::to_string(r.FindingsTotal) + "}\n";
  return out;
}

void PrintFindings(const TStockResult& r) {
  for (const TFinding& f : r.Findings)
    std::printf("line %d: %s at X %.3f Y %.3f Z %.3f, %.3f mm\n", f.Line, std::string(FindingKindName(f.Kind)).c_str(),
                f.X, f.Y, f.Z, f.Depth);
  if (r.FindingsTotal > r.Findings.size())
    std::printf("%llu more findings\n", static_cast<unsigned long long>(r.FindingsTotal - r.Findings.size()));
  std::printf("%d x %d cells of %g mm, %.3f mm3 removed, lowest Z %.3f, %llu findings\n", r.Map.Nx, r.Map.Ny,
              r.Map.Cell, r.Map.RemovedVolume(), r.Map.MinZ(), static_cast<unsigned long long>(r.FindingsTotal));
}

int Stock(const TCommandOptions& c) {
  const TPictureJob job = PictureJobOf(c, kPictureWidth, kPictureHeight);
  if (PictureFormatFor(job.Output) != TPictureFormat::Png)
    return InputError("the picture must be a .png file, not " + job.Output);
  const TRunTools table = RunToolTable(c.Run);
  if (!table.Error.empty()) return InputError(table.Error);
  const TProgramRun run = RunProgram(job.Program, c.Run, table.Tools);
  if (run.Handle == 0 || run.Open == 0) {
    CncClose(run.Handle);
    return InputError("cannot read the program " + job.Program);
  }
  const std::vector<TStockMove> moves = ReadStockMoves(run.Handle, c.Run.Start);
  CncClose(run.Handle);

  TCutterShapes shapes{};
  for (const auto& [tool, shape] : c.ToolShapes) shapes[size_t(tool)] = shape;
  const TCutterTable cutters = MakeCutterTable(shapes, RadiiInMillimetres(EngineToolRadii(table.Tools)));
  const TStockBox box = c.Stock.value_or(DefaultStockBox(moves, cutters));
  if (!c.Stock && StockBoxProblem(box) != "")
    return InputError("the program has no feed moves to size the stock by; give it with --stock");
  const TGridPlan plan = PlanGrid(box, c.Cell);
  if (!plan.Error.empty()) return InputError(plan.Error);

  const TStockResult result = SimulateStock(moves, box, plan, cutters);
  const QImage picture = c.View ? StockPicture3d(result, job.Width, job.Height, c.View->first, c.View->second)
                                : StockPicture(result, job.Width, job.Height);
  if (!picture.save(QString::fromStdString(job.Output), "PNG")) return InputError("cannot write " + job.Output);
  if (c.Json) {
    const std::string json = StockJson(result);
    std::fwrite(json.data(), 1, json.size(), stdout);
  } else {
    PrintFindings(result);
  }
  return result.FindingsTotal ? kFindingsExit : kNoFindingsExit;
}

}  // namespace

int StockCommand(int argc, char** argv) {
  const std::optional<TCommandOptions> c = ReadCommandOptions(kStockSyntax, argc, argv, kStockUsage);
  if (!c) return kUsageErrorExit;
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  int qtArgc = 1;
  QGuiApplication app(qtArgc, argv);
  return Stock(*c);
}
