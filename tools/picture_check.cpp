// picture-check FILE [OUT.pam]: loads FILE as the game loads the player's
// picture, prints "ok WIDTHxHEIGHT DEPTH" (the size as decoded and upright,
// before scaling) or "fail", and optionally writes the 400 x 300 working
// picture as a PAM file.
#include <cstdio>
#include <fstream>

#include "media/pictures.h"

namespace {

bool write_pam(const Image& image, const char* path) {
    std::ofstream out(path, std::ios::binary);
    out << "P7\nWIDTH " << image.width << "\nHEIGHT " << image.height << "\nDEPTH "
        << channels_of(image) << "\nMAXVAL 255\nTUPLTYPE " << (image.depth == 32 ? "RGB_ALPHA" : "RGB")
        << "\nENDHDR\n";
    out.write(reinterpret_cast<const char*>(image.pixels.data()), std::streamsize(image.pixels.size()));
    return bool(out);
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: picture-check FILE [OUT.pam]\n");
        return 2;
    }
    init_picture_readers();
    if (!load_picture_file(argv[1])) {
        std::printf("fail\n");
        return 1;
    }
    const PictureSize decoded = loaded_picture_size();
    scale_working_picture();
    const auto working = image_at(WORKING_PICTURE);
    std::printf("ok %dx%d %d\n", decoded.width, decoded.height, working->depth);
    if (argc == 3 && !write_pam(*working, argv[2])) {
        std::fprintf(stderr, "cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
