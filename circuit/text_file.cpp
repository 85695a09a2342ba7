#include "circuit/text_file.h"

#include <fcntl.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <climits>
#include <cstdio>
#include <cstring>
#include <iostream>
#include <utility>
#include <vector>

namespace {
// Closes a FILE* on every path out of a function.
struct FileCloser {
    std::FILE* file;
    ~FileCloser() {
        if (file != nullptr) std::fclose(file);
    }
};

// The signals that end a run from the keyboard or a supervisor.
sigset_t interruption_signals() {
    sigset_t held;
    sigemptyset(&held);
    for (int signal : {SIGINT, SIGTERM, SIGHUP, SIGQUIT}) sigaddset(&held, signal);
    return held;
}

// Holds back the interruption signals for as long as it lives, so that a temporary file it
// guards is always renamed or removed first. A signal that arrives meanwhile is delivered when
// the guard ends.
class InterruptionGuard {
  public:
    InterruptionGuard() {
        const sigset_t held = interruption_signals();
        sigprocmask(SIG_BLOCK, &held, &previous_);
    }
    ~InterruptionGuard() { sigprocmask(SIG_SETMASK, &previous_, nullptr); }
    InterruptionGuard(const InterruptionGuard&) = delete;
    InterruptionGuard& operator=(const InterruptionGuard&) = delete;

  private:
    sigset_t previous_;
};

// Writes all of `text` to `fd`; false on any error, with errno at its cause.
bool write_all(int fd, const std::string& text) {
    size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n == 0) errno = EIO;
        if (n <= 0) return false;
        done += static_cast<size_t>(n);
    }
    return true;
}

// The descriptor of this process that `path` names (/dev/stdout, /dev/stderr, /dev/fd/N,
// /proc/self/fd/N), or -1. Opening such a path anew would start a second, unshared file position
// (or, renamed over, replace the link), so the text is written to the descriptor itself.
int named_descriptor(const std::string& path) {
    if (path == "/dev/stdout") return 1;
    if (path == "/dev/stderr") return 2;
    for (const std::string prefix : {"/dev/fd/", "/proc/self/fd/"}) {
        if (path.size() <= prefix.size() || path.compare(0, prefix.size(), prefix) != 0) continue;
        const std::string number = path.substr(prefix.size());
        if (number.size() > 6 || number.find_first_not_of("0123456789") != std::string::npos)
            return -1;
        return std::stoi(number);
    }
    return -1;
}

// The path a write goes to: a symbolic link is followed to the file it names, when that exists.
std::string write_target(const std::string& path) {
    struct stat link {};
    if (lstat(path.c_str(), &link) != 0 || !S_ISLNK(link.st_mode)) return path;
    char resolved[PATH_MAX];
    if (realpath(path.c_str(), resolved) == nullptr) return path;
    return resolved;
}

mode_t new_file_mode() {
    const mode_t mask = umask(0);
    umask(mask);
    return 0666 & ~mask;
}

// Leaves errno at the cause of a failure.
WriteStatus write_in_place(const std::string& path, const std::string& text) {
    const int fd = ::open(path.c_str(), O_WRONLY | O_NOCTTY | O_CLOEXEC);
    if (fd < 0) return WriteStatus::OpenFailed;
    if (!write_all(fd, text)) {
        const int cause = errno;
        ::close(fd);
        errno = cause;
        return WriteStatus::WriteFailed;
    }
    return ::close(fd) == 0 ? WriteStatus::Written : WriteStatus::WriteFailed;
}

// A new temporary file "<path>.tmp-XXXXXX" created exclusively (mkstemp: O_CREAT | O_EXCL, so
// nothing planted under that name is followed or reused). Returns the descriptor, -1 on failure.
int create_temporary(const std::string& path, std::string& temporary) {
    std::vector<char> name(path.begin(), path.end());
    for (char ch : std::string(".tmp-XXXXXX")) name.push_back(ch);
    name.push_back('\0');
    const int fd = mkstemp(name.data());
    if (fd >= 0) temporary = name.data();
    return fd;
}

}  // namespace

bool read_text_file(const std::string& path, std::string& text) {
    return read_text_file(path, text, ReadBounds{}) == ReadStatus::Read;
}

ReadStatus read_text_file(const std::string& path, std::string& text, const ReadBounds& bounds) {
    FileCloser in{std::fopen(path.c_str(), "rb")};
    if (in.file == nullptr) return ReadStatus::Failed;
    text.clear();
    // The cut that keeps an over-long line too long whether or not a carriage return ends it.
    const size_t kept = bounds.line_length >= static_cast<size_t>(-3) ? static_cast<size_t>(-1)
                                                                      : bounds.line_length + 2;
    size_t line_start = 0;  // of the last line read
    char buffer[1 << 16];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, in.file)) > 0) {
        if (n > bounds.bytes - text.size()) return ReadStatus::TooLarge;
        const size_t from = text.size();
        text.append(buffer, n);
        for (size_t i = from; i < text.size(); ++i) {
            if (text[i] == '\n') {
                size_t length = i - line_start;
                if (length > 0 && text[i - 1] == '\r') --length;
                if (length > bounds.line_length) {
                    text.resize(i + 1);
                    return ReadStatus::Read;
                }
                line_start = i + 1;
            } else if (i - line_start >= kept) {
                text.resize(i);
                text += '\n';
                return ReadStatus::Read;
            }
        }
    }
    if (std::ferror(in.file)) return ReadStatus::Failed;  // e.g. a directory
    if (!text.empty() && text.back() != '\n') text += '\n';
    return ReadStatus::Read;
}

