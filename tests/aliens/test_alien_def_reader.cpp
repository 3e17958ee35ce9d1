#include <allegro.h>
#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "aliens/AlienDefReader.h"
#include "aliens/HomingAlien.h"
#include "core/Game.h"
#include "core/TestWorld.h"
#include "headless/RenderLog.h"
#include "sprites/Explosion.h"
#include "sprites/Player.h"

namespace {

class AlienFile : public testing::Test {
protected:
    AlienFile()
    {
        RenderLog::clear();
        // The reader fills the prototypes itself.
        for (Alien* prototype : world.game.alienPrototypes)
            delete prototype;
        world.game.alienPrototypes.clear();
        a = writeStrip(world.dir, "a.bmp", 16, 16, 1);
        b = writeStrip(world.dir, "b.bmp", 20, 10, 1);
    }

    void read(const std::string& text)
    {
        std::istringstream in(text);
        AlienDefReader reader(&world.game, in);
    }

    size_t prototypes() const { return world.game.alienPrototypes.size(); }
    size_t aliens() const { return world.game.aliens.size(); }
    Alien* alien(size_t i) const
    {
        auto it = world.game.aliens.begin();
        std::advance(it, i);
        return *it;
    }

    AssembledGame world;
    std::string a;
    std::string b;
};

}  // namespace

TEST_F(AlienFile, TheExampleMakesOnePrototypeAndPlacesTwoDormantCopies)
{
    read("ALIENPROTOS 2\n0 " + a + " 1 0\n5\nALIENDEF 2\n0 400 100\n0 460 40\n");
    ASSERT_EQ(prototypes(), 1u);
    ASSERT_EQ(aliens(), 2u);

    HomingAlien* prototype = dynamic_cast<HomingAlien*>(world.game.alienPrototypes[0]);
    ASSERT_NE(prototype, nullptr);
    EXPECT_FALSE(prototype->sharesFrames);
    EXPECT_EQ(prototype->frameWidth, 16);
    EXPECT_EQ(prototype->frameHeight, 16);
    ASSERT_EQ(prototype->frameMasks.size(), 1u);
    EXPECT_EQ(prototype->speed, 1.0);
    EXPECT_EQ(prototype->heading, 0x800000);
    EXPECT_EQ(prototype->activity, Dormant);
    EXPECT_FALSE(prototype->exploding);
    EXPECT_EQ(prototype->target, world.game.player);
    EXPECT_EQ(prototype->level, world.game.level);
    EXPECT_EQ(prototype->renderer, &world.renderer);
    ASSERT_NE(prototype->explosion, nullptr);
    EXPECT_TRUE(prototype->explosion->sharesFrames);
    EXPECT_EQ(prototype->explosion->frameCount, 7);
    EXPECT_EQ(prototype->explosion->frameMasks, world.game.explosionPrototypes[1]->frameMasks);

    const int places[2][2] = {{400, 100}, {460, 40}};
    for (size_t i = 0; i < 2; ++i) {
        HomingAlien* placed = dynamic_cast<HomingAlien*>(alien(i));
        ASSERT_NE(placed, nullptr);
        EXPECT_DOUBLE_EQ(placed->x, places[i][0]);
        EXPECT_DOUBLE_EQ(placed->y, places[i][1]);
        EXPECT_EQ(placed->fixedX, places[i][0] * 65536);
        EXPECT_EQ(placed->fixedY, places[i][1] * 65536);
        EXPECT_EQ(placed->activity, Dormant);
        EXPECT_FALSE(placed->exploding);
        EXPECT_EQ(placed->heading, 0x800000);
        EXPECT_EQ(placed->speed, 1.0);
        EXPECT_EQ(placed->frameIndex, 0);
        EXPECT_TRUE(placed->sharesFrames);
        EXPECT_EQ(placed->frameMasks, prototype->frameMasks);
        EXPECT_EQ(placed->frameTextures, prototype->frameTextures);
        EXPECT_EQ(placed->target, world.game.player);
        EXPECT_EQ(placed->level, world.game.level);
        EXPECT_EQ(placed->renderer, &world.renderer);
        ASSERT_NE(placed->explosion, nullptr);
        EXPECT_NE(placed->explosion, prototype->explosion);
        EXPECT_TRUE(placed->explosion->sharesFrames);
        EXPECT_EQ(placed->explosion->frameMasks, world.game.explosionPrototypes[1]->frameMasks);
    }
    EXPECT_NE(alien(0)->explosion, alien(1)->explosion);
}

