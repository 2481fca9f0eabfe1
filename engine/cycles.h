// The cycle commands of the interpreter. `pass` 0 writes the outline into the contour,
// pass 1 the tool moves into the raw path.
#pragma once

#include <cstdint>

#include "engine/instance.h"

// G79: drills at Pos with the cycle defined by the last G81 line.
void DrillCycleG79(TCncFileReader& inst, int32_t line, TElementList& target, int pass,
                   int32_t feed);
// G86: rounded rectangular pocket.
void PocketCycleG86(TCncFileReader& inst, int32_t line, TElementList& target, int pass);
// G88: slanted rounded pocket.
void PocketCycleG88(TCncFileReader& inst, int32_t line, TElementList& target, int pass);
// G89: radial scale.
void ScaleCycleG89(TCncFileReader& inst, int32_t line, TElementList& target);
// G87: cleared pocket anchored at its corner arc.
void ClearedPocketG87(TCncFileReader& inst, int32_t line, TElementList& target, int pass);
