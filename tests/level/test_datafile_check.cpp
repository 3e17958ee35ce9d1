#include <allegro.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <string>
#include <vector>

#include "headless/ScratchFiles.h"
#include "level/DatafileBytes.h"
#include "level/DatafileCheck.h"

using namespace DatafileBytes;

namespace {

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
    std::string command = "dat " + compression + " '" + path + "' > /dev/null 2>&1";
    return !path.empty() && system(command.c_str()) == 0 ? contentsOf(path) : std::string();
}

bool passes(const TempDir& dir, const std::string& contents)
{
    std::string path = dir.write("case.dat", contents);
    return DatafileCheck::isLoadable(path.c_str());
}

}

// Each row: the contents of a datafile and whether it is sound. What passes must be what
// Allegro reads: load_datafile is run on it too.
TEST(DatafileCheck, CountsSizesTypesAndContentsMustFitTheFileAndEachOther)
{
    // A 2 x 3 bitmap of depth 32 keeps 3 bytes a pixel: 18 bytes after its 6-byte header.
    const std::string good = bitmap(32, 2, 3, 18);
    const std::string pixels = word16(32) + word16(2) + word16(3) + std::string(18, 'x');
    const std::string inner = object("DATA", "abcdef");
    std::string properties;
    for (int i = 0; i < 64; ++i)
        properties += property("NAME", "p");
    // Flags 0xff: eight literal bytes, the header and pixels of an 8-bit 4 x 1 bitmap but for
    // its last two pixels; flags 0x00: back-references, the first of which runs past the
    // 10 bytes the object claims. Allegro's reader then hands out 58 bytes and loses its place.
    const std::string header = std::string("\x00\x08\x00\x04\x00\x01", 6);
    const std::string crossing = "\xff" + header + "AA" + std::string("\x00\x00\x00\x08\x30\x30\x31\x5f\x46", 9);
    const std::string within = "\xff" + header + "AA" + "\xff" + "AA";
    const std::string next = object("DATA", "abcd");
    struct Row { const char* what; std::string contents; bool sound; };
    std::vector<Row> rows = {
        {"empty", "", false},
        {"text", "LEVELDEF a level description\n", false},
        {"the magic alone", "slh.", false},
        {"no count", "slh.ALL.", false},
        {"not packed", "ALL." + long32(0), false},
        {"one bitmap", datafile(1, good), true},
        {"no object at all", datafile(0, ""), true},
        {"named objects and a raw one", datafile(2, property("NAME", "SKY") + good + object("DATA", "abc")), true},
        {"count larger than the objects", datafile(2, good), false},
        {"negative count", datafile(-1, good), false},
        {"count in the billions", datafile(2000000000, good), false},
        {"count just above the limit", datafile(DatafileCheck::MaxObjects + 1, good), false},
        {"object size past the end", datafile(1, "BMP " + long32(30) + long32(30) + pixels), false},
        {"packed and unpacked sizes differ", datafile(1, "BMP " + long32(24) + long32(25) + pixels), false},
        {"negative object size", datafile(1, "DATA" + long32(-4) + long32(-4)), false},
        {"property past the end", datafile(1, "propNAME" + long32(100) + "SKY" + good), false},
        {"negative property size", datafile(1, "propNAME" + long32(-1) + good), false},
        {"64 properties", datafile(1, properties + good), true},
        {"65 properties", datafile(1, properties + property("NAME", "q") + good), false},
        {"object of type DAT_END", datafile(1, long32(-1) + long32(4) + long32(4) + "abcd"), false},
        {"object type of control bytes", datafile(1, object(std::string("\x01\x02\x03\x04", 4), "abcd")), false},
        {"object type with a byte above 126", datafile(1, object("DAT\x7f", "abcd")), false},
        {"trailing bytes after the last object", datafile(1, good) + "tail", true},
        {"8-bit 4 x 2 in 8 bytes", datafile(1, bitmap(8, 4, 2, 8)), true},
        {"16-bit 2 x 2 in 8 bytes", datafile(1, bitmap(16, 2, 2, 8)), true},
        {"16-bit 2 x 2 in 7 bytes", datafile(1, bitmap(16, 2, 2, 7)), false},
        {"15-bit 3 x 1 in 6 bytes", datafile(1, bitmap(15, 3, 1, 6)), true},
        {"24-bit 2 x 2 in 12 bytes", datafile(1, bitmap(24, 2, 2, 12)), true},
        {"32-bit 2 x 2 in 11 bytes", datafile(1, bitmap(32, 2, 2, 11)), false},
        {"32-bit 2 x 2 in 13 bytes", datafile(1, bitmap(32, 2, 2, 13)), false},
        {"RGBA 2 x 2 in 16 bytes", datafile(1, bitmap(-32, 2, 2, 16)), true},
        {"RGBA 2 x 2 in 12 bytes", datafile(1, bitmap(-32, 2, 2, 12)), false},
        {"depth 7", datafile(1, bitmap(7, 2, 2, 12)), false},
        {"depth 0", datafile(1, bitmap(0, 2, 2, 12)), false},
        {"0 x 0", datafile(1, bitmap(32, 0, 0, 0)), true},
        {"30000 x 30000 in 12 bytes", datafile(1, bitmap(32, 30000, 30000, 12)), false},
        {"65535 x 1 in 12 bytes", datafile(1, bitmap(32, 65535, 1, 12)), false},
        {"16385 x 1 with all its pixels", datafile(1, bitmap(24, 16385, 1, 16385 * 3)), false},
        {"16384 x 1 with all its pixels", datafile(1, bitmap(24, 16384, 1, 16384 * 3)), true},
        {"bitmap header cut short", datafile(1, object("BMP ", word16(32) + word16(2))), false},
        {"compiled sprite read as a bitmap", datafile(1, object("CMP ", word16(8) + word16(2) + word16(2) + "abcd")),
         true},
        {"compiled sprite too short", datafile(1, object("XCMP", word16(8) + word16(2) + word16(2) + "abc")), false},
        {"a palette of 256 colours of 4 bytes", datafile(1, object("PAL ", std::string(1024, '\x10'))), true},
        {"a palette of 16 colours", datafile(1, object("PAL ", std::string(64, '\x10'))), false},
        {"a nested datafile", datafile(1, nested(1, good)), true},
        {"nested to the depth limit", datafile(1, nested(DatafileCheck::MaxDepth, good)), true},
        {"nested past the depth limit", datafile(1, nested(DatafileCheck::MaxDepth + 1, good)), false},
        {"nested count larger than its objects", datafile(1, object("FILE", long32(2) + good)), false},
        {"nested bitmap too short", datafile(1, object("FILE", long32(1) + bitmap(32, 20, 20, 18))), false},
        {"nested datafile without its object", datafile(1, object("FILE", long32(1))), false},
        {"nested datafile with bytes after its objects", datafile(1, object("FILE", long32(1) + good + "xy")), false},
        {"nested object past the end of its datafile",
         datafile(1, "FILE" + long32(4 + inner.size() - 2) + long32(4 + inner.size() - 2) + long32(1) + inner), false},
        {"a back-reference past the object", datafile(2, "BMP " + long32(crossing.size()) + long32(-10) + crossing + next),
         false},
        {"packed within the object", datafile(2, "BMP " + long32(within.size()) + long32(-10) + within + next), true},
    };
    for (const char* type : {"FONT", "SAMP", "MIDI", "PAT ", "RLE "})
        rows.push_back({type, datafile(1, object(type, std::string(64, '\0'))), false});
    for (const char* type : {"DATA", "info", "FLIC", "TEXT"})
        rows.push_back({type, datafile(1, object(type, std::string(64, '\0'))), true});
    TempDir dir;
    for (const Row& row : rows) {
        std::string path = dir.write("case.dat", row.contents);
        EXPECT_EQ(row.sound, DatafileCheck::isLoadable(path.c_str())) << row.what;
        DATAFILE* loaded = row.sound ? load_datafile(path.c_str()) : nullptr;
        EXPECT_EQ(row.sound, loaded != nullptr) << row.what;
        if (loaded)
            unload_datafile(loaded);
    }
}

