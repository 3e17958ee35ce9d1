#include <allegro.h>
#include <gtest/gtest.h>

#include <cstring>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <vector>

#include "aliens/Alien.h"
#include "aliens/AlienDefReader.h"
#include "core/Game.h"
#include "core/TestWorld.h"
#include "level/DatafileBytes.h"
#include "level/Level.h"
#include "level/Tileset.h"
#include "sprites/Player.h"
#include "support/RenderLog.h"
#include "support/TestFiles.h"

// Each row is an input the game may be handed and what it must make of it: never
// a crash, a hang or a leak; at worst the alert path of a failed load.
namespace {

const char Missing[] = "\x01missing";
const char Directory[] = "\x01directory";

std::string repeated(char c, size_t count)
{
    return std::string(count, c);
}

// Picture 0 is 32 x 16 (two 16-pixel tiles), object 1 is raw data, not a bitmap.
std::string goodPictures()
{
    return DatafileBytes::datafile(2, DatafileBytes::bitmap(32, 32, 16, 32 * 16 * 3) +
                                          DatafileBytes::object("DATA", "xyz"));
}

// A BMP file of the given size whose pixel data stops after the headers.
std::string bmpHeader(int width, int height)
{
    std::string out = "BM";
    auto put32 = [&out](uint32_t v) {
        for (int i = 0; i < 4; ++i)
            out.push_back((char)((v >> (8 * i)) & 0xff));
    };
    auto put16 = [&out](uint16_t v) {
        out.push_back((char)(v & 0xff));
        out.push_back((char)(v >> 8));
    };
    put32(54);
    put32(0);
    put32(54);
    put32(40);
    put32((uint32_t)width);
    put32((uint32_t)height);
    put16(1);
    put16(24);
    put32(0);
    put32(0);
    put32(2835);
    put32(2835);
    put32(0);
    put32(0);
    return out;
}

void writeOrMake(const TempDir& dir, const std::string& name, const std::string& contents)
{
    if (contents == Missing)
        return;
    if (contents == Directory) {
        mkdir((dir.path() + "/" + name).c_str(), 0755);
        return;
    }
    dir.write(name, contents);
}

std::vector<std::string> alertLines()
{
    std::vector<std::string> lines;
    for (const AlertCall& alert : RenderLog::alerts)
        lines.push_back(alert.line1);
    return lines;
}

// Sprites, level and aliens under dir, as the game finds them in its data directory.
void writeWorld(const TempDir& dir)
{
    writeSpritePictures(dir);
    writeLevelDirectory(dir, 24, 15, gridText(24, 15, true), "ALIENPROTOS 1 0 bmp/alien.bmp 0 0 ALIENDEF 2 0 200 60 0 260 90\n");
}

// Steps and frames with every key held that steers or fires.
void play(Game& game, int steps)
{
    HeldKeys keys;
    keys.press(KEY_SPACE);
    keys.press(KEY_RIGHT);
    keys.press(KEY_DOWN);
    game.startLoop();
    for (int step = 0; step < steps && game.lives >= 0; ++step) {
        game.ticks.fetch_add(1);
        game.pendingTicks.fetch_add(1);
        game.runFrame();
        RenderLog::quads.clear();
        RenderLog::texts.clear();
        RenderLog::lives.clear();
        if (step == steps / 2) {
            keys.release(KEY_DOWN);
            keys.press(KEY_UP);
        }
    }
}

}

