#include <gtest/gtest.h>

#include <string>

#include "Diagnostics.h"
#include "LevelCheck.h"
#include "MapImport.h"
#include "Paths.h"
#include "ToolTestData.h"
#include "headless/ScratchFiles.h"

namespace {

const std::string source = SKIFF_SOURCE_DIR;

std::string contents(const std::string& path)
{
    std::string text;
    Paths::read(path, text);
    return text;
}

}

TEST(ShippedMap, ImportingTheShippedMapReproducesTheShippedLevelByteForByte)
{
    TempDir out;
    Diagnostics diagnostics;
    MapImport importer(&diagnostics);
    ASSERT_EQ(MapImport::Imported, importer.run(source + "/levels/level0/level0.tmx", out.path(), source + "/data"))
        << listed(diagnostics);
    EXPECT_EQ(0, diagnostics.warningCount()) << listed(diagnostics);
    const char* const files[] = {"level.def", "level.dat", "aliens.def"};
    for (const char* file : files) {
        std::string shipped = contents(source + "/data/level0/" + file);
        std::string made = contents(out.path() + "/" + file);
        EXPECT_TRUE(shipped == made) << file << " differs from what importing levels/level0/level0.tmx makes ("
                                     << shipped.size() << " and " << made.size() << " bytes)";
    }
}

TEST(ShippedMap, TheShippedLevelChecksWithoutAnError)
{
    Diagnostics diagnostics;
    LevelCheck check(nullptr, &diagnostics);
    EXPECT_EQ(LevelCheck::Passed, check.run(source + "/data/level0", source + "/data")) << listed(diagnostics);
    EXPECT_TRUE(check.levelLoaded);
}
