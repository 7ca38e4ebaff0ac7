// The file is opened non-blocking, so a FIFO or a device never waits for a
// writer, and is refused unless fstat says it is a regular file.
#include "media/picture_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "media/picture_limits.h"

namespace {

bool read_all(int fd, std::vector<uint8_t>& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t got = read(fd, bytes.data() + done, bytes.size() - done);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return false;
        if (got == 0) break;  // the file shrank while being read
        done += size_t(got);
    }
    bytes.resize(done);
    return done > 0;
}

std::optional<std::vector<uint8_t>> read_open_file(int fd) {
    struct stat facts {};
    if (fstat(fd, &facts) != 0 || !S_ISREG(facts.st_mode)) return std::nullopt;
    if (facts.st_size <= 0 || facts.st_size > MAX_PICTURE_FILE_BYTES) return std::nullopt;
    std::vector<uint8_t> bytes;
    try {
        bytes.resize(size_t(facts.st_size));
    } catch (const std::bad_alloc&) {
        return std::nullopt;
    }
    if (!read_all(fd, bytes)) return std::nullopt;
    return bytes;
}

}  // namespace

std::optional<std::vector<uint8_t>> read_picture_file(const std::string& path) {
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    auto bytes = read_open_file(fd);
    close(fd);
    return bytes;
}
