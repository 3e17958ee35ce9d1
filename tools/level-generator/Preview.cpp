#include "Preview.h"

#include <allegro.h>

#include <cmath>

#include "TileLayer.h"
#include "level/LevelFormat.h"
#include "render/Screen.h"

enum { ShipWidth = 24, ShipHeight = 12, ShipScreenX = 106 };

Preview::Preview(const TileLayer& farLayer, const TileLayer& nearLayer, const TileLayer& main, const std::vector<int>& route)
    : farLayer(farLayer), nearLayer(nearLayer), main(main), route(route)
{
}

static void drawShip(BITMAP* target, int x, int y)
{
    int hull = makecol32(200, 206, 220), dark = makecol32(90, 96, 120), glass = makecol32(80, 200, 255);
    int flame = makecol32(255, 190, 60);
    triangle(target, x + 2, y + 2, x + 2, y + 10, x + 23, y + 6, hull);
    line(target, x + 2, y + 10, x + 23, y + 6, dark);
    rectfill(target, x + 9, y + 4, x + 13, y + 6, glass);
    rectfill(target, x, y + 5, x + 1, y + 7, flame);
}

void Preview::drawScreen(BITMAP* target, int atX, int atY, double scrollX) const
{
    int shipX = (int)scrollX + ShipScreenX;
    if (shipX >= (int)route.size())
        shipX = (int)route.size() - 1;
    int shipY = route[shipX];
    double scrollY = shipY - 104.0;
    double maxY = main.pixelHeight() - (ScreenHeight + LevelFormat::EdgeMargin);
    scrollY = scrollY < 0 ? 0 : (scrollY > maxY ? maxY : scrollY);

    set_clip_rect(target, atX, atY, atX + ScreenWidth - 1, atY + ScreenHeight - 1);
    const TileLayer* layers[3] = { &farLayer, &nearLayer, &main };
    for (int k = 0; k < 3; k++) {
        const TileLayer& layer = *layers[k];
        double factorX = LevelFormat::parallaxFactor(layer.pixelWidth(), main.pixelWidth(), ScreenWidth);
        double factorY = LevelFormat::parallaxFactor(layer.pixelHeight(), main.pixelHeight(), ScreenHeight);
        int sx = (int)std::floor(scrollX * factorX + 0.5);
        int sy = (int)std::floor(scrollY * factorY + 0.5);
        masked_blit(layer.image(), target, sx, sy, atX, atY, ScreenWidth, ScreenHeight);
    }
    drawShip(target, atX + ShipScreenX, atY + shipY - (int)scrollY);
    set_clip_rect(target, 0, 0, target->w - 1, target->h - 1);
}

BITMAP* Preview::screens(int count, double from, double to) const
{
    const int gap = 4, across = 3;
    int down = (count + across - 1) / across;
    BITMAP* out = create_bitmap_ex(32, across * ScreenWidth + (across - 1) * gap, down * ScreenHeight + (down - 1) * gap);
    clear_to_color(out, makecol32(0, 0, 0));
    for (int k = 0; k < count; k++) {
        double scrollX = count > 1 ? from + (to - from) * k / (count - 1) : from;
        drawScreen(out, (k % across) * (ScreenWidth + gap), (k / across) * (ScreenHeight + gap), scrollX);
    }
    return out;
}

BITMAP* Preview::overview() const
{
    const int strips = 4, gap = 6;
    int stripWidth = (main.pixelWidth() + strips - 1) / strips;
    BITMAP* out = create_bitmap_ex(32, stripWidth, strips * main.pixelHeight() + (strips - 1) * gap);
    clear_to_color(out, makecol32(0, 0, 0));
    int routeColour = makecol32(255, 255, 80);
    for (int s = 0; s < strips; s++) {
        int top = s * (main.pixelHeight() + gap);
        rectfill(out, 0, top, stripWidth - 1, top + main.pixelHeight() - 1, makecol32(30, 24, 60));
        masked_blit(main.image(), out, s * stripWidth, 0, 0, top, stripWidth, main.pixelHeight());
        for (int x = 0; x < stripWidth; x++) {
            int rx = s * stripWidth + x;
            if (rx < (int)route.size() && x % 3 == 0) {
                putpixel(out, x, top + route[rx], routeColour);
                putpixel(out, x, top + route[rx] + ShipHeight - 1, routeColour);
            }
        }
        for (int c = 0; c < stripWidth; c += 160)
            textprintf_ex(out, font, c + 2, top + 2, makecol32(255, 255, 255), -1, "%d", (s * stripWidth + c) / 16);
    }
    return out;
}
