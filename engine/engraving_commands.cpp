// The engraving commands G66 to G70: the interpreter's hooks into the instance's vector font.
#include "engine/engraving_commands.h"

#include "engine/cycle_emitter.h"
#include "engraving/font_slots.h"
#include "engraving/text_engraving.h"

void EngraveText(TCncInstance& inst, int32_t line, TElementList& target) {
  const TFontParamRec& f = inst.FontParams;
  inst.Pos = inst.Font.EngraveText(line, inst.Pos, target, f.WidthFactor, f.Depth, f.SafetyHeight, f.Text);
}

void FontSettingG67(TCncInstance& inst, int32_t line) {
  const TFontParamRec& f = inst.FontParams;
  inst.Font.SetFont(f.FontNumber, f.Direction, f.Height);
  const bool selected = f.FontNumber >= 1 && f.FontNumber <= kFontSlotCount;
  if (selected && inst.Font.CurrentFont() && !FontHeightInRange(f.Height))
    inst.AddMessage(CycleMessage(line, "font height out of range"));
}

void FontSettingG68(TCncInstance& inst, int32_t) {
  const TFontParamRec& f = inst.FontParams;
  inst.Font.SetJustification(f.HorizontalJustification, f.VerticalJustification);
}

void FontSettingG69(TCncInstance& inst, int32_t line) {
  if (inst.Font.SetSize(inst.FontParams.Height) == TSizeResult::OutOfRange)
    inst.AddMessage(CycleMessage(line, "font height out of range"));
}

void RegisterFontG70(TCncInstance& inst, int32_t) { inst.Font.RegisterFontFile(inst.FontParams.Text); }
