// The assets built into the executable: each file of media/assets as it was,
// byte for byte, a read-only block with its length.
#pragma once

#include <cstddef>
#include <cstdint>
#include <span>

struct ByteBlock {
    const uint8_t* data;
    size_t size;
    std::span<const uint8_t> bytes() const { return {data, size}; }
};

extern const ByteBlock BuiltinPicture;  // 400 x 300 progressive JPEG
extern const ByteBlock LogoPicture;     // 92 x 100 baseline JPEG
extern const ByteBlock DonatePicture;   // 107 x 61 baseline JPEG
extern const ByteBlock MoveSound;       // RIFF WAVE, PCM mono 44,100 Hz 16-bit
extern const ByteBlock ApplicationIcon; // 64 x 64 PNG of the application icon, for windows
