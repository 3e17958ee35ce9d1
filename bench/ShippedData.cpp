#include "ShippedData.h"

#include <unistd.h>

#include "core/DataPaths.h"

std::string ShippedData::directory()
{
    return std::string(SKIFF_SOURCE_DIR) + "/data";
}

bool ShippedData::levelPresent(const std::string& dataDirectory)
{
    const std::string level = dataDirectory + "/" + DataPaths::Level;
    return access((level + DataPaths::LevelDescription).c_str(), R_OK) == 0 &&
           access((level + DataPaths::LevelPictures).c_str(), R_OK) == 0;
}
