// The file is opened non-blocking, so a FIFO or a device never waits for a
// writer, and is refused unless fstat says it is a regular file.
#include "media/picture_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "media/picture_limits.h"

std::optional<PictureFile> open_picture_file(const std::string& path) {
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    struct stat facts {};
    if (fstat(fd, &facts) != 0 || !S_ISREG(facts.st_mode) || facts.st_size <= 0 ||
        facts.st_size > MAX_PICTURE_FILE_BYTES) {
        close(fd);
        return std::nullopt;
    }
    return PictureFile{fd, facts.st_size};
}

std::optional<std::vector<uint8_t>> read_picture_bytes(const PictureFile& file, size_t count) {
    std::vector<uint8_t> bytes;
    try {
        bytes.resize(count);
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
    size_t done = 0;
    while (done < count) {
        const ssize_t got = read(file.fd, bytes.data() + done, count - done);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return std::nullopt;
        if (got == 0) break;
        done += size_t(got);
    }
    bytes.resize(done);
    return bytes;
}

void close_picture_file(PictureFile& file) {
    if (file.fd >= 0) close(file.fd);
    file.fd = -1;
}

std::optional<std::vector<uint8_t>> read_picture_file(const std::string& path) {
    auto file = open_picture_file(path);
    if (!file) return std::nullopt;
    if (file->size > MAX_WHOLE_FILE_BYTES) {
        close_picture_file(*file);
        return std::nullopt;
    }
    auto bytes = read_picture_bytes(*file, size_t(file->size));
    close_picture_file(*file);
    if (bytes && bytes->empty()) return std::nullopt;
    return bytes;
}
