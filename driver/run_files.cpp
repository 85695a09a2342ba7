#include "driver/run_files.h"

#include <sys/stat.h>

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "circuit/fatal.h"
#include "circuit/text_file.h"

namespace fs = std::filesystem;

namespace {

// Where a file written at `path` goes: the folder resolved as the system resolves it, then the
// name (not followed: the name may be a link, or nothing yet).
fs::path place_of(const fs::path& path) {
    std::error_code error;
    const fs::path absolute = fs::absolute(path, error);
    const fs::path name = absolute.filename();
    const bool folder_named = name.empty() || name == "." || name == "..";
    const fs::path folder = folder_named ? absolute : absolute.parent_path();
    fs::path resolved = fs::weakly_canonical(folder, error);
    if (error) resolved = folder;
    return folder_named ? resolved : resolved / name;
}

// Everything a path may name once a file is written there.
struct Identity {
    std::string path;
    std::vector<fs::path> places;  // the path's own place, then each place its links lead to
};

Identity identity_of(const std::string& path) {
    constexpr int kMaxLinks = 40;  // as the system follows them
    Identity id{path, {}};
    fs::path place = place_of(path);
    id.places.push_back(place);
    for (int links = 0; links < kMaxLinks; ++links) {
        std::error_code error;
        if (!fs::is_symlink(fs::symlink_status(place, error))) break;
        fs::path target = fs::read_symlink(place, error);
        if (error) break;
        if (target.is_relative()) target = place.parent_path() / target;
        place = place_of(target);
        id.places.push_back(place);
    }
    return id;
}

bool clash(const Identity& a, const Identity& b) {
    if (same_existing_file(a.path, b.path)) {
        struct stat st {};
        return stat(a.path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
    }
    for (const fs::path& place : a.places)
        if (std::find(b.places.begin(), b.places.end(), place) != b.places.end()) return true;
    return false;
}

}  // namespace

bool names_same_file(const std::string& written, const std::string& other) {
    return clash(identity_of(written), identity_of(other));
}

std::vector<RunFile> files_of_run(const Settings& s) {
    std::vector<RunFile> files{{"input file", s.input_file, FileUse::Read}};
    if (s.code != qec_none) files.push_back({"layout file", s.input_file + ".layout"});
    for (const char* data : kDataFiles) files.push_back({std::string("data file ") + data, data});
    files.push_back({"output file", s.output_file, FileUse::Written});
    if (!s.json_file.empty()) files.push_back({"JSON report", s.json_file, FileUse::Written});
    if (s.converts())
        for (const char* side : kSideFiles)
            files.push_back({std::string("side file ") + side, side, FileUse::Written});
    return files;
}

void refuse_clashing_files(const std::vector<RunFile>& files) {
    std::vector<Identity> identities;
    for (const RunFile& f : files) identities.push_back(identity_of(f.path));
    for (size_t j = 0; j < files.size(); ++j) {
        if (files[j].use != FileUse::Written) continue;
        for (size_t i = 0; i < j; ++i)
            if (clash(identities[j], identities[i]))
                fatal_error("The " + files[j].what + " would overwrite the " + files[i].what +
                            ": " + files[j].path);
    }
}
