#ifndef SKIFF_CORE_READDIAGNOSTICS_H
#define SKIFF_CORE_READDIAGNOSTICS_H

#include <cstdint>
#include <string>

// Told by the game's readers of level.def and aliens.def what they read, skip and drop,
// and why. Every report says where it stands in the text: "at" is a byte offset from the
// start of the stream, which a sink holding the text turns into line and column. Readers
// keep and drop the same with or without a sink; given none (a null pointer) they report nothing.
class ReadDiagnostics {
public:
    // What a report is about; "values" holds the numbers each kind lists, in that order.
    enum Kind {
        // level.def, Level::readDescription
        LevelKeywordMissing,  // the first token is not "LEVELDEF": the level is refused
        TitleRead,            // the title line: its length without the line end
        NoTilesetRead,        // at the keyword: no block read correctly, the level is refused
        TilesTooLarge,        // at the "{" of a block read correctly: the pixels of the tile pictures all blocks
                              // cut up to it and the limit LevelFormat::MaxTilePixels; the level is refused
        // a tileset block, Tileset::read
        BlockStartMissing,    // a token that is not "{" is read and dropped
        BlockOpened,          // a "{"
        BlockKeywordMissing,  // "tileset" is not the token after "{": the block is dropped
        HeaderRead,           // at the picture index: picture index, tile size, width, height
        TileSizeTooSmall,     // the block is dropped before its grid
        WidthNegative,
        HeightNegative,
        TooManyCells,         // at the width
        TooLarge,             // at the width: a side of more pixels than the game accepts
        TileNumberCut,        // a grid number outside 0 to 255: the number; its low 8 bits count
        BlockEndMissing,      // "}" is not the token after the grid: the block is dropped
        NoDatafile,           // at the picture index: nothing to cut the tiles from; dropped
        PictureIndexBeyond,   // the picture index, the objects of the datafile; dropped
        PictureNotBitmap,     // the picture index, the object's type; dropped
        PictureNotWhole,      // at the tile size: the picture index, its width and height, whose
                              // pixels past the last whole tile are not used
        TileBeyondPicture,    // a cell: its tile, the tiles the picture yields; the block is dropped
        OutOfMemory,          // at the "{": a tile picture or mask could not be made; dropped
        TilesetRead,          // at the "{": the picture index; the block is kept
        // aliens.def, AlienDefReader
        PrototypeKeywordMissing,  // the first token is not "ALIENPROTOS": nothing is read
        CountRead,                // the count, the section (0 prototypes, 1 placements)
        EntryTypeSkipped,         // the type of an entry other than 0, which makes nothing
        PictureNameTooLong,       // the name's length: the prototype is skipped
        PrototypeRead,            // at the picture (token): the entry number, explosion kind and where
                                  // the kind stands; the game built the prototype
        PrototypeRefused,         // as PrototypeRead, but the game built none
        PrototypeBeyondLimit,     // at the picture: the entry number; LevelFormat::MaxAlienPrototypes are built,
                                  // this one is skipped
        PlacementKeywordMissing,  // "ALIENDEF" is not the token after the prototypes: no alien is placed
        PlacementRead,            // at the first number: x, y and where they stand; the game placed it
        PlacementRefused,         // as PlacementRead, but the game placed none
        PlacementBeyondLimit,     // at the first number: the entry number; LevelFormat::MaxAliens are placed,
                                  // this one is skipped
        TextNotRead,              // the token after the last placement, where reading ended
        // both files
        NumberMissing  // a number could not be read and reading stops: the Field, the Reason,
                       // the cell or entry number (from 0), and the count of entries
    };
    // Which number a NumberMissing report is about.
    enum Field {
        PictureIndex, TileSize, Width, Height, Cell,
        PrototypeCount, EntryType, Picture, ExplosionKind, LastNumber,
        PlacementCount, PlacementFirst, PlacementX, PlacementY
    };
    // Why it could not be read.
    enum Reason { AtEnd, NotANumber, OutOfRange };

    struct Report {
        Kind kind;
        int64_t at;          // where the token concerned starts, or where one was looked for
        std::string token;   // that token as read; empty where the text ended
        int64_t values[4];
    };

    virtual ~ReadDiagnostics() {}
    virtual void report(const Report& report) = 0;

    // Hands sink a report when there is a sink; nothing otherwise.
    static void tell(ReadDiagnostics* sink, Kind kind, int64_t at, const std::string& token = std::string(),
                     int64_t value0 = 0, int64_t value1 = 0, int64_t value2 = 0, int64_t value3 = 0);
};

#endif
