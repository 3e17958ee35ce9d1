#include <allegro.h>
#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

// The level that ships in data/level0/, read here with a reader of its own so that a fault
// in the game's loader cannot hide a fault in the data.
namespace {

struct Layer {
    int picture = -1, tileSize = 0, width = 0, height = 0;
    std::vector<int> cells;
    int pixelWidth() const { return width * tileSize; }
    int pixelHeight() const { return height * tileSize; }
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
        std::string open, kind;
        while (in >> open >> kind) {
            Layer layer;
            in >> layer.picture >> layer.tileSize >> layer.width >> layer.height;
            layer.cells.resize(layer.width > 0 && layer.height > 0 ? layer.width * layer.height : 0);
            for (int& cell : layer.cells)
                in >> cell;
            std::string close;
            in >> close;
            if (open != "{" || kind != "tileset" || close != "}" || !in)
                break;
            layers.push_back(layer);
        }
        pictures = load_datafile((dir + "level.dat").c_str());
    }
    ~ShippedLevel()
    {
        if (pictures)
            unload_datafile(pictures);
    }

    BITMAP* pictureOf(const Layer& layer) const
    {
        for (int i = 0; pictures && pictures[i].type != DAT_END; i++)
            if (i == layer.picture)
                return pictures[i].type == DAT_BITMAP ? static_cast<BITMAP*>(pictures[i].dat) : nullptr;
        return nullptr;
    }

    // Whether pixel (x, y) of the layer is opaque, as the tile masks see it.
    bool opaque(const Layer& layer, int x, int y) const
    {
        BITMAP* picture = pictureOf(layer);
        int rows = picture->h / layer.tileSize;
        int tile = layer.cells[(y / layer.tileSize) * layer.width + x / layer.tileSize] & 255;
        int px = (tile / rows) * layer.tileSize + x % layer.tileSize;
        int py = (tile % rows) * layer.tileSize + y % layer.tileSize;
        return getpixel(picture, px, py) != bitmap_mask_color(picture);
    }
};

const ShippedLevel& level()
{
    static ShippedLevel shipped;
    return shipped;
}

double factor(int layerPixels, int mainPixels, int screenPixels)
{
    return double(layerPixels - screenPixels) / (mainPixels - screenPixels);
}

}

TEST(ShippedLevel, HasATitleAndThreeLayersOfSixteenPixelTilesWithTheirPictures)
{
    EXPECT_EQ("LEVELDEF", level().keyword);
    EXPECT_EQ("Crystal Caverns", level().title);
    ASSERT_EQ(3u, level().layers.size());
    ASSERT_NE(nullptr, level().pictures);
    for (const Layer& layer : level().layers) {
        EXPECT_EQ(16, layer.tileSize);
        BITMAP* picture = level().pictureOf(layer);
        ASSERT_NE(nullptr, picture) << "picture " << layer.picture;
        int tiles = (picture->w / 16) * (picture->h / 16);
        EXPECT_LE(tiles, 256);
        for (int cell : layer.cells)
            ASSERT_TRUE(cell >= 0 && cell < tiles) << "tile " << cell << " of " << tiles;
    }
}

TEST(ShippedLevel, MainLayerIsLongAndTallerThanTheScreenAndBackgroundsScrollSlower)
{
    ASSERT_EQ(3u, level().layers.size());
    const Layer& main = level().layers.back();
    EXPECT_GE(main.pixelWidth(), 2400);
    EXPECT_GT(main.pixelHeight(), 240);
    for (int k = 0; k < 2; k++) {
        const Layer& back = level().layers[k];
        EXPECT_GE(back.pixelWidth(), 320);
        EXPECT_GE(back.pixelHeight(), 240);
        double fx = factor(back.pixelWidth(), main.pixelWidth(), 320);
        double fy = factor(back.pixelHeight(), main.pixelHeight(), 240);
        EXPECT_TRUE(fx > 0 && fx < 1) << "layer " << k << " factorX " << fx;
        EXPECT_TRUE(fy > 0 && fy < 1) << "layer " << k << " factorY " << fy;
    }
    EXPECT_LT(factor(level().layers[0].pixelWidth(), main.pixelWidth(), 320),
              factor(level().layers[1].pixelWidth(), main.pixelWidth(), 320));
}

TEST(ShippedLevel, MainLayerIsRockAlongItsTopAndBottomRowsItsTileZeroEmptyAndTheFarLayerHasNoHoles)
{
    ASSERT_EQ(3u, level().layers.size());
    ASSERT_NE(nullptr, level().pictures);
    const Layer& main = level().layers.back();
    for (int x = 0; x < main.pixelWidth(); x++)
        for (int y = 0; y < 16; y++) {
            ASSERT_TRUE(level().opaque(main, x, y)) << "top row open at " << x << ", " << y;
            ASSERT_TRUE(level().opaque(main, x, main.pixelHeight() - 1 - y)) << "bottom row open at " << x;
        }
    BITMAP* mainPicture = level().pictureOf(main);
    ASSERT_NE(nullptr, mainPicture);
    for (int y = 0; y < 16; y++)
        for (int x = 0; x < 16; x++)
            ASSERT_EQ(bitmap_mask_color(mainPicture), getpixel(mainPicture, x, y)) << x << ", " << y;
    const Layer& far = level().layers.front();
    for (int y = 0; y < far.pixelHeight(); y++)
        for (int x = 0; x < far.pixelWidth(); x++)
            ASSERT_TRUE(level().opaque(far, x, y)) << "far layer clear at " << x << ", " << y;
}

// The ship (24 x 12) enters at y 100 and must reach the right end. While the map scrolls
// one pixel the ship can steer 10 pixels up or down; it never needs to wait or turn back.
TEST(ShippedLevel, ShipCanFlyFromItsEntryToTheEndOfTheCave)
{
    ASSERT_EQ(3u, level().layers.size());
    ASSERT_NE(nullptr, level().pictures);
    const Layer& main = level().layers.back();
    const int w = main.pixelWidth(), h = main.pixelHeight(), shipW = 24, shipH = 12, climb = 10;
    // solidBelow[y][x]: solid pixels in the rectangle from (0, 0) to (x, y), exclusive
    std::vector<std::vector<int>> solidBelow(h + 1, std::vector<int>(w + 1, 0));
    for (int y = 0; y < h; y++)
        for (int x = 0; x < w; x++)
            solidBelow[y + 1][x + 1] = level().opaque(main, x, y) + solidBelow[y][x + 1] + solidBelow[y + 1][x]
                - solidBelow[y][x];
    auto fits = [&](int x, int y) {
        return y >= 0 && y + shipH <= h
            && solidBelow[y + shipH][x + shipW] - solidBelow[y][x + shipW] - solidBelow[y + shipH][x] + solidBelow[y][x] == 0;
    };
    std::vector<char> reach(h, 0);
    ASSERT_TRUE(fits(0, 100));
    reach[100] = 1;
    for (int x = 0; x + shipW < w; x++) {
        std::vector<char> next(h, 0);
        bool any = false;
        for (int y = 0; y < h; y++) {
            if (!reach[y])
                continue;
            for (int dy = 0; dy <= climb && fits(x, y + dy); dy++)
                next[y + dy] |= fits(x + 1, y + dy);
            for (int dy = 0; dy <= climb && fits(x, y - dy); dy++)
                next[y - dy] |= fits(x + 1, y - dy);
        }
        for (int y = 0; y < h; y++)
            any = any || next[y];
        ASSERT_TRUE(any) << "the ship is stuck at x = " << x;
        reach.swap(next);
    }
}
