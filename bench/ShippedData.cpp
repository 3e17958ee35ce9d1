#include "ShippedData.h"

#include <unistd.h>

#include "core/DataPaths.h"
#include "headless/WorkingDirectory.h"
#include "level/Level.h"

std::string ShippedData::directory()
{
    return std::string(SKIFF_SOURCE_DIR) + "/data";
}

bool ShippedData::present(benchmark::State& state)
{
    const std::string level = directory() + "/" + DataPaths::Level;
    if (access((level + DataPaths::LevelDescription).c_str(), R_OK) == 0 &&
        access((level + DataPaths::LevelPictures).c_str(), R_OK) == 0)
        return true;
    state.SkipWithError("data/level0 is missing");
    return false;
}

bool ShippedData::load(benchmark::State& state, Level& level)
{
    if (!present(state))
        return false;
    WorkingDirectory inData(directory());
    if (inData.entered() && level.load(DataPaths::Level) == 0 && level.mainTileset)
        return true;
    state.SkipWithError("data/level0 failed to load");
    return false;
}
