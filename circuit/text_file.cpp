#include "circuit/text_file.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>

namespace {
// Closes a FILE* on every path out of a function.
struct FileCloser {
    std::FILE* file;
    ~FileCloser() {
        if (file != nullptr) std::fclose(file);
    }
};
}  // namespace

bool read_text_file(const std::string& path, std::string& text) {
    FileCloser in{std::fopen(path.c_str(), "rb")};
    if (in.file == nullptr) return false;
    text.clear();
    char buffer[1 << 16];
    size_t n;
    while ((n = std::fread(buffer, 1, sizeof buffer, in.file)) > 0) text.append(buffer, n);
    if (std::ferror(in.file)) return false;  // e.g. a directory
    if (!text.empty() && text.back() != '\n') text += '\n';
    return true;
}

WriteStatus write_text_file_atomically(const std::string& path, const std::string& text) {
    static unsigned counter = 0;
    const std::string temporary =
        path + ".tmp-" + std::to_string(getpid()) + "-" + std::to_string(counter++);
    std::FILE* out = std::fopen(temporary.c_str(), "wb");
    if (out == nullptr) return WriteStatus::OpenFailed;
    bool ok = std::fwrite(text.data(), 1, text.size(), out) == text.size();
    ok = (std::fflush(out) == 0) && ok;
    ok = (std::fclose(out) == 0) && ok;
    if (!ok || std::rename(temporary.c_str(), path.c_str()) != 0) {
        std::remove(temporary.c_str());
        return WriteStatus::WriteFailed;
    }
    return WriteStatus::Written;
}

bool same_existing_file(const std::string& a, const std::string& b) {
    struct stat sa {};
    struct stat sb {};
    if (stat(a.c_str(), &sa) != 0 || stat(b.c_str(), &sb) != 0) return false;
    return sa.st_dev == sb.st_dev && sa.st_ino == sb.st_ino;
}
