#include "wing/AtomicFile.h"

#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quarvel {

namespace {

bool writeAll(int fd, std::string_view text) {
    const char* p = text.data();
    std::size_t left = text.size();
    while (left > 0) {
        const ssize_t n = ::write(fd, p, left);
        if (n < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        p += n;
        left -= std::size_t(n);
    }
    return true;
}

}  // namespace

bool writeFileAtomically(const std::string& path, const std::function<bool(const ChunkSink&)>& produce,
                         FileError* error) {
    const auto slash = path.find_last_of('/');
    const std::string dir = slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    std::string temp = dir + "." + name + ".XXXXXX";
    auto failWith = [&](const char* doing) {
        if (error) *error = FileError{path, 0, std::string(doing) + ": " + std::strerror(errno)};
        return false;
    };

    const int fd = ::mkstemp(temp.data());
    if (fd < 0) return failWith("cannot be written");
    // mkstemp makes the file private; give it the usual permissions.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ::fchmod(fd, 0666 & ~mask);
    errno = 0;
    const bool written = produce([fd](std::string_view chunk) { return writeAll(fd, chunk); }) && ::fsync(fd) == 0;
    const int savedErrno = errno;
    const bool closed = ::close(fd) == 0;
    if (!written || !closed) {
        if (!written) errno = savedErrno ? savedErrno : EIO;
        failWith("cannot be written");
        ::unlink(temp.c_str());
        return false;
    }
    if (::rename(temp.c_str(), path.c_str()) != 0) {
        failWith("cannot replace the file");
        ::unlink(temp.c_str());
        return false;
    }
    return true;
}

bool writeFileAtomically(const std::string& path, std::string_view text, FileError* error) {
    return writeFileAtomically(path, [text](const ChunkSink& sink) { return sink(text); }, error);
}

}  // namespace quarvel
