// Running out of memory inside the engine. The sanitizers abort on a failed allocation
// instead of throwing, so this test program replaces operator new with one that throws
// std::bad_alloc for requests above a size, as a process under a memory limit would see.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <new>
#include <string>

#include "engine/cnc_api.h"
#include "tests/support/temp_folder.h"

namespace {
size_t gFailAbove = 0;  // 0: every allocation succeeds

void* Allocate(size_t size) {
  if (gFailAbove != 0 && size > gFailAbove) throw std::bad_alloc();
  if (void* p = std::malloc(size ? size : 1)) return p;
  throw std::bad_alloc();
}

// Allocations above `bytes` fail while the object lives.
struct TMemoryLimit {
  explicit TMemoryLimit(size_t bytes) { gFailAbove = bytes; }
  ~TMemoryLimit() { gFailAbove = 0; }
};
}  // namespace

void* operator new(size_t size) { return Allocate(size); }
void* operator new[](size_t size) { return Allocate(size); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, size_t) noexcept { std::free(p); }
void operator delete[](void* p, size_t) noexcept { std::free(p); }

namespace {

class AllocationFailure : public TTempFolderTest {};

constexpr size_t kLimit = 8 << 20;

TEST_F(AllocationFailure, ARunThatRunsOutOfMemoryReturns818WithOneMessage) {
  // One G79 of 65,535 steps needs a raw path list of more than 8 MB.
  const std::string file = Write("drill.cnc", "G81 H65535\nG79\nG79\n");
  int32_t handle = 0;
  ASSERT_EQ(CncOpen(file.c_str(), &handle), 3);
  const TCncPoint start{0, 0, 0};
  int32_t status = 0;
  {
    const TMemoryLimit limit(kLimit);
    status = CncRun(handle, &start);
  }
  EXPECT_EQ(status, CNC_INTERNAL_ERROR);
  const TCncMessageList* messages = CncGetMessages(handle);
  ASSERT_GE(CncMessageCount(messages), 1);
  EXPECT_STREQ(CncMessageText(messages, CncMessageCount(messages) - 1),
               "Error 818: internal error in the engine: std::bad_alloc");
  EXPECT_GT(CncGetCount(handle, 0), 0);  // what was made stays readable
  // Without the limit the same instance runs again.
  EXPECT_EQ(CncRun(handle, &start), 0);
  EXPECT_EQ(CncClose(handle), 0);
}

TEST_F(AllocationFailure, AnOpenThatRunsOutOfMemoryLeavesNoHandleTaken) {
  const std::string big = Write("big.cnc", std::string(kLimit + 1, 'x'));
  for (int i = 0; i < 300; ++i) {
    int32_t handle = -1;
    const TMemoryLimit limit(kLimit);
    ASSERT_EQ(CncOpen(big.c_str(), &handle), CNC_INTERNAL_ERROR);
    ASSERT_EQ(handle, 0);
  }
  // Every slot is still free: the first handle comes back.
  int32_t handle = 0;
  EXPECT_EQ(CncOpen(big.c_str(), &handle), 1);
  EXPECT_EQ(handle, 1);
  CncClose(handle);
}

}  // namespace
