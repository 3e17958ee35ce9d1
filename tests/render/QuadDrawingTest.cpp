#include "headless/PageFaults.h"
#include "headless/ScratchFiles.h"
#include "render/GlScreenTest.h"
#include "render/Renderer.h"

#include <allegro.h>
#include <alleggl.h>

class QuadDrawing : public GlScreenTest {};

namespace {

bool same(Rgb pixel, int red, int green, int blue)
{
    return pixel.red == red && pixel.green == green && pixel.blue == blue;
}

}

TEST_F(QuadDrawing, FullScreenQuadPutsEachCornerOfThePictureInTheSameCornerOfTheScreen)
{
    BITMAP* picture = makeBitmap(320, 240, makecol32(40, 40, 40));
    putpixel(picture, 0, 0, makecol32(255, 0, 0));
    putpixel(picture, 319, 0, makecol32(0, 255, 0));
    putpixel(picture, 0, 239, makecol32(0, 0, 255));
    putpixel(picture, 319, 239, makecol32(255, 255, 255));
    uint32_t texture = renderer->makeTexture(picture);
    destroy_bitmap(picture);
    ASSERT_NE(texture, 0u);

    renderer->beginFrame();
    renderer->drawQuad(0.0, 0.0, 320, 240, texture);
    EXPECT_TRUE(same(pixelAt(0, 0), 255, 0, 0));
    EXPECT_TRUE(same(pixelAt(319, 0), 0, 255, 0));
    EXPECT_TRUE(same(pixelAt(0, 239), 0, 0, 255));
    EXPECT_TRUE(same(pixelAt(319, 239), 255, 255, 255));
    EXPECT_TRUE(same(pixelAt(1, 0), 40, 40, 40));
    EXPECT_TRUE(same(pixelAt(0, 1), 40, 40, 40));
    EXPECT_TRUE(same(pixelAt(318, 238), 40, 40, 40));
    renderer->endFrame();
}

TEST_F(QuadDrawing, QuadCoversExactlyItsRectangle)
{
    uint32_t red = solidTexture(4, 4, 255, 0, 0);
    renderer->beginFrame();
    renderer->drawQuad(100.0, 50.0, 20, 10, red);
    EXPECT_TRUE(same(pixelAt(100, 50), 255, 0, 0));
    EXPECT_TRUE(same(pixelAt(119, 59), 255, 0, 0));
    EXPECT_TRUE(isBlack(99, 50, 99, 59));
    EXPECT_TRUE(isBlack(120, 50, 120, 59));
    EXPECT_TRUE(isBlack(100, 49, 119, 49));
    EXPECT_TRUE(isBlack(100, 60, 119, 60));
    renderer->endFrame();
}

TEST_F(QuadDrawing, MagentaPixelsShowWhatWasDrawnBefore)
{
    BITMAP* picture = makeBitmap(16, 16, makecol32(255, 0, 0));
    rectfill(picture, 0, 0, 7, 15, makecol32(255, 0, 255));
    uint32_t halfMasked = renderer->makeTexture(picture);
    destroy_bitmap(picture);
    uint32_t blue = solidTexture(16, 16, 0, 0, 255);

    renderer->beginFrame();
    renderer->drawQuad(40.0, 40.0, 16, 16, blue);
    renderer->drawQuad(40.0, 40.0, 16, 16, halfMasked);
    EXPECT_TRUE(same(pixelAt(40, 40), 0, 0, 255));
    EXPECT_TRUE(same(pixelAt(47, 55), 0, 0, 255));
    EXPECT_TRUE(same(pixelAt(48, 40), 255, 0, 0));
    EXPECT_TRUE(same(pixelAt(55, 55), 255, 0, 0));
    renderer->endFrame();
}

TEST_F(QuadDrawing, NegativeWidthOrHeightDrawsNothing)
{
    uint32_t red = solidTexture(4, 4, 255, 0, 0);
    renderer->beginFrame();
    renderer->drawQuad(100.0, 100.0, -20, 20, red);
    renderer->drawQuad(200.0, 100.0, 20, -20, red);
    EXPECT_TRUE(isBlack(0, 0, 319, 239));
    renderer->endFrame();
}

TEST_F(QuadDrawing, QuadReachingPastTheBottomEdgeIsClippedThere)
{
    uint32_t red = solidTexture(16, 16, 255, 0, 0);
    renderer->beginFrame();
    renderer->drawQuad(100.0, 230.0, 16, 16, red);
    EXPECT_TRUE(same(pixelAt(100, 230), 255, 0, 0));
    EXPECT_TRUE(same(pixelAt(115, 239), 255, 0, 0));
    EXPECT_TRUE(isBlack(100, 229, 115, 229));
    EXPECT_TRUE(isBlack(0, 0, 319, 10));
    renderer->endFrame();
}

