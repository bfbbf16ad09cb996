#include "builder/atomic_file.h"

#include <cerrno>
#include <cstring>
#include <vector>

#if defined(__unix__) || defined(__APPLE__)
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#else
#include <fstream>
#endif

namespace korvalend {

namespace {

bool Fail(std::string* error, const std::string& what) {
    if (error) *error = what;
    return false;
}

}  // namespace

#if defined(__unix__) || defined(__APPLE__)

namespace {

std::string Reason(const std::string& step, int code) {
    return step + ": " + std::strerror(code);
}

// Closes the descriptor and removes the temporary file unless the rename consumed it.
class TemporaryFile {
  public:
    explicit TemporaryFile(std::string pattern) : name_(pattern.begin(), pattern.end()) {
        name_.push_back('\0');
        fd_ = ::mkstemp(name_.data());
        created_ = fd_ >= 0;
    }
    ~TemporaryFile() {
        Close();
        if (created_ && !renamed_) ::unlink(name_.data());
    }
    TemporaryFile(const TemporaryFile&) = delete;
    TemporaryFile& operator=(const TemporaryFile&) = delete;

    int fd() const { return fd_; }
    const char* name() const { return name_.data(); }
    // Gives the close's error code, or 0.
    int Close() {
        if (fd_ < 0) return 0;
        const int result = ::close(fd_);
        fd_ = -1;
        return result == 0 ? 0 : errno;
    }
    void MarkRenamed() { renamed_ = true; }
    bool Created() const { return created_; }

  private:
    std::vector<char> name_;
    int fd_ = -1;
    bool created_ = false;
    bool renamed_ = false;
};

}  // namespace

bool WriteFileAtomically(const std::filesystem::path& path, std::span<const std::uint8_t> bytes,
                         std::filesystem::perms permissions, std::string* error) {
    if (path.filename().empty()) return Fail(error, "no file name");
    const std::filesystem::path directory = path.parent_path();
    const std::filesystem::path pattern = directory / ("." + path.filename().string() + ".XXXXXX");
    TemporaryFile temporary(pattern.string());
    if (!temporary.Created()) return Fail(error, Reason("create temporary file", errno));

    if (::fchmod(temporary.fd(), static_cast<mode_t>(permissions)) != 0) {
        return Fail(error, Reason("set permissions", errno));
    }
    std::size_t written = 0;
    while (written < bytes.size()) {
        const ssize_t n = ::write(temporary.fd(), bytes.data() + written, bytes.size() - written);
        if (n < 0) {
            if (errno == EINTR) continue;
            return Fail(error, Reason("write", errno));
        }
        written += static_cast<std::size_t>(n);
    }
    if (::fsync(temporary.fd()) != 0) return Fail(error, Reason("flush", errno));
    if (const int code = temporary.Close(); code != 0) return Fail(error, Reason("close", code));
    if (::rename(temporary.name(), path.c_str()) != 0) {
        return Fail(error, Reason("replace " + path.string(), errno));
    }
    temporary.MarkRenamed();

    // Make the rename itself durable; the data are already in place if this fails.
    const std::string directoryName = directory.empty() ? "." : directory.string();
    const int directoryFd = ::open(directoryName.c_str(), O_RDONLY | O_DIRECTORY);
    if (directoryFd >= 0) {
        ::fsync(directoryFd);
        ::close(directoryFd);
    }
    return true;
}

#else

bool WriteFileAtomically(const std::filesystem::path& path, std::span<const std::uint8_t> bytes,
                         std::filesystem::perms permissions, std::string* error) {
    if (path.filename().empty()) return Fail(error, "no file name");
    std::filesystem::path temporary = path;
    temporary += ".tmp";
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        if (!out) return Fail(error, "cannot create temporary file");
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        out.flush();
        if (!out) {
            out.close();
            std::error_code ignored;
            std::filesystem::remove(temporary, ignored);
            return Fail(error, "write failed");
        }
    }
    std::error_code code;
    std::filesystem::permissions(temporary, permissions, code);
    std::filesystem::rename(temporary, path, code);
    if (code) {
        std::error_code ignored;
        std::filesystem::remove(temporary, ignored);
        return Fail(error, code.message());
    }
    return true;
}

#endif

}  // namespace korvalend
