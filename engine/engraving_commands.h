// The engraving commands G66 to G70 of the interpreter.
#pragma once

#include <cstdint>

#include "engine/instance.h"

// G66: engraves the instance's font text at Pos into `target`; Pos becomes the end point.
void EngraveText(TCncInstance& inst, int32_t line, TElementList& target);
// G67: font number, direction and height.
void FontSettingG67(TCncInstance& inst, int32_t line);
// G68: horizontal and vertical justification.
void FontSettingG68(TCncInstance& inst, int32_t line);
// G69: character height.
void FontSettingG69(TCncInstance& inst, int32_t line);
// G70: registers the font file named by the font text into a free slot.
void RegisterFontG70(TCncInstance& inst, int32_t line);