TEST_F(QuadDrawing, FractionalPositionKeepsHardPixelsWithoutFiltering)
{
    BITMAP* picture = makeBitmap(2, 1, makecol32(255, 0, 0));
    putpixel(picture, 1, 0, makecol32(0, 255, 0));
    uint32_t texture = renderer->makeTexture(picture);
    destroy_bitmap(picture);

    renderer->beginFrame();
    // Texel 0 spans 10.5 to 14.5 and texel 1 14.5 to 18.5.
    renderer->drawQuad(10.5, 20.0, 8, 8, texture);
    for (int x = 11; x <= 13; ++x)
        EXPECT_TRUE(same(pixelAt(x, 24), 255, 0, 0)) << "x = " << x;
    for (int x = 15; x <= 17; ++x)
        EXPECT_TRUE(same(pixelAt(x, 24), 0, 255, 0)) << "x = " << x;
    Rgb middle = pixelAt(14, 24);
    EXPECT_TRUE(same(middle, 255, 0, 0) || same(middle, 0, 255, 0));
    renderer->endFrame();
}

TEST_F(QuadDrawing, LinearFilteringBlendsNeighboursButNotTheOppositeBorder)
{
    renderer->filterTextures = true;
    BITMAP* picture = makeBitmap(2, 1, makecol32(255, 0, 0));
    putpixel(picture, 1, 0, makecol32(0, 255, 0));
    uint32_t texture = renderer->makeTexture(picture);
    destroy_bitmap(picture);
    renderer->filterTextures = false;

    renderer->beginFrame();
    renderer->drawQuad(0.0, 20.0, 8, 8, texture);
    // Pixel 3 samples a quarter into texel 1; the outer pixels would wrap round without clamping.
    Rgb blended = pixelAt(3, 24);
    EXPECT_GT(blended.red, 150);
    EXPECT_GT(blended.green, 30);
    EXPECT_TRUE(same(pixelAt(0, 24), 255, 0, 0));
    EXPECT_TRUE(same(pixelAt(7, 24), 0, 255, 0));
    renderer->endFrame();
}

TEST_F(QuadDrawing, ExplosionAlphaDimsOneQuadAndWhiteRestoresTheNext)
{
    uint32_t white = solidTexture(8, 8, 255, 255, 255);
    renderer->beginFrame();
    renderer->setColor(1.0f, 1.0f, 1.0f, 0.9f);
    renderer->drawQuad(10.0, 10.0, 8, 8, white);
    renderer->setColor(1.0f, 1.0f, 1.0f, 1.0f);
    renderer->drawQuad(30.0, 10.0, 8, 8, white);
    Rgb dimmed = pixelAt(14, 14);
    EXPECT_NEAR(dimmed.red, 230, 2);
    EXPECT_NEAR(dimmed.blue, 230, 2);
    EXPECT_TRUE(same(pixelAt(34, 14), 255, 255, 255));
    renderer->endFrame();
}

TEST_F(QuadDrawing, ColourMultipliesThePicture)
{
    uint32_t white = solidTexture(8, 8, 255, 255, 255);
    renderer->beginFrame();
    renderer->setColor(1.0f, 0.0f, 0.0f, 1.0f);
    renderer->drawQuad(10.0, 10.0, 8, 8, white);
    renderer->setColor(1.0f, 1.0f, 1.0f, 1.0f);
    EXPECT_TRUE(same(pixelAt(14, 14), 255, 0, 0));
    renderer->endFrame();
}

TEST_F(QuadDrawing, BlendingIsAlphaDuringAFrameAndOffAfterIt)
{
    GLint source = 0;
    GLint destination = 0;
    renderer->beginFrame();
    glGetIntegerv(GL_BLEND_SRC, &source);
    glGetIntegerv(GL_BLEND_DST, &destination);
    EXPECT_EQ(source, GL_SRC_ALPHA);
    EXPECT_EQ(destination, GL_ONE_MINUS_SRC_ALPHA);
    renderer->endFrame();
    glGetIntegerv(GL_BLEND_SRC, &source);
    glGetIntegerv(GL_BLEND_DST, &destination);
    EXPECT_EQ(source, GL_ONE);
    EXPECT_EQ(destination, GL_ZERO);
}

TEST_F(QuadDrawing, EachFrameStartsBlack)
{
    uint32_t red = solidTexture(4, 4, 255, 0, 0);
    renderer->beginFrame();
    renderer->drawQuad(0.0, 0.0, 320, 240, red);
    renderer->endFrame();
    renderer->beginFrame();
    EXPECT_TRUE(isBlack(0, 0, 319, 239));
    renderer->endFrame();
}

TEST_F(QuadDrawing, FramesThatChangeTextureAtEveryQuadReuseTheirMemory)
{
    // About 10 MB of the software renderer's bookkeeping a frame. Handed back to the kernel after
    // every frame and taken again, it would fault in some 2,500 pages a frame.
    const int Changes = 300;
    const int WarmUpFrames = 3;
    const int MeasuredFrames = 5;
    uint32_t textures[2] = {solidTexture(16, 16, 255, 0, 0), solidTexture(16, 16, 0, 0, 255)};
    long faultsBefore = 0;
    for (int frame = 0; frame < WarmUpFrames + MeasuredFrames; ++frame) {
        if (frame == WarmUpFrames)
            faultsBefore = minorPageFaults();
        renderer->beginFrame();
        for (int quad = 0; quad < Changes; ++quad)
            renderer->drawQuad(quad % 20 * 16, quad / 20 % 15 * 16, 16, 16, textures[quad % 2]);
        renderer->endFrame();
    }
    EXPECT_LT((minorPageFaults() - faultsBefore) / MeasuredFrames, 100);
}
