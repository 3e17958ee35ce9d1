#include <allegro.h>
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "headless/ScratchFiles.h"
#include "level/DatafileBytes.h"
#include "level/DatafileCheck.h"

namespace {

std::string long32(int64_t value)
{
    return DatafileBytes::long32(value);
}

std::string word16(int value)
{
    return DatafileBytes::word16(value);
}

std::string property(const std::string& type, const std::string& text)
{
    return DatafileBytes::property(type, text);
}

std::string object(const std::string& type, const std::string& contents)
{
    return DatafileBytes::object(type, contents);
}

std::string bitmap(int bits, int width, int height, size_t pixelBytes)
{
    return DatafileBytes::bitmap(bits, width, height, pixelBytes);
}

std::string datafile(int64_t count, const std::string& objects)
{
    return DatafileBytes::datafile(count, objects);
}

std::string nested(int depth, const std::string& objects)
{
    return DatafileBytes::nested(depth, objects);
}

std::string readFile(const std::string& path)
{
    std::ifstream in(path.c_str(), std::ios::binary);
    std::ostringstream contents;
    contents << in.rdbuf();
    return contents.str();
}

// A datafile of three pictures made with Allegro's dat tool, compressed as asked ("-c0", "-c1", "-c2").
std::string datToolFile(const TempDir& dir, const std::string& compression)
{
    BITMAP* wide = makeBitmap(32, 16, makecol(200, 30, 30));
    BITMAP* tiny = makeBitmap(2, 2, magenta());
    BITMAP* square = makeBitmap(48, 48, makecol(20, 30, 240));
    std::string paths = saveBitmap(dir, "wide.bmp", wide) + " " + saveBitmap(dir, "tiny.bmp", tiny) + " " +
                        saveBitmap(dir, "square.bmp", square);
    destroy_bitmap(wide);
    destroy_bitmap(tiny);
    destroy_bitmap(square);
    std::string path = buildDatafile(dir, "pictures" + compression + ".dat", paths);
    if (path.empty())
        return path;
    std::string command = "dat " + compression + " '" + path + "' > /dev/null 2>&1";
    return system(command.c_str()) == 0 ? readFile(path) : std::string();
}

// Every length from 0 to 64, then every step-th: none of the cut files may pass.
void expectEveryCutRefused(const TempDir& dir, const std::string& whole, size_t step)
{
    std::vector<size_t> lengths;
    for (size_t length = 0; length <= 64 && length < whole.size(); ++length)
        lengths.push_back(length);
    for (size_t length = 65; length < whole.size(); length += step)
        lengths.push_back(length);
    lengths.push_back(whole.size() - 1);
    for (size_t length : lengths) {
        std::string path = dir.write("cut.dat", whole.substr(0, length));
        EXPECT_FALSE(DatafileCheck::isSound(path.c_str())) << "cut to " << length << " of " << whole.size() << " bytes";
    }
}

bool passes(const TempDir& dir, const std::string& contents)
{
    std::string path = dir.write("case.dat", contents);
    return DatafileCheck::isSound(path.c_str());
}

// What passes must be what Allegro reads: load_datafile is run on it too.
bool passesAndLoads(const TempDir& dir, const std::string& contents)
{
    std::string path = dir.write("case.dat", contents);
    if (!DatafileCheck::isSound(path.c_str()))
        return false;
    DATAFILE* loaded = load_datafile(path.c_str());
    EXPECT_NE(nullptr, loaded);
    if (loaded)
        unload_datafile(loaded);
    return true;
}

}

TEST(DatafileCheck, DatafilesMadeByTheDatToolPassWhetherPlainOrCompressed)
{
    TempDir dir;
    for (const char* compression : {"-c0", "-c1", "-c2"}) {
        std::string whole = datToolFile(dir, compression);
        ASSERT_FALSE(whole.empty()) << compression;
        EXPECT_TRUE(passes(dir, whole)) << compression;
    }
}

TEST(DatafileCheck, EveryCutOfADatToolFileIsRefused)
{
    TempDir dir;
    for (const char* compression : {"-c0", "-c1", "-c2"}) {
        std::string whole = datToolFile(dir, compression);
        ASSERT_FALSE(whole.empty()) << compression;
        expectEveryCutRefused(dir, whole, 37);
    }
}

TEST(DatafileCheck, TheShippedLevelPicturesPassAndEveryCutOfThemIsRefused)
{
    std::string path = std::string(SKIFF_SOURCE_DIR) + "/data/level0/level.dat";
    std::string whole = readFile(path);
    if (whole.empty())
        GTEST_SKIP() << "no " << path;
    EXPECT_TRUE(DatafileCheck::isSound(path.c_str()));
    TempDir dir;
    expectEveryCutRefused(dir, whole, 1009);
}