TEST_F(AlienFile, LineBreaksCarryNoMeaning)
{
    read("ALIENPROTOS 1 0 " + a + " 0 9 ALIENDEF 1 0 10 20");
    ASSERT_EQ(prototypes(), 1u);
    ASSERT_EQ(aliens(), 1u);
    EXPECT_DOUBLE_EQ(alien(0)->x, 10.0);
    EXPECT_DOUBLE_EQ(alien(0)->y, 20.0);
    EXPECT_EQ(alien(0)->explosion->frameMasks, world.game.explosionPrototypes[0]->frameMasks);

    read("\t ALIENPROTOS\r\n 1\n\n0\t" + a + "\n0\n9\r\nALIENDEF\n1\n0\n30\n40\n\n");
    EXPECT_EQ(prototypes(), 2u);
    EXPECT_EQ(aliens(), 2u);
}

TEST_F(AlienFile, KeywordsAreCaseSensitive)
{
    read("alienprotos 1 0 " + a + " 0 9 ALIENDEF 1 0 10 20");
    EXPECT_EQ(prototypes(), 0u);
    EXPECT_EQ(aliens(), 0u);

    read("ALIENPROTOS 1 0 " + a + " 0 9 AlienDef 1 0 10 20");
    EXPECT_EQ(prototypes(), 1u);
    EXPECT_EQ(aliens(), 0u);
}

TEST_F(AlienFile, AFileWithoutThePlacementSectionKeepsThePrototypes)
{
    read("ALIENPROTOS 1 0 " + a + " 0 9\n");
    EXPECT_EQ(prototypes(), 1u);
    EXPECT_EQ(aliens(), 0u);
}

TEST_F(AlienFile, EntriesOfOtherTypesCountButCreateNothing)
{
    read("ALIENPROTOS 3 7 0 " + a + " 1 0 3 ALIENDEF 1 0 10 20");
    ASSERT_EQ(prototypes(), 1u);
    EXPECT_EQ(world.game.alienPrototypes[0]->explosion->frameCount, 7);
    EXPECT_EQ(aliens(), 1u);
}

TEST_F(AlienFile, EveryPlacementCopiesTheFirstPrototype)
{
    read("ALIENPROTOS 2 0 " + a + " 0 0 0 " + b + " 1 0 ALIENDEF 2 1 10 20 0 30 40");
    ASSERT_EQ(prototypes(), 2u);
    EXPECT_EQ(world.game.alienPrototypes[0]->frameWidth, 16);
    EXPECT_EQ(world.game.alienPrototypes[1]->frameWidth, 20);
    ASSERT_EQ(aliens(), 2u);
    for (size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(alien(i)->frameWidth, 16);
        EXPECT_EQ(alien(i)->frameMasks, world.game.alienPrototypes[0]->frameMasks);
        EXPECT_EQ(alien(i)->explosion->frameMasks, world.game.explosionPrototypes[0]->frameMasks);
    }
}

TEST_F(AlienFile, CountsOfZeroOrLessMeanNoEntries)
{
    read("ALIENPROTOS -2 ALIENDEF 0");
    EXPECT_EQ(prototypes(), 0u);
    read("ALIENPROTOS 1 0 " + a + " 0 0 ALIENDEF -1 0 10 20");
    EXPECT_EQ(prototypes(), 1u);
    EXPECT_EQ(aliens(), 0u);
}

TEST_F(AlienFile, PlacementsWithoutAPrototypeAreSkipped)
{
    read("ALIENPROTOS 1 5 ALIENDEF 2 0 10 20 0 30 40");
    EXPECT_EQ(prototypes(), 0u);
    EXPECT_EQ(aliens(), 0u);
    EXPECT_FALSE(world.game.addAlien(0, 10, 20));
    EXPECT_EQ(aliens(), 0u);
}

TEST_F(AlienFile, OnlyExplosionKindsZeroAndOneMakeAPrototype)
{
    EXPECT_FALSE(world.game.addAlienPrototype(0, a.c_str(), 2));
    EXPECT_FALSE(world.game.addAlienPrototype(0, a.c_str(), -1));
    EXPECT_EQ(prototypes(), 0u);
    EXPECT_TRUE(world.game.addAlienPrototype(0, a.c_str(), 1));
    EXPECT_EQ(prototypes(), 1u);

    read("ALIENPROTOS 2 0 " + b + " 0 0 0 " + a + " 2 0");
    ASSERT_EQ(prototypes(), 2u);
    EXPECT_EQ(world.game.alienPrototypes[1]->frameWidth, 20);
}

