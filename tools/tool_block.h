// The tool block of a drill file ("M48" ... "%"): one row per tool line, a log with one
// entry per tool (newest first), and a result code for the file as a whole.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

// How parsing a drill file ended.
enum TToolBlockResult : int {
  kToolBlockParsed = 0,
  kToolBlockReadFailure = 1,  // a line could not be read (I/O error, not text, too long)
  kToolBlockOpenFailure = 2,  // the file could not be opened or closed
};

// Rows the preview and the tool table hold; later tools of a longer block are dropped.
constexpr size_t kMaxToolRows = 255;
// A longer line is taken for a sign of a file that is not a drill file at all.
constexpr size_t kMaxToolBlockLine = 1u << 20;

// Bytes read from a drill file at a time.
constexpr size_t kToolBlockReadChunk = 1u << 16;

constexpr double kInchToMm = 25.4;

constexpr const char* kOpenCloseFailure = "Failure on open/close file";
constexpr const char* kOnlyFirstTools = "Only the first 255 tools are kept";

// One tool of the block, every field as the preview grid shows it.
struct TToolRow {
  std::string Tool;  // as written: "1", "01", "100"
  std::string Name;
  std::string Diameter;  // millimetres, two decimals: "0.61", "25.40"
  std::string Height;    // two decimals: "20.00"
  std::string Speed;     // as written
  std::string Feed;      // as written

  bool operator==(const TToolRow&) const = default;
};

struct TToolBlock {
  int Result = kToolBlockParsed;
  std::vector<TToolRow> Rows;
  std::string Log;  // entries each begin with CR LF; the newest stands first
};

// Reads a drill file line by line. Feed it the lines without their line ends until AddLine
// answers false: the block has ended or a failure stopped the reading.
class TToolBlockScanner {
 public:
  bool AddLine(std::string_view line);
  // Stops the reading with a read failure; `reason` goes in front of the log.
  void Fail(const std::string& reason);
  size_t LinesRead() const { return LineNo_; }
  const TToolBlock& Block() const { return Block_; }
  TToolBlock TakeBlock() { return std::move(Block_); }

 private:
  struct TToolLine {
    std::string Tool, Name, Diameter = "1", Height = "20", Speed, Feed;
  };
  // Scans one line; returns what its words gave.
  TToolLine Scan(std::string_view line);
  void AddTool(const TToolLine& t, std::string_view line);
  void PrependLog(const std::string& entry);

  TToolBlock Block_;
  bool InBlock_ = false;
  bool EndSeen_ = false;
  bool Stopped_ = false;
  bool DroppedNoted_ = false;
  double Factor_ = 1.0;
  size_t LineNo_ = 0;
};

// The whole parse of a file's text. CR LF, LF and CR all end a line.
TToolBlock ParseToolBlock(std::string_view text);

// Parses the file at `path`, reading no further than the end of the tool block.
TToolBlock ParseToolBlockFile(const std::string& path);

// `v` in fixed-point form with two decimals, rounded half away from zero on its shortest
// decimal form ("0.125" -> "0.13"); values that are not finite give "0.00".
std::string TwoDecimals(double v);

// The help text on the tool block format, line by line.
extern const std::array<const char*, 33> kToolDefinitionHelp;
