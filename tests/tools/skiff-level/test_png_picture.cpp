#include <allegro.h>
#include <gtest/gtest.h>
#include <malloc.h>

#include <string>
#include <vector>

#include "PngPicture.h"
#include "TilePicture.h"
#include "ToolTestData.h"
#include "headless/TempDir.h"

namespace {

// Every pixel of the decoded picture as "r,g,b,a", along the rows; the reason when it could not be decoded.
std::string decoded(const std::string& png)
{
    std::string reason;
    BITMAP* picture = PngPicture::decode(reinterpret_cast<const unsigned char*>(png.data()), png.size(), reason);
    if (!picture)
        return "refused: " + reason;
    std::string pixels;
    for (int y = 0; y < picture->h; ++y) {
        for (int x = 0; x < picture->w; ++x) {
            int pixel = getpixel(picture, x, y);
            pixels += (pixels.empty() ? "" : " ") + std::to_string(getr32(pixel)) + "," +
                      std::to_string(getg32(pixel)) + "," + std::to_string(getb32(pixel)) + "," +
                      std::to_string(geta32(pixel));
        }
    }
    destroy_bitmap(picture);
    return pixels;
}

std::string bytes(std::initializer_list<int> values)
{
    std::string text;
    for (int value : values)
        text.push_back(static_cast<char>(value));
    return text;
}

// Bytes in use on the heap, mapped blocks included.
size_t heapInUse()
{
    struct mallinfo2 info = mallinfo2();
    return info.uordblks + info.hblkhd;
}

}

TEST(PngDecoding, EveryColourTypeDepthAndInterlacingGivesThePixelsAsStoredWithAlphaOnlyWhereThePngCarriesIt)
{
    // Adam7 on 3 x 3: pass 1 holds (0,0), pass 4 (2,0), pass 5 (0,2) (2,2), pass 6 (1,0) then (1,2),
    // pass 7 row 1. Grey values 10, 20, ... 90 along the rows.
    const std::string adam7 = bytes({0, 10}) + bytes({0, 30}) + bytes({0, 70, 90}) + bytes({0, 20}) +
                              bytes({0, 80}) + bytes({0, 40, 50, 60});
    const struct {
        const char* what;
        std::string png;
        const char* pixels;
    } cases[] = {
        {"16-bit RGBA keeps each sample's high byte",
         pngFile(2, 1, 16, 6, 0, "",
                 bytes({0, 0x12, 0x34, 0xab, 0xcd, 0x00, 0xff, 0xff, 0xff, 0xff, 0x00, 0x00, 0x00, 0x80, 0x80, 0, 0})),
         "18,171,0,255 255,0,128,0"},
        {"interlaced grey", pngFile(3, 3, 8, 0, 1, "", adam7),
         "10,10,10,255 20,20,20,255 30,30,30,255 40,40,40,255 50,50,50,255 60,60,60,255 "
         "70,70,70,255 80,80,80,255 90,90,90,255"},
        {"grey whose tRNS names 0x40",
         pngFile(3, 1, 8, 0, 0, pngChunk("tRNS", bytes({0, 0x40})), bytes({0, 0x40, 0x41, 0})),
         "64,64,64,0 65,65,65,255 0,0,0,255"},
        {"2-bit palette with alpha for its first two colours",
         pngFile(4, 1, 2, 3, 0, pngChunk("PLTE", bytes({255, 0, 0, 0, 255, 0, 0, 0, 255})) +
                                    pngChunk("tRNS", bytes({0x80, 0})), bytes({0, 0x1a})),
         "255,0,0,128 0,255,0,0 0,0,255,255 0,0,255,255"},
        {"RGB without tRNS: black stays opaque", pngFile(1, 1, 8, 2, 0, "", bytes({0, 0, 0, 0})), "0,0,0,255"},
        {"1-bit grey", pngFile(3, 1, 1, 0, 0, "", bytes({0, 0xa0})), "255,255,255,255 0,0,0,255 255,255,255,255"},
        {"grey with alpha", pngFile(2, 1, 8, 4, 0, "", bytes({0, 7, 0, 9, 200})), "7,7,7,0 9,9,9,200"},
        {"a gamma chunk changes nothing",
         pngFile(1, 1, 8, 2, 0, pngChunk("gAMA", bytes({0, 0, 0x27, 0x10})), bytes({0, 100, 150, 200})),
         "100,150,200,255"},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.what);
        EXPECT_EQ(test.pixels, decoded(test.png));
    }
}

