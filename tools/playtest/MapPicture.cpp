#include "MapPicture.h"

#include <allegro.h>

#include "FreeSpace.h"
#include "PlayReport.h"
#include "aliens/Alien.h"
#include "core/Game.h"
#include "headless/PixelOverlap.h"
#include "level/Level.h"
#include "level/Tileset.h"
#include "sprites/CollisionMask.h"
#include "sprites/Player.h"

MapPicture::MapPicture(const Game& world, const PlayReport* played) : game(world), report(played) {}

MapPicture::~MapPicture() {}

int MapPicture::save(const char* fileName) const
{
    if (!game.level || !game.level->mainTileset)
        return -1;
    const Tileset& map = *game.level->mainTileset;
    BITMAP* picture = create_bitmap_ex(32, map.pixelWidth(), map.pixelHeight());
    if (!picture)
        return -1;
    clear_to_color(picture, makecol32(0, 0, 0));
    // Dark blue where an alien's top-left corner can wait without touching the terrain.
    if (!game.alienPrototypes.empty()) {
        FreeSpace alienRoom(*game.level, *game.alienPrototypes[0]);
        const int roomColour = makecol32(0, 0, 70);
        for (int x = 0; x < alienRoom.columns; ++x)
            for (int y = 0; y < alienRoom.rows; ++y)
                if (alienRoom.fits(x, y))
                    putpixel(picture, x, y, roomColour);
    }
    const int rock = makecol32(110, 110, 120);
    for (const Tile& cell : map.tiles) {
        if (cell.index == 0 || cell.index >= map.masks.size() || !map.masks[cell.index])
            continue;
        const CollisionMask* mask = map.masks[cell.index];
        for (int y = 0; y < mask->height; ++y)
            for (int x = 0; x < mask->width; ++x)
                if (maskPixel(*mask, x, y))
                    putpixel(picture, cell.x + x, cell.y + y, rock);
    }
    // A grid every 100 pixels across and 50 down, labelled, to read placements off the picture.
    const int grid = makecol32(40, 60, 90);
    for (int x = 0; x < map.pixelWidth(); x += 100) {
        vline(picture, x, 0, map.pixelHeight() - 1, grid);
        textprintf_ex(picture, font, x + 2, 2, makecol32(160, 200, 255), -1, "%d", x);
    }
    for (int y = 50; y < map.pixelHeight(); y += 50) {
        hline(picture, 0, y, map.pixelWidth() - 1, grid);
        textprintf_ex(picture, font, 2, y + 2, makecol32(160, 200, 255), -1, "%d", y);
    }
    if (report) {
        for (const PlayReport::Trace& where : report->trace)
            rect(picture, where.x, where.y, where.x + 1, where.y + 1,
                 where.flying ? makecol32(0, 220, 0) : makecol32(230, 220, 0));
    }
    for (const Alien* alien : game.aliens)
        rect(picture, (int)alien->x, (int)alien->y, (int)alien->x + alien->frameWidth - 1,
             (int)alien->y + alien->frameHeight - 1, makecol32(255, 40, 40));
    if (report) {
        const int white = makecol32(255, 255, 255);
        for (const PlayReport::Death& death : report->deaths) {
            const int x = (int)death.x + game.player->frameWidth / 2, y = (int)death.y + game.player->frameHeight / 2;
            line(picture, x - 6, y - 6, x + 6, y + 6, white);
            line(picture, x - 6, y + 6, x + 6, y - 6, white);
        }
    }
    const int saved = save_bitmap(fileName, picture, nullptr);
    destroy_bitmap(picture);
    return saved == 0 ? 0 : -1;
}
