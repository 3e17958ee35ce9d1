#include "LevelSwap.h"

#include <fcntl.h>
#include <stdio.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <set>
#include <sstream>

#include "Diagnostics.h"
#include "core/DataPaths.h"
#include "core/FileBytes.h"
#include "core/ScratchDirectory.h"
#include "core/TextReader.h"

namespace {

std::filesystem::path placeOf(const std::string& path)
{
    std::filesystem::path normal = std::filesystem::path(path).lexically_normal();
    return normal.has_filename() ? normal : normal.parent_path();
}

// The renames become lasting only once the directory holding them is written out.
void syncDirectory(const std::filesystem::path& directory)
{
    int descriptor = open(directory.c_str(), O_RDONLY | O_DIRECTORY);
    if (descriptor >= 0) {
        fsync(descriptor);
        close(descriptor);
    }
}

}

LevelSwap::LevelSwap(const std::string& where, bool forced, Diagnostics* sink)
    : place(placeOf(where).string()), force(forced), diagnostics(sink), stage(nullptr)
{
}

LevelSwap::~LevelSwap()
{
    delete stage;
}

std::string LevelSwap::staging() const
{
    return stage ? stage->path() : std::string();
}

std::vector<std::string> LevelSwap::foreignEntries(const std::string& directory)
{
    std::set<std::string> ours = {DataPaths::LevelDescription, DataPaths::LevelPictures, DataPaths::AlienFile};
    std::string aliens;
    if (FileBytes::read(std::filesystem::path(directory) / DataPaths::AlienFile, aliens)) {
        const std::string level = DataPaths::Level;
        std::istringstream in(aliens);
        std::string word;
        while (TextReader::readToken(in, word)) {
            if (word.compare(0, level.size(), level) == 0 && word.find('/', level.size()) == std::string::npos)
                ours.insert(word.substr(level.size()));
        }
    }
    std::vector<std::string> foreign;
    std::error_code failed;
    for (std::filesystem::directory_iterator it(directory, failed), end; !failed && it != end; it.increment(failed)) {
        std::string name = it->path().filename().string();
        if (!ours.count(name) || it->symlink_status(failed).type() == std::filesystem::file_type::directory)
            foreign.push_back(name);
    }
    if (failed)
        foreign.push_back("(" + failed.message() + ")");
    std::sort(foreign.begin(), foreign.end());
    return foreign;
}

int LevelSwap::mayReplace()
{
    std::error_code failed;
    std::filesystem::file_status there = std::filesystem::symlink_status(place, failed);
    if (there.type() == std::filesystem::file_type::not_found)
        return Done;
    if (there.type() != std::filesystem::file_type::directory) {
        diagnostics->add(Diagnostics::Error, place, Diagnostics::WholeFile,
                         "is not a directory: give the name of a level directory to make or replace");
        return Refused;
    }
    if (!force) {
        diagnostics->add(Diagnostics::Error, place, Diagnostics::WholeFile,
                         "already exists: give --force to replace the level in it");
        return Refused;
    }
    std::vector<std::string> foreign = foreignEntries(place);
    if (foreign.empty())
        return Done;
    std::string named;
    for (size_t i = 0; i < foreign.size() && i < 5; ++i)
        named += (i ? ", " : "") + Diagnostics::quoted(foreign[i]);
    if (foreign.size() > 5)
        named += " and " + Diagnostics::number(static_cast<int64_t>(foreign.size() - 5)) + " more";
    diagnostics->add(Diagnostics::Error, place, Diagnostics::WholeFile,
                     "holds more than a level: " + named +
                         ". An import replaces only a directory of level files; give a directory of its own");
    return Refused;
}

int LevelSwap::begin()
{
    if (mayReplace() != Done)
        return Refused;
    std::filesystem::path where(place);
    std::filesystem::path parent = where.parent_path().empty() ? "." : where.parent_path();
    std::error_code failed;
    std::filesystem::create_directories(parent, failed);
    delete stage;
    stage = new ScratchDirectory(parent.string(), "." + where.filename().string() + ".new-");
    if (stage->path().empty()) {
        diagnostics->add(Diagnostics::Error, parent.string(), Diagnostics::WholeFile,
                         "no directory can be made in it, to write the level into");
        return Refused;
    }
    return Done;
}

int LevelSwap::commit()
{
    if (!stage || stage->path().empty() || mayReplace() != Done)
        return Refused;
    std::filesystem::path where(place);
    std::filesystem::path parent = where.parent_path().empty() ? "." : where.parent_path();
    std::error_code failed;
    if (!std::filesystem::exists(std::filesystem::symlink_status(where, failed))) {
        if (rename(stage->path().c_str(), place.c_str()) != 0) {
            diagnostics->add(Diagnostics::Error, place, Diagnostics::WholeFile, "cannot be made");
            return Refused;
        }
        stage->keep();
        syncDirectory(parent);
        return Done;
    }
    // The old level moves onto an empty directory of a fresh name, which rename replaces.
    ScratchDirectory old(parent.string(), "." + where.filename().string() + ".old-");
    if (old.path().empty() || rename(place.c_str(), old.path().c_str()) != 0) {
        diagnostics->add(Diagnostics::Error, place, Diagnostics::WholeFile, "cannot be replaced");
        return Refused;
    }
    if (rename(stage->path().c_str(), place.c_str()) != 0) {
        bool restored = rename(old.path().c_str(), place.c_str()) == 0;
        if (!restored)
            old.keep();
        diagnostics->add(Diagnostics::Error, place, Diagnostics::WholeFile,
                         restored ? "cannot be replaced" : "cannot be replaced: the old level is kept in " + old.path());
        return Refused;
    }
    stage->keep();
    syncDirectory(parent);
    return Done;
}
