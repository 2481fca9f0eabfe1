// Faulting in the storage a growing list is about to fill, many pages per system call
// instead of one page fault per page: million-element lists otherwise spend a third of a
// run in the kernel. A hint only; where the system does not support it nothing happens.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include <sys/mman.h>
#include <unistd.h>

#ifndef MADV_POPULATE_WRITE
#define MADV_POPULATE_WRITE 23
#endif

// Gives `advice` for the whole pages inside [data, data + bytes).
inline void AdviseWholePages(const void* data, size_t bytes, int advice) {
  static const uintptr_t page = static_cast<uintptr_t>(::sysconf(_SC_PAGESIZE));
  const auto from = reinterpret_cast<uintptr_t>(data);
  const uintptr_t first = (from + page - 1) & ~(page - 1);
  const uintptr_t last = (from + bytes) & ~(page - 1);
  if (last > first) ::madvise(reinterpret_cast<void*>(first), last - first, advice);
}

// Storage from this size on is worth huge pages: one fault and one page-table entry per 2 MB.
constexpr size_t kHugePageWorthy = size_t{4} << 20;

// Asks for huge pages over [data, data + bytes) before anything faults it in: a list of many
// megabytes then costs the kernel a fault per 2 MB instead of one per 4 KB.
inline void AdviseHugePages(const void* data, size_t bytes) {
#ifdef MADV_HUGEPAGE
  if (bytes >= kHugePageWorthy) AdviseWholePages(data, bytes, MADV_HUGEPAGE);
#else
  (void)data;
  (void)bytes;
#endif
}

// Faults in the whole pages inside [data, data + bytes).
inline void PrefaultBytes(const void* data, size_t bytes) { AdviseWholePages(data, bytes, MADV_POPULATE_WRITE); }

// Faults in the reserved storage for the next `count` elements after the last one.
template <class T, class A>
void PrefaultAhead(const std::vector<T, A>& list, size_t count) {
  const size_t room = list.capacity() - list.size();
  PrefaultBytes(list.data() + list.size(), (count < room ? count : room) * sizeof(T));
}

// Calls PrefaultAhead each time a list has filled the part faulted in before.
class TPrefaultCursor {
 public:
  static constexpr size_t kChunk = 32768;  // elements per system call
  template <class T, class A>
  void Advance(const std::vector<T, A>& list) {
    if (list.size() < Mark && list.data() == Storage) return;
    if (list.data() != Storage) {
      AdviseHugePages(list.data(), list.capacity() * sizeof(T));
      Storage = list.data();
    }
    PrefaultAhead(list, kChunk);
    Mark = list.size() + kChunk;
  }

 private:
  size_t Mark = 0;
  const void* Storage = nullptr;  // the storage advised last
};
