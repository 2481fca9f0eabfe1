// The engraving commands G66 to G70: the interpreter's hooks into the instance's vector font.
#include "engine/engraving_commands.h"

#include "engine/cycle_emitter.h"
#include "engraving/font_slots.h"
#include "engraving/text_engraving.h"

void EngraveText(TCncInstance& inst, int32_t line, TElementList& target) {
  const TFontParamRec& f = inst.FontParams;
  inst.Pos = inst.Font.EngraveText(line, inst.Pos, target, f.FontP, f.FontE, f.FontR, f.FontText);
}

void FontSettingG67(TCncInstance& inst, int32_t line) {
  const TFontParamRec& f = inst.FontParams;
  inst.Font.SetFont(f.FontA, f.FontO, f.FontHeight);
  const bool selected = f.FontA >= 1 && f.FontA <= kFontSlotCount;
  if (selected && inst.Font.CurrentFont() && !FontHeightInRange(f.FontHeight))
    inst.AddMessage(CycleMessage(line, "font height out of range"));
}

void FontSettingG68(TCncInstance& inst, int32_t) {
  inst.Font.SetJustification(inst.FontParams.FontC, inst.FontParams.FontD);
}

void FontSettingG69(TCncInstance& inst, int32_t line) {
  if (inst.Font.SetSize(inst.FontParams.FontHeight) == TSizeResult::OutOfRange)
    inst.AddMessage(CycleMessage(line, "font height out of range"));
}

void RegisterFontG70(TCncInstance& inst, int32_t) { inst.Font.RegisterFontFile(inst.FontParams.FontText); }