TEST(DatafileCheck, MissingEmptyAndForeignFilesAreRefused)
{
    TempDir dir;
    EXPECT_FALSE(DatafileCheck::isSound(nullptr));
    EXPECT_FALSE(DatafileCheck::isSound((dir.path() + "/none.dat").c_str()));
    EXPECT_FALSE(DatafileCheck::isSound(dir.path().c_str()));
    EXPECT_FALSE(passes(dir, ""));
    EXPECT_FALSE(passes(dir, "LEVELDEF a level description\n"));
    EXPECT_FALSE(passes(dir, "slh."));
    EXPECT_FALSE(passes(dir, "slh.ALL."));
    EXPECT_FALSE(passes(dir, "ALL." + long32(0)));
    BITMAP* picture = makeBitmap(4, 4, magenta());
    std::string bmp = saveBitmap(dir, "picture.bmp", picture);
    destroy_bitmap(picture);
    EXPECT_FALSE(DatafileCheck::isSound(bmp.c_str()));
}

TEST(DatafileCheck, CountsSizesAndTypesMustFitTheFile)
{
    // A 2 x 3 bitmap of depth 32 keeps 3 bytes a pixel: 18 bytes after its 6-byte header.
    const std::string good = bitmap(32, 2, 3, 18);
    std::string properties;
    for (int i = 0; i < 64; ++i)
        properties += property("NAME", "p");

    struct Row {
        const char* what;
        std::string contents;
        bool sound;
    } rows[] = {
        {"one bitmap", datafile(1, good), true},
        {"no object at all", datafile(0, ""), true},
        {"named objects and a raw one", datafile(2, property("NAME", "SKY") + good + object("DATA", "abc")), true},
        {"count larger than the objects", datafile(2, good), false},
        {"negative count", datafile(-1, good), false},
        {"count in the billions", datafile(2000000000, good), false},
        {"count just above the limit", datafile(DatafileCheck::MaxObjects + 1, good), false},
        {"object size past the end", datafile(1, "BMP " + long32(30) + long32(30) + word16(32) + word16(2) +
                                                       word16(3) + std::string(18, 'x')),
         false},
        {"packed and unpacked sizes differ", datafile(1, "BMP " + long32(24) + long32(25) + word16(32) + word16(2) +
                                                                 word16(3) + std::string(18, 'x')),
         false},
        {"negative object size", datafile(1, "DATA" + long32(-4) + long32(-4)), false},
        {"property past the end", datafile(1, "propNAME" + long32(100) + "SKY" + good), false},
        {"negative property size", datafile(1, "propNAME" + long32(-1) + good), false},
        {"64 properties", datafile(1, properties + good), true},
        {"65 properties", datafile(1, properties + property("NAME", "q") + good), false},
        {"object of type DAT_END", datafile(1, long32(-1) + long32(4) + long32(4) + "abcd"), false},
        {"object type of control bytes", datafile(1, object(std::string("\x01\x02\x03\x04", 4), "abcd")), false},
        {"trailing bytes after the last object", datafile(1, good) + "tail", true},
    };
    TempDir dir;
    for (const Row& row : rows)
        EXPECT_EQ(row.sound, passesAndLoads(dir, row.contents)) << row.what;
}

TEST(DatafileCheck, BitmapHeadersMustDescribePixelsInsideTheirObject)
{
    struct Row {
        const char* what;
        std::string object;
        bool sound;
    } rows[] = {
        {"8-bit 4 x 2 in 8 bytes", bitmap(8, 4, 2, 8), true},
        {"16-bit 2 x 2 in 8 bytes", bitmap(16, 2, 2, 8), true},
        {"16-bit 2 x 2 in 7 bytes", bitmap(16, 2, 2, 7), false},
        {"15-bit 3 x 1 in 6 bytes", bitmap(15, 3, 1, 6), true},
        {"24-bit 2 x 2 in 12 bytes", bitmap(24, 2, 2, 12), true},
        {"32-bit 2 x 2 in 11 bytes", bitmap(32, 2, 2, 11), false},
        {"32-bit 2 x 2 in 13 bytes", bitmap(32, 2, 2, 13), false},
        {"RGBA 2 x 2 in 16 bytes", bitmap(-32, 2, 2, 16), true},
        {"RGBA 2 x 2 in 12 bytes", bitmap(-32, 2, 2, 12), false},
        {"depth 7", bitmap(7, 2, 2, 12), false},
        {"depth 0", bitmap(0, 2, 2, 12), false},
        {"0 x 0", bitmap(32, 0, 0, 0), true},
        {"30000 x 30000 in 12 bytes", bitmap(32, 30000, 30000, 12), false},
        {"65535 x 1 in 12 bytes", bitmap(32, 65535, 1, 12), false},
        {"16385 x 1 with all its pixels", bitmap(24, 16385, 1, 16385 * 3), false},
        {"16384 x 1 with all its pixels", bitmap(24, 16384, 1, 16384 * 3), true},
        {"header cut short", object("BMP ", word16(32) + word16(2)), false},
        {"compiled sprite read as a bitmap", object("CMP ", word16(8) + word16(2) + word16(2) + "abcd"), true},
        {"compiled sprite too short", object("XCMP", word16(8) + word16(2) + word16(2) + "abc"), false},
    };
    TempDir dir;
    for (const Row& row : rows)
        EXPECT_EQ(row.sound, passesAndLoads(dir, datafile(1, row.object))) << row.what;
}

