#include "level/Tileset.h"

#include <allegro.h>

#include <istream>
#include <string>

#include "core/TextReader.h"
#include "render/Renderer.h"
#include "render/Screen.h"
#include "sprites/CollisionMask.h"

namespace {

const double RightBoundMargin = ScreenWidth + 0.5;
const double BottomBoundMargin = ScreenHeight + 0.5;
const double FirstCellOffset = 0.5;
const int ExtraCells = 2;
// Cells hold 8-bit tile numbers, so no picture past the 256th can ever be shown or hit.
const int64_t MaxTilePictures = 256;

// First visible row or column of a layer scrolled to position; layers scrolled
// left of or above their grid start at cell 0.
int firstCell(double position, int tileSize)
{
    double shifted = position + FirstCellOffset;
    if (!(shifted > 0.0))
        return 0;
    if (shifted > Tileset::MaxExtent)
        shifted = Tileset::MaxExtent;
    return static_cast<int>(shifted) / tileSize;
}

int countObjects(const DATAFILE* datafile)
{
    int count = 0;
    while (datafile[count].type != DAT_END)
        ++count;
    return count;
}

}

Tileset::Tileset(Renderer* renderer)
    : renderer(renderer), tileSize(0), width(0), height(0), scrollX(0.0), scrollY(0.0), factorX(1.0),
      factorY(1.0), bounded(false)
{
}

Tileset::~Tileset()
{
    size_t count = tilePictures.size() > masks.size() ? tilePictures.size() : masks.size();
    for (size_t i = 0; i < count; ++i) {
        if (i < tilePictures.size())
            destroy_bitmap(tilePictures[i]);
        if (i < masks.size())
            destroyMask(masks[i]);
    }
}

int Tileset::read(std::istream& in, const DATAFILE* datafile)
{
    std::string token;
    if (!TextReader::readToken(in, token) || token != "{")
        return -1;
    if (!TextReader::readToken(in, token) || token != "tileset")
        return -1;

    int32_t pictureIndex, size, columns, rowCount;
    if (!TextReader::readNumber(in, pictureIndex) || !TextReader::readNumber(in, size) ||
        !TextReader::readNumber(in, columns) || !TextReader::readNumber(in, rowCount))
        return -1;
    // Refused before the grid is reserved: the limits keep every cell position within an int.
    if (size < 1 || columns < 0 || rowCount < 0)
        return -1;
    if (static_cast<int64_t>(columns) * rowCount > MaxCells ||
        static_cast<int64_t>(columns) * size > MaxExtent || static_cast<int64_t>(rowCount) * size > MaxExtent)
        return -1;

    tileSize = size;
    width = columns;
    height = rowCount;
    tiles.reserve(static_cast<size_t>(columns) * static_cast<size_t>(rowCount));
    for (int32_t r = 0; r < rowCount; ++r) {
        for (int32_t c = 0; c < columns; ++c) {
            int32_t value;
            if (!TextReader::readNumber(in, value))
                return -1;
            tiles.push_back(Tile(c * size, r * size, static_cast<uint8_t>(value & 0xff)));
        }
    }
    if (!TextReader::readToken(in, token) || token != "}")
        return -1;

    // Everything the cutting relies on is checked first, so a refused block makes nothing.
    if (!datafile || pictureIndex < 0 || pictureIndex >= countObjects(datafile) ||
        datafile[pictureIndex].type != DAT_BITMAP || !datafile[pictureIndex].dat)
        return -1;
    BITMAP* picture = static_cast<BITMAP*>(datafile[pictureIndex].dat);
    int pictureColumns = picture->w / size;
    int pictureRows = picture->h / size;
    int64_t pictureCount = static_cast<int64_t>(pictureColumns) * pictureRows;
    for (const Tile& tile : tiles) {
        if (tile.index >= pictureCount)
            return -1;
    }

    // Tiles are numbered down the columns of the picture.
    int64_t cutCount = pictureCount < MaxTilePictures ? pictureCount : MaxTilePictures;
    for (int64_t k = 0; k < cutCount; ++k) {
        BITMAP* tilePicture = create_bitmap(size, size);
        if (!tilePicture)
            return -1;
        blit(picture, tilePicture, static_cast<int>(k / pictureRows) * size, static_cast<int>(k % pictureRows) * size,
             0, 0, size, size);
        tilePictures.push_back(tilePicture);
        textures.push_back(renderer ? renderer->makeTexture(tilePicture) : 0);
        CollisionMask* mask = createMask(tilePicture);
        if (!mask)
            return -1;
        masks.push_back(mask);
    }
    return 0;
}

bool Tileset::scrollByX(double dx)
{
    if (bounded) {
        double next = dx * factorX + scrollX;
        if (!(next >= 0.0))
            return false;
        if (static_cast<double>(pixelWidth()) < next + RightBoundMargin)
            return false;
    }
    scrollX = dx * factorX + scrollX;
    return true;
}

bool Tileset::scrollByY(double dy)
{
    if (bounded) {
        double next = dy * factorY + scrollY;
        if (!(next >= 0.0))
            return false;
        if (static_cast<double>(pixelHeight()) < next + BottomBoundMargin)
            return false;
    }
    scrollY = dy * factorY + scrollY;
    return true;
}

void Tileset::draw()
{
    if (tileSize < 1 || !renderer)
        return;
    int firstRow = firstCell(scrollY, tileSize);
    int firstCol = firstCell(scrollX, tileSize);
    int endCol = firstCol + ScreenWidth / tileSize + ExtraCells;
    if (endCol > width)
        endCol = width;
    int endRow = firstRow + ScreenHeight / tileSize + ExtraCells;
    if (endRow > height)
        endRow = height;

    for (int r = firstRow; r < endRow; ++r) {
        for (int c = firstCol; c < endCol; ++c) {
            const Tile& tile = tiles[static_cast<size_t>(r) * width + c];
            renderer->drawQuad(tile.x - scrollX, tile.y - scrollY, tileSize, tileSize, textures[tile.index]);
        }
    }
}

const Tile* Tileset::cellAt(int column, int row) const
{
    if (column < 0 || row < 0 || column >= width || row >= height)
        return nullptr;
    size_t cell = static_cast<size_t>(row) * width + column;
    return cell < tiles.size() ? &tiles[cell] : nullptr;
}

int32_t Tileset::pixelWidth() const
{
    return width * tileSize;
}

int32_t Tileset::pixelHeight() const
{
    return height * tileSize;
}