TEST(DatafileCheck, DatToolFilesAndTheShippedPicturesPassWholeButNotCutNorWithACountOrSizeDamaged)
{
    TempDir dir;
    for (const char* source : {"-c0", "-c1", "-c2", "the shipped level's pictures"}) {
        SCOPED_TRACE(source);
        const bool shipped = source[0] != '-';
        const std::string whole = shipped ? contentsOf(std::string(SKIFF_SOURCE_DIR) + "/data/level0/level.dat")
                                          : datToolFile(dir, source);
        ASSERT_FALSE(whole.empty());
        EXPECT_TRUE(passes(dir, whole));
        // Cut to every length up to 64 bytes, then every step-th, and by its last byte.
        for (size_t length = 0; length < whole.size(); length += length < 64 ? 1 : shipped ? 1009 : 37)
            EXPECT_FALSE(passes(dir, whole.substr(0, length))) << "cut to " << length << " of " << whole.size();
        EXPECT_FALSE(passes(dir, whole.substr(0, whole.size() - 1))) << "cut by one byte";
        if (shipped || source[2] == '2')
            continue;
        // The count follows "slh.ALL.": the dat tool stores the three pictures and its own info object.
        ASSERT_EQ(whole.substr(4, 8), "ALL." + long32(4));
        // The first picture's type is followed by its packed and its unpacked size.
        size_t type = whole.find("BMP ");
        ASSERT_NE(std::string::npos, type);
        const bool packed = source[2] == '1';
        std::vector<std::string> damaged(5, whole);
        damaged[0].replace(8, 4, long32(5));
        damaged[1].replace(8, 4, long32(0x7fffffff));
        damaged[2].replace(type + 4, 4, long32(1 << 24));
        damaged[3][type + 11] = (char)(whole[type + 11] + (packed ? -1 : 1));
        damaged[4][type + 7] = (char)(whole[type + 7] - 1);
        damaged[4][type + 11] = packed ? whole[type + 11] : (char)(whole[type + 11] - 1);
        for (size_t i = 0; i < damaged.size(); ++i)
            EXPECT_FALSE(passes(dir, damaged[i])) << "damage " << i;
    }
}