TEST(DatafileCheck, NestedDatafilesAreCheckedToTheirDepthLimit)
{
    const std::string good = bitmap(32, 2, 3, 18);
    TempDir dir;
    EXPECT_TRUE(passes(dir, datafile(1, nested(1, good))));
    EXPECT_TRUE(passes(dir, datafile(1, nested(DatafileCheck::MaxDepth, good))));
    EXPECT_FALSE(passes(dir, datafile(1, nested(DatafileCheck::MaxDepth + 1, good))));
    EXPECT_FALSE(passes(dir, datafile(1, object("FILE", long32(2) + good))));
    EXPECT_FALSE(passes(dir, datafile(1, object("FILE", long32(1) + bitmap(32, 20, 20, 18)))));
    EXPECT_FALSE(passes(dir, datafile(1, object("FILE", long32(1)))));
    // A nested object may not reach past the end of the datafile that holds it.
    std::string inner = object("DATA", "abcdef");
    std::string shortened = "FILE" + long32(4 + inner.size() - 2) + long32(4 + inner.size() - 2) + long32(1) + inner;
    EXPECT_FALSE(passes(dir, datafile(1, shortened)));
}

TEST(DatafileCheck, ObjectsWhoseContentsCannotBeCheckedAreRefused)
{
    TempDir dir;
    const char* refused[] = {"FONT", "SAMP", "MIDI", "PAT ", "RLE "};
    for (const char* type : refused)
        EXPECT_FALSE(passes(dir, datafile(1, object(type, std::string(64, '\0'))))) << type;
    const char* raw[] = {"DATA", "info", "FLIC", "TEXT"};
    for (const char* type : raw)
        EXPECT_TRUE(passesAndLoads(dir, datafile(1, object(type, std::string(64, '\0'))))) << type;
    // A palette is 256 colours of 4 bytes.
    EXPECT_TRUE(passesAndLoads(dir, datafile(1, object("PAL ", std::string(1024, '\x10')))));
    EXPECT_FALSE(passes(dir, datafile(1, object("PAL ", std::string(64, '\x10')))));
}

TEST(DatafileCheck, CorruptedCountsAndSizesInADatToolFileAreRefused)
{
    TempDir dir;
    for (const char* compression : {"-c0", "-c1"}) {
        std::string whole = datToolFile(dir, compression);
        ASSERT_FALSE(whole.empty());
        ASSERT_EQ("ALL.", whole.substr(4, 4));
        // The count follows "slh.ALL.": the dat tool stores the three pictures and its own info object.
        ASSERT_EQ(long32(4), whole.substr(8, 4));

        std::string more = whole;
        more.replace(8, 4, long32(5));
        EXPECT_FALSE(passes(dir, more)) << compression;
        std::string huge = whole;
        huge.replace(8, 4, long32(0x7fffffff));
        EXPECT_FALSE(passes(dir, huge)) << compression;

        // The first picture's type is followed by its packed and its unpacked size.
        size_t type = whole.find("BMP ");
        ASSERT_NE(std::string::npos, type);
        std::string longer = whole;
        longer.replace(type + 4, 4, long32(1 << 24));
        EXPECT_FALSE(passes(dir, longer)) << compression;
        std::string unpackedLarger = whole;
        unpackedLarger[type + 11] = (char)(unpackedLarger[type + 11] + (compression[2] == '1' ? -1 : 1));
        EXPECT_FALSE(passes(dir, unpackedLarger)) << compression;
        std::string shorter = whole;
        shorter[type + 7] = (char)(shorter[type + 7] - 1);
        shorter[type + 11] = compression[2] == '1' ? shorter[type + 11] : (char)(shorter[type + 11] - 1);
        EXPECT_FALSE(passes(dir, shorter)) << compression;
    }
}

TEST(DatafileCheck, APackedObjectMustUnpackForAllegroAsItDoesForTheCheck)
{
    // Flags 0xff: eight literal bytes, the header and pixels of an 8-bit 4 x 1 bitmap but for
    // its last two pixels; flags 0x00: back-references, the first of which runs past the
    // 10 bytes the object claims. Allegro's reader then hands out 58 bytes and loses its place.
    const std::string header = std::string("\x00\x08\x00\x04\x00\x01", 6);
    const std::string crossing = "\xff" + header + "AA" + std::string("\x00\x00\x00\x08\x30\x30\x31\x5f\x46", 9);
    const std::string within = "\xff" + header + "AA" + "\xff" + "AA";
    TempDir dir;
    const std::string next = object("DATA", "abcd");
    EXPECT_FALSE(passes(dir, datafile(2, "BMP " + long32(crossing.size()) + long32(-10) + crossing + next)));
    EXPECT_TRUE(passesAndLoads(dir, datafile(2, "BMP " + long32(within.size()) + long32(-10) + within + next)));
}