TEST_F(AlienFile, ReadingStopsAtTheFirstValueThatCannotBeRead)
{
    struct Case {
        std::string text;
        size_t prototypes;
        size_t aliens;
    } cases[] = {
        {"ALIENPROTOS two 0 A 0 0 ALIENDEF 1 0 10 20", 0, 0},
        {"ALIENPROTOS 1", 0, 0},
        {"ALIENPROTOS 1 0", 0, 0},
        {"ALIENPROTOS 1 0 A", 0, 0},
        {"ALIENPROTOS 1 0 A 0", 0, 0},
        {"ALIENPROTOS 1 0 A zero 0 ALIENDEF 1 0 10 20", 0, 0},
        {"ALIENPROTOS 1 0 A 0 nine ALIENDEF 1 0 10 20", 0, 0},
        {"ALIENPROTOS 3 0 A 0 0", 1, 0},
        {"ALIENPROTOS 2 0 A 0 0 x ALIENDEF 1 0 10 20", 1, 0},
        {"ALIENPROTOS 1 0 A 0 0 ALIENDEF many 0 10 20", 1, 0},
        {"ALIENPROTOS 1 0 A 0 0 ALIENDEF 3 0 10 20", 1, 1},
        {"ALIENPROTOS 1 0 A 0 0 ALIENDEF 2 0 10 20 0 30", 1, 1},
        {"ALIENPROTOS 1 0 A 0 0 ALIENDEF 2 0 10 20 0 x 40", 1, 1},
        {"ALIENPROTOS 1 0 A 0 0 ALIENDEF 2 0 10 20 z 30 40", 1, 1},
        {"ALIENPROTOS 1 0 A 0 0 ALIENDEF 1 0 99999999999 20", 1, 0},
    };
    for (Case& c : cases) {
        std::string text = c.text;
        size_t at = text.find(" A ");
        if (at != std::string::npos)
            text.replace(at + 1, 1, a);
        AssembledGame fresh;
        for (Alien* prototype : fresh.game.alienPrototypes)
            delete prototype;
        fresh.game.alienPrototypes.clear();
        std::istringstream in(text);
        {
            AlienDefReader reader(&fresh.game, in);
        }
        EXPECT_EQ(fresh.game.alienPrototypes.size(), c.prototypes) << c.text;
        EXPECT_EQ(fresh.game.aliens.size(), c.aliens) << c.text;
        if (!fresh.game.aliens.empty()) {
            EXPECT_DOUBLE_EQ(fresh.game.aliens.front()->x, 10.0) << c.text;
            EXPECT_DOUBLE_EQ(fresh.game.aliens.front()->y, 20.0) << c.text;
        }
    }
}

TEST_F(AlienFile, PictureNamesLongerThan127CharactersAreRefused)
{
    // A picture whose path is exactly 127 characters long; the refused name adds one more.
    std::string name(127 - world.dir.path().size() - 1 - 4, 'p');
    std::string longest = writeStrip(world.dir, name + ".bmp", 16, 16, 1);
    ASSERT_EQ(longest.size(), 127u);

    read("ALIENPROTOS 1 0 " + longest + "x 0 0 ALIENDEF 1 0 10 20");
    EXPECT_EQ(prototypes(), 0u);
    EXPECT_EQ(aliens(), 0u);

    read("ALIENPROTOS 1 0 " + longest + " 0 0 ALIENDEF 1 0 10 20");
    ASSERT_EQ(prototypes(), 1u);
    EXPECT_EQ(world.game.alienPrototypes[0]->frameWidth, 16);
    EXPECT_EQ(aliens(), 1u);
}

TEST_F(AlienFile, PlacementsMustFitTheFixedPointRange)
{
    read("ALIENPROTOS 1 0 " + a + " 0 0 ALIENDEF 2 0 32767 -32768 0 -32768 32767");
    ASSERT_EQ(aliens(), 2u);
    HomingAlien* first = dynamic_cast<HomingAlien*>(alien(0));
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(first->fixedX, 0x7FFF0000);
    EXPECT_EQ(first->fixedY, INT32_MIN);

    const char* refused[] = {"32768 0", "-32769 0", "0 32768", "0 -32769", "40000 10"};
    for (const char* place : refused) {
        size_t before = aliens();
        read("ALIENPROTOS 0 ALIENDEF 1 0 " + std::string(place));
        EXPECT_EQ(aliens(), before) << place;
    }
    EXPECT_FALSE(world.game.addAlien(0, 32768, 0));
    EXPECT_FALSE(world.game.addAlien(0, 0, -32769));
    EXPECT_EQ(aliens(), 2u);
}

TEST_F(AlienFile, PlacedAliensTakeTheWholeNumberOfThePrototypeSpeed)
{
    ASSERT_TRUE(world.game.addAlienPrototype(0, a.c_str(), 0));
    world.game.alienPrototypes[0]->speed = 2.7;
    EXPECT_TRUE(world.game.addAlien(5, 1, 2));
    EXPECT_EQ(alien(0)->speed, 2.0);
}

TEST_F(AlienFile, TheFileIsFoundInTheLevelDirectory)
{
    world.dir.write("aliens.def", "ALIENPROTOS 1 0 " + a + " 0 0 ALIENDEF 1 0 10 20\n");
    {
        AlienDefReader reader(&world.game, world.dir.prefix().c_str());
    }
    EXPECT_EQ(prototypes(), 1u);
    EXPECT_EQ(aliens(), 1u);

    TempDir empty;
    {
        AlienDefReader reader(&world.game, empty.prefix().c_str());
    }
    EXPECT_EQ(prototypes(), 1u);
    EXPECT_EQ(aliens(), 1u);
}
