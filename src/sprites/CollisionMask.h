#ifndef SKIFF_SPRITES_COLLISIONMASK_H
#define SKIFF_SPRITES_COLLISIONMASK_H

#include <cstdint>

struct BITMAP;

// One bit per pixel, set where the bitmap is opaque. Rows of 32-bit words, the
// most significant bit leftmost; the bits past width in a row's last word are 0.
struct CollisionMask {
    int32_t height;
    int32_t width;
    int32_t lastWord;      // words per row minus 1
    uint32_t* bits;        // height * (lastWord + 1) words, top row first
    uint32_t* rows[1];     // height entries; rows[y] is the first word of row y
};

// Mask of the whole bitmap; null for a null bitmap or when memory runs out.
CollisionMask* createMask(BITMAP* bitmap);
// Releases both blocks of the mask; null does nothing.
void destroyMask(CollisionMask* mask);
// 1 when a pixel is set in both masks with their top-left corners at (ax, ay)
// and (bx, by), 0 otherwise. Boxes that only touch do not overlap. Time grows with the
// overlap's rows times its groups of 64 columns, whatever the shift between the masks.
int masksOverlap(const CollisionMask* a, const CollisionMask* b, int ax, int ay, int bx, int by);

#endif
