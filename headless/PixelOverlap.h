#ifndef SKIFF_HEADLESS_PIXELOVERLAP_H
#define SKIFF_HEADLESS_PIXELOVERLAP_H

struct BITMAP;
struct CollisionMask;

// The collision questions answered the plain way, pixel by pixel, for checking the word-wise masks against.

// Whether (x, y) lies on the bitmap and its pixel is not the mask colour.
bool opaqueAt(BITMAP* bitmap, int x, int y);
// Whether the bit of pixel (x, y) is set; y must lie on the mask and x within the words of its rows.
bool maskPixel(const CollisionMask& mask, int x, int y);
// 1 when some pixel is opaque in both bitmaps with their top-left corners at (ax, ay) and (bx, by), else 0.
int pixelsOverlap(BITMAP* a, BITMAP* b, int ax, int ay, int bx, int by);
// Makes b, placed (dx, dy) from a, opaque exactly where a is clear under it; b's pixels beyond a stay as
// they are. Then no pixel under a is shared, and any column compared with the wrong one shows as a common pixel.
void complementUnder(BITMAP* a, BITMAP* b, int dx, int dy);

#endif
