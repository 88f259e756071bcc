// POSIX implementation of the working-folder file operations.
#include "platform/work_folder.h"

#include "platform/messages.h"

#include <algorithm>
#include <cerrno>
#include <fcntl.h>
#include <new>
#include <sys/stat.h>
#include <system_error>
#include <unistd.h>

namespace fs = std::filesystem;

namespace orvo::platform {

Error writeError(std::string_view stored) {
    return {"Ошибка записи файла \"" + std::string(stored) + "\"", "Ошибка", false};
}

Error openError(std::string_view stored) {
    return {"Ошибка открытия файла \"" + std::string(stored) + "\"", "Ошибка", false};
}

Error noMemoryError() {
    return {kNoMemoryText, "Information", false};
}

Error readError(const ReadOutcome& outcome, std::string_view stored) {
    return outcome.state == ReadOutcome::State::NoMemory ? noMemoryError() : openError(stored);
}

namespace {

class Fd {
public:
    explicit Fd(int fd) : m_fd(fd) {}
    ~Fd() {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Fd(const Fd&) = delete;
    Fd& operator=(const Fd&) = delete;
    int get() const { return m_fd; }
    int release() {
        int fd = m_fd;
        m_fd = -1;
        return fd;
    }

private:
    int m_fd;
};

bool writeAll(int fd, const std::uint8_t* data, std::size_t size) {
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += n;
        size -= static_cast<std::size_t>(n);
    }
    return true;
}

void syncFolder(const fs::path& folder) {
    Fd dir(::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (dir.get() >= 0)
        ::fsync(dir.get());
}

} // namespace

WorkFolder::WorkFolder(fs::path root) : m_resolver(std::move(root)) {}

fs::path WorkFolder::resolve(std::string_view stored) const {
    return m_resolver.resolve(stored);
}

namespace {

// Opens for reading; -1 with errno set on failure.
int openRead(const fs::path& p) {
    return ::open(p.c_str(), O_RDONLY | O_CLOEXEC);
}
bool isMissing(int err) {
    return err == ENOENT || err == ENOTDIR;
}

} // namespace

int WorkFolder::openStored(std::string_view stored) const {
    // A folder listed before (one copied from elsewhere, in other letter case) is looked up in
    // its listing; otherwise the stored spelling is tried first, as it is what this program
    // writes, and only a miss pays for the case-insensitive lookup.
    if (auto cached = m_resolver.resolveFromCache(stored)) {
        const int fd = openRead(*cached);
        if (fd >= 0 || !isMissing(errno))
            return fd;
        m_resolver.invalidate(cached->parent_path());
    }
    const fs::path literal = m_resolver.literal(stored);
    if (literal.empty()) {
        errno = ENOENT;
        return -1;
    }
    int fd = openRead(literal);
    if (fd >= 0 || !isMissing(errno))
        return fd;
    const fs::path real = m_resolver.resolve(stored);
    if (real.empty() || real == literal) {
        errno = ENOENT;
        return -1;
    }
    return openRead(real);
}

namespace {

void readInto(int fd, std::uint64_t limit, ReadOutcome& out) {
    // No fstat: records are read with one read() of their size, lists grow as they come.
    constexpr std::uint64_t kFirstChunk = std::uint64_t{64} << 10;
    out.bytes.resize(static_cast<std::size_t>(std::min(limit, kFirstChunk)));
    std::size_t got = 0;
    while (true) {
        if (got == out.bytes.size()) {
            if (got >= limit) {
                out.reachedLimit = true;
                break;
            }
            out.bytes.resize(static_cast<std::size_t>(std::min<std::uint64_t>(limit, 2 * got)));
        }
        const ssize_t n = ::read(fd, out.bytes.data() + got, out.bytes.size() - got);
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            out.bytes.clear();
            out.state = ReadOutcome::State::Failed; // a folder, or an I/O error
            return;
        }
        if (n == 0)
            break;
        got += static_cast<std::size_t>(n);
    }
    out.bytes.resize(got);
    out.state = ReadOutcome::State::Ok;
}

// Reads from an open descriptor (or reports why it could not be opened); closes it.
ReadOutcome readOpened(int fd, std::uint64_t limit) {
    ReadOutcome out;
    if (fd < 0) {
        out.state = isMissing(errno) ? ReadOutcome::State::Missing : ReadOutcome::State::Failed;
        return out;
    }
    Fd file(fd);
    try {
        readInto(fd, limit, out);
    } catch (const std::bad_alloc&) {
        out.bytes = {};
        out.state = ReadOutcome::State::NoMemory;
    }
    return out;
}

// A temporary file beside the target is written and flushed, then renamed over it. `fault`
// may stop the sequence at "write" or "rename".
bool replaceAtomically(const fs::path& target, const Bytes& content,
                       const std::function<bool(std::string_view)>& fault) {
    const fs::path folder = target.parent_path();
    // One fixed name per target: a temporary file left by a crash is simply reused next time.
    const fs::path temp = target.string() + ".~tmp";
    Fd fd(::open(temp.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644));
    if (fd.get() < 0)
        return false;
    const bool failWrite = fault("write");
    if (failWrite || !writeAll(fd.get(), content.data(), content.size()) ||
        ::fsync(fd.get()) != 0) {
        ::close(fd.release());
        ::unlink(temp.c_str());
        return false;
    }
    if (::close(fd.release()) != 0 || fault("rename")) {
        ::unlink(temp.c_str());
        return false;
    }
    if (::rename(temp.c_str(), target.c_str()) != 0) {
        ::unlink(temp.c_str());
        return false;
    }
    // The new content is in place; syncing the folder only makes the rename durable sooner.
    syncFolder(folder.empty() ? fs::path(".") : folder);
    return true;
}

} // namespace

ReadOutcome WorkFolder::read(std::string_view stored, std::uint64_t limit) const {
    return readOpened(openStored(stored), limit);
}

ReadOutcome readFile(const fs::path& file, std::uint64_t limit) {
    return readOpened(openRead(file), limit);
}

bool replaceFile(const fs::path& file, const Bytes& content) {
    return replaceAtomically(file, content, [](std::string_view) { return false; });
}

bool WorkFolder::exists(std::string_view stored) const {
    std::error_code ec;
    const fs::path p = resolve(stored);
    return !p.empty() && fs::exists(p, ec);
}

bool WorkFolder::isFolder(std::string_view stored) const {
    std::error_code ec;
    const fs::path p = resolve(stored);
    return !p.empty() && fs::is_directory(p, ec);
}

Status WorkFolder::writeAtomic(std::string_view stored, const Bytes& content) const {
    const fs::path target = resolve(stored);
    if (target.empty() || !replaceAtomically(target, content, [this](std::string_view step) {
            return faultAt(step);
        }))
        return writeError(stored);
    m_resolver.invalidate(target.parent_path());
    return success();
}

Status WorkFolder::copyFile(std::string_view from, std::string_view to) const {
    ReadOutcome src = read(from);
    if (!src.ok())
        return openError(from);
    return writeAtomic(to, src.bytes);
}

bool WorkFolder::removeFile(std::string_view stored) const {
    const fs::path p = resolve(stored);
    if (p.empty())
        return false;
    if (::unlink(p.c_str()) != 0 && errno != ENOENT)
        return false;
    m_resolver.invalidate(p.parent_path());
    return true;
}

Status WorkFolder::makeFolder(std::string_view stored) const {
    const fs::path p = resolve(stored);
    std::error_code ec;
    if (p.empty() || (!fs::create_directories(p, ec) && !fs::is_directory(p, ec)))
        return Error{"Ошибка создания папки \"" + std::string(stored) + "\"", "Ошибка", false};
    m_resolver.invalidate(p.parent_path());
    return success();
}

Status WorkFolder::removeFolder(std::string_view stored) const {
    const fs::path p = resolve(stored);
    std::error_code ec;
    if (p.empty() || !fs::is_directory(p, ec))
        return success();
    fs::remove_all(p, ec);
    m_resolver.invalidate(p);
    m_resolver.invalidate(p.parent_path());
    if (ec)
        return Error{"Ошибка удаления папки \"" + std::string(stored) + "\"", "Ошибка", false};
    return success();
}

std::vector<std::string> WorkFolder::listFolder(std::string_view stored) const {
    std::vector<std::string> names;
    std::error_code ec;
    const fs::path p = resolve(stored);
    if (p.empty())
        return names;
    for (fs::directory_iterator it(p, ec), end; !ec && it != end; it.increment(ec))
        names.push_back(it->path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

} // namespace orvo::platform
