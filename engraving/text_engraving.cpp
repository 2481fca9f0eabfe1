#include "engraving/text_engraving.h"

void EngraveText(TCncFileReader&, int32_t, TElementList&) {}
void FontSettingG67(TCncFileReader&, int32_t) {}
void FontSettingG68(TCncFileReader&, int32_t) {}
void FontSettingG69(TCncFileReader&, int32_t) {}
void RegisterFontG70(TCncFileReader&, int32_t) {}
