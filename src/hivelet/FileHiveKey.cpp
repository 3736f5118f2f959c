#include "FileHiveKey.h"

#include <atomic>
#include <cerrno>
#include <cstdio>
#include <cstdlib>

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace
{

constexpr const char* ValueSuffix = ".value";
constexpr const char* LockName = ".lock";

// Closes a file descriptor when it goes out of scope.
class Descriptor
{
  public:
    explicit Descriptor(int fd = -1) : m_fd(fd) {}
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(Descriptor&& other) noexcept : m_fd(other.release()) {}
    Descriptor& operator=(Descriptor&& other) noexcept
    {
        if (this != &other) {
            if (m_fd >= 0)
                ::close(m_fd);
            m_fd = other.release();
        }
        return *this;
    }
    int get() const { return m_fd; }
    int release()
    {
        const int fd = m_fd;
        m_fd = -1;
        return fd;
    }

  private:
    int m_fd;
};

char lowerAscii(char c)
{
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

bool sameName(const std::string& a, const std::string& b)
{
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (lowerAscii(a[i]) != lowerAscii(b[i]))
            return false;
    }
    return true;
}

bool endsWithName(const std::string& text, const std::string& tail)
{
    return text.size() >= tail.size() && sameName(text.substr(text.size() - tail.size()), tail);
}

// True when `name` in `folder` exists and is a folder (wantFolder) or a regular file.
bool hasEntry(int folder, const std::string& name, bool wantFolder)
{
    struct stat info {
    };
    if (::fstatat(folder, name.c_str(), &info, AT_SYMLINK_NOFOLLOW) != 0)
        return false;
    return wantFolder ? S_ISDIR(info.st_mode) : S_ISREG(info.st_mode);
}

// The name of the entry of `folder` that matches `wanted` without regard to case: the exact
// name when it exists, else the first matching name in byte order.
std::optional<std::string> findEntry(int folder, const std::string& wanted, bool wantFolder)
{
    if (hasEntry(folder, wanted, wantFolder))
        return wanted;
    const int copy = ::dup(folder);
    if (copy < 0)
        return std::nullopt;
    DIR* dir = ::fdopendir(copy);
    if (!dir) {
        ::close(copy);
        return std::nullopt;
    }
    ::rewinddir(dir);
    std::optional<std::string> found;
    while (const dirent* entry = ::readdir(dir)) {
        const std::string name = entry->d_name;
        if (sameName(name, wanted) && (!found || name < *found) &&
            hasEntry(folder, name, wantFolder))
            found = name;
    }
    ::closedir(dir);
    return found;
}

// Takes the folder's advisory lock (LOCK_SH or LOCK_EX); released when the result closes.
Descriptor lockFolder(int folder, int operation)
{
    Descriptor lock(::openat(folder, LockName, O_RDWR | O_CREAT | O_NOFOLLOW | O_CLOEXEC, 0666));
    if (lock.get() < 0 && operation == LOCK_SH)
        lock = Descriptor(::openat(folder, LockName, O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
    if (lock.get() < 0)
        return Descriptor();
    int result;
    do {
        result = ::flock(lock.get(), operation);
    } while (result != 0 && errno == EINTR);
    return result == 0 ? Descriptor(lock.release()) : Descriptor();
}

// The existing entry for `wanted`. The exact name is looked up first without a lock (a value
// being replaced keeps its name throughout the rename); a search by case runs under the
// shared lock so that no rename is in progress while the folder is listed.
std::optional<std::string> resolveEntry(int folder, const std::string& wanted, bool wantFolder)
{
    if (hasEntry(folder, wanted, wantFolder))
        return wanted;
    const Descriptor lock = lockFolder(folder, LOCK_SH);
    return findEntry(folder, wanted, wantFolder);
}

// Opens the hive's top folder, creating it and its parents when missing.
Descriptor openRoot(const std::string& root)
{
    if (root.empty())
        return Descriptor();
    Descriptor folder(::open(root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (folder.get() >= 0 || errno != ENOENT)
        return folder;
    for (auto slash = root.find('/', 1);; slash = root.find('/', slash + 1)) {
        const std::string prefix = root.substr(0, slash);
        if (::mkdir(prefix.c_str(), 0777) != 0 && errno != EEXIST)
            return Descriptor();
        if (slash == std::string::npos)
            break;
    }
    return Descriptor(::open(root.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
}

bool writeAll(int fd, const std::string& text)
{
    std::size_t done = 0;
    while (done < text.size()) {
        const auto written = ::write(fd, text.data() + done, text.size() - done);
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        done += static_cast<std::size_t>(written);
    }
    return true;
}

} // namespace

// Folders are opened read-only either way: values are written through openat in the key's
// folder, so a read-only hive still reads.
std::unique_ptr<HiveKey> HiveKey::create(const std::vector<std::string>& path, Access)
{
    Descriptor folder = openRoot(FileHiveKey::hiveRoot());
    if (folder.get() < 0)
        return nullptr;
    for (const auto& part : path) {
        const std::string wanted = FileHiveKey::fileName(part, false);
        auto name = resolveEntry(folder.get(), wanted, true);
        if (!name) {
            const Descriptor lock = lockFolder(folder.get(), LOCK_EX);
            if (lock.get() < 0)
                return nullptr;
            name = findEntry(folder.get(), wanted, true);
            if (!name) {
                if (::mkdirat(folder.get(), wanted.c_str(), 0777) != 0 && errno != EEXIST)
                    return nullptr;
                name = wanted;
            }
        }
        Descriptor child(
            ::openat(folder.get(), name->c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC));
        if (child.get() < 0)
            return nullptr;
        folder = Descriptor(child.release());
    }
    return std::make_unique<FileHiveKey>(folder.release());
}

FileHiveKey::~FileHiveKey()
{
    ::close(m_folder);
}

std::optional<std::string> FileHiveKey::read(const std::string& name, std::size_t maxBytes)
{
    const auto entry = resolveEntry(m_folder, fileName(name, true), false);
    if (!entry)
        return std::nullopt;
    const Descriptor file(::openat(m_folder, entry->c_str(), O_RDONLY | O_NOFOLLOW | O_CLOEXEC));
    struct stat info {
    };
    if (file.get() < 0 || ::fstat(file.get(), &info) != 0 || !S_ISREG(info.st_mode) ||
        static_cast<unsigned long long>(info.st_size) > maxBytes)
        return std::nullopt;
    // Read one byte more than allowed, so a file that grew since fstat is still caught.
    std::string text(maxBytes + 1, '\0');
    std::size_t done = 0;
    while (done < text.size()) {
        const auto got = ::read(file.get(), text.data() + done, text.size() - done);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return std::nullopt;
        if (got == 0)
            break;
        done += static_cast<std::size_t>(got);
    }
    text.resize(done);
    // A registry string ends at its first NUL; a file holding one was not written here.
    if (done > maxBytes || text.find('\0') != std::string::npos)
        return std::nullopt;
    return text;
}

bool FileHiveKey::write(const std::string& name, const std::string& text)
{
    const Descriptor lock = lockFolder(m_folder, LOCK_EX);
    if (lock.get() < 0)
        return false;
    const std::string wanted = fileName(name, true);
    const std::string target = findEntry(m_folder, wanted, false).value_or(wanted);

    static std::atomic<unsigned> counter{0};
    const std::string temporary =
        ".tmp-" + std::to_string(::getpid()) + '-' + std::to_string(counter++);
    Descriptor file(::openat(m_folder, temporary.c_str(),
                             O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666));
    if (file.get() < 0)
        return false;
    const bool written = writeAll(file.get(), text) && ::fsync(file.get()) == 0 &&
                         ::close(file.release()) == 0 &&
                         ::renameat(m_folder, temporary.c_str(), m_folder, target.c_str()) == 0;
    if (!written) {
        ::unlinkat(m_folder, temporary.c_str(), 0);
        return false;
    }
    // Make the rename itself durable before reporting success.
    return ::fsync(m_folder) == 0;
}

std::string FileHiveKey::hiveRoot()
{
    const char* hive = std::getenv("HIVELET_HIVE");
    if (hive && *hive)
        return hive;
    const char* config = std::getenv("XDG_CONFIG_HOME");
    if (config && *config == '/')
        return std::string(config) + "/hivelet";
    const char* home = std::getenv("HOME");
    if (home && *home)
        return std::string(home) + "/.config/hivelet";
    return {};
}

std::string FileHiveKey::fileName(const std::string& name, bool forValue)
{
    std::string result;
    for (std::size_t i = 0; i < name.size(); ++i) {
        const auto c = static_cast<unsigned char>(name[i]);
        if (c == '%' || c == '/' || c < 0x20 || c == 0x7F || (i == 0 && c == '.')) {
            char escaped[4];
            std::snprintf(escaped, sizeof escaped, "%%%02X", c);
            result += escaped;
        } else {
            result += static_cast<char>(c);
        }
    }
    if (forValue)
        return result + ValueSuffix;
    if (endsWithName(result, ValueSuffix))
        result.replace(result.size() - 6, 1, "%2E");
    return result;
}
