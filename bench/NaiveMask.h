#ifndef SKIFF_BENCH_NAIVEMASK_H
#define SKIFF_BENCH_NAIVEMASK_H

#include <vector>

struct CollisionMask;

// The overlap question asked the slow, obvious way: one bool per pixel.
// The yardstick the word-wise mask test is measured against.
class NaiveMask {
public:
    // Same pixels as mask.
    explicit NaiveMask(const CollisionMask& mask);
    virtual ~NaiveMask();

    // Same contract as masksOverlap: the same box reject, then the overlap
    // rectangle row by row from the top, stopping at the first common pixel.
    static int overlap(const NaiveMask* a, const NaiveMask* b, int ax, int ay, int bx, int by);

    int width;
    int height;
    std::vector<bool> pixels;  // row by row, top row first
};

#endif
