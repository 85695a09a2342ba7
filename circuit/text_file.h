#pragma once
// Whole-file text input and output. Output files are written completely or not at all: the text
// goes to a temporary file beside the target, which is then renamed over it, so an error or an
// interrupted run never leaves a truncated file behind.

#include <string>

/// \brief Reads the file at `path` into `text`, every line followed by a newline (a last line
/// without one gets one). False if the file cannot be opened or read.
bool read_text_file(const std::string& path, std::string& text);

enum class WriteStatus { Written, OpenFailed, WriteFailed };

/// \brief Replaces the file at `path` by `text` atomically (temporary file and rename). On
/// failure the earlier file, if any, is left as it was and no temporary file remains.
WriteStatus write_text_file_atomically(const std::string& path, const std::string& text);

/// \brief True when both paths name one existing file (same device and inode).
bool same_existing_file(const std::string& a, const std::string& b);
