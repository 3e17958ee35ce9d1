#include "FontPicture.h"

#include "PixelArt.h"
#include "core/DataPaths.h"

#include <allegro.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// Each band holds 16 glyphs side by side, one space apart, for the codes
// 32 + 16 * band onwards. Rows above the capitals' baseline come first; the
// last rows are for descenders.

// Glyph cells: small ones 4 x 8, large ones 5 x 9.
enum { smallWidth = 4, smallRows = 8, largeWidth = 5, largeRows = 9 };

const char* const smallBands[6][smallRows] = {
    {   // space ! " # $ % & ' ( ) * + , - . /
        ".... .X.. X.X. X.X. .XXX X..X .X.. .X.. ..X. .X.. .... .... .... .... .... ...X",
        ".... .X.. X.X. XXXX XX.. ...X X.X. .X.. .X.. ..X. X..X .... .... .... .... ...X",
        ".... .X.. .... X.X. .XX. ..X. .X.. .... .X.. ..X. .XX. .X.. .... .... .... ..X.",
        ".... .X.. .... XXXX ..XX .X.. X.XX .... .X.. ..X. XXXX XXX. .... XXX. .... .X..",
        ".... .... .... X.X. XXX. X... X.X. .... .X.. ..X. .XX. .X.. .X.. .... .... X...",
        ".... .X.. .... .... .X.. X..X .X.X .... ..X. .X.. X..X .... .X.. .... .X.. X...",
        ".... .... .... .... .... .... .... .... .... .... .... .... X... .... .... ....",
        ".... .... .... .... .... .... .... .... .... .... .... .... .... .... .... ....",
    },
    {   // 0 1 2 3 4 5 6 7 8 9 : ; < = > ?
        ".XX. .X.. .XX. XXX. ..X. XXXX .XX. XXXX .XX. .XX. .... .... .... .... .... .XX.",
        "X..X XX.. X..X ...X .XX. X... X... ...X X..X X..X .X.. .X.. ..X. .... X... X..X",
        "X.XX .X.. ...X .XX. X.X. XXX. XXX. ..X. .XX. X..X .... .... .X.. XXX. .X.. ..X.",
        "XX.X .X.. ..X. ...X XXXX ...X X..X ..X. X..X .XXX .... .... X... .... ..X. .X..",
        "X..X .X.. .X.. ...X ..X. ...X X..X .X.. X..X ...X .X.. .X.. .X.. XXX. .X.. ....",
        ".XX. XXX. XXXX XXX. ..X. XXX. .XX. .X.. .XX. .XX. .... .X.. ..X. .... X... .X..",
        ".... .... .... .... .... .... .... .... .... .... .... X... .... .... .... ....",
        ".... .... .... .... .... .... .... .... .... .... .... .... .... .... .... ....",
    },
    {   // @ A B C D E F G H I J K L M N O
        ".XX. .XX. XXX. .XXX XXX. XXXX XXXX .XXX X..X XXX. ..XX X..X X... X..X X..X .XX.",
        "X..X X..X X..X X... X..X X... X... X... X..X .X.. ...X X.X. X... XXXX XX.X X..X",
        "X.XX X..X XXX. X... X..X XXX. XXX. X... XXXX .X.. ...X XX.. X... XXXX XX.X X..X",
        "X.XX XXXX X..X X... X..X X... X... X.XX X..X .X.. ...X XX.. X... X..X X.XX X..X",
        "X... X..X X..X X... X..X X... X... X..X X..X .X.. X..X X.X. X... X..X X.XX X..X",
        ".XXX X..X XXX. .XXX XXX. XXXX X... .XXX X..X XXX. .XX. X..X XXXX X..X X..X .XX.",
        ".... .... .... .... .... .... .... .... .... .... .... .... .... .... .... ....",
        ".... .... .... .... .... .... .... .... .... .... .... .... .... .... .... ....",
    },
    {   // P Q R S T U V W X Y Z [ \ ] ^ _
        "XXX. .XX. XXX. .XXX XXX. X..X X.X. X..X X..X X.X. XXXX .XX. X... .XX. .X.. ....",
        "X..X X..X X..X X... .X.. X..X X.X. X..X X..X X.X. ...X .X.. X... ..X. X.X. ....",
        "X..X X..X X..X .XX. .X.. X..X X.X. X..X .XX. X.X. ..X. .X.. .X.. ..X. .... ....",
        "XXX. X..X XXX. ...X .X.. X..X X.X. XXXX .XX. .X.. .X.. .X.. ..X. ..X. .... ....",
        "X... X.X. X.X. ...X .X.. X..X X.X. XXXX X..X .X.. X... .X.. ...X ..X. .... ....",
        "X... .X.X X..X XXX. .X.. .XX. .X.. X..X X..X .X.. XXXX .XX. ...X .XX. .... ....",
        ".... .... .... .... .... .... .... .... .... .... .... .... .... .... .... XXXX",
        ".... .... .... .... .... .... .... .... .... .... .... .... .... .... .... ....",
    },
    {   // ` a b c d e f g h i j k l m n o
        "X... .... X... .... ...X .... ..XX .... X... .X.. ..X. X... XX.. .... .... ....",
        ".X.. .... X... .... ...X .... .X.. .... X... .... .... X... .X.. .... .... ....",
        ".... .XXX XXX. .XXX .XXX .XX. XXX. .XXX XXX. XX.. .XX. X.X. .X.. X..X XXX. .XX.",
        ".... X..X X..X X... X..X XXXX .X.. X..X X..X .X.. ..X. XX.. .X.. XXXX X..X X..X",
        ".... X..X X..X X... X..X X... .X.. X..X X..X .X.. ..X. X.X. .X.. X..X X..X X..X",
        ".... .XXX XXX. .XXX .XXX .XXX .X.. .XXX X..X XXX. ..X. X..X XXX. X..X X..X .XX.",
        ".... .... .... .... .... .... .... ...X .... .... ..X. .... .... .... .... ....",
        ".... .... .... .... .... .... .... XXX. .... .... XX.. .... .... .... .... ....",
    },
    {   // p q r s t u v w x y z { | } ~
        ".... .... .... .... .X.. .... .... .... .... .... .... ..X. .X.. .X.. .... ....",
        ".... .... .... .... .X.. .... .... .... .... .... .... .X.. .X.. ..X. .X.X ....",
        "XXX. .XXX X.XX .XXX XXX. X..X X.X. X..X X..X X..X XXXX XX.. .X.. ..XX X.X. ....",
        "X..X X..X XX.. XX.. .X.. X..X X.X. X..X .XX. X..X ..X. .X.. .X.. ..X. .... ....",
        "X..X X..X X... ..XX .X.. X..X X.X. XXXX .XX. X..X .X.. .X.. .X.. ..X. .... ....",
        "XXX. .XXX X... XXX. ..XX .XXX .X.. X..X X..X .XXX XXXX ..X. .X.. .X.. .... ....",
        "X... ...X .... .... .... .... .... .... .... ...X .... .... .X.. .... .... ....",
        "X... ...X .... .... .... .... .... .... .... .XX. .... .... .... .... .... ....",
    },
};