TEST(PngDecoding, ABrokenOrLyingPngIsRefusedWithAReasonAndLeavesNothingAllocated)
{
    const std::string row = bytes({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12});
    const std::string sound = pngFile(4, 2, 8, 2, 0, "", row + row);
    ASSERT_EQ("1,2,3,255 4,5,6,255 7,8,9,255 10,11,12,255 1,2,3,255 4,5,6,255 7,8,9,255 10,11,12,255",
              decoded(sound));
    std::string badCrc = sound;
    badCrc[sound.size() - 13] ^= 1;  // the last byte of IDAT's CRC
    std::string badHeaderCrc = sound;
    badHeaderCrc[29] ^= 0x80;  // IHDR's CRC
    const std::string palette = pngChunk("PLTE", bytes({255, 0, 0, 0, 255, 0}));
    const struct {
        const char* what;
        std::string png;
        const char* reason;
    } cases[] = {
        {"the signature alone", sound.substr(0, 8), ""},
        {"cut within IDAT", sound.substr(0, sound.size() - 20), ""},
        {"IDAT holding one row of two", pngFile(4, 2, 8, 2, 0, "", row), ""},
        {"a header claiming 4096 x 4096 over one row", pngFile(4096, 4096, 8, 6, 0, "", bytes({0, 1, 2, 3, 4})), ""},
        {"an IDAT CRC error", badCrc, "CRC"},
        {"an IHDR CRC error", badHeaderCrc, "CRC"},
        {"a colour index beyond a palette of two", pngFile(3, 1, 8, 3, 0, palette, bytes({0, 0, 1, 2})),
         "a pixel's colour index lies beyond the palette"},
        {"an indexed picture without PLTE", pngFile(3, 1, 8, 3, 0, "", bytes({0, 0, 1, 0})), ""},
        {"4097 x 4097, more pixels than allowed", pngFile(4097, 4097, 8, 0, 0, "", bytes({0, 0})),
         "the picture is too large"},
        {"16385 pixels wide", pngFile(16385, 1, 8, 0, 0, "", bytes({0, 0})), ""},
    };
    for (const auto& test : cases) {
        SCOPED_TRACE(test.what);
        std::string reason;
        reason.reserve(256);
        // Freed small blocks kept in malloc's caches still count as in use: a first decoding fills the
        // caches, and a second one must then leave the heap as it found it.
        BITMAP* picture =
            PngPicture::decode(reinterpret_cast<const unsigned char*>(test.png.data()), test.png.size(), reason);
        if (picture)
            destroy_bitmap(picture);
        size_t before = heapInUse();
        picture = PngPicture::decode(reinterpret_cast<const unsigned char*>(test.png.data()), test.png.size(), reason);
        EXPECT_LT(heapInUse(), before + 64);
        EXPECT_EQ(nullptr, picture);
        if (picture)
            destroy_bitmap(picture);
        EXPECT_FALSE(reason.empty());
        EXPECT_NE(std::string::npos, reason.find(test.reason)) << reason;
    }
}

TEST(TilePictureLoading, APngsClearPixelsAndItsKeyColourTurnMagentaAndAnUndecodableOneIsToldWithLibpngsReason)
{
    TempDir dir;
    // Grey 0x40 is clear by tRNS; 0x41 is the key colour; 0x42 stays.
    const std::string grey = pngFile(3, 1, 8, 0, 0, pngChunk("tRNS", bytes({0, 0x40})), bytes({0, 0x40, 0x41, 0x42}));
    std::string problem;
    BITMAP* picture = TilePicture::load(dir.write("grey.png", grey), 0x414141, problem);
    ASSERT_NE(nullptr, picture) << problem;
    EXPECT_EQ("255,0,255 255,0,255 66,66,66", rgb(picture, 0, 0) + " " + rgb(picture, 1, 0) + " " + rgb(picture, 2, 0));
    destroy_bitmap(picture);

    const std::string indexed = pngFile(2, 1, 8, 3, 0, pngChunk("PLTE", bytes({1, 2, 3})), bytes({0, 0, 1}));
    EXPECT_EQ(nullptr, TilePicture::load(dir.write("indexed.png", indexed), -1, problem));
    EXPECT_EQ("is not a PNG picture that can be loaded: a pixel's colour index lies beyond the palette", problem);
    const std::string cut = grey.substr(0, grey.size() - 20);
    EXPECT_EQ(nullptr, TilePicture::load(dir.write("cut.png", cut), -1, problem));
    EXPECT_EQ(0u, problem.find("is not a PNG picture that can be loaded: ")) << problem;
}
