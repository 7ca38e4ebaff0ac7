// The peak of the heap while some work runs, counted by this program's own
// malloc, which wraps the C library's and so sees every allocation: operator
// new's, libjpeg's, libpng's, zlib's and SDL's alike. Not available under
// AddressSanitizer, which brings its own malloc.
#pragma once

#include <cstddef>
#include <functional>

bool heap_counting_available();
// Bytes by which the heap grew above what was live when `work` began, at its highest.
size_t heap_peak_during(const std::function<void()>& work);
