// malloc, free and their relatives are defined here and forward to glibc's own
// entry points (__libc_malloc and so on), adding each block's usable size to a
// live count and keeping its highest value. The program's definitions take the
// place of the C library's for every library it loads.
#include "tests/fuzz_regressions/heap_peak.h"

#if defined(__SANITIZE_ADDRESS__)
#define TESSAROO_OWN_MALLOC 0
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TESSAROO_OWN_MALLOC 0
#endif
#endif
#ifndef TESSAROO_OWN_MALLOC
#define TESSAROO_OWN_MALLOC 1
#endif

#if TESSAROO_OWN_MALLOC

#include <malloc.h>

#include <atomic>
#include <cerrno>
#include <cstdint>

extern "C" {
void* __libc_malloc(size_t size);
void* __libc_calloc(size_t count, size_t size);
void* __libc_realloc(void* block, size_t size);
void* __libc_memalign(size_t alignment, size_t size);
void* __libc_valloc(size_t size);
void* __libc_pvalloc(size_t size);
void __libc_free(void* block);
}

namespace {

std::atomic<size_t> live_bytes{0};
std::atomic<size_t> peak_bytes{0};

void counted(void* block) {
    if (!block) return;
    const size_t now = live_bytes += malloc_usable_size(block);
    size_t peak = peak_bytes.load();
    while (now > peak && !peak_bytes.compare_exchange_weak(peak, now)) {
    }
}

void uncounted(void* block) {
    if (block) live_bytes -= malloc_usable_size(block);
}

void* counted_result(void* block) {
    counted(block);
    return block;
}

}  // namespace

extern "C" {

void* malloc(size_t size) noexcept { return counted_result(__libc_malloc(size)); }
void* calloc(size_t count, size_t size) noexcept { return counted_result(__libc_calloc(count, size)); }
void* memalign(size_t alignment, size_t size) noexcept { return counted_result(__libc_memalign(alignment, size)); }
void* aligned_alloc(size_t alignment, size_t size) noexcept { return counted_result(__libc_memalign(alignment, size)); }
void* valloc(size_t size) noexcept { return counted_result(__libc_valloc(size)); }
void* pvalloc(size_t size) noexcept { return counted_result(__libc_pvalloc(size)); }

void free(void* block) noexcept {
    uncounted(block);
    __libc_free(block);
}

// The old block is uncounted only once the new one exists: a failed realloc
// leaves it in place.
void* realloc(void* block, size_t size) noexcept {
    const size_t old_size = block ? malloc_usable_size(block) : 0;
    void* moved = __libc_realloc(block, size);
    if (!moved && size != 0) return nullptr;
    live_bytes -= old_size;
    return counted_result(moved);
}

int posix_memalign(void** out, size_t alignment, size_t size) noexcept {
    if (alignment < sizeof(void*) || (alignment & (alignment - 1)) != 0) return EINVAL;
    void* block = __libc_memalign(alignment, size);
    if (!block) return ENOMEM;
    *out = counted_result(block);
    return 0;
}

}  // extern "C"

bool heap_counting_available() { return true; }

size_t heap_peak_during(const std::function<void()>& work) {
    const size_t start = live_bytes.load();
    peak_bytes = start;
    work();
    return peak_bytes.load() - start;
}

#else

bool heap_counting_available() { return false; }

size_t heap_peak_during(const std::function<void()>& work) {
    work();
    return 0;
}

#endif
