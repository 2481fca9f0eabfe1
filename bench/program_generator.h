// A deterministic milling program of a given number of lines, in the mix of real programs:
// rapid and feed moves, exact I/J arcs, comments, N numbers, feed, speed, tool and spindle
// words, and G41/G42 ... G40 sections around closed contours valid for a 1 mm tool radius.
#pragma once

#include <cstdint>
#include <string>

std::string GenerateProgram(size_t lines, uint64_t seed = 1, bool compensation = true);
