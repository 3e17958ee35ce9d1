#include <gtest/gtest.h>

#include <sstream>
#include <string>

#include "aliens/AlienDefReader.h"
#include "aliens/HomingAlien.h"
#include "core/TestWorld.h"
#include "headless/RenderLog.h"
#include "sprites/Explosion.h"

namespace {

class AlienFile : public testing::Test {
protected:
    AlienFile()
    {
        RenderLog::clear();
        forget();
        a = writeStrip(world.dir, "a.bmp", 16, 16, 1);
        b = writeStrip(world.dir, "b.bmp", 20, 10, 1);
        // The longest name the format allows: 127 characters.
        longest = writeStrip(world.dir, std::string(127 - world.dir.path().size() - 1 - 4, 'p') + ".bmp", 16, 16, 1);
    }

    // Drops the prototypes and the placed aliens: the reader fills both.
    void forget()
    {
        for (Alien* prototype : world.game.alienPrototypes)
            delete prototype;
        world.game.alienPrototypes.clear();
        for (Alien* alien : world.game.aliens)
            delete alien;
        world.game.aliens.clear();
    }

    // "@A", "@B" and "@L" in text stand for the pictures a, b and longest.
    void read(std::string text)
    {
        const std::string names[3][2] = {{"@A", a}, {"@B", b}, {"@L", longest}};
        for (const auto& name : names)
            for (size_t at = text.find(name[0]); at != std::string::npos; at = text.find(name[0]))
                text.replace(at, 2, name[1]);
        std::istringstream in(text);
        AlienDefReader reader(&world.game, in);
    }

    // Each prototype as "width/explosion frames", then "|", then each alien as "x,y width/explosion frames".
    std::string described() const
    {
        std::string text;
        for (const Alien* prototype : world.game.alienPrototypes)
            text += std::to_string(prototype->frameWidth) + "/" + std::to_string(prototype->explosion->frameCount) + " ";
        text += "|";
        for (const Alien* alien : world.game.aliens)
            text += " " + std::to_string(int(alien->x)) + "," + std::to_string(int(alien->y)) + " " +
                    std::to_string(alien->frameWidth) + "/" + std::to_string(alien->explosion->frameCount);
        return text;
    }

    AssembledGame world;
    std::string a, b, longest;
};

}  // namespace

TEST_F(AlienFile, TheExampleMakesOnePrototypeAndPlacesTwoDormantCopiesOfIt)
{
    read("ALIENPROTOS 2\n0 @A 1 0\n5\nALIENDEF 2\n0 400 100\n0 460 40\n");
    EXPECT_EQ(described(), "16/7 | 400,100 16/7 460,40 16/7");
    for (size_t i = 0; i < 2; ++i) {
        EXPECT_EQ(world.alien(i)->activity, Dormant);
        EXPECT_EQ(world.alien(i)->frameMasks, world.game.alienPrototypes[0]->frameMasks);
    }
    // A placed alien flies at the whole number of its prototype's speed.
    world.game.alienPrototypes[0]->speed = 2.7;
    EXPECT_TRUE(world.game.addAlien(5, 1, 2));
    EXPECT_EQ(world.alien(2)->speed, 2.0);
}

TEST_F(AlienFile, ReadingTakesWhatFitsAndStopsAtTheFirstValueThatCannotBeRead)
{
    const char* const cases[][2] = {
        {"ALIENPROTOS 1 0 @A 0 9 ALIENDEF 1 0 10 20", "16/8 | 10,20 16/8"},
        {"\t ALIENPROTOS\r\n 1\n\n0\t@A\n1\n9\r\nALIENDEF\n1\n0\n30\n40\n\n", "16/7 | 30,40 16/7"},
        {"ALIENPROTOS 1 0 @A 0 9 AlienDef 1 0 10 20", "16/8 |"},
        {"ALIENPROTOS 1 0 @A 0 9", "16/8 |"},
        {"ALIENPROTOS 3 7 0 @A 1 0 3 ALIENDEF 1 0 10 20", "16/7 | 10,20 16/7"},
        {"ALIENPROTOS 2 0 @A 0 0 0 @B 1 0 ALIENDEF 2 1 10 20 0 30 40", "16/8 20/7 | 10,20 16/8 30,40 16/8"},
        {"ALIENPROTOS -2 ALIENDEF 0", "|"},
        {"ALIENPROTOS 1 0 @A 0 0 ALIENDEF -1 0 10 20", "16/8 |"},
        {"ALIENPROTOS 3 0 @B 0 0 0 @A 2 0 0 @A -1 0", "20/8 |"},
        {"ALIENPROTOS 1 0 @A 0 0 ALIENDEF 1 0 10 20 0 30 40", "16/8 | 10,20 16/8"},
        {"ALIENPROTOS 2 0 @Lx 0 0 0 @L 0 0 ALIENDEF 1 0 10 20", "16/8 | 10,20 16/8"},
        {"ALIENPROTOS 1 0 @A 0 0 ALIENDEF 2 0 32767 -32768 0 -32768 32767",
         "16/8 | 32767,-32768 16/8 -32768,32767 16/8"},
        {"ALIENPROTOS 1 0 @A 0 0 ALIENDEF 5 0 32768 0 0 -32769 0 0 0 32768 0 0 -32769 0 40000 10", "16/8 |"},
        {"ALIENPROTOS two 0 @A 0 0 ALIENDEF 1 0 10 20", "|"},
        {"ALIENPROTOS 1", "|"},
        {"ALIENPROTOS 1 0 @A 0", "|"},
        {"ALIENPROTOS 2 0 @A 0 0 x ALIENDEF 1 0 10 20", "16/8 |"},
        {"ALIENPROTOS 1 0 @A 0 0 ALIENDEF many 0 10 20", "16/8 |"},
        {"ALIENPROTOS 1 0 @A 0 0 ALIENDEF 2 0 10 20 0 30", "16/8 | 10,20 16/8"},
        {"ALIENPROTOS 1 0 @A 0 0 ALIENDEF 2 0 10 20 0 x 40", "16/8 | 10,20 16/8"},
        {"ALIENPROTOS 1 0 @A 0 0 ALIENDEF 1 0 99999999999 20", "16/8 |"},
    };
    for (const auto& c : cases) {
        forget();
        read(c[0]);
        EXPECT_EQ(described(), c[1]) << c[0];
    }
}

TEST_F(AlienFile, TheFileIsFoundInTheLevelDirectoryAndAMissingOnePlacesNothing)
{
    world.dir.write("aliens.def", "ALIENPROTOS 1 0 " + a + " 0 0 ALIENDEF 1 0 10 20\n");
    { AlienDefReader reader(&world.game, world.dir.prefix().c_str()); }
    EXPECT_EQ(described(), "16/8 | 10,20 16/8");
    TempDir empty;
    { AlienDefReader reader(&world.game, empty.prefix().c_str()); }
    EXPECT_EQ(described(), "16/8 | 10,20 16/8");
}
