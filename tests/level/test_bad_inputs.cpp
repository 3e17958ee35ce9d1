#include <allegro.h>
#include <gtest/gtest.h>

#include <cstring>
#include <initializer_list>
#include <sstream>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

#include "aliens/Alien.h"
#include "aliens/AlienDefReader.h"
#include "core/DataPaths.h"
#include "core/Game.h"
#include "core/TestWorld.h"
#include "headless/RenderLog.h"
#include "headless/ScratchFiles.h"
#include "level/DatafileBytes.h"
#include "level/Level.h"
#include "sprites/PictureCheck.h"
#include "sprites/Player.h"

using namespace DatafileBytes;

// Each row is an input the game may be handed and what it must make of it: never
// a crash, a hang or a leak; at worst the alert path of a failed load.
namespace {

const char Missing[] = "\x01missing";
const char Directory[] = "\x01directory";
const char Fifo[] = "\x01fifo";
// Contents after this are made one byte longer than 72 MB and 64 KB, beyond every limit of the game's
// files, by zeros the file system need not store.
const char Huge[] = "\x01huge:";

// Little-endian numbers of the given width in bytes.
std::string le(int bytes, std::initializer_list<uint32_t> values)
{
    std::string out;
    for (uint32_t value : values)
        for (int i = 0; i < bytes; ++i)
            out.push_back((char)((value >> (8 * i)) & 0xff));
    return out;
}

// A Windows BMP of the given size, depth and compression followed by pixelBytes bytes (by default
// none: the pixel data stops after the headers).
std::string bmpFile(int64_t width, int64_t height, int bits = 24, size_t pixelBytes = 0, uint32_t compression = 0,
                    uint32_t infoSize = 40)
{
    std::string out = "BM" +
                      le(4, {(uint32_t)(14 + infoSize + pixelBytes), 0, 14 + infoSize, infoSize, (uint32_t)width,
                             (uint32_t)height}) +
                      le(2, {1, (uint32_t)bits}) + le(4, {compression, (uint32_t)pixelBytes, 2835, 2835, 0, 0});
    out.resize(14 + infoSize, '\0');
    return out + std::string(pixelBytes, '\x20');
}

// The 128-byte header of a PCX picture covering xMin..xMax, yMin..yMax, with no image data.
std::string pcxHeader(unsigned xMax, unsigned yMax, unsigned bytesPerLine, int bits = 8, int planes = 1,
                      unsigned xMin = 0)
{
    std::string out = std::string("\x0a\x05\x01", 3) + (char)bits + le(2, {xMin, 0, xMax, yMax});
    out.resize(65, '\0');
    out += std::string(1, (char)planes) + le(2, {bytesPerLine});
    out.resize(128, '\0');
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
    if (contents == Fifo) {
        mkfifo((dir.path() + "/" + name).c_str(), 0600);
        return;
    }
    if (contents.compare(0, strlen(Huge), Huge) == 0) {
        dir.write(name, contents.substr(strlen(Huge)));
        EXPECT_EQ(0, truncate((dir.path() + "/" + name).c_str(), (72 << 20) + 65537));
        return;
    }
    dir.write(name, contents);
}

// The first two lines of every alert, with dir's path as "DIR".
std::vector<std::string> alertLines(const TempDir& dir)
{
    std::vector<std::string> lines;
    for (const AlertCall& alert : RenderLog::alerts) {
        std::string second = alert.line2;
        if (second.compare(0, dir.path().size(), dir.path()) == 0)
            second.replace(0, dir.path().size(), "DIR");
        lines.push_back(alert.line1 + " " + second);
    }
    return lines;
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
    // Picture 0 is 32 x 16 (two 16-pixel tiles), object 1 is raw data, not a bitmap.
    const std::string pictures = datafile(2, bitmap(32, 32, 16, 32 * 16 * 3) + object("DATA", "xyz"));
    const std::vector<std::string> noDat = {"Unable to load DIR/level.dat"};
    struct Row { const char* what; std::string levelDef, levelDat; int result; std::vector<std::string> alerts; };
    const Row rows[] = {
        {"good files", goodDef, pictures, 0, {}},
        {"level.def missing", Missing, pictures, -1, {"Unable to find DIR/level.def"}},
        {"level.def empty", "", pictures, -1, {}},
        {"level.def of binary garbage", std::string("\x00\xff\x13\x80garbage\x00", 12), pictures, -1, {}},
        {"keyword and nothing else", "LEVELDEF", pictures, -1, {}},
        {"title of 10,000 characters", "LEVELDEF " + std::string(10000, 't') + "\n{ tileset 0 16 2 1 0 1 }\n", pictures,
         0, {}},
        {"token of 10,000 characters before a block",
         "LEVELDEF x\n" + std::string(10000, '{') + "\n{ tileset 0 16 2 1 0 1 }\n", pictures, 0, {}},
        {"tile size in the billions", "LEVELDEF x\n{ tileset 0 3000000000 2 1 0 1 }\n", pictures, -1, {}},
        {"width in the billions", "LEVELDEF x\n{ tileset 0 16 2000000000 1 0 1 }\n", pictures, -1, {}},
        {"grid of 2,000,000,000 cells", "LEVELDEF x\n{ tileset 0 16 50000 40000 0 1 }\n", pictures, -1, {}},
        {"grid larger than the file", "LEVELDEF x\n{ tileset 0 16 100 100 0 1 }\n", pictures, -1, {}},
        {"picture index naming raw data", "LEVELDEF x\n{ tileset 1 16 2 1 0 1 }\n", pictures, -1, {}},
        {"picture index past the datafile", "LEVELDEF x\n{ tileset 7 16 2 1 0 1 }\n", pictures, -1, {}},
        {"negative picture index", "LEVELDEF x\n{ tileset -1 16 2 1 0 1 }\n", pictures, -1, {}},
        {"tile the picture does not have", "LEVELDEF x\n{ tileset 0 16 2 1 0 2 }\n", pictures, -1, {}},
        {"picture of 0 x 0", goodDef, datafile(1, bitmap(32, 0, 0, 0)), -1, {}},
        {"level.dat missing", goodDef, Missing, -1, noDat},
        {"level.dat empty", goodDef, "", -1, noDat},
        {"level.dat cut after its header", goodDef, pictures.substr(0, 20), -1, noDat},
        {"level.dat cut inside the pixels", goodDef, pictures.substr(0, pictures.size() / 2), -1, noDat},
        {"level.dat of text", goodDef, goodDef, -1, noDat},
        {"level.dat a directory", goodDef, Directory, -1, noDat},
        {"picture claiming 30000 x 30000", goodDef, datafile(1, bitmap(32, 30000, 30000, 48)), -1, noDat},
        {"object count in the billions", goodDef, datafile(2000000000, bitmap(32, 2, 2, 12)), -1, noDat},
        {"both files missing", Missing, Missing, -1, {"Unable to find DIR/level.def", "Unable to load DIR/level.dat"}},
        // Refused without waiting on them or reading them whole.
        {"level.def a FIFO", Fifo, pictures, -1, {}},
        {"level.def larger than the game reads", Huge + goodDef, pictures, -1, {}},
        {"level.dat a FIFO", goodDef, Fifo, -1, noDat},
        {"level.dat larger than the game reads", goodDef, Huge + pictures, -1, noDat},
    };
    for (const Row& row : rows) {
        TempDir dir;
        writeOrMake(dir, "level.def", row.levelDef);
        writeOrMake(dir, "level.dat", row.levelDat);
        RenderLog::clear();
        Renderer renderer;
        Level level(&renderer);
        EXPECT_EQ(row.result, level.load(dir.prefix().c_str())) << row.what;
        EXPECT_EQ(row.alerts, alertLines(dir)) << row.what;
        EXPECT_LE(strnlen(level.title, sizeof level.title), 127u) << row.what;
        EXPECT_TRUE(row.result != 0 || level.tilesets.back() == level.mainTileset) << row.what;
    }
}

// A stranger's level directory may hold a FIFO, which would block the game before its window shows,
// or a file beyond the game's limits: the load fails at once with the alert of any failed load. (The
// table above holds the same for level.def and level.dat, which Level::load reads.)
TEST(BadLevelFiles, ALevelFileThatIsNoRegularFileFailsTheLoadWithTheUsualAlertWithoutWaiting)
{
    struct Row { const char* file; std::string contents; } rows[] = {
        {"aliens.def", Fifo},
        {"aliens.def", Huge + std::string("ALIENPROTOS 0 ALIENDEF 0\n")},
        {"aliens.def", Directory},
    };
    for (const Row& row : rows) {
        TempDir world;
        writeSpritePictures(world);
        writeLevelDirectory(world, 24, 15, floorGrid(24, 15, true), "ALIENPROTOS 0 ALIENDEF 0\n");
        std::string name = std::string(DataPaths::Level) + row.file;
        remove((world.path() + "/" + name).c_str());
        writeOrMake(world, name, row.contents);
        WorkingDirectory inside(world.path());
        // In a child process, so that a blocked open is a failure here.
        EXPECT_EXIT(
            {
                alarm(20);
                RenderLog::clear();
                Renderer renderer;
                Game game;
                game.renderer = &renderer;
                int result = game.loadWorld(DataPaths::Level);
                bool alerted = !RenderLog::alerts.empty() && RenderLog::alerts.back().line1 == "Error loading level";
                exit(result == Game::SetupLevelFailed && alerted ? 0 : 3);
            },
            ::testing::ExitedWithCode(0), "")
            << row.file << " " << row.contents.substr(0, 8);
    }
}

TEST(BadAlienFiles, EachAlienFilePlacesWhatItCanAndTheGamePlaysOn)
{
    struct Row { const char* what; std::string text; size_t prototypes; size_t aliens; } rows[] = {
        {"empty", "", 0, 0},
        {"binary garbage", std::string("\x00\xff\x10\x80\x7f", 5), 0, 0},
        {"keyword in lower case", "alienprotos 1 0 bmp/alien.bmp 0 0 ALIENDEF 1 0 10 20", 0, 0},
        {"first word of 10,000 characters", std::string(10000, 'A') + " 1 0 bmp/alien.bmp 0 0", 0, 0},
        {"good file", "ALIENPROTOS 1 0 bmp/alien.bmp 0 0 ALIENDEF 2 0 200 60 0 260 90", 1, 2},
        {"prototype count in the billions", "ALIENPROTOS 2000000000 0 bmp/alien.bmp 0 0 ALIENDEF 1 0 10 20", 1, 0},
        {"prototype count beyond 32 bits", "ALIENPROTOS 99999999999 0 bmp/alien.bmp 0 0", 0, 0},
        {"placement count in the billions", "ALIENPROTOS 1 0 bmp/alien.bmp 0 0 ALIENDEF 2000000000 0 10 20", 1, 1},
        {"placement count beyond 32 bits", "ALIENPROTOS 1 0 bmp/alien.bmp 0 0 ALIENDEF 3000000000 0 10 20", 1, 0},
        {"picture name of 10,000 characters", "ALIENPROTOS 1 0 " + std::string(10000, 'p') + " 0 0 ALIENDEF 1 0 10 20",
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
        world.dir.write("bmp/zero.bmp", bmpFile(0, 0));
        world.dir.write("bmp/huge.bmp", bmpFile(100000, 100000));
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

// Each row: a sprite picture and how many of its two frames a sprite keeps; a sprite without frames
// never collides. Those marked played are also put in the whole game in place of each of its pictures.
TEST(BadSpritePictures, ASpriteWithABadPictureHasNoFramesNeverCollidesAndTheGamePlaysOn)
{
    struct Row { const char* what; std::string contents; size_t frames; bool played; } rows[] = {
        {"missing", Missing, 0, true},
        {"empty", "", 0, true},
        {"garbage", "BM garbage, not a bitmap", 0, true},
        {"0 x 0 header", bmpFile(0, 0), 0, true},
        {"header claiming 100000 x 100000", bmpFile(100000, 100000), 0, true},
        // load_bitmap itself crashes on the next three and loops for minutes over the fourth.
        {"100000 x 100000 of 32 bits", bmpFile(100000, 100000, 32), 0, false},
        {"65536 x 65536 of 8 bits", bmpFile(65536, 65536, 8), 0, false},
        {"PCX of 65536 x 65536", pcxHeader(65535, 65535, 65535), 0, false},
        {"4 x 2^30", bmpFile(4, 1 << 30, 24), 0, false},
        {"one pixel for two frames", bmpFile(1, 1, 24, 4), 0, false},
        {"2048 x 2048", bmpFile(2048, 2048, 24, 2048 * 2048 * 3), 2, false},
    };
    for (const Row& row : rows) {
        TempDir dir;
        const std::string name = row.contents[0] == 10 ? "ship.pcx" : "ship.bmp";
        const std::string path = dir.path() + "/" + name;
        writeOrMake(dir, name, row.contents);
        // In a child process, so that a crash or a hang is a failure here.
        EXPECT_EXIT(
            {
                alarm(20);
                Renderer renderer;
                Player ship;
                Player other;
                ship.renderer = other.renderer = &renderer;
                ship.frameCount = other.frameCount = 2;
                ship.loadFrames(path.c_str());
                other.copyFramesFrom(ship);
                exit(ship.frameMasks.size() == row.frames && ship.collidesWith(other) == (row.frames > 0) ? 0 : 3);
            },
            ::testing::ExitedWithCode(0), "")
            << row.what;
        const char* pictures[] = {"bmp/player.bmp", "bmp/shoot.bmp", "bmp/boom.bmp", "bmp/boom2.bmp", "bmp/alien.bmp"};
        for (const char* picture : pictures) {
            if (!row.played)
                break;
            TempDir world;
            writeSpritePictures(world);
            writeLevelDirectory(world, 24, 15, floorGrid(24, 15, true),
                                "ALIENPROTOS 1 0 bmp/alien.bmp 0 0 ALIENDEF 2 0 200 60 0 260 90\n");
            remove((world.path() + "/" + picture).c_str());
            writeOrMake(world, picture, row.contents);
            WorkingDirectory inside(world.path());
            RenderLog::clear();
            Renderer renderer;
            Game game;
            game.renderer = &renderer;
            ASSERT_EQ(Game::SetupReady, game.loadWorld(DataPaths::Level)) << row.what << " as " << picture;
            EXPECT_TRUE(RenderLog::alerts.empty()) << row.what << " as " << picture;
            play(game, 800);
        }
    }
}

TEST(BadPictures, PictureCheckPassesOnlyHeadersThatLoadBitmapSurvives)
{
    TempDir dir;
    BITMAP* real = makeBitmap(4, 4, makecol(10, 200, 30));
    saveBitmap(dir, "real.bmp", real);
    saveBitmap(dir, "real.pcx", real);
    destroy_bitmap(real);
    mkdir((dir.path() + "/folder.bmp").c_str(), 0755);
    // contents Missing: the file the test made itself, or none.
    struct Row { const char* what; const char* name; std::string contents; bool sound; } rows[] = {
        {"a real BMP", "real.bmp", Missing, true},
        {"a real PCX", "real.pcx", Missing, true},
        {"missing", "none.bmp", Missing, false},
        {"a directory", "folder.bmp", Missing, false},
        {"empty", "a.bmp", "", false},
        {"only the magic", "a.bmp", "BM", false},
        {"text", "a.bmp", "not a picture at all, only words to read", false},
        {"0 x 0", "a.bmp", bmpFile(0, 0), true},
        {"16 x 16 without its pixel rows", "a.bmp", bmpFile(16, 16, 24, 16 * 48 - 1), false},
        {"16 x 16 with its pixel rows", "a.bmp", bmpFile(16, 16, 24, 16 * 48), true},
        {"5 x 1 of 24 bits, rows padded to 16 bytes", "a.bmp", bmpFile(5, 1, 24, 16), true},
        {"5 x 1 of 24 bits without the padding", "a.bmp", bmpFile(5, 1, 24, 15), false},
        {"100000 x 100000 of 24 bits", "a.bmp", bmpFile(100000, 100000, 24), false},
        {"100000 x 100000 of 32 bits", "a.bmp", bmpFile(100000, 100000, 32), false},
        {"65536 x 65536 of 8 bits", "a.bmp", bmpFile(65536, 65536, 8), false},
        {"4 x 2^30", "a.bmp", bmpFile(4, 1 << 30, 24), false},
        {"16385 x 1 with its pixels", "a.bmp", bmpFile(16385, 1, 8, 16388), false},
        {"negative width", "a.bmp", bmpFile(-5, 5, 24, 80), false},
        {"depth 7", "a.bmp", bmpFile(2, 2, 7, 64), false},
        {"run-length coded", "a.bmp", bmpFile(2, 2, 8, 64, 1), false},
        {"bit fields at 24 bits", "a.bmp", bmpFile(2, 2, 24, 16, 3), false},
        {"info header of 200 bytes", "a.bmp", bmpFile(2, 2, 24, 16, 0, 200), false},
        // A 12-byte info header with 16-bit sizes.
        {"an OS/2 BMP of 2 x 2 with its pixels", "a.bmp",
         "BM" + le(4, {26 + 16, 0, 26, 12}) + le(2, {2, 2, 1, 24}) + std::string(16, '\x20'), true},
        {"a BMP named .tga", "a.tga", bmpFile(2, 2, 24, 16), false},
        {"a BMP without an extension", "picture", bmpFile(2, 2, 24, 16), false},
        {"PCX of 2048 x 2048 without data", "a.pcx", pcxHeader(2047, 2047, 2048), true},
        {"PCX 65536 wide", "a.pcx", pcxHeader(65535, 0, 65535), false},
        {"PCX whose right edge is left of its left edge", "a.pcx", pcxHeader(3, 3, 4, 8, 1, 10), false},
        {"PCX of 4 pixels in lines of 65535 bytes", "a.pcx", pcxHeader(3, 3, 65535), false},
        {"PCX of 4 pixels in lines of 2 bytes", "a.pcx", pcxHeader(3, 3, 2), false},
        {"PCX of 1 bit", "a.pcx", pcxHeader(3, 3, 4, 1), false},
        {"PCX of 4 planes", "a.pcx", pcxHeader(3, 3, 4, 8, 4), false},
        {"PCX header cut short", "a.pcx", pcxHeader(3, 3, 4).substr(0, 100), false},
        {"a FIFO", "fifo.bmp", Fifo, false},
        {"a BMP of 16 x 16 grown larger than any picture", "a.bmp", Huge + bmpFile(16, 16, 24, 16 * 48), false},
    };
    for (const Row& row : rows) {
        std::string path = dir.path() + "/" + row.name;
        writeOrMake(dir, row.name, row.contents);
        EXPECT_EQ(row.sound, PictureCheck::isLoadable(path.c_str())) << row.what;
        // What passes is given to load_bitmap, in a child process so that a crash or a hang is a failure here.
        EXPECT_EXIT(
            {
                alarm(20);
                if (PictureCheck::isLoadable(path.c_str())) {
                    BITMAP* picture = load_bitmap(path.c_str(), nullptr);
                    if (picture)
                        destroy_bitmap(picture);
                }
                exit(0);
            },
            ::testing::ExitedWithCode(0), "")
            << row.what;
        if (row.contents != Missing)
            remove(path.c_str());
    }
}
