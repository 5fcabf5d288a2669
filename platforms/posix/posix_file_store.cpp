#include "platforms/posix/posix_file_store.h"

#include <algorithm>
#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <functional>
#include <memory>
#include <sys/stat.h>
#include <unistd.h>
#include <utility>

namespace rt {

namespace {

// The random part of a temporary's name, as in "highscores.a8Xq2Z".
constexpr std::size_t kTemporarySuffixLength = 6;
// A temporary this old is the leftover of a save that was interrupted, not one in progress.
constexpr std::time_t kStaleTemporarySeconds = 60;
// What a read or a copy takes from a file at a time.
constexpr std::size_t kCopyChunk = 64 * 1024;

// Closes a file descriptor when it goes out of scope.
class Descriptor {
public:
    explicit Descriptor(int fd) : m_fd(fd) {}
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;

    int get() const { return m_fd; }
    // Closes now: some file systems report a failed write only here.
    bool close() { return ::close(std::exchange(m_fd, -1)) == 0; }

private:
    int m_fd;
};

// Where the game may read and write a file of the working directory: the name itself, or the
// target of the player's own link to their own regular file; or why it may not.
struct Place {
    std::string path;
    bool exists = false;
    mode_t permissions = 0;
    std::string refusal; // empty when the game may use the place

    // A file its owner made read-only is the player's table frozen: it is read, never replaced,
    // whoever runs the game (root included).
    bool readOnly() const { return exists && (permissions & S_IWUSR) == 0; }
};

bool ours(const struct stat& st) { return st.st_uid == ::geteuid(); }

std::string directoryOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string baseNameOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

Place refused(const std::string& path, std::string why) { return {path, true, 0, std::move(why)}; }

// The target of a link, one step only: a link to a link is not followed.
Place linkTarget(const std::string& name, const struct stat& link)
{
    if (!ours(link))
        return refused(name, "it is a link owned by another user");
    std::string target(PATH_MAX, '\0');
    const ssize_t length = ::readlink(name.c_str(), target.data(), target.size());
    if (length < 0)
        return refused(name, std::strerror(errno));
    target.resize(static_cast<std::size_t>(length));
    if (!target.starts_with('/') && name.find('/') != std::string::npos)
        target = directoryOf(name) + "/" + target;

    struct stat st {};
    if (::lstat(target.c_str(), &st) != 0)
        return refused(name, errno == ENOENT ? "it is a link to a missing file"
                                             : "its target: " + std::string(std::strerror(errno)));
    if (S_ISLNK(st.st_mode))
        return refused(name, "it is a link to another link");
    if (!S_ISREG(st.st_mode))
        return refused(name, "it is a link to something that is not a regular file");
    if (!ours(st))
        return refused(name, "it is a link to a file of another user");
    return {target, true, st.st_mode & 0777, {}};
}

Place placeOf(const std::string& name)
{
    struct stat st {};
    if (::lstat(name.c_str(), &st) != 0) {
        if (errno == ENOENT)
            return {name, false, 0, {}};
        return refused(name, std::strerror(errno));
    }
    if (S_ISLNK(st.st_mode))
        return linkTarget(name, st);
    if (!S_ISREG(st.st_mode))
        return refused(name, "it is not a regular file");
    if (!ours(st))
        return refused(name, "it belongs to another user");
    return {name, true, st.st_mode & 0777, {}};
}

// Opens a place for reading. The open file is checked again, so that a link or another user's
// file swapped in since the place was looked at is not read.
int openOwnFile(const std::string& path)
{
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return -1;
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || !ours(st)) {
        ::close(fd);
        errno = EPERM;
        return -1;
    }
    return fd;
}

bool leftUntouched(const std::string& name, const std::string& why)
{
    std::fprintf(stderr, "%s left untouched: %s\n", name.c_str(), why.c_str());
    return false;
}

bool failed(const std::string& name, int error)
{
    std::fprintf(stderr, "could not save %s: %s\n", name.c_str(), std::strerror(error));
    return false;
}

// The errno of the first failed write, or 0.
int writeAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t written = ::write(fd, bytes.data(), bytes.size());
        if (written < 0) {
            if (errno == EINTR)
                continue;
            return errno;
        }
        bytes.remove_prefix(static_cast<std::size_t>(written));
    }
    return 0;
}

