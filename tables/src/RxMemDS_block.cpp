// Record blocks. A Dane record is one block of some 50 KB of which a job usually fills
// a few kilobytes. Blocks that large are mapped straight from the system's zero pages,
// so the part no value reaches costs neither the time to clear it nor memory; smaller
// blocks come from the heap, cleared.
#include <cstring>
#include <new>

#include "tables/RxMemDS.h"

#if defined(__unix__) || defined(__APPLE__)
#include <sys/mman.h>
#define TAVREL_PAGE_BLOCKS 1
#endif

namespace {

constexpr size_t kPageBlockSize = 32 * 1024;  // from this size on, blocks are mapped pages

uint8_t* AllocateZeroed(size_t size) {
#ifdef TAVREL_PAGE_BLOCKS
  if (size >= kPageBlockSize) {
    void* pages = mmap(nullptr, size, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (pages == MAP_FAILED) throw std::bad_alloc();
    return static_cast<uint8_t*>(pages);
  }
#endif
  void* block = std::calloc(size, 1);
  if (!block) throw std::bad_alloc();
  return static_cast<uint8_t*>(block);
}

}  // namespace

void TRxMemoryData::BlockDeleter::operator()(uint8_t* block) const noexcept {
#ifdef TAVREL_PAGE_BLOCKS
  if (size >= kPageBlockSize) {
    munmap(block, size);
    return;
  }
#endif
  std::free(block);
}

std::unique_ptr<TRxMemoryData::Record> TRxMemoryData::NewRecord(const Record* source) const {
  const size_t size = std::max<size_t>(blockSize_, 1);
  auto record = std::make_unique<Record>();
  record->data = std::unique_ptr<uint8_t[], BlockDeleter>(AllocateZeroed(size), BlockDeleter{size});
  if (source) {
    record->id = source->id;
    std::memcpy(record->data.get(), source->data.get(), blockSize_);
    record->blobs = source->blobs;
  } else {
    record->blobs.resize(blobCount_);
  }
  return record;
}