const char* const largeBands[6][largeRows] = {
    {   // space ! " # $ % & ' ( ) * + , - . /
        "..... ..X.. .X.X. .X.X. ..X.. XX..X .XX.. ..X.. ...X. .X... ..... ..... ..... ..... ..... ....X",
        "..... ..X.. .X.X. .X.X. .XXXX XX..X X..X. ..X.. ..X.. ..X.. ..X.. ..X.. ..... ..... ..... ....X",
        "..... ..X.. ..... XXXXX X.X.. ...X. X.X.. ..... .X... ...X. X.X.X ..X.. ..... ..... ..... ...X.",
        "..... ..X.. ..... .X.X. .XXX. ..X.. .X... ..... .X... ...X. .XXX. XXXXX ..... XXXXX ..... ..X..",
        "..... ..X.. ..... XXXXX ..X.X .X... X.X.X ..... .X... ...X. X.X.X ..X.. ..... ..... ..... .X...",
        "..... ..... ..... .X.X. XXXX. X..XX X..X. ..... ..X.. ..X.. ..X.. ..X.. ..X.. ..... ..... X....",
        "..... ..X.. ..... .X.X. ..X.. X..XX .XX.X ..... ...X. .X... ..... ..... ..X.. ..... ..X.. X....",
        "..... ..... ..... ..... ..... ..... ..... ..... ..... ..... ..... ..... .X... ..... ..... .....",
        "..... ..... ..... ..... ..... ..... ..... ..... ..... ..... ..... ..... ..... ..... ..... .....",
    },
    {   // 0 1 2 3 4 5 6 7 8 9 : ; < = > ?
        ".XXX. ..X.. .XXX. XXXX. ...X. XXXXX ..XX. XXXXX .XXX. .XXX. ..... ..... ...X. ..... .X... .XXX.",
        "X...X .XX.. X...X ....X ..XX. X.... .X... ....X X...X X...X ..X.. ..X.. ..X.. ..... ..X.. X...X",
        "X..XX ..X.. ....X ....X .X.X. XXXX. X.... ...X. X...X X...X ..... ..... .X... XXXXX ...X. ....X",
        "X.X.X ..X.. ..XX. .XXX. X..X. ....X XXXX. ..X.. .XXX. .XXXX ..... ..... X.... ..... ....X ..XX.",
        "XX..X ..X.. .X... ....X XXXXX ....X X...X .X... X...X ....X ..... ..... .X... XXXXX ...X. ..X..",
        "X...X ..X.. X.... ....X ...X. X...X X...X .X... X...X ...X. ..X.. ..X.. ..X.. ..... ..X.. .....",
        ".XXX. .XXX. XXXXX XXXX. ...X. .XXX. .XXX. .X... .XXX. .XX.. ..... ..X.. ...X. ..... .X... ..X..",
        "..... ..... ..... ..... ..... ..... ..... ..... ..... ..... ..... .X... ..... ..... ..... .....",
        "..... ..... ..... ..... ..... ..... ..... ..... ..... ..... ..... ..... ..... ..... ..... .....",
    },
    {   // @ A B C D E F G H I J K L M N O
        ".XXX. .XXX. XXXX. .XXX. XXXX. XXXXX XXXXX .XXX. X...X .XXX. ..XXX X...X X.... X...X X...X .XXX.",
        "X...X X...X X...X X...X X...X X.... X.... X...X X...X ..X.. ...X. X..X. X.... XX.XX X...X X...X",
        "X.XXX X...X X...X X.... X...X X.... X.... X.... X...X ..X.. ...X. X.X.. X.... X.X.X XX..X X...X",
        "X.X.X XXXXX XXXX. X.... X...X XXXX. XXXX. X.XXX XXXXX ..X.. ...X. XX... X.... X.X.X X.X.X X...X",
        "X.XXX X...X X...X X.... X...X X.... X.... X...X X...X ..X.. ...X. X.X.. X.... X...X X..XX X...X",
        "X.... X...X X...X X...X X...X X.... X.... X...X X...X ..X.. X..X. X..X. X.... X...X X...X X...X",
        ".XXXX X...X XXXX. .XXX. XXXX. XXXXX X.... .XXXX X...X .XXX. .XX.. X...X XXXXX X...X X...X .XXX.",
        "..... ..... ..... ..... ..... ..... ..... ..... ..... ..... ..... ..... ..... ..... ..... .....",
        "..... ..... ..... ..... ..... ..... ..... ..... ..... ..... ..... ..... ..... ..... ..... .....",
    },
    {   // P Q R S T U V W X Y Z [ \ ] ^ _
        "XXXX. .XXX. XXXX. .XXXX XXXXX X...X X...X X...X X...X X...X XXXXX .XXX. X.... .XXX. ..X.. .....",
        "X...X X...X X...X X.... ..X.. X...X X...X X...X X...X X...X ....X .X... X.... ...X. .X.X. .....",
        "X...X X...X X...X X.... ..X.. X...X X...X X...X .X.X. .X.X. ...X. .X... .X... ...X. X...X .....",
        "XXXX. X...X XXXX. .XXX. ..X.. X...X X...X X.X.X ..X.. ..X.. ..X.. .X... ..X.. ...X. ..... .....",
        "X.... X.X.X X.X.. ....X ..X.. X...X X...X X.X.X .X.X. ..X.. .X... .X... ...X. ...X. ..... .....",
        "X.... X..X. X..X. ....X ..X.. X...X .X.X. X.X.X X...X ..X.. X.... .X... ....X ...X. ..... .....",
        "X.... .XX.X X...X XXXX. ..X.. .XXX. ..X.. .X.X. X...X ..X.. XXXXX .XXX. ....X .XXX. ..... .....",
        "..... ..... ..... ..... ..... ..... ..... ..... ..... ..... ..... ..... ..... ..... ..... XXXXX",
        "..... ..... ..... ..... ..... ..... ..... ..... ..... ..... ..... ..... ..... ..... ..... .....",
    },
    {   // ` a b c d e f g h i j k l m n o
        ".X... ..... X.... ..... ....X ..... ..XX. ..... X.... ..X.. ...X. X.... .XX.. ..... ..... .....",
        "..X.. ..... X.... ..... ....X ..... .X... ..... X.... ..... ..... X.... ..X.. ..... ..... .....",
        "..... .XXX. XXXX. .XXXX .XXXX .XXX. XXXX. .XXXX XXXX. .XX.. ..XX. X..X. ..X.. XX.X. XXXX. .XXX.",
        "..... ....X X...X X.... X...X X...X .X... X...X X...X ..X.. ...X. X.X.. ..X.. X.X.X X...X X...X",
        "..... .XXXX X...X X.... X...X XXXXX .X... X...X X...X ..X.. ...X. XX... ..X.. X.X.X X...X X...X",
        "..... X...X X...X X.... X...X X.... .X... X...X X...X ..X.. ...X. X.X.. ..X.. X.X.X X...X X...X",
        "..... .XXXX XXXX. .XXXX .XXXX .XXXX .X... .XXXX X...X .XXX. ...X. X..X. .XXX. X.X.X X...X .XXX.",
        "..... ..... ..... ..... ..... ..... ..... ....X ..... ..... X..X. ..... ..... ..... ..... .....",
        "..... ..... ..... ..... ..... ..... ..... .XXX. ..... ..... .XX.. ..... ..... ..... ..... .....",
    },
    {   // p q r s t u v w x y z { | } ~
        "..... ..... ..... ..... .X... ..... ..... ..... ..... ..... ..... ...X. ..X.. .X... ..... .....",
        "..... ..... ..... ..... .X... ..... ..... ..... ..... ..... ..... ..X.. ..X.. ..X.. ..... .....",
        "XXXX. .XXXX X.XX. .XXXX XXXX. X...X X...X X...X X...X X...X XXXXX ..X.. ..X.. ..X.. .X... .....",
        "X...X X...X XX..X X.... .X... X...X X...X X...X .X.X. X...X ...X. .X... ..X.. ...X. X.X.X .....",
        "X...X X...X X.... .XXX. .X... X...X X...X X.X.X ..X.. X...X ..X.. ..X.. ..X.. ..X.. ...X. .....",
        "X...X X...X X.... ....X .X..X X..XX .X.X. X.X.X .X.X. X...X .X... ..X.. ..X.. ..X.. ..... .....",
        "XXXX. .XXXX X.... XXXX. ..XX. .XX.X ..X.. .X.X. X...X .XXXX XXXXX ...X. ..X.. .X... ..... .....",
        "X.... ....X ..... ..... ..... ..... ..... ..... ..... ....X ..... ..... ..X.. ..... ..... .....",
        "X.... ....X ..... ..... ..... ..... ..... ..... ..... .XXX. ..... ..... ..... ..... ..... .....",
    },
};

