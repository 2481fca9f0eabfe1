// Engraving limits of the vector font (the strokes themselves: TVectorFont::EngraveText).
#pragma once

// Would a height of `mm` scale a font within the engraving range? (A height that rounds
// to 0 units counts as in range: it leaves the size unchanged.)
bool FontHeightInRange(double mm);
