#include "pool_allocator.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <new>
#include <utility>

namespace orv {

void PoolAllocator::Clear() noexcept {
  while (head_ != nullptr) {
    Chunk* next = head_->next;
    std::free(head_);
    head_ = next;
  }
  nextCapacity_ = kFirstChunk;
}

void PoolAllocator::Swap(PoolAllocator& other) noexcept {
  std::swap(head_, other.head_);
  std::swap(nextCapacity_, other.nextCapacity_);
}

std::size_t PoolAllocator::Aligned(std::size_t size) {
  if (size > SIZE_MAX / 2) throw std::bad_alloc();
  return (size + 7) & ~static_cast<std::size_t>(7);
}

PoolAllocator::Chunk* PoolAllocator::NewChunk(Chunk* next, std::size_t capacity, std::size_t used) {
  void* memory = std::malloc(Aligned(sizeof(Chunk)) + capacity);
  if (memory == nullptr) throw std::bad_alloc();
  return new (memory) Chunk{next, capacity, used};
}

void PoolAllocator::AddChunk(std::size_t size) {
  const std::size_t capacity = size > nextCapacity_ ? size : nextCapacity_;
  if (nextCapacity_ < kLargestChunk) nextCapacity_ *= 2;
  head_ = NewChunk(head_, capacity, 0);
}

void* PoolAllocator::AddLargeBlock(std::size_t size) {
  head_->next = NewChunk(head_->next, size, size);
  return Start(head_->next);
}

PoolAllocator::Chunk* PoolAllocator::Resized(Chunk* chunk, std::size_t size) {
  void* memory = std::realloc(chunk, Aligned(sizeof(Chunk)) + size);
  if (memory == nullptr) throw std::bad_alloc();  // the chunk stays as it was
  auto* resized = static_cast<Chunk*>(memory);
  resized->capacity = resized->used = size;
  return resized;
}

std::size_t PoolAllocator::Used() const {
  std::size_t used = 0;
  for (const Chunk* chunk = head_; chunk != nullptr; chunk = chunk->next) used += chunk->used;
  return used;
}

void PoolAllocator::Expect(std::size_t bytes) {
  while (nextCapacity_ < bytes && nextCapacity_ < kLargestChunk) nextCapacity_ *= 2;
}

void* PoolAllocator::MallocInNewChunk(std::size_t size) {
  if (size == 0) return nullptr;
  size = Aligned(size);
  // A block larger than the chunks being made gets a chunk of its own,
  // behind the head, which goes on serving small blocks.
  if (head_ != nullptr && size > nextCapacity_) return AddLargeBlock(size);
  AddChunk(size);
  void* block = Start(head_) + head_->used;
  head_->used += size;
  return block;
}

void* PoolAllocator::Realloc(void* original, std::size_t originalSize, std::size_t newSize) {
  if (original == nullptr) return Malloc(newSize);
  if (newSize == 0) return nullptr;
  originalSize = Aligned(originalSize);
  newSize = Aligned(newSize);
  if (originalSize >= newSize) return original;
  if (static_cast<char*>(original) + originalSize == Start(head_) + head_->used &&
      newSize - originalSize <= head_->capacity - head_->used) {
    head_->used += newSize - originalSize;
    return original;
  }
  // A block alone in its chunk (the head, or a large block behind it): an
  // array or object that goes on growing. It grows with its chunk, leaving
  // nothing behind.
  if (Start(head_) == original && head_->used == originalSize) {
    head_ = Resized(head_, newSize);
    return Start(head_);
  }
  Chunk* const behind = head_->next;
  if (behind != nullptr && Start(behind) == original && behind->used == originalSize) {
    head_->next = Resized(behind, newSize);
    return Start(head_->next);
  }
  void* block = Malloc(newSize);
  std::memcpy(block, original, originalSize);
  return block;
}

}  // namespace orv