WriteStatus write_text_file_atomically(const std::string& path, const std::string& text) {
    PendingTextFile pending(path, text);
    return pending.prepared() == WriteStatus::Written ? pending.commit() : pending.prepared();
}

PendingTextFile::PendingTextFile(const std::string& given_path, std::string text)
    : text_(std::move(text)) {
    const sigset_t held = interruption_signals();
    sigprocmask(SIG_BLOCK, &held, &previous_mask_);

    descriptor_ = named_descriptor(given_path);
    if (descriptor_ >= 0) {
        target_ = Target::Descriptor;
        return;
    }
    path_ = write_target(given_path);
    struct stat existing {};
    const bool exists = stat(path_.c_str(), &existing) == 0;
    if (exists && S_ISDIR(existing.st_mode)) {
        status_ = WriteStatus::OpenFailed;
        error_ = EISDIR;
        return;
    }
    // NOTE: renaming over a device or a FIFO would replace it by a regular file.
    if (exists && !S_ISREG(existing.st_mode)) {
        target_ = Target::InPlace;
        return;
    }
    const int fd = create_temporary(path_, temporary_);
    if (fd < 0) {
        status_ = WriteStatus::OpenFailed;
        error_ = errno;
        return;
    }
    // The replaced file keeps its mode (and, where permitted, its owner); a new one gets the
    // mode that creating it directly would have given.
    bool ok = fchmod(fd, exists ? (existing.st_mode & 07777) : new_file_mode()) == 0;
    if (!ok) error_ = errno;
    if (exists && (existing.st_uid != geteuid() || existing.st_gid != getegid()))
        (void)!fchown(fd, existing.st_uid, existing.st_gid);
    if (ok && !write_all(fd, text_)) {
        ok = false;
        error_ = errno;
    }
    if (::close(fd) != 0 && ok) {
        ok = false;
        error_ = errno;
    }
    text_.clear();
    if (!ok) {
        ::unlink(temporary_.c_str());
        temporary_.clear();
        status_ = WriteStatus::WriteFailed;
    }
}

PendingTextFile::~PendingTextFile() {
    const int cause = errno;  // of the failure the caller is reporting
    if (!temporary_.empty()) ::unlink(temporary_.c_str());
    sigprocmask(SIG_SETMASK, &previous_mask_, nullptr);
    errno = cause;
}

WriteStatus PendingTextFile::prepared() const {
    if (status_ != WriteStatus::Written) errno = error_;
    return status_;
}

WriteStatus PendingTextFile::commit() {
    if (done_ || status_ != WriteStatus::Written) return prepared();
    done_ = true;
    switch (target_) {
        case Target::Descriptor:
            // What the program has printed so far comes first in the stream.
            std::cout.flush();
            std::fflush(nullptr);
            if (!write_all(descriptor_, text_)) status_ = WriteStatus::WriteFailed;
            break;
        case Target::InPlace:
            status_ = write_in_place(path_, text_);
            break;
        case Target::Replaced:
            if (std::rename(temporary_.c_str(), path_.c_str()) != 0)
                status_ = WriteStatus::WriteFailed;
            else
                temporary_.clear();
            break;
    }
    if (status_ != WriteStatus::Written) error_ = errno;
    return prepared();
}

bool output_path_writable(const std::string& given_path) {
    const int descriptor = named_descriptor(given_path);
    if (descriptor >= 0) return fcntl(descriptor, F_GETFL) != -1;
    const std::string path = write_target(given_path);
    struct stat existing {};
    if (stat(path.c_str(), &existing) == 0 && !S_ISREG(existing.st_mode)) {
        if (!S_ISDIR(existing.st_mode)) return true;
        errno = EISDIR;
        return false;
    }
    const InterruptionGuard guard;
    std::string temporary;
    const int fd = create_temporary(path, temporary);
    if (fd < 0) return false;
    ::close(fd);
    ::unlink(temporary.c_str());
    return true;
}

std::string write_failure_cause() {
    return std::strerror(errno);
}

bool appendable_file(const std::string& path) {
    struct stat existing {};
    if (stat(path.c_str(), &existing) == 0)
        return !S_ISDIR(existing.st_mode) && access(path.c_str(), W_OK) == 0;
    const size_t slash = path.rfind('/');
    const std::string folder =
        slash == std::string::npos ? "." : (slash == 0 ? "/" : path.substr(0, slash));
    return access(folder.c_str(), W_OK) == 0;
}

bool same_existing_file(const std::string& a, const std::string& b) {
    struct stat sa {};
    struct stat sb {};
    if (stat(a.c_str(), &sa) != 0 || stat(b.c_str(), &sb) != 0) return false;
    return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}