TEST(BadLevelFiles, EachLevelInputLoadsOrFailsWithItsAlerts)
{
    const std::string goodDef = "LEVELDEF Bad inputs\n{ tileset 0 16 2 1 0 1 }\n";
    const std::string pictures = goodPictures();
    struct Row {
        const char* what;
        std::string levelDef;
        std::string levelDat;
        int result;
        std::vector<std::string> alerts;
    } rows[] = {
        {"good files", goodDef, pictures, 0, {}},
        {"level.def missing", Missing, pictures, -1, {"Unable to find"}},
        {"level.def empty", "", pictures, -1, {}},
        {"level.def of binary garbage", std::string("\x00\xff\x13\x80garbage\x00", 12), pictures, -1, {}},
        {"keyword and nothing else", "LEVELDEF", pictures, -1, {}},
        {"title of 10,000 characters", "LEVELDEF " + repeated('t', 10000) + "\n{ tileset 0 16 2 1 0 1 }\n", pictures,
         0, {}},
        {"token of 10,000 characters before a block",
         "LEVELDEF x\n" + repeated('{', 10000) + "\n{ tileset 0 16 2 1 0 1 }\n", pictures, 0, {}},
        {"tile size in the billions", "LEVELDEF x\n{ tileset 0 3000000000 2 1 0 1 }\n", pictures, -1, {}},
        {"width in the billions", "LEVELDEF x\n{ tileset 0 16 2000000000 1 0 1 }\n", pictures, -1, {}},
        {"grid of 2,000,000,000 cells", "LEVELDEF x\n{ tileset 0 16 50000 40000 0 1 }\n", pictures, -1, {}},
        {"grid larger than the file", "LEVELDEF x\n{ tileset 0 16 100 100 0 1 }\n", pictures, -1, {}},
        {"picture index naming raw data", "LEVELDEF x\n{ tileset 1 16 2 1 0 1 }\n", pictures, -1, {}},
        {"picture index past the datafile", "LEVELDEF x\n{ tileset 7 16 2 1 0 1 }\n", pictures, -1, {}},
        {"negative picture index", "LEVELDEF x\n{ tileset -1 16 2 1 0 1 }\n", pictures, -1, {}},
        {"tile the picture does not have", "LEVELDEF x\n{ tileset 0 16 2 1 0 2 }\n", pictures, -1, {}},
        {"picture of 0 x 0", goodDef, DatafileBytes::datafile(1, DatafileBytes::bitmap(32, 0, 0, 0)), -1, {}},
        {"level.dat missing", goodDef, Missing, -1, {"Unable to load"}},
        {"level.dat empty", goodDef, "", -1, {"Unable to load"}},
        {"level.dat cut after its header", goodDef, pictures.substr(0, 20), -1, {"Unable to load"}},
        {"level.dat cut inside the pixels", goodDef, pictures.substr(0, pictures.size() / 2), -1, {"Unable to load"}},
        {"level.dat of text", goodDef, goodDef, -1, {"Unable to load"}},
        {"level.dat a directory", goodDef, Directory, -1, {"Unable to load"}},
        {"picture claiming 30000 x 30000", goodDef,
         DatafileBytes::datafile(1, DatafileBytes::bitmap(32, 30000, 30000, 48)), -1, {"Unable to load"}},
        {"object count in the billions", goodDef, DatafileBytes::datafile(2000000000, DatafileBytes::bitmap(32, 2, 2, 12)),
         -1, {"Unable to load"}},
        {"both files missing", Missing, Missing, -1, {"Unable to find", "Unable to load"}},
    };
    for (const Row& row : rows) {
        TempDir dir;
        writeOrMake(dir, "level.def", row.levelDef);
        writeOrMake(dir, "level.dat", row.levelDat);
        RenderLog::clear();
        Renderer renderer;
        Level level(&renderer);
        EXPECT_EQ(row.result, level.load(dir.prefix().c_str())) << row.what;
        EXPECT_EQ(row.alerts, alertLines()) << row.what;
        EXPECT_NE(nullptr, memchr(level.title, '\0', sizeof level.title)) << row.what;
        EXPECT_LE(strlen(level.title), 127u) << row.what;
        if (row.result == 0) {
            EXPECT_EQ(level.tilesets.back(), level.mainTileset) << row.what;
        }
    }
}

TEST(BadLevelFiles, ATilesetPictureOfAMillionTilesCutsOnlyTheTilesAGridCanShow)
{
    // Grid cells hold 8-bit tile numbers, so no tile past 255 can ever be shown or hit;
    // a 1024 x 1024 picture cut into 1-pixel tiles must not turn into a million bitmaps.
    BITMAP* picture = makeBitmap(1024, 1024, makecol(10, 20, 30));
    DATAFILE objects[2];
    memset(objects, 0, sizeof objects);
    objects[0].dat = picture;
    objects[0].type = DAT_BITMAP;
    objects[1].type = DAT_END;
    Renderer renderer;
    Tileset tileset(&renderer);
    std::istringstream block("{ tileset 0 1 2 1 0 255 }");
    EXPECT_EQ(0, tileset.read(block, objects));
    EXPECT_LE(tileset.tilePictures.size(), 256u);
    EXPECT_EQ(tileset.tilePictures.size(), tileset.masks.size());
    destroy_bitmap(picture);
}

