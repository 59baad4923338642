// The allocator every document's values, names and strings come from.
#ifndef ORVJSON_SRC_JSON_POOL_ALLOCATOR_H
#define ORVJSON_SRC_JSON_POOL_ALLOCATOR_H

#include <cstddef>

namespace orv {

// Like RapidJSON's MemoryPoolAllocator, it hands out memory from chunks and
// frees it only all at once, when the document goes. But its first chunk is
// small and each next one twice the last, up to RapidJSON's 64 KiB: a
// document of a few members costs a few hundred bytes instead of 64 KiB,
// and a large one is laid out in the chunks RapidJSON would use. Chunks come
// from malloc; running out of memory throws std::bad_alloc.
class PoolAllocator {
 public:
  static const bool kNeedFree = false;

  PoolAllocator() = default;
  PoolAllocator(const PoolAllocator&) = delete;
  PoolAllocator& operator=(const PoolAllocator&) = delete;
  ~PoolAllocator() {
    if (head_ != nullptr) Clear();
  }

  // Inline: a parse allocates every string and array here.
  void* Malloc(std::size_t size) {
    // Sizes too large to align (or zero) take the slow path too.
    const std::size_t aligned = (size + 7) & ~static_cast<std::size_t>(7);
    if (head_ != nullptr && aligned - 1 < head_->capacity - head_->used) {
      void* block = Start(head_) + head_->used;
      head_->used += aligned;
      return block;
    }
    return MallocInNewChunk(size);
  }
  // Grows in place when original is the last block handed out and its chunk
  // has room, or with its chunk when it is alone in it; otherwise copies
  // into a new block (the old one stays unused).
  void* Realloc(void* original, std::size_t originalSize, std::size_t newSize);
  static void Free(void*) {}

  // Bytes handed out so far, still in use or left behind by growth.
  std::size_t Used() const;

  // Frees every chunk: everything handed out is gone.
  void Clear() noexcept;
  // Exchanges everything handed out with other's.
  void Swap(PoolAllocator& other) noexcept;

  // About bytes are about to be allocated (a parse of that much text): the
  // next chunks are made that large at once, up to 64 KiB.
  void Expect(std::size_t bytes);

 private:
  struct Chunk {
    Chunk* next;
    std::size_t capacity;  // bytes after the header
    std::size_t used;
  };

  static constexpr std::size_t kHeaderSize = (sizeof(Chunk) + 7) & ~static_cast<std::size_t>(7);
  static constexpr std::size_t kFirstChunk = 128;
  static constexpr std::size_t kLargestChunk = std::size_t{64} * 1024;

  // Every block starts on 8 bytes, as in RapidJSON's pool. A size that
  // could not be aligned without wrapping could never be allocated either.
  static std::size_t Aligned(std::size_t size);
  static char* Start(Chunk* chunk) { return reinterpret_cast<char*>(chunk) + kHeaderSize; }
  void* MallocInNewChunk(std::size_t size);
  static Chunk* NewChunk(Chunk* next, std::size_t capacity, std::size_t used);
  void AddChunk(std::size_t size);
  void* AddLargeBlock(std::size_t size);
  // The chunk grown or shrunk to size bytes, all of them in use.
  static Chunk* Resized(Chunk* chunk, std::size_t size);

  Chunk* head_ = nullptr;  // the chunk allocations come from
  std::size_t nextCapacity_ = kFirstChunk;
};

}  // namespace orv

#endif  // ORVJSON_SRC_JSON_POOL_ALLOCATOR_H
