#pragma once
// The files of a run and the rule that keeps them apart: no file a run writes may name a file
// it reads (the input, its layout, the data files of the working folder) or another file it
// writes. Paths are compared by what they will name once written: the folder as the system
// resolves it (symbolic links, "..") and then the name, a symbolic link followed to where it
// leads even when nothing is there yet, and an existing file by its device and inode (hard
// links). An existing device or FIFO written by two paths is written twice, never replaced, so
// it is no clash.

#include <string>
#include <vector>

#include "driver/command_line.h"

/// The data files a run reads from the working folder and never writes.
inline constexpr const char* kDataFiles[] = {"CostGateCount.txt", "FT_table.txt"};
/// The side files a converting run writes in the working folder.
inline constexpr const char* kSideFiles[] = {"FT_before_converted.txt", "ft_angle_analysis.txt"};

enum class FileUse { Read, Written };

/// One file of a run: what it is (for the message) and its path.
struct RunFile {
    std::string what;  // e.g. "output file", "JSON report"
    std::string path;
    FileUse use = FileUse::Read;
};

/// \brief True when writing `written` could replace or feed the file `other` names.
bool names_same_file(const std::string& written, const std::string& other);

/// \brief The files a plain run with `settings` reads and writes, in that order: the input (and
/// its layout with a code), the data files, the output, the JSON report and, with a threshold,
/// the side files.
std::vector<RunFile> files_of_run(const Settings& settings);

/// \brief Ends the program with one message ("The JSON report would overwrite the output file:
/// o.txt") when a written file of `files` names a file listed before it.
void refuse_clashing_files(const std::vector<RunFile>& files);