// The life symbol: the ship in miniature, nose to the right.
const char* const lifeSymbol[] = {
    "kk....",
    "kwk...",
    "kwhkk.",
    "kwhcck",
    "kghkk.",
    "kgk...",
    "kk....",
};

const char* smallLine(int band, int row)
{
    return smallBands[band][row];
}

const char* largeLine(int band, int row)
{
    return largeBands[band][row];
}

// Whether the glyph of code in the given set has a body pixel at (column, row).
bool inked(int characterSet, int code, int column, int row)
{
    int width = characterSet == 0 ? smallWidth : largeWidth;
    int rows = characterSet == 0 ? smallRows : largeRows;
    if (code < 32 || code > 127 || column < 0 || column >= width || row < 0 || row >= rows)
        return false;
    int band = (code - 32) / 16;
    int slot = (code - 32) % 16;
    const char* line = characterSet == 0 ? smallLine(band, row) : largeLine(band, row);
    return line[slot * (width + 1) + column] == 'X';
}

void checkBands()
{
    for (int set = 0; set < 2; ++set) {
        int width = set == 0 ? smallWidth : largeWidth;
        int rows = set == 0 ? smallRows : largeRows;
        size_t expected = static_cast<size_t>(16 * width + 15);
        for (int band = 0; band < 6; ++band)
            for (int row = 0; row < rows; ++row) {
                const char* line = set == 0 ? smallLine(band, row) : largeLine(band, row);
                if (std::strlen(line) != expected) {
                    std::fprintf(stderr, "font set %d band %d row %d: %zu characters, want %zu\n",
                        set, band, row, std::strlen(line), expected);
                    std::exit(1);
                }
            }
    }
}

