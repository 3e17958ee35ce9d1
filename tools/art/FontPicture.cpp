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

// What sets the two character sets apart.
struct GlyphSet {
    const char* const* lines;  // band after band, rows lines each
    int width;
    int rows;
    int capRows;  // from the capitals' top to the baseline, which the shading spans
    // Cell row where the glyph grid starts, so that both sets share the baseline at cell row 12
    // and descenders with their shadow end on the cell's last row.
    int glyphTop;
    int advance;
    int topColour[3];
    int bottomColour[3];
    int shadowColour[3];
};

const GlyphSet sets[2] = {
    {&smallBands[0][0], smallWidth, smallRows, 6, 7, 5, {255, 255, 255}, {150, 215, 255}, {10, 14, 40}},
    {&largeBands[0][0], largeWidth, largeRows, 7, 6, 7, {255, 248, 196}, {255, 170, 60}, {36, 12, 8}},
};

// Whether the glyph of code has a body pixel at (column, row).
bool inked(const GlyphSet& set, int code, int column, int row)
{
    if (code < 32 || code > 127 || column < 0 || column >= set.width || row < 0 || row >= set.rows)
        return false;
    const char* line = set.lines[(code - 32) / 16 * set.rows + row];
    return line[(code - 32) % 16 * (set.width + 1) + column] == 'X';
}

void checkBands()
{
    for (const GlyphSet& set : sets) {
        size_t expected = static_cast<size_t>(16 * set.width + 15);
        for (int line = 0; line < 6 * set.rows; ++line) {
            if (std::strlen(set.lines[line]) != expected) {
                std::fprintf(stderr, "font set %d band %d row %d: %zu characters, want %zu\n",
                    static_cast<int>(&set - sets), line / set.rows, line % set.rows, std::strlen(set.lines[line]),
                    expected);
                std::exit(1);
            }
        }
    }
}

// Glyph pixel rows are shaded from the capitals' top to the baseline.
int bodyColour(const GlyphSet& set, int row)
{
    int span = set.capRows - 1;
    int r = row < 0 ? 0 : (row > span ? span : row);
    int c[3];
    for (int i = 0; i < 3; ++i)
        c[i] = set.topColour[i] + (set.bottomColour[i] - set.topColour[i]) * r / span;
    return PixelArt::solid(c[0], c[1], c[2]);
}

// Paints one glyph with its top-left at (x, y): the shadow falls one pixel right and down.
void paintGlyph(BITMAP* target, const GlyphSet& set, int code, int x, int y, int scale)
{
    int shadow = PixelArt::solid(set.shadowColour[0], set.shadowColour[1], set.shadowColour[2]);
    for (int row = 0; row <= set.rows; ++row)
        for (int column = 0; column <= set.width; ++column) {
            int colour;
            if (inked(set, code, column, row))
                colour = bodyColour(set, row);
            else if (inked(set, code, column - 1, row) || inked(set, code, column, row - 1)
                || inked(set, code, column - 1, row - 1))
                colour = shadow;
            else
                continue;
            PixelArt::plot(target, x + column * scale, y + row * scale, scale, colour);
        }
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
            paintGlyph(sheet, sets[set], code, (cell % 16) * 16, (cell / 16) * 16 + sets[set].glyphTop, 1);
        }

    const PixelArt::Ink inks[] = { { 'k', 10, 14, 40 }, { 'w', 240, 246, 255 }, { 'h', 160, 176, 206 },
        { 'c', 80, 210, 255 }, { 'g', 96, 110, 150 } };
    const int lifeCell = 127;
    PixelArt(inks).paint(sheet, lifeSymbol, 7, (lifeCell % 16) * 16, (lifeCell / 16) * 16 + 7);
    return sheet;
}

void FontPicture::paintText(BITMAP* target, const char* text, int x, int y, int characterSet, int scale)
{
    for (const char* c = text; *c; ++c) {
        paintGlyph(target, sets[characterSet], static_cast<unsigned char>(*c), x, y, scale);
        x += sets[characterSet].advance * scale;
    }
}

int FontPicture::textWidth(const char* text, int characterSet, int scale)
{
    int length = static_cast<int>(std::strlen(text));
    if (length == 0)
        return 0;
    const GlyphSet& set = sets[characterSet];
    return ((length - 1) * set.advance + set.width + 1) * scale;
}
