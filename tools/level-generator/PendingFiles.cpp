#include "PendingFiles.h"

#include <cstdio>
#include <filesystem>
#include <system_error>

PendingFiles::PendingFiles() : committed(0) {}

PendingFiles::~PendingFiles()
{
    std::error_code ignored;
    for (size_t i = committed; i < temporaryPaths.size(); i++)
        std::filesystem::remove(temporaryPaths[i], ignored);
}

std::string PendingFiles::aside(const std::string& path)
{
    finalPaths.push_back(path);
    temporaryPaths.push_back(path + ".new");
    return temporaryPaths.back();
}

int PendingFiles::commit()
{
    for (; committed < finalPaths.size(); committed++) {
        std::error_code error;
        std::filesystem::rename(temporaryPaths[committed], finalPaths[committed], error);
        if (error) {
            fprintf(stderr, "cannot write %s: %s\n", finalPaths[committed].c_str(), error.message().c_str());
            return -1;
        }
    }
    return 0;
}
