#include <gtest/gtest.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "Diagnostics.h"
#include "LevelDirectoryCheck.h"
#include "ToolTestData.h"
#include "core/DataPaths.h"
#include "headless/ScratchFiles.h"
#include "level/Level.h"
#include "level/Tileset.h"

// The scroll time in the summary is the game's own: a main tileset of 23 columns of 16 pixels is
// 368 pixels wide and stops where one more step of 0.2 would show more than 320.5 pixels past its
// start, after (368 - 320.5) / 0.2 = 237.5, so 237 whole steps, or 2.37 s at 100 steps a second.
TEST(LevelDirectoryChecking, TheSummaryTellsTheStepsTheGamesLevelScrollsToTheEndOfTheMap)
{
    TempDir data;
    writeSpritePictures(data);
    writeLevelDirectory(data, 23, 15, floorGrid(23, 15, true), "");
    const std::string directory = data.prefix() + DataPaths::Level;
    Diagnostics diagnostics;
    LevelDirectoryCheck check(data.path(), &diagnostics);
    ASSERT_EQ(LevelDirectoryCheck::Passed, check.run(directory));
    char* text = nullptr;
    size_t size = 0;
    FILE* out = open_memstream(&text, &size);
    check.printSummary(out, diagnostics);
    fclose(out);
    std::string summary(text, size);
    free(text);

    Level level(nullptr);
    ASSERT_EQ(0, level.load(directory.c_str()));
    // The ship is kept where the view does not follow it up or down.
    int steps = 0;
    for (;;) {
        double before = level.mainTileset->scrollX;
        level.update(0, 104);
        if (level.mainTileset->scrollX == before)
            break;
        ++steps;
    }
    EXPECT_EQ(237, steps);
    EXPECT_NE(std::string::npos, summary.find("scrolls for 2.4 s (237 steps of 0.2 px")) << summary;
}

// A stranger's level directory may hold a FIFO, a link to a device or a huge file in a file's place:
// the check must refuse it at once, not wait on it or read it until memory runs out.
TEST(LevelDirectoryChecking, ALevelFileThatIsNoRegularFileOrTooLargeIsRefusedWithoutWaiting)
{
    enum Kind { Fifo, Zero, Sparse };
    struct Row { const char* file; Kind kind; const char* error; } rows[] = {
        {DataPaths::AlienFile, Fifo, "the alien list is not a regular file"},
        {DataPaths::AlienFile, Sparse, "the alien list is larger than 64 MB"},
        {DataPaths::LevelDescription, Zero, "the level description is not a regular file"},
        {DataPaths::LevelDescription, Sparse, "the level description is larger than 64 MB"},
        {DataPaths::LevelPictures, Fifo, "the tile pictures' file is not a regular file"},
        {DataPaths::LevelPictures, Sparse, "the tile pictures' file is larger than 72 MB"},
    };
    for (const Row& row : rows) {
        TempDir data;
        writeSpritePictures(data);
        writeLevelDirectory(data, 23, 15, floorGrid(23, 15, true), "ALIENPROTOS 0 ALIENDEF 0\n");
        const std::string directory = data.prefix() + DataPaths::Level;
        const std::string path = directory + row.file;
        std::filesystem::remove(path);
        if (row.kind == Fifo)
            ASSERT_EQ(0, mkfifo(path.c_str(), 0600));
        else if (row.kind == Zero)
            std::filesystem::create_symlink("/dev/zero", path);
        else
            ASSERT_EQ(0, close(open(path.c_str(), O_CREAT | O_WRONLY, 0644)) |
                             truncate(path.c_str(), (72 << 20) + 65537));
        Diagnostics diagnostics;
        LevelDirectoryCheck check(data.path(), &diagnostics);
        EXPECT_EQ(LevelDirectoryCheck::Failed, check.run(directory)) << row.error;
        EXPECT_TRUE(findEntry(diagnostics, Diagnostics::Error, row.error)) << listed(diagnostics);
    }
}
