#include "engraving/vector_font.h"

void TVectorFont::Init(const std::string& fontPath, TMessageList& messages) {
  FontPath = fontPath;
  Messages = &messages;
}
