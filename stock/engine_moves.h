// The moves of a run's milling path (the cutter-centre path, compensation applied), read
// from the engine with the tool and the spindle in force at each.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "engine/cnc_api.h"
#include "stock/stock_moves.h"

// The program line a finding names for element `index` of the milling path: the line of the
// file it came from, or its N number where the engine knows no file line.
int32_t ProgramLineOf(int32_t handle, int32_t index, const TCncElementData& element);

// The milling path of instance `handle`, whose run began at `start`. The approach from the
// start (where the machine stands before the program, in the viewer below the top by the
// tool's height) to the first programmed position is not cut: the stock begins there.
std::vector<TStockMove> ReadStockMoves(int32_t handle, const TCncPoint& start);

// The engine's radii (thousandths of a millimetre) in millimetres.
std::array<double, kToolCount> RadiiInMillimetres(const std::array<int32_t, kToolCount>& microns);