TEST(BadAlienFiles, EachAlienFilePlacesWhatItCanAndTheGamePlaysOn)
{
    struct Row {
        const char* what;
        std::string text;
        size_t prototypes;
        size_t aliens;
    } rows[] = {
        {"empty", "", 0, 0},
        {"binary garbage", std::string("\x00\xff\x10\x80\x7f", 5), 0, 0},
        {"keyword in lower case", "alienprotos 1 0 bmp/alien.bmp 0 0 ALIENDEF 1 0 10 20", 0, 0},
        {"first word of 10,000 characters", repeated('A', 10000) + " 1 0 bmp/alien.bmp 0 0", 0, 0},
        {"good file", "ALIENPROTOS 1 0 bmp/alien.bmp 0 0 ALIENDEF 2 0 200 60 0 260 90", 1, 2},
        {"prototype count in the billions", "ALIENPROTOS 2000000000 0 bmp/alien.bmp 0 0 ALIENDEF 1 0 10 20", 1, 0},
        {"prototype count beyond 32 bits", "ALIENPROTOS 99999999999 0 bmp/alien.bmp 0 0", 0, 0},
        {"placement count in the billions", "ALIENPROTOS 1 0 bmp/alien.bmp 0 0 ALIENDEF 2000000000 0 10 20", 1, 1},
        {"placement count beyond 32 bits", "ALIENPROTOS 1 0 bmp/alien.bmp 0 0 ALIENDEF 3000000000 0 10 20", 1, 0},
        {"picture name of 10,000 characters", "ALIENPROTOS 1 0 " + repeated('p', 10000) + " 0 0 ALIENDEF 1 0 10 20",
         0, 0},
        {"explosion kind 7", "ALIENPROTOS 1 0 bmp/alien.bmp 7 0 ALIENDEF 1 0 10 20", 0, 0},
        {"explosion kind -1", "ALIENPROTOS 1 0 bmp/alien.bmp -1 0 ALIENDEF 1 0 10 20", 0, 0},
        {"missing picture", "ALIENPROTOS 1 0 bmp/none.bmp 0 0 ALIENDEF 1 0 10 20", 1, 1},
        {"empty picture", "ALIENPROTOS 1 0 bmp/empty.bmp 0 0 ALIENDEF 1 0 10 20", 1, 1},
        {"garbage picture", "ALIENPROTOS 1 0 bmp/garbage.bmp 0 0 ALIENDEF 1 0 10 20", 1, 1},
        {"picture of 0 x 0", "ALIENPROTOS 1 0 bmp/zero.bmp 0 0 ALIENDEF 1 0 10 20", 1, 1},
        {"picture claiming 100000 x 100000", "ALIENPROTOS 1 0 bmp/huge.bmp 0 0 ALIENDEF 1 0 10 20", 1, 1},
        {"placements without a prototype", "ALIENPROTOS 1 5 ALIENDEF 2 0 10 20 0 30 40", 0, 0},
        {"placement at x in the billions", "ALIENPROTOS 1 0 bmp/alien.bmp 0 0 ALIENDEF 1 0 2000000000 20", 1, 0},
        {"placement at the fixed-point edges", "ALIENPROTOS 1 0 bmp/alien.bmp 0 0 ALIENDEF 2 0 32767 -32768 0 -32768 32767",
         1, 2},
        {"count larger than the entries", "ALIENPROTOS 1 0 bmp/alien.bmp 0 0 ALIENDEF 5 0 200 60", 1, 1},
        {"word where a number belongs", "ALIENPROTOS 1 0 bmp/alien.bmp zero 0 ALIENDEF 1 0 10 20", 0, 0},
    };
    for (const Row& row : rows) {
        AssembledGame world(40, 15);
        world.dir.write("bmp/empty.bmp", "");
        world.dir.write("bmp/garbage.bmp", "BM\x13\x80 not a picture at all");
        world.dir.write("bmp/zero.bmp", bmpHeader(0, 0));
        world.dir.write("bmp/huge.bmp", bmpHeader(100000, 100000));
        Game& game = world.game;
        for (Alien* prototype : game.alienPrototypes)
            delete prototype;
        game.alienPrototypes.clear();
        WorkingDirectory inside(world.dir.path());
        std::istringstream in(row.text);
        AlienDefReader reader(&game, in);
        EXPECT_EQ(row.prototypes, game.alienPrototypes.size()) << row.what;
        EXPECT_EQ(row.aliens, game.aliens.size()) << row.what;
        play(game, 600);
    }
}

