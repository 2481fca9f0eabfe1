// N block numbers in front of the lines of a program text, added and removed.
//
// The functions work on the bytes of the text as they are, so a file in any 8-bit encoding
// comes back byte for byte. A line ends at LF or CR LF; a last line may have no end.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct TTextLine {
  std::string_view Body;  // without its line end
  std::string_view End;   // "\n", "\r\n", or "" for a last line without one
};

// The lines of `text`; an empty text has none.
std::vector<TTextLine> SplitTextLines(std::string_view text);

// Block numbers have five digits: shorter values get leading zeros; longer ones keep the
// five characters that start five from the end counted from 1, so 123456 gives "12345".
std::string FiveDigitNumber(uint64_t value);

constexpr uint64_t kProgramNumberStep = 10;

// Every line i (from 0) becomes "N" + FiveDigitNumber(i * 10) + " " + line + CR LF.
// An empty text stays empty.
std::string CreateProgramNumbers(std::string_view text);

// A line that begins with "N" or ";N", then one or more digits, then a blank or its end,
// loses that prefix and the one blank after it; every other line and every line end stays.
std::string ClearProgramNumbers(std::string_view text);

// The block number a line starts with, after blanks: "N" and digits (leading zeros allowed);
// none for a line without one or with a value beyond int32.
std::optional<int32_t> BlockNumberOf(std::string_view body);

// The index (from 0) of the first line whose body starts, after blanks, with "N" and digits
// of the value `number` (leading zeros allowed); -1 when no line has that block number.
int LineWithNumber(std::string_view text, int32_t number);

// The body of one line as ClearProgramNumbers leaves it.
std::string_view ClearedLine(std::string_view body);