// "highscores.a8Xq2Z" for the file "highscores": the name mkstemp gives a temporary.
bool isTemporaryOf(std::string_view entry, std::string_view base)
{
    if (entry.size() != base.size() + 1 + kTemporarySuffixLength || !entry.starts_with(base) ||
        entry[base.size()] != '.')
        return false;
    for (const char c : entry.substr(base.size() + 1)) {
        const bool alphanumeric =
            (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9');
        if (!alphanumeric)
            return false;
    }
    return true;
}

// Removes the player's own temporaries of this file that a killed save left behind.
void removeStaleTemporaries(const std::string& path)
{
    const std::unique_ptr<DIR, int (*)(DIR*)> dir(::opendir(directoryOf(path).c_str()), ::closedir);
    if (!dir)
        return;
    const std::string base = baseNameOf(path);
    const std::time_t now = std::time(nullptr);
    while (const dirent* entry = ::readdir(dir.get())) {
        if (!isTemporaryOf(entry->d_name, base))
            continue;
        struct stat st {};
        if (::fstatat(::dirfd(dir.get()), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 &&
            S_ISREG(st.st_mode) && ours(st) && now - st.st_mtime > kStaleTemporarySeconds)
            ::unlinkat(::dirfd(dir.get()), entry->d_name, 0);
    }
}

bool allZero(std::string_view bytes)
{
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return c == 0; });
}

// Copies every byte of `from` into the empty file `to`; the errno of a failure, or 0. Holes and
// runs of zeros stay holes, so the copy of a huge sparse file takes no time and no disk.
int copySparse(int from, int to)
{
    struct stat st {};
    if (::fstat(from, &st) != 0)
        return errno;
    std::string chunk(kCopyChunk, '\0');
    off_t offset = 0;
    while (offset < st.st_size) {
        const off_t data = ::lseek(from, offset, SEEK_DATA);
        if (data < 0 && errno == ENXIO)
            break; // a hole to the end
        if (data > offset)
            offset = data;
        const ssize_t got = ::pread(from, chunk.data(), chunk.size(), offset);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return errno;
        if (got == 0)
            break;
        const std::string_view bytes(chunk.data(), static_cast<std::size_t>(got));
        if (!allZero(bytes)) {
            if (::lseek(to, offset, SEEK_SET) < 0)
                return errno;
            if (const int error = writeAll(to, bytes))
                return error;
        }
        offset += got;
    }
    return ::ftruncate(to, st.st_size) == 0 ? 0 : errno;
}

mode_t newFilePermissions()
{
    const mode_t mask = ::umask(0);
    ::umask(mask);
    return 0666 & ~mask;
}

// Writes a temporary beside the place and renames it over the place. `writeBody` returns the
// errno of a failed write, or 0.
bool replaceAtOnce(const std::string& name, const Place& place,
                   const std::function<int(int)>& writeBody)
{
    removeStaleTemporaries(place.path);
    std::string temporary = place.path + "." + std::string(kTemporarySuffixLength, 'X');
    Descriptor file(::mkostemp(temporary.data(), O_CLOEXEC));
    if (file.get() < 0)
        return failed(name, errno);
    int error = writeBody(file.get());
    const mode_t permissions = place.exists ? place.permissions : newFilePermissions();
    if (error == 0 && ::fchmod(file.get(), permissions) != 0)
        error = errno;
    if (error == 0 && ::fsync(file.get()) != 0)
        error = errno;
    if (!file.close() && error == 0)
        error = errno;
    if (error == 0 && ::rename(temporary.c_str(), place.path.c_str()) != 0)
        error = errno;
    if (error != 0) {
        ::unlink(temporary.c_str());
        return failed(name, error);
    }
    return true;
}

} // namespace

std::optional<std::string> PosixFileStore::read(const std::string& name, std::size_t maxBytes)
{
    const Place place = placeOf(name);
    if (!place.exists || !place.refusal.empty())
        return std::nullopt;
    const Descriptor file(openOwnFile(place.path));
    if (file.get() < 0)
        return std::nullopt;
    std::string bytes;
    std::string chunk(kCopyChunk, '\0');
    while (bytes.size() < maxBytes) {
        const ssize_t got =
            ::read(file.get(), chunk.data(), std::min(chunk.size(), maxBytes - bytes.size()));
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return std::nullopt;
        if (got == 0)
            break;
        bytes.append(chunk, 0, static_cast<std::size_t>(got));
    }
    return bytes;
}

bool PosixFileStore::replace(const std::string& name, std::string_view bytes)
{
    const Place place = placeOf(name);
    if (!place.refusal.empty())
        return leftUntouched(name, place.refusal);
    if (place.readOnly())
        return leftUntouched(name, "it is read-only");
    return replaceAtOnce(name, place, [bytes](int fd) { return writeAll(fd, bytes); });
}

bool PosixFileStore::copy(const std::string& name, const std::string& copyName)
{
    const Place from = placeOf(name);
    if (!from.refusal.empty())
        return leftUntouched(copyName, name + ": " + from.refusal);
    const Descriptor source(openOwnFile(from.path));
    if (source.get() < 0)
        return leftUntouched(copyName, name + ": " + std::strerror(errno));
    const Place to = placeOf(copyName);
    if (!to.refusal.empty())
        return leftUntouched(copyName, to.refusal);
    if (to.readOnly())
        return leftUntouched(copyName, "it is read-only");
    return replaceAtOnce(copyName, to, [&source](int fd) { return copySparse(source.get(), fd); });
}

} // namespace rt
