#include <allegro.h>
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

// The level that ships in data/level0/, read here with a reader of its own so that a fault
// in the game's loader cannot hide a fault in the data.
namespace {

struct Layer {
    int pictureIndex = -1, tileSize = 0, width = 0, height = 0;
    std::vector<int> cells;
    BITMAP* picture = nullptr;  // null when the datafile holds no bitmap of that index
    int pixelWidth() const { return width * tileSize; }
    int pixelHeight() const { return height * tileSize; }

    // Whether pixel (x, y) is opaque, as the tile masks see it.
    bool opaque(int x, int y) const
    {
        int rows = picture->h / tileSize;
        int tile = cells[(y / tileSize) * width + x / tileSize] & 255;
        int px = (tile / rows) * tileSize + x % tileSize;
        int py = (tile % rows) * tileSize + y % tileSize;
        return getpixel(picture, px, py) != bitmap_mask_color(picture);
    }
};

struct ShippedLevel {
    std::string keyword, title;
    std::vector<Layer> layers;
    DATAFILE* pictures = nullptr;

    ShippedLevel()
    {
        const std::string dir = std::string(SKIFF_SOURCE_DIR) + "/data/level0/";
        std::ifstream in(dir + "level.def");
        in >> keyword >> std::ws;
        std::getline(in, title);
        std::string open, kind, close;
        while (in >> open >> kind) {
            Layer layer;
            in >> layer.pictureIndex >> layer.tileSize >> layer.width >> layer.height;
            layer.cells.resize(layer.width > 0 && layer.height > 0 ? layer.width * layer.height : 0);
            for (int& cell : layer.cells)
                in >> cell;
            in >> close;
            if (open != "{" || kind != "tileset" || close != "}" || !in)
                break;
            layers.push_back(layer);
        }
        pictures = load_datafile((dir + "level.dat").c_str());
        for (int i = 0; pictures && pictures[i].type != DAT_END; i++)
            for (Layer& layer : layers)
                if (layer.pictureIndex == i && pictures[i].type == DAT_BITMAP)
                    layer.picture = static_cast<BITMAP*>(pictures[i].dat);
    }
    ~ShippedLevel()
    {
        if (pictures)
            unload_datafile(pictures);
    }
};

const ShippedLevel& level()
{
    static ShippedLevel shipped;
    return shipped;
}

}

TEST(ShippedLevel, HasATitleAndThreeLayersOfSixteenPixelTilesTheBackgroundsScrollingSlower)
{
    EXPECT_EQ("LEVELDEF", level().keyword);
    EXPECT_EQ("Crystal Caverns", level().title);
    ASSERT_EQ(3u, level().layers.size());
    const Layer& main = level().layers.back();
    EXPECT_GE(main.pixelWidth(), 2400);
    EXPECT_GT(main.pixelHeight(), 240);
    double lastFactorX = 0;
    for (const Layer& layer : level().layers) {
        SCOPED_TRACE("layer of picture " + std::to_string(layer.pictureIndex));
        EXPECT_EQ(16, layer.tileSize);
        ASSERT_NE(nullptr, layer.picture);
        int tiles = (layer.picture->w / 16) * (layer.picture->h / 16);
        EXPECT_LE(tiles, 256);
        for (int cell : layer.cells)
            ASSERT_TRUE(cell >= 0 && cell < tiles) << "tile " << cell << " of " << tiles;
        if (&layer == &main)
            break;
        EXPECT_GE(layer.pixelWidth(), 320);
        EXPECT_GE(layer.pixelHeight(), 240);
        // Of the main layer's range, how far a background moves so that their far edges come in together.
        double fx = double(layer.pixelWidth() - 320) / (main.pixelWidth() - 320);
        double fy = double(layer.pixelHeight() - 240) / (main.pixelHeight() - 240);
        EXPECT_TRUE(fx > lastFactorX && fx < 1) << "factorX " << fx << ", the one before " << lastFactorX;
        EXPECT_TRUE(fy > 0 && fy < 1) << "factorY " << fy;
        lastFactorX = fx;
    }
}

TEST(ShippedLevel, MainLayerIsRockAlongItsTopAndBottomRowsItsTileZeroEmptyAndTheFarLayerHasNoHoles)
{
    ASSERT_EQ(3u, level().layers.size());
    const Layer& main = level().layers.back();
    const Layer& far = level().layers.front();
    ASSERT_TRUE(main.picture && far.picture);
    for (int x = 0; x < main.pixelWidth(); x++)
        for (int y = 0; y < 16; y++) {
            ASSERT_TRUE(main.opaque(x, y)) << "top row open at " << x << ", " << y;
            ASSERT_TRUE(main.opaque(x, main.pixelHeight() - 1 - y)) << "bottom row open at " << x;
        }
    for (int y = 0; y < 16; y++)
        for (int x = 0; x < 16; x++)
            ASSERT_EQ(bitmap_mask_color(main.picture), getpixel(main.picture, x, y)) << x << ", " << y;
    for (int y = 0; y < far.pixelHeight(); y++)
        for (int x = 0; x < far.pixelWidth(); x++)
            ASSERT_TRUE(far.opaque(x, y)) << "far layer clear at " << x << ", " << y;
}
