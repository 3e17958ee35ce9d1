#include "level/Tileset.h"

#include <allegro.h>

#include <algorithm>
#include <istream>
#include <string>

#include "core/ReadDiagnostics.h"
#include "core/TextReader.h"
#include "level/LevelFormat.h"
#include "render/Renderer.h"
#include "render/Screen.h"
#include "sprites/CollisionMask.h"

namespace {

const double FirstCellOffset = 0.5;
const int ExtraCells = 2;

// First visible row or column of a layer scrolled to position; layers scrolled
// left of or above their grid start at cell 0.
int firstCell(double position, int tileSize)
{
    double shifted = position + FirstCellOffset;
    if (!(shifted > 0.0))
        return 0;
    if (shifted > LevelFormat::MaxExtent)
        shifted = LevelFormat::MaxExtent;
    return static_cast<int>(shifted) / tileSize;
}

// Characters from the stream's position to its end; -1 for a stream that cannot seek.
int64_t charactersLeft(std::istream& in)
{
    // tellg on a stream at its end would fail it; nothing more can be read from it anyway.
    if (!in.good())
        return 0;
    std::streampos here = in.tellg();
    if (here == std::streampos(-1))
        return -1;
    in.seekg(0, std::ios::end);
    std::streampos end = in.tellg();
    in.seekg(here);
    return end == std::streampos(-1) ? -1 : static_cast<int64_t>(end - here);
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

int Tileset::read(std::istream& in, const DATAFILE* datafile, ReadDiagnostics* diagnostics)
{
    using Sink = ReadDiagnostics;
    int64_t openAt = 0;
    if (!TextReader::readKeyword(in, "{", diagnostics, Sink::BlockStartMissing, &openAt))
        return -1;
    Sink::tell(diagnostics, Sink::BlockOpened, openAt);
    if (!TextReader::readKeyword(in, "tileset", diagnostics, Sink::BlockKeywordMissing))
        return -1;

    int32_t pictureIndex, size, columns, rowCount;
    int64_t at[4] = {0, 0, 0, 0};
    if (!TextReader::readNumber(in, pictureIndex, diagnostics, Sink::PictureIndex, &at[0]) ||
        !TextReader::readNumber(in, size, diagnostics, Sink::TileSize, &at[1]) ||
        !TextReader::readNumber(in, columns, diagnostics, Sink::Width, &at[2]) ||
        !TextReader::readNumber(in, rowCount, diagnostics, Sink::Height, &at[3]))
        return -1;
    Sink::tell(diagnostics, Sink::HeaderRead, at[0], std::string(), pictureIndex, size, columns, rowCount);
    // Refused before the grid is reserved: the limits keep every cell position within an int.
    if (size < 1 || columns < 0 || rowCount < 0) {
        if (size < 1)
            Sink::tell(diagnostics, Sink::TileSizeTooSmall, at[1]);
        else
            Sink::tell(diagnostics, columns < 0 ? Sink::WidthNegative : Sink::HeightNegative,
                       columns < 0 ? at[2] : at[3]);
        return -1;
    }
    bool tooMany = static_cast<int64_t>(columns) * rowCount > LevelFormat::MaxCells;
    if (tooMany || static_cast<int64_t>(columns) * size > LevelFormat::MaxExtent ||
        static_cast<int64_t>(rowCount) * size > LevelFormat::MaxExtent) {
        Sink::tell(diagnostics, tooMany ? Sink::TooManyCells : Sink::TooLarge, at[2]);
        return -1;
    }

    tileSize = size;
    width = columns;
    height = rowCount;
    // A header of a few bytes may claim 16 million cells. Every cell but the first takes a separator and a
    // digit, so no more is reserved than the rest of the file can hold, and a whole grid still never grows.
    int64_t cells = static_cast<int64_t>(columns) * rowCount;
    int64_t left = charactersLeft(in);
    if (left >= 0 && (left + 1) / 2 < cells)
        cells = (left + 1) / 2;
    tiles.reserve(static_cast<size_t>(cells));
    // Where each cell's number stands, kept only for a sink: the tiles beyond the picture are told after the grid.
    std::vector<int64_t> cellAt;
    for (int32_t r = 0; r < rowCount; ++r) {
        for (int32_t c = 0; c < columns; ++c) {
            int32_t value;
            if (!diagnostics) {
                if (!TextReader::readNumber(in, value))
                    return -1;
            } else {
                int64_t valueAt = 0;
                int64_t cell = static_cast<int64_t>(tiles.size());
                if (!TextReader::readNumber(in, value, diagnostics, Sink::Cell, &valueAt, cell))
                    return -1;
                if ((value & 0xff) != value)
                    Sink::tell(diagnostics, Sink::TileNumberCut, valueAt, std::string(), value);
                cellAt.push_back(valueAt);
            }
            tiles.push_back(Tile(c * size, r * size, static_cast<uint8_t>(value & 0xff)));
        }
    }
    if (!TextReader::readKeyword(in, "}", diagnostics, Sink::BlockEndMissing))
        return -1;

    // Everything the cutting relies on is checked first, so a refused block makes nothing.
    if (!datafile) {
        Sink::tell(diagnostics, Sink::NoDatafile, at[0]);
        return -1;
    }
    int objects = countObjects(datafile);
    if (pictureIndex < 0 || pictureIndex >= objects) {
        Sink::tell(diagnostics, Sink::PictureIndexBeyond, at[0], std::string(), pictureIndex, objects);
        return -1;
    }
    if (datafile[pictureIndex].type != DAT_BITMAP || !datafile[pictureIndex].dat) {
        Sink::tell(diagnostics, Sink::PictureNotBitmap, at[0], std::string(), pictureIndex,
                   datafile[pictureIndex].type);
        return -1;
    }
    BITMAP* picture = static_cast<BITMAP*>(datafile[pictureIndex].dat);
    int pictureColumns = picture->w / size;
    int pictureRows = picture->h / size;
    int64_t pictureCount = static_cast<int64_t>(pictureColumns) * pictureRows;
    if (diagnostics && (picture->w % size != 0 || picture->h % size != 0))
        Sink::tell(diagnostics, Sink::PictureNotWhole, at[1], std::string(), pictureIndex, picture->w, picture->h);
    bool beyond = false;
    for (size_t i = 0; i < tiles.size(); ++i) {
        if (tiles[i].index < pictureCount)
            continue;
        if (!diagnostics)
            return -1;
        beyond = true;
        Sink::tell(diagnostics, Sink::TileBeyondPicture, cellAt[i], std::string(), tiles[i].index, pictureCount);
    }
    if (beyond)
        return -1;

    // No picture past what a cell can name is ever shown or hit.
    int64_t cutCount = std::min<int64_t>(pictureCount, LevelFormat::MaxTilePictures);
    for (int64_t k = 0; k < cutCount; ++k) {
        BITMAP* tilePicture = create_bitmap(size, size);
        if (!tilePicture) {
            Sink::tell(diagnostics, Sink::OutOfMemory, openAt);
            return -1;
        }
        int x, y;
        LevelFormat::tileCorner(k, pictureRows, size, x, y);
        blit(picture, tilePicture, x, y, 0, 0, size, size);
        tilePictures.push_back(tilePicture);
        textures.push_back(renderer ? renderer->makeTexture(tilePicture) : 0);
        CollisionMask* mask = createMask(tilePicture);
        if (!mask) {
            Sink::tell(diagnostics, Sink::OutOfMemory, openAt);
            return -1;
        }
        masks.push_back(mask);
    }
    Sink::tell(diagnostics, Sink::TilesetRead, openAt, std::string(), pictureIndex);
    return 0;
}

bool Tileset::scrollByX(double dx)
{
    return LevelFormat::scroll(scrollX, dx * factorX, bounded, pixelWidth(), ScreenWidth);
}

bool Tileset::scrollByY(double dy)
{
    return LevelFormat::scroll(scrollY, dy * factorY, bounded, pixelHeight(), ScreenHeight);
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
