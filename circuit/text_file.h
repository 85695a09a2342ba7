#pragma once
// Whole-file text input and output. Output files are written completely or not at all: the text
// goes to a temporary file created exclusively beside the target, which is then renamed over
// it, so an error or an interrupted run never leaves a truncated or foreign file behind. A
// target that exists and is no regular file (a device, a FIFO) is written straight into. Every
// write that fails leaves the system's cause in errno, for the message that reports it.

#include <signal.h>

#include <string>

/// \brief Reads the file at `path` into `text`, every line followed by a newline (a last line
/// without one gets one). False if the file cannot be opened or read.
bool read_text_file(const std::string& path, std::string& text);

/// Bounds on reading a file of unknown size (a device, a FIFO, a huge file).
struct ReadBounds {
    /// Reading stops after the first line longer than this (a carriage return before its newline
    /// not counted); that line is kept, cut to line_length + 2 characters when longer.
    size_t line_length = static_cast<size_t>(-1);
    /// Most bytes read; a file holding more is not read.
    size_t bytes = static_cast<size_t>(-1);
};

enum class ReadStatus { Read, Failed, TooLarge };

/// \brief read_text_file within `bounds`: Read (with the text up to an over-long line), Failed
/// as read_text_file fails, or TooLarge when the file holds more than `bounds.bytes` bytes.
/// Never holds more than about `bounds.bytes` in memory.
ReadStatus read_text_file(const std::string& path, std::string& text, const ReadBounds& bounds);

enum class WriteStatus { Written, OpenFailed, WriteFailed };

/// \brief Replaces the file at `path` by `text`. A regular file (or none) is replaced
/// atomically: temporary file (mkstemp, in the target's folder, mode of the replaced file or
/// 0666 less the umask), then rename; SIGINT, SIGTERM, SIGHUP and SIGQUIT are held back while
/// the temporary exists, so no interruption leaves it behind. A symbolic link is followed. An
/// existing non-regular file is opened and written in place; a path naming one of the process's
/// descriptors (/dev/stdout, /dev/fd/N, ...) is written to that descriptor, after standard
/// output is flushed. On failure the earlier file, if any, is left as it was, no temporary file
/// remains and errno holds the cause.
WriteStatus write_text_file_atomically(const std::string& path, const std::string& text);

/// \brief A text written beside its target, put in place later: the construction writes the
/// whole text to the temporary (so a full disk or a refused folder shows before anything is
/// replaced), commit() renames it over the target. A target written in place (a device, a FIFO,
/// a descriptor of the process) is only written by commit(). Until commit() or destruction the
/// signals that end a run are held back, as for write_text_file_atomically; a text never
/// committed leaves no temporary behind. Several files are replaced together by preparing them
/// all, then committing each.
class PendingTextFile {
  public:
    PendingTextFile(const std::string& path, std::string text);
    ~PendingTextFile();
    PendingTextFile(const PendingTextFile&) = delete;
    PendingTextFile& operator=(const PendingTextFile&) = delete;

    /// \brief Written when the text waits for commit(); otherwise the failure (errno is set
    /// again to its cause by each call).
    WriteStatus prepared() const;
    /// \brief Puts the text in place (once); on failure the target is as it was and errno holds
    /// the cause.
    WriteStatus commit();

  private:
    enum class Target { Replaced, InPlace, Descriptor };
    std::string path_;  // the target, a symbolic link followed
    std::string text_;
    std::string temporary_;
    Target target_ = Target::Replaced;
    int descriptor_ = -1;
    WriteStatus status_ = WriteStatus::Written;
    int error_ = 0;
    bool done_ = false;
    sigset_t previous_mask_;
};

/// \brief True when write_text_file_atomically(`path`, ...) can be expected to succeed: the
/// target's folder accepts a new file (checked by creating and removing one), or the target is
/// an existing non-regular file that is no folder. When false, errno holds the cause.
bool output_path_writable(const std::string& path);

/// \brief True when a file can be appended to at `path`: an existing file that is no folder and
/// is writable, or a new file in a writable folder. Creates nothing.
bool appendable_file(const std::string& path);

/// \brief The system's message for the cause of the write that just failed (errno), for the
/// end of a message: "No space left on device".
std::string write_failure_cause();

/// \brief True when both paths name one existing file (same device and inode).
bool same_existing_file(const std::string& a, const std::string& b);