struct Shade {
    int top[3];
    int bottom[3];
    int shadow[3];
};

const Shade shades[2] = {
    { { 255, 255, 255 }, { 150, 215, 255 }, { 10, 14, 40 } },
    { { 255, 248, 196 }, { 255, 170, 60 }, { 36, 12, 8 } },
};

// Glyph pixel rows are shaded from the capitals' top to the baseline.
int bodyColour(int characterSet, int row)
{
    const Shade& shade = shades[characterSet];
    int capRows = characterSet == 0 ? 6 : 7;
    int span = capRows - 1;
    int r = row < 0 ? 0 : (row > span ? span : row);
    int c[3];
    for (int i = 0; i < 3; ++i)
        c[i] = shade.top[i] + (shade.bottom[i] - shade.top[i]) * r / span;
    return PixelArt::solid(c[0], c[1], c[2]);
}

int shadowColour(int characterSet)
{
    const Shade& shade = shades[characterSet];
    return PixelArt::solid(shade.shadow[0], shade.shadow[1], shade.shadow[2]);
}

// Paints one glyph with its top-left at (x, y): the shadow falls one pixel right and down.
void paintGlyph(BITMAP* target, int characterSet, int code, int x, int y, int scale)
{
    int width = characterSet == 0 ? smallWidth : largeWidth;
    int rows = characterSet == 0 ? smallRows : largeRows;
    int shadow = shadowColour(characterSet);
    for (int row = 0; row <= rows; ++row)
        for (int column = 0; column <= width; ++column) {
            int colour;
            if (inked(characterSet, code, column, row))
                colour = bodyColour(characterSet, row);
            else if (inked(characterSet, code, column - 1, row) || inked(characterSet, code, column, row - 1)
                || inked(characterSet, code, column - 1, row - 1))
                colour = shadow;
            else
                continue;
            int left = x + column * scale;
            int top = y + row * scale;
            rectfill(target, left, top, left + scale - 1, top + scale - 1, colour);
        }
}

