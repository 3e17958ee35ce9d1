#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "Diagnostics.h"
#include "MapFiles.h"
#include "TiledMap.h"

namespace {

// A map whose file is the given text, read from memory.
class TextMap : public TiledMap {
public:
    explicit TextMap(const std::string& text) : text(text) {}

    std::string readMapFile(const std::string&, std::string& contents) override
    {
        contents = text;
        return "";
    }

private:
    std::string text;
};

// The side of the largest square layer: 2048 x 2048 cells is MaxCells.
const int Side = 2048;

// Base64 of the zlib stream of Side x Side empty cells.
std::string emptyLayerData()
{
    return MapFiles::packed(MapFiles::bytes(std::vector<uint32_t>(static_cast<size_t>(Side) * Side, 0)), "zlib");
}

std::string mapStart(bool infinite)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<map orientation=\"orthogonal\" width=\"" +
           std::to_string(Side) + "\" height=\"" + std::to_string(Side) + "\" tilewidth=\"8\" tileheight=\"8\"" +
           " infinite=\"" + (infinite ? "1" : "0") + "\">\n";
}

// A finite map of Side x Side cells with count empty layers, each on three lines: <layer>, <data>, </layer>.
std::string finiteMap(int count)
{
    static const std::string data = emptyLayerData();
    std::string text = mapStart(false);
    for (int layer = 1; layer <= count; ++layer)
        text += "<layer name=\"l" + std::to_string(layer) + "\" width=\"2048\" height=\"2048\">\n"
                "<data encoding=\"base64\" compression=\"zlib\">" + data + "</data>\n</layer>\n";
    return text + "</map>\n";
}

// An infinite map of count layers, each holding one cell in the top left and one in the bottom right corner
// of Side x Side cells.
std::string infiniteMap(int count)
{
    std::string text = mapStart(true);
    for (int layer = 1; layer <= count; ++layer)
        text += "<layer name=\"l" + std::to_string(layer) + "\" width=\"1\" height=\"1\"><data encoding=\"csv\">"
                "<chunk x=\"0\" y=\"0\" width=\"1\" height=\"1\">1</chunk>"
                "<chunk x=\"2047\" y=\"2047\" width=\"1\" height=\"1\">1</chunk></data></layer>\n";
    return text + "</map>\n";
}

// The errors of loading text as a map, "line: text" one a line; load's result in result.
std::string errorsOf(const std::string& text, int& result)
{
    TextMap map(text);
    Diagnostics diagnostics;
    result = map.load("maps/big.tmx", &diagnostics);
    std::string errors;
    for (const Diagnostics::Entry& entry : diagnostics.entries) {
        if (entry.severity == Diagnostics::Error)
            errors += std::to_string(entry.position.line) + ": " + entry.text + "\n";
    }
    return errors;
}

// The error for layer name, which brings the map past its cells.
std::string tooMany(const std::string& name)
{
    return "layer \"" + name + "\" brings the map's cells, over all its layers and chunks, past the 16,777,216 the "
           "importer reads\n";
}

}

// Every layer costs its cells twice, once read and once as a grid: two full layers are 2 x 2 x 4,194,304 cells,
// just the map's 16,777,216. Of three, all are read, and the grid of the second, whose <layer> stands on line 6,
// is one too many.
TEST(MapCells, TwoLayersOfTheLargestSizeAreReadAndAThirdIsRefusedBeforeItsGridIsMade)
{
    int result = 0;
    EXPECT_EQ("", errorsOf(finiteMap(2), result));
    EXPECT_EQ(0, result);
    EXPECT_EQ("6: " + tooMany("l2"), errorsOf(finiteMap(3), result));
    EXPECT_EQ(-1, result);
}

// The first four layers read are 16,777,216 cells; the fifth, its <data> on line 3 x 5 + 1, is not read.
TEST(MapCells, ReadingStopsAtTheFirstLayerPastAllTheCellsAMapMayHold)
{
    int result = 0;
    EXPECT_EQ("16: " + tooMany("l5"), errorsOf(finiteMap(5), result));
    EXPECT_EQ(-1, result);
}

// Each layer of an infinite map gets a grid of the chunks' whole bounding box, 2048 x 2048 here: two layers
// come to 4 cells read, the box once checked and two grids, 12,582,916 cells; a third layer's grid, on line 5,
// would bring them to 16,777,222.
TEST(MapCells, EachLayerOfAnInfiniteMapCountsTheWholeBoundingBoxHoweverFewCellsItsChunksHold)
{
    int result = 0;
    EXPECT_EQ("", errorsOf(infiniteMap(2), result));
    EXPECT_EQ(0, result);
    EXPECT_EQ("5: " + tooMany("l3"), errorsOf(infiniteMap(3), result));
    EXPECT_EQ(-1, result);
}

// No more objects are read than the game places aliens: the 65,537th object, on line 3 + 65,537 below the
// declaration, the <map> and the <objectgroup> lines, is refused and reading ends there.
TEST(MapObjects, NoMoreObjectsAreReadThanTheGamePlacesAliens)
{
    std::string text = mapStart(false) + "<objectgroup name=\"aliens\">\n";
    for (int object = 1; object <= 65538; ++object)
        text += "<object id=\"" + std::to_string(object) + "\" x=\"8\" y=\"8\"/>\n";
    TextMap map(text + "</objectgroup>\n</map>\n");
    Diagnostics diagnostics;
    EXPECT_EQ(-1, map.load("maps/many.tmx", &diagnostics));
    ASSERT_EQ(1u, diagnostics.entries.size());
    EXPECT_EQ(65540, diagnostics.entries[0].position.line);
    EXPECT_EQ("the map holds more than 65,536 objects, the most aliens the game places: the importer reads no more",
              diagnostics.entries[0].text);
    ASSERT_EQ(1u, map.objectLayers.size());
    EXPECT_EQ(65536u, map.objectLayers[0].objects.size());
}
