#include "Overview.h"

#include <allegro.h>

#include "TileLayer.h"

BITMAP* Overview::draw(const TileLayer& main, const std::vector<int>& route, int shipHeight)
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
                putpixel(out, x, top + route[rx] + shipHeight - 1, routeColour);
            }
        }
        for (int c = 0; c < stripWidth; c += 10 * TileLayer::TileSize)
            textprintf_ex(out, font, c + 2, top + 2, makecol32(255, 255, 255), -1, "%d",
                          (s * stripWidth + c) / TileLayer::TileSize);
    }
    return out;
}