// Cell rows where the glyph grid starts, so that both sets share the baseline
// at cell row 12 and descenders with their shadow end on the cell's last row.
int glyphTop(int characterSet)
{
    return characterSet == 0 ? 7 : 6;
}

int advance(int characterSet)
{
    return characterSet == 0 ? 5 : 7;
}

}

FontPicture::FontPicture() : Picture(DataPaths::Font, 256, 256, 1) {}

BITMAP* FontPicture::paint() const
{
    checkBands();
    BITMAP* sheet = PixelArt::transparentBitmap(256, 256);
    if (!sheet)
        return 0;
    for (int set = 0; set < 2; ++set)
        for (int code = 33; code <= 126; ++code) {
            int cell = set == 0 ? code - 32 : code + 96;
            paintGlyph(sheet, set, code, (cell % 16) * 16, (cell / 16) * 16 + glyphTop(set), 1);
        }

    const PixelArt::Ink inks[] = { { 'k', 10, 14, 40 }, { 'w', 240, 246, 255 }, { 'h', 160, 176, 206 },
        { 'c', 80, 210, 255 }, { 'g', 96, 110, 150 } };
    PixelArt art;
    art.setInks(inks);
    const int lifeCell = 127;
    art.paint(sheet, lifeSymbol, 7, (lifeCell % 16) * 16, (lifeCell / 16) * 16 + 7);
    return sheet;
}

void FontPicture::paintText(BITMAP* target, const char* text, int x, int y, int characterSet, int scale)
{
    for (const char* c = text; *c; ++c) {
        paintGlyph(target, characterSet, static_cast<unsigned char>(*c), x, y, scale);
        x += advance(characterSet) * scale;
    }
}

int FontPicture::textWidth(const char* text, int characterSet, int scale)
{
    int length = static_cast<int>(std::strlen(text));
    if (length == 0)
        return 0;
    int width = characterSet == 0 ? smallWidth : largeWidth;
    return ((length - 1) * advance(characterSet) + width + 1) * scale;
}
