// Replaces the global operator new and delete with counting ones over malloc.
#include "tests/sound/allocation_counter.h"

#include <atomic>
#include <cstdlib>
#include <new>

namespace {
std::atomic<long> Allocations{0};
}

long allocations_made() {
    return Allocations;
}

void* operator new(std::size_t size) {
    ++Allocations;
    if (void* block = std::malloc(size == 0 ? 1 : size)) return block;
    throw std::bad_alloc();
}

void operator delete(void* block) noexcept {
    std::free(block);
}

void operator delete(void* block, std::size_t) noexcept {
    std::free(block);
}
