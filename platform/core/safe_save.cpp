#include "platform/core/safe_save.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <string>

#include "platform/core/exception.h"
#include "platform/core/files.h"
#include "platform/core/no_destructor.h"
#include "platform/text/unicode.h"

namespace kw {

namespace {

// The kernel's own limit on symbolic links in one lookup.
constexpr int kMaxLinkHops = 40;
// Leaves room in a 255-byte file name for the temporary name's prefix and suffix.
constexpr std::size_t kMaxTempStem = 200;

TSaveFaultHook& FaultHook() {
    static TNoDestructor<TSaveFaultHook> hook;
    return *hook;
}

int InjectedFault(TSaveStep step) {
    const TSaveFaultHook& hook = FaultHook();
    return hook ? hook(step) : 0;
}

// Runs a system call that returns -1 on failure, unless a test makes the step fail first.
template <class Call>
auto Attempt(TSaveStep step, Call call) -> decltype(call()) {
    if (const int fault = InjectedFault(step)) {
        errno = fault;
        return -1;
    }
    return call();
}

template <class E>
[[noreturn]] void Fail(StringView what, const String& path, int error) {
    throw E(String(what) + u" \"" + path + u"\". " + Utf8ToString(std::strerror(error)));
}

std::string DirectoryPart(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

std::string ReadLink(const std::string& link) {
    std::string target(256, '\0');
    for (;;) {
        const ssize_t length = ::readlink(link.c_str(), target.data(), target.size());
        if (length < 0)
            return std::string();
        if (static_cast<std::size_t>(length) < target.size()) {
            target.resize(static_cast<std::size_t>(length));
            return target;
        }
        target.resize(target.size() * 2);
    }
}

std::string FollowLinks(const String& path) {
    std::string current = ToNativePath(path);
    for (int hop = 0; hop < kMaxLinkHops; ++hop) {
        struct stat info {};
        if (::lstat(current.c_str(), &info) != 0 || !S_ISLNK(info.st_mode))
            return current;
        const std::string target = ReadLink(current);
        if (target.empty())
            return current;
        current = target.front() == '/' ? target : DirectoryPart(current) + target;
    }
    Fail<EFCreateError>(u"Cannot save", path, ELOOP);
}

// A new file beside `target`, created with 0666 so that the umask decides its mode.
int CreateBeside(const std::string& target, std::string& name) {
    static std::atomic<unsigned> counter{0};
    const std::size_t slash = target.rfind('/');
    const std::string stem =
        target.substr(slash == std::string::npos ? 0 : slash + 1).substr(0, kMaxTempStem);
    for (int attempt = 0; attempt < 100; ++attempt) {
        name = DirectoryPart(target) + "." + stem + ".kwsave-" + std::to_string(::getpid()) + "-" +
               std::to_string(counter++);
        const int fd = Attempt(TSaveStep::sstCreate, [&] {
            return ::open(name.c_str(), O_RDWR | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        });
        if (fd >= 0 || errno != EEXIST)
            return fd;
    }
    errno = EEXIST;
    return -1;
}

// The temporary file being written; every failing write raises with the system's reason.
class TSaveStream final : public TStream {
public:
    TSaveStream(int fd, const String& path) : fd_(fd), path_(path) {}

    std::int64_t Read(void* buffer, std::int64_t count) override {
        std::int64_t total = 0;
        auto* out = static_cast<std::uint8_t*>(buffer);
        while (total < count) {
            const ssize_t n = ::read(fd_, out + total, static_cast<std::size_t>(count - total));
            if (n < 0 && errno == EINTR)
                continue;
            if (n < 0)
                Fail<EReadError>(u"Cannot read back", path_, errno);
            if (n == 0)
                break;
            total += n;
        }
        return total;
    }

    std::int64_t Write(const void* buffer, std::int64_t count) override {
        std::int64_t total = 0;
        const auto* in = static_cast<const std::uint8_t*>(buffer);
        while (total < count) {
            const ssize_t n = Attempt(TSaveStep::sstWrite, [&] {
                return ::write(fd_, in + total, static_cast<std::size_t>(count - total));
            });
            if (n < 0 && errno == EINTR)
                continue;
            if (n <= 0)
                Fail<EWriteError>(u"Cannot write", path_, n < 0 ? errno : EIO);
            total += n;
        }
        return total;
    }

    std::int64_t Seek(std::int64_t offset, TSeekOrigin origin) override {
        const int whence = origin == TSeekOrigin::soBeginning ? SEEK_SET
                           : origin == TSeekOrigin::soCurrent ? SEEK_CUR
                                                              : SEEK_END;
        const off_t position = ::lseek(fd_, static_cast<off_t>(offset), whence);
        if (position < 0)
            Fail<EStreamError>(u"Cannot seek in", path_, errno);
        return position;
    }

    void SetSize(std::int64_t size) override {
        if (::ftruncate(fd_, static_cast<off_t>(size)) != 0)
            Fail<EWriteError>(u"Cannot write", path_, errno);
        if (Position() > size)
            SetPosition(size);
    }

private:
    int fd_;
    const String& path_;
};

// Owns the temporary file until it has been renamed over the target.
class TTempFile {
public:
    TTempFile(const std::string& target, const String& path) : path_(path) {
        fd_ = CreateBeside(target, name_);
        if (fd_ < 0)
            Fail<EFCreateError>(u"Cannot create a file beside", path, errno);
    }
    ~TTempFile() {
        if (fd_ >= 0)
            ::close(fd_);
        if (!renamed_)
            ::unlink(name_.c_str());
    }
    TTempFile(const TTempFile&) = delete;
    TTempFile& operator=(const TTempFile&) = delete;

    int Handle() const { return fd_; }

    void Close() {
        const int fault = InjectedFault(TSaveStep::sstClose);
        const int result = ::close(fd_);
        fd_ = -1;  // released whatever close reports
        if (fault != 0 || result != 0)
            Fail<EWriteError>(u"Cannot close", path_, fault != 0 ? fault : errno);
    }

    void RenameOver(const std::string& target) {
        if (Attempt(TSaveStep::sstRename, [&] { return ::rename(name_.c_str(), target.c_str()); }))
            Fail<EFCreateError>(u"Cannot replace", path_, errno);
        renamed_ = true;
    }

private:
    const String& path_;
    std::string name_;
    int fd_ = -1;
    bool renamed_ = false;
};

// Makes the rename itself durable; the data is already safe, so a refusal here is not an error.
void SyncDirectoryOf(const std::string& target) {
    const std::string dir = DirectoryPart(target);
    const int fd = ::open(dir.empty() ? "." : dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

}  // namespace

String SaveTargetOf(const String& path) {
    return Utf8ToString(FollowLinks(path));
}

void SetSaveFaultHook(TSaveFaultHook hook) {
    FaultHook() = std::move(hook);
}

void SaveFileSafely(const String& path, const std::function<void(TStream& file)>& write) {
    const std::string target = FollowLinks(path);
    struct stat previous {};
    const bool replacing = ::stat(target.c_str(), &previous) == 0;
    if (replacing && S_ISDIR(previous.st_mode))
        Fail<EFCreateError>(u"Cannot save over the directory", path, EISDIR);
    if (replacing && !S_ISREG(previous.st_mode))
        throw EFCreateError(u"Cannot save \"" + path + u"\": not a regular file");

    TTempFile temp(target, path);
    {
        TSaveStream stream(temp.Handle(), path);
        write(stream);
    }
    if (replacing) {
        // Keeps the group where the system allows it, so the kept mode means what it meant.
        if (previous.st_gid != ::getegid())
            (void)::fchown(temp.Handle(), static_cast<uid_t>(-1), previous.st_gid);
        if (Attempt(TSaveStep::sstChmod,
                    [&] { return ::fchmod(temp.Handle(), previous.st_mode & 07777); }))
            Fail<EWriteError>(u"Cannot set the permissions of", path, errno);
    }
    if (Attempt(TSaveStep::sstSync, [&] { return ::fsync(temp.Handle()); }) != 0 && errno != EINVAL)
        Fail<EWriteError>(u"Cannot flush to disk", path, errno);
    temp.Close();
    temp.RenameOver(target);
    SyncDirectoryOf(target);
}

}  // namespace kw
