// Inputs kept from fuzzing, under tests/fixtures/fuzz/, replayed along the fuzz
// target's own path (fuzz/picture_input.h) so that the sanitizer builds check
// them on every run. Each is listed here with what it is and what it gives.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "fuzz/picture_input.h"

namespace {

namespace fs = std::filesystem;

const fs::path PICTURES = fs::path(TESSAROO_SOURCE_DIR) / "tests/fixtures/fuzz/picture";

struct KeptPicture {
    const char* file;
    bool made_as_builtin;      // decoded whole, checksums verified
    bool made_as_player_file;  // loaded as the player's file, checksums not verified
};

// The slowest inputs found: extreme shapes that stretch the resampling filters
// over tens of thousands of source rows or columns.
const KeptPicture KEPT_PICTURES[] = {
    // 7 x 32,009, 2-bit palette with transparency, interlaced, header checksum broken.
    {"tall-interlaced-palette-alpha.png", false, true},
    // 221 x 65,313 baseline JPEG that its Exif orientation turns to 65,313 x 221.
    {"thin-turned-by-exif.jpg", true, true},
};

std::vector<uint8_t> read_bytes(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TEST(FuzzRegressions, KeptPicturesReachTheBoardWholeOrFailCleanly) {
    for (const auto& kept : KEPT_PICTURES) {
        SCOPED_TRACE(kept.file);
        const auto bytes = read_bytes(PICTURES / kept.file);
        ASSERT_FALSE(bytes.empty());
        const PictureOutcome outcome = feed_picture(bytes);
        EXPECT_EQ(outcome.builtin.made, kept.made_as_builtin);
        EXPECT_TRUE(outcome.builtin.board_whole);
        EXPECT_EQ(outcome.player_file.made, kept.made_as_player_file);
        EXPECT_TRUE(outcome.player_file.board_whole);
    }
}

// A fixture added to the folder but not to the list would never be replayed.
TEST(FuzzRegressions, EveryKeptPictureIsListed) {
    std::set<std::string> listed;
    for (const auto& kept : KEPT_PICTURES) listed.insert(kept.file);
    for (const auto& entry : fs::directory_iterator(PICTURES))
        EXPECT_TRUE(listed.count(entry.path().filename().string())) << entry.path().filename() << " is not listed";
}

}  // namespace
