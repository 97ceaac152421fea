#include "wing/AtomicFile.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace quarvel {

namespace {

constexpr char kTempPrefix[] = ".quarvel.";
constexpr int kTempRandomChars = 6;

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

// Starts writing the range to the disk without waiting for it (where the
// system can; elsewhere the fsync does it all).
void startWriteback(int fd, off_t offset, std::size_t length) {
#ifdef SYNC_FILE_RANGE_WRITE
    ::sync_file_range(fd, offset, off_t(length), SYNC_FILE_RANGE_WRITE);
#else
    (void)fd;
    (void)offset;
    (void)length;
#endif
}

std::string directoryOf(const std::string& path) {
    const auto slash = path.find_last_of('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string nameOf(const std::string& path) { return path.substr(path.find_last_of('/') + 1); }

// The file path finally names, its symbolic links followed (the last one may
// point to a file not there yet); empty with errno set when they loop.
std::string followLinks(std::string path) {
    for (int hops = 0; hops < 40; ++hops) {
        struct stat st {};
        if (::lstat(path.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return path;
        std::string target(PATH_MAX, '\0');
        const ssize_t n = ::readlink(path.c_str(), target.data(), target.size());
        if (n <= 0) return path;
        target.resize(std::size_t(n));
        path = target[0] == '/' || path.find('/') == std::string::npos ? target : directoryOf(path) + "/" + target;
    }
    errno = ELOOP;
    return {};
}

std::string randomTempName() {
    static const char letters[] = "abcdefghijklmnopqrstuvwxyzABCDEFGHIJKLMNOPQRSTUVWXYZ0123456789";
    static std::mt19937 engine{std::random_device{}()};
    std::uniform_int_distribution<int> pick(0, int(sizeof letters) - 2);
    std::string name = kTempPrefix;
    for (int i = 0; i < kTempRandomChars; ++i) name += letters[pick(engine)];
    return name;
}

// Creates and names a new temporary file in the directory, never taking a
// name that is already there; -1 when none can be made.
int createNamedTemp(int dirFd, std::string& name) {
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = randomTempName();
        const int fd = ::openat(dirFd, name.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd >= 0 || errno != EEXIST) return fd;
    }
    errno = EEXIST;
    return -1;
}

// Gives an unnamed file a temporary name in its directory.
bool nameUnnamed(int fd, int dirFd, std::string& name) {
    const std::string self = "/proc/self/fd/" + std::to_string(fd);
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = randomTempName();
        if (::linkat(fd, "", dirFd, name.c_str(), AT_EMPTY_PATH) == 0 ||
            ::linkat(AT_FDCWD, self.c_str(), dirFd, name.c_str(), AT_SYMLINK_FOLLOW) == 0)
            return true;
        if (errno != EEXIST) return false;
    }
    return false;
}

bool isPermissionFault(int err) { return err == EACCES || err == EPERM || err == EROFS; }

}  // namespace

bool writeFileAtomically(const std::string& path, const std::function<bool(const ChunkSink&)>& produce,
                         FileError* error) {
    auto failWith = [&](const std::string& what, bool readOnly = false) {
        if (error) *error = FileError{path, 0, what, readOnly};
        return false;
    };
    auto failErrno = [&](const char* doing) {
        const int err = errno;
        return failWith(std::string(doing) + ": " + std::strerror(err), isPermissionFault(err));
    };

    const std::string target = followLinks(path);
    if (target.empty()) return failErrno("cannot be written");
    const std::string dir = directoryOf(target);
    const std::string name = nameOf(target);

    // What the target is, so that its replacement is the same.
    struct stat old {};
    const bool exists = ::stat(target.c_str(), &old) == 0;
    mode_t mode;
    if (exists) {
        if (!S_ISREG(old.st_mode)) return failWith("cannot be written: it is not a regular file");
        if ((old.st_mode & 0222) == 0 || ::access(target.c_str(), W_OK) != 0)
            return failWith("the file is read-only, so it was not replaced", true);
        mode = old.st_mode & 07777;
    } else {
        const mode_t mask = ::umask(0);
        ::umask(mask);
        mode = 0666 & ~mask;
    }

    const int dirFd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (dirFd < 0) return failErrno("cannot be written");
    struct Closer {
        int fd;
        ~Closer() {
            if (fd >= 0) ::close(fd);
        }
    } dirCloser{dirFd};

    std::string temp;  // the temporary name, once there is one
    int fd = ::openat(dirFd, ".", O_TMPFILE | O_WRONLY | O_CLOEXEC, 0600);
    if (fd < 0) {
        fd = createNamedTemp(dirFd, temp);
        if (fd < 0) return failErrno("cannot be written");
    }
    Closer fileCloser{fd};
    auto discard = [&] {
        const int err = errno;
        if (!temp.empty()) ::unlinkat(dirFd, temp.c_str(), 0);
        errno = err;
    };

    if (exists && ::fchown(fd, old.st_uid, old.st_gid) != 0) ::fchown(fd, uid_t(-1), old.st_gid);
    ::fchmod(fd, mode);
    errno = 0;
    // Each chunk is sent on its way to the disk as soon as it is written, so
    // that the disk works while the next one is formatted and the closing
    // fsync waits for little more than the last one.
    off_t offset = 0;
    const bool written = produce([fd, &offset](std::string_view chunk) {
                             if (!writeAll(fd, chunk)) return false;
                             startWriteback(fd, offset, chunk.size());
                             offset += off_t(chunk.size());
                             return true;
                         }) &&
                         ::fsync(fd) == 0;
    if (!written) {
        if (errno == 0) errno = EIO;
        discard();
        return failErrno("cannot be written");
    }
    if (temp.empty() && !nameUnnamed(fd, dirFd, temp)) {
        discard();
        return failErrno("cannot be written");
    }
    if (::renameat(dirFd, temp.c_str(), dirFd, name.c_str()) != 0) {
        discard();
        return failErrno("cannot replace the file");
    }
    if (::fsync(dirFd) != 0 && errno != EINVAL) return failErrno("was replaced, but the directory cannot be synced");
    fileCloser.fd = -1;
    if (::close(fd) != 0) return failErrno("cannot be written");
    return true;
}

bool writeFileAtomically(const std::string& path, std::string_view text, FileError* error) {
    return writeFileAtomically(path, [text](const ChunkSink& sink) { return sink(text); }, error);
}

std::string realPathOf(const std::string& path) {
    char* real = ::realpath(path.c_str(), nullptr);
    if (!real) return path;
    std::string result(real);
    std::free(real);
    return result;
}

std::optional<timespec> modificationTime(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return std::nullopt;
    return st.st_mtim;
}

std::string formatLocalTime(const timespec& time) {
    std::tm local {};
    char text[32] = "";
    if (::localtime_r(&time.tv_sec, &local)) std::strftime(text, sizeof text, "%Y-%m-%d %H:%M:%S", &local);
    return text;
}

bool changedAfter(const timespec& a, const timespec& b) {
    return a.tv_sec != b.tv_sec ? a.tv_sec > b.tv_sec : a.tv_nsec > b.tv_nsec;
}

}  // namespace quarvel
