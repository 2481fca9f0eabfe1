#include "engine/cycles.h"

void DrillCycleG79(TCncFileReader&, int32_t, TElementList&, int, int32_t) {}
void PocketCycleG86(TCncFileReader&, int32_t, TElementList&, int) {}
void PocketCycleG88(TCncFileReader&, int32_t, TElementList&, int) {}
void ScaleCycleG89(TCncFileReader&, int32_t, TElementList&) {}
void ClearedPocketG87(TCncFileReader&, int32_t, TElementList&, int) {}
