#include <allegro.h>
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "core/DataPaths.h"
#include "core/Game.h"
#include "core/TestWorld.h"
#include "headless/RenderLog.h"
#include "headless/ScratchFiles.h"
#include "level/Level.h"
#include "level/Tileset.h"
#include "render/Renderer.h"
#include "sprites/Player.h"

namespace {

// A change of lives: the frame it happened in, and the lives left.
using LifeChange = std::pair<int, int>;

class WholeGame : public testing::Test {
protected:
    WholeGame() { RenderLog::clear(); }

    int load()
    {
        game.renderer = &renderer;
        WorkingDirectory inside(dir.path());
        return game.loadWorld(DataPaths::Level);
    }

    // Plays frames of one tick each until the loop ends or maxFrames have been played;
    // returns the frame count and records every change of lives.
    int play(int maxFrames)
    {
        game.startLoop();
        int lives = game.lives;
        for (int frame = 1; frame <= maxFrames; ++frame) {
            game.ticks += 1;
            game.pendingTicks += 1;
            bool goOn = game.runFrame();
            if (game.lives != lives) {
                lives = game.lives;
                changes.push_back(LifeChange(frame, lives));
            }
            if (game.player->state == Exploding && !wasExploding)
                ++crashes;
            wasExploding = game.player->state == Exploding;
            if (!goOn)
                return frame;
        }
        return maxFrames + 1;
    }

    HeldKeys keys;
    TempDir dir;
    Renderer renderer;
    Game game;
    std::vector<LifeChange> changes;
    int crashes = 0;
    bool wasExploding = false;
};

}  // namespace

TEST_F(WholeGame, AWorldWithoutALevelFailsWithTheAlert)
{
    writeSpritePictures(dir);
    EXPECT_EQ(load(), 1);
    ASSERT_FALSE(RenderLog::alerts.empty());
    EXPECT_EQ(RenderLog::alerts.back().line1, "Error loading level");
    EXPECT_EQ(RenderLog::alerts.back().button, "exit");
}

TEST_F(WholeGame, ASteeredIntoTheFloorShipLosesEveryLifeOnSchedule)
{
    writeSpritePictures(dir);
    writeLevelDirectory(dir, 20, 15, floorGrid(20, 15, true), "");
    ASSERT_EQ(load(), 2);
    keys.press(KEY_DOWN);

    // Each ship enters, sinks onto the floor while protected, and crashes in the step its
    // protection ends, 201 ticks after its respawn; its explosion then takes 96 more.
    int ended = play(3000);
    std::vector<LifeChange> expected = {{1, 4}, {298, 3}, {595, 2}, {892, 1}, {1189, 0}, {1486, -1}};
    EXPECT_EQ(changes, expected);
    EXPECT_EQ(ended, 1486);
    EXPECT_EQ(crashes, 5);
    EXPECT_EQ(RenderLog::lives.back(), -1);
}

TEST_F(WholeGame, AliensAtTheShipsHeightTakeEveryLife)
{
    writeSpritePictures(dir);
    std::string aliens = "ALIENPROTOS 1 0 bmp/alien.bmp 0 0\nALIENDEF 36\n";
    for (int i = 0; i < 36; ++i)
        aliens += "0 " + std::to_string(420 + 30 * i) + " 100\n";
    writeLevelDirectory(dir, 100, 15, floorGrid(100, 15, false), aliens);
    ASSERT_EQ(load(), 2);
    ASSERT_EQ(game.aliens.size(), 36u);

    int ended = play(20000);
    EXPECT_LE(ended, 20000) << "the game did not end";
    std::vector<int> lives;
    for (const LifeChange& change : changes)
        lives.push_back(change.second);
    EXPECT_EQ(lives, (std::vector<int>{4, 3, 2, 1, 0, -1}));
    EXPECT_EQ(crashes, 5);
    EXPECT_LE(game.aliens.size(), 36u - 5u);
    EXPECT_GT(game.level->mainTileset->scrollX, 0.0);
}
