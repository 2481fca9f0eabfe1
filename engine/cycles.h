// The cycle commands of the interpreter. Pass Contour writes the outline into the contour,
// pass RawPath the tool moves into the raw path. Problems of a cycle become messages naming the
// line; G89's division by zero ends the line with a TLineError (engine/line_error.h).
#pragma once

#include <cstdint>

#include "engine/instance.h"
#include "engine/pass.h"

// G81: the drilling cycle record, with its step depth.
TG81Cycle MakeDrillCycle(uint16_t feed, uint16_t steps, double depth, double height, double diameter);
// G79: drills at Pos with the cycle defined by the last G81 line; `feed` is the program feed.
void DrillCycleG79(TCncInstance& inst, int32_t line, TElementList& target, TPass pass, int32_t feed);
// G86: rounded rectangular pocket centred on Pos.
void PocketCycleG86(TCncInstance& inst, int32_t line, TElementList& target, TPass pass);
// G88: rounded pocket narrowing by 10 degrees towards its lower edge, centred on Pos.
void PocketCycleG88(TCncInstance& inst, int32_t line, TElementList& target, TPass pass);
// G89: radial scale about Pos; the same elements in both passes.
void ScaleCycleG89(TCncInstance& inst, int32_t line, TElementList& target);
// G87: cleared pocket anchored at the centre of its lower left corner arc.
void ClearedPocketG87(TCncInstance& inst, int32_t line, TElementList& target, TPass pass);
