// Program files opened through the call interface, closed again at the end of the test.
#pragma once

#include <string>
#include <vector>

#include "engine/cnc_api.h"
#include "tests/support/temp_folder.h"

class TCncApiTest : public TTempFolderTest {
 protected:
  void SetUp() override { CncSetFontPath(VELQUOR_FONT_DIR); }
  void TearDown() override {
    for (int32_t h : Opened) CncClose(h);
  }
  // The handle CncOpen gave for `file`; `result` gets what it returned.
  int32_t Open(const std::string& file, int32_t* result = nullptr) {
    int32_t h = -7;
    const int32_t r = CncOpen(file.c_str(), &h);
    if (result) *result = r;
    if (h > 0) Opened.push_back(h);
    return h;
  }
  std::vector<std::string> Messages(int32_t h) {
    std::vector<std::string> r;
    const TCncMessageList* list = CncGetMessages(h);
    for (int32_t i = 0; i < CncMessageCount(list); ++i) r.emplace_back(CncMessageText(list, i));
    return r;
  }
  std::vector<int32_t> Opened;
};
