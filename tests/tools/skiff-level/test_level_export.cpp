#include <allegro.h>
#include <gtest/gtest.h>

#include <string>

#include "DatafileWriter.h"
#include "Diagnostics.h"
#include "LevelExport.h"
#include "MapImport.h"
#include "Paths.h"
#include "ToolTestData.h"
#include "headless/ScratchFiles.h"
#include "level/Level.h"
#include "level/Tileset.h"

TEST(LevelExport, ParallaxIsTheShortestFactorThatGivesTheLayerSizeBack)
{
    // (1120 - 320) / (3520 - 320), (256 - 240) / (320 - 240)
    EXPECT_EQ("0.25", LevelExport::parallaxText(70, 3520, 320, 16));
    EXPECT_EQ("0.2", LevelExport::parallaxText(16, 320, 240, 16));
    // 336 pixels: 0.01 would give 352 (22 tiles), so three decimals are needed.
    EXPECT_EQ("0.005", LevelExport::parallaxText(21, 3520, 320, 16));
    EXPECT_EQ("0", LevelExport::parallaxText(20, 3520, 320, 16));
}

TEST(LevelExport, ExportedMapImportsBackToALevelThatShowsTheSameCellsAndAliens)
{
    TempDir dir;
    ASSERT_EQ(0, system(("mkdir -p '" + dir.path() + "/data/bmp' '" + dir.path() + "/data/old' '" + dir.path() +
                         "/maps'").c_str()));
    writeStrip(dir, "data/bmp/a.bmp", 12, 10, 1);

    // Background: 22 x 16 tiles of a picture of 2 columns and 3 rows whose every tile, tile 0 too,
    // is opaque. Main: 40 x 16 tiles of a picture whose tile 0 is empty.
    BITMAP* far = tilesetPicture(2, 3, 16);
    BITMAP* main = tilesetPicture(1, 2, 16);
    rectfill(main, 0, 0, 15, 15, makecol32(255, 0, 255));
    DatafileWriter writer;
    writer.addBitmap(far, "FAR_BMP");
    writer.addBitmap(main, "MAIN_BMP");
    ASSERT_EQ(0, writer.write(dir.path() + "/data/old/level.dat"));
    destroy_bitmap(far);
    destroy_bitmap(main);
    std::string def = "LEVELDEF Round Trip\n{ tileset 0 16 22 16\n";
    for (int i = 0; i < 22 * 16; ++i)
        def += std::to_string(i * 5 % 6) + (i % 22 == 21 ? "\n" : " ");
    def += "}\n{ tileset 1 16 40 16\n";
    for (int i = 0; i < 40 * 16; ++i)
        def += std::string(i / 40 == 15 ? "1" : "0") + (i % 40 == 39 ? "\n" : " ");
    dir.write("data/old/level.def", def + "}\n");
    std::string aliens = "ALIENPROTOS 1\n0 bmp/a.bmp 1 0\nALIENDEF 2\n0 100 50\n0 300 60\n";
    dir.write("data/old/aliens.def", aliens);

    Diagnostics diagnostics;
    LevelExport exporter(&diagnostics);
    std::string map = dir.path() + "/maps/round.tmx";
    ASSERT_EQ(0, exporter.run(dir.path() + "/data/old", map, dir.path() + "/data")) << listed(diagnostics);
    std::string text;
    ASSERT_TRUE(Paths::read(map, text));
    EXPECT_NE(std::string::npos, text.find("parallaxx=\"0.1\""));
    EXPECT_EQ(std::string::npos, text.find("parallaxy"));
    EXPECT_NE(std::string::npos, text.find("<image source=\"../data/bmp/a.bmp\" trans=\"ff00ff\""));

    MapImport importer(&diagnostics);
    ASSERT_EQ(MapImport::Imported, importer.run(map, dir.path() + "/data/new", dir.path() + "/data"))
        << listed(diagnostics);
    std::string imported;
    ASSERT_TRUE(Paths::read(dir.path() + "/data/new/aliens.def", imported));
    EXPECT_EQ(aliens, imported);

    Level before(nullptr);
    Level after(nullptr);
    ASSERT_EQ(0, before.load((dir.path() + "/data/old/").c_str()));
    ASSERT_EQ(0, after.load((dir.path() + "/data/new/").c_str()));
    EXPECT_EQ("Round Trip", std::string(after.title));
    ASSERT_EQ(2u, after.tilesets.size());
    for (size_t layer = 0; layer < 2; ++layer) {
        const Tileset& old = *before.tilesets[layer];
        const Tileset& fresh = *after.tilesets[layer];
        ASSERT_EQ(old.width, fresh.width);
        ASSERT_EQ(old.height, fresh.height);
        EXPECT_DOUBLE_EQ(old.factorX, fresh.factorX);
        EXPECT_DOUBLE_EQ(old.factorY, fresh.factorY);
        // Every tile picture is of one colour.
        for (size_t cell = 0; cell < old.tiles.size(); ++cell)
            ASSERT_EQ(rgb(old.tilePictures[old.tiles[cell].index], 8, 8),
                      rgb(fresh.tilePictures[fresh.tiles[cell].index], 8, 8)) << "layer " << layer << " cell " << cell;
    }
}
