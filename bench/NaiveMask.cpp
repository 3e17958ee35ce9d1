#include "NaiveMask.h"

#include <algorithm>

#include "headless/PixelOverlap.h"
#include "sprites/CollisionMask.h"

NaiveMask::NaiveMask(const CollisionMask& mask) : width(mask.width), height(mask.height)
{
    pixels.resize(static_cast<size_t>(width) * height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x)
            pixels[static_cast<size_t>(y) * width + x] = maskPixel(mask, x, y);
    }
}

NaiveMask::~NaiveMask() {}

int NaiveMask::overlap(const NaiveMask* a, const NaiveMask* b, int ax, int ay, int bx, int by)
{
    if (ax >= bx + b->width || bx >= ax + a->width || ay >= by + b->height || by >= ay + a->height)
        return 0;
    const int left = std::max(ax, bx);
    const int right = std::min(ax + a->width, bx + b->width);
    const int top = std::max(ay, by);
    const int bottom = std::min(ay + a->height, by + b->height);
    for (int y = top; y < bottom; ++y) {
        for (int x = left; x < right; ++x) {
            if (a->pixels[static_cast<size_t>(y - ay) * a->width + (x - ax)] &&
                b->pixels[static_cast<size_t>(y - by) * b->width + (x - bx)])
                return 1;
        }
    }
    return 0;
}
