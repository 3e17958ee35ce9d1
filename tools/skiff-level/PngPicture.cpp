#include "PngPicture.h"

#include <allegro.h>
#include <png.h>

#include <cstdint>
#include <cstdio>
#include <cstring>

#include "sprites/PictureCheck.h"

namespace {

// What libpng's callbacks share. Plain data: libpng leaves them by longjmp, which runs no destructor.
struct Source {
    const unsigned char* bytes;
    size_t size;
    size_t at;
    char reason[96];
};

[[noreturn]] void onError(png_structp png, png_const_charp message)
{
    Source* source = static_cast<Source*>(png_get_error_ptr(png));
    snprintf(source->reason, sizeof source->reason, "%s", message ? message : "");
    png_longjmp(png, 1);
}

// Warnings are about pictures that still decode; the tool's diagnostics are its only voice.
void onWarning(png_structp, png_const_charp) {}

void onRead(png_structp png, png_bytep out, png_size_t count)
{
    Source* source = static_cast<Source*>(png_get_io_ptr(png));
    if (count > source->size - source->at)
        png_error(png, "the file ends early");
    memcpy(out, source->bytes + source->at, count);
    source->at += count;
}

// The PNG turned into RGBA rows in a new bitmap, or null with source's reason set. No local here or in
// the callbacks may need destroying: an error in libpng jumps straight back to the setjmp below.
BITMAP* decodeInto(Source& source)
{
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &source, onError, onWarning);
    if (!png) {
        snprintf(source.reason, sizeof source.reason, "out of memory");
        return nullptr;
    }
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        snprintf(source.reason, sizeof source.reason, "out of memory");
        return nullptr;
    }
    // Volatile: set after setjmp and read after the jump back.
    BITMAP* volatile picture = nullptr;
    if (setjmp(png_jmpbuf(png))) {
        if (picture)
            destroy_bitmap(picture);
        png_destroy_read_struct(&png, &info, nullptr);
        return nullptr;
    }
    png_set_read_fn(png, &source, onRead);
    png_set_user_limits(png, PictureCheck::MaxSide, PictureCheck::MaxSide);
    png_read_info(png, info);
    png_uint_32 width = png_get_image_width(png, info);
    png_uint_32 height = png_get_image_height(png, info);
    if (width < 1 || height < 1 || width > PictureCheck::MaxSide || height > PictureCheck::MaxSide ||
        static_cast<int64_t>(width) * height > PictureCheck::MaxPixels)
        png_error(png, "the picture is too large");
    // libpng turns any bad colour index into black unseen: indexed pictures are looked up here instead.
    bool indexed = png_get_color_type(png, info) == PNG_COLOR_TYPE_PALETTE;
    if (indexed) {
        png_set_packing(png);
    } else {
        png_set_expand(png);
        png_set_strip_16(png);
        png_set_gray_to_rgb(png);
        png_set_add_alpha(png, 0xff, PNG_FILLER_AFTER);
    }
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    if (png_get_rowbytes(png, info) != static_cast<size_t>(width) * (indexed ? 1 : 4))
        png_error(png, "the rows do not turn into RGBA");
    picture = create_bitmap_ex(32, static_cast<int>(width), static_cast<int>(height));
    if (!picture)
        png_error(png, "out of memory");
    // A 32-bit bitmap's rows hold as many bytes as RGBA rows: libpng fills them with RGBA or one index a
    // pixel, turned into the bitmap's pixel format in place from the row's end.
    png_read_image(png, reinterpret_cast<png_bytepp>(picture->line));
    png_colorp palette = nullptr;
    int colours = 0;
    png_bytep alphas = nullptr;
    int alphaCount = 0;
    if (indexed) {
        png_get_PLTE(png, info, &palette, &colours);
        png_get_tRNS(png, info, &alphas, &alphaCount, nullptr);
    }
    for (png_uint_32 y = 0; y < height; ++y) {
        unsigned char* row = picture->line[y];
        for (png_uint_32 x = width; x-- > 0;) {
            uint32_t pixel;
            if (indexed) {
                int index = row[x];
                if (index >= colours)
                    png_error(png, "a pixel's colour index lies beyond the palette");
                int alpha = index < alphaCount ? alphas[index] : 255;
                pixel = static_cast<uint32_t>(
                    makeacol32(palette[index].red, palette[index].green, palette[index].blue, alpha));
            } else {
                const unsigned char* rgba = row + x * 4;
                pixel = static_cast<uint32_t>(makeacol32(rgba[0], rgba[1], rgba[2], rgba[3]));
            }
            memcpy(row + x * 4, &pixel, 4);
        }
    }
    BITMAP* done = picture;
    png_destroy_read_struct(&png, &info, nullptr);
    return done;
}

}

BITMAP* PngPicture::decode(const unsigned char* bytes, size_t size, std::string& reason)
{
    Source source{bytes, size, 0, ""};
    BITMAP* picture = decodeInto(source);
    reason = picture ? "" : source.reason;
    return picture;
}