TEST(BadSpritePictures, ASpriteWithABadPictureHasNoFramesAndNeverCollides)
{
    struct Row {
        const char* what;
        std::string contents;
        int side;  // when above 0, a real square picture of that size instead of contents
        size_t frames;
    } rows[] = {
        {"missing", Missing, 0, 0},
        {"empty", "", 0, 0},
        {"garbage", "BM garbage, not a bitmap", 0, 0},
        {"0 x 0 header", bmpHeader(0, 0), 0, 0},
        {"header claiming 100000 x 100000", bmpHeader(100000, 100000), 0, 0},
        {"one pixel for two frames", "", 1, 0},
        {"2048 x 2048", "", 2048, 2},
    };
    for (const Row& row : rows) {
        TempDir dir;
        std::string path = dir.path() + "/ship.bmp";
        if (row.side > 0) {
            BITMAP* picture = makeBitmap(row.side, row.side, makecol(200, 200, 200));
            saveBitmap(dir, "ship.bmp", picture);
            destroy_bitmap(picture);
        } else {
            writeOrMake(dir, "ship.bmp", row.contents);
        }
        Renderer renderer;
        Player ship;
        ship.renderer = &renderer;
        ship.frameCount = 2;
        ship.loadFrames(path.c_str());
        EXPECT_EQ(row.frames, ship.frameMasks.size()) << row.what;
        Player other;
        other.renderer = &renderer;
        other.frameCount = 2;
        other.copyFramesFrom(ship);
        EXPECT_EQ(row.frames > 0, ship.collidesWith(other)) << row.what;
    }
}

TEST(BadSpritePictures, TheWholeGameSetsUpAndPlaysWithAnyOneSpritePictureBroken)
{
    const char* pictures[] = {"bmp/player.bmp", "bmp/shoot.bmp", "bmp/boom.bmp", "bmp/boom2.bmp", "bmp/alien.bmp"};
    const std::string contents[] = {Missing, "", "BM garbage", bmpHeader(0, 0), bmpHeader(100000, 100000)};
    for (const char* picture : pictures) {
        for (const std::string& broken : contents) {
            TempDir dir;
            writeWorld(dir);
            remove((dir.path() + "/" + picture).c_str());
            writeOrMake(dir, picture, broken);
            WorkingDirectory inside(dir.path());
            RenderLog::clear();
            Renderer renderer;
            Game* game = new Game();
            game->renderer = &renderer;
            ASSERT_EQ(Game::SetupReady, game->loadWorld("level0/")) << picture;
            EXPECT_TRUE(RenderLog::alerts.empty()) << picture;
            play(*game, 800);
            delete game;
        }
    }
}

TEST(BadLevelFiles, TheGameTakesItsAlertPathForACutLevelDatafile)
{
    TempDir dir;
    writeWorld(dir);
    std::string path = dir.path() + "/level0/level.dat";
    FILE* file = fopen(path.c_str(), "rb");
    ASSERT_NE(nullptr, file);
    std::string whole;
    char buffer[4096];
    size_t got;
    while ((got = fread(buffer, 1, sizeof buffer, file)) > 0)
        whole.append(buffer, got);
    fclose(file);
    const size_t lengths[] = {12, 13, 40, whole.size() / 2, whole.size() - 1};
    for (size_t length : lengths) {
        dir.write("level0/level.dat", whole.substr(0, length));
        WorkingDirectory inside(dir.path());
        RenderLog::clear();
        Renderer renderer;
        Game game;
        game.renderer = &renderer;
        EXPECT_EQ(Game::SetupLevelFailed, game.loadWorld("level0/")) << length;
        EXPECT_EQ((std::vector<std::string>{"Unable to load", "Error loading level"}), alertLines()) << length;
        EXPECT_EQ(nullptr, game.player) << length;
    }
}
