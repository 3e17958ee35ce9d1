#include <allegro.h>
#include <benchmark/benchmark.h>

#include "NaiveMask.h"
#include "headless/ScratchFiles.h"
#include "sprites/CollisionMask.h"

namespace {

enum MaskCase { Corner16, Deep32x16, Checker64, Checker64Shift, Disjoint };

// Where a case places its two pictures' top-left corners, and the answer both overlap tests must give.
struct Placing {
    int ax, ay, bx, by;
    int expected;
};

// In the order of MaskCase.
const Placing placings[] = {
    // Only pixel (15, 15) of the first is also under the second.
    {0, 0, 15, 15, 1},
    // A solid sprite over the wall tile's lower half, 5 pixels in from its left edge.
    {5, 16, 0, 0, 1},
    // Every word pair is compared and none has a bit in common.
    {0, 0, 0, 0, 0},
    // The second 3 pixels right and 1 down: the squares still alternate, so no pixel is
    // shared, and every row of the second straddles words of the first.
    {0, 0, 3, 1, 0},
    {0, 0, 100, 3, 0},
};

// Two placed masks and their per-pixel twins.
struct MaskPair {
    explicit MaskPair(MaskCase which);
    ~MaskPair();

    const Placing& at;
    CollisionMask* a;
    CollisionMask* b;
    NaiveMask* naiveA;
    NaiveMask* naiveB;
};

BITMAP* checkerboard(int size, int parity)
{
    BITMAP* bitmap = makeBitmap(size, size, magenta());
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            if ((x + y) % 2 == parity)
                putpixel(bitmap, x, y, opaqueWhite());
        }
    }
    return bitmap;
}

// The two pictures of a case.
void paint(MaskCase which, BITMAP*& first, BITMAP*& second)
{
    switch (which) {
    case Corner16:
    case Disjoint:
        first = makeBitmap(16, 16, opaqueWhite());
        second = makeBitmap(16, 16, opaqueWhite());
        break;
    case Deep32x16:
        // A solid sprite, and a wall tile with a small solid block in its bottom-right corner.
        first = makeBitmap(32, 16, opaqueWhite());
        second = makeBitmap(32, 32, magenta());
        rectfill(second, 28, 28, 31, 31, opaqueWhite());
        break;
    case Checker64:
    case Checker64Shift:
        first = checkerboard(64, 0);
        second = checkerboard(64, 1);
        break;
    }
}

MaskPair::MaskPair(MaskCase which) : at(placings[which])
{
    BITMAP* first = nullptr;
    BITMAP* second = nullptr;
    paint(which, first, second);
    a = createMask(first);
    b = createMask(second);
    naiveA = new NaiveMask(*a);
    naiveB = new NaiveMask(*b);
    destroy_bitmap(first);
    destroy_bitmap(second);
}

MaskPair::~MaskPair()
{
    delete naiveA;
    delete naiveB;
    destroyMask(a);
    destroyMask(b);
}

// The pair's answer from overlap, checked once, then asked again and again.
template <typename Mask, int (*overlap)(const Mask*, const Mask*, int, int, int, int)>
void measure(benchmark::State& state, const MaskPair& pair, const Mask* a, const Mask* b)
{
    int ax = pair.at.ax, ay = pair.at.ay, bx = pair.at.bx, by = pair.at.by;
    if (overlap(a, b, ax, ay, bx, by) != pair.at.expected) {
        state.SkipWithError("the overlap test gives the wrong answer");
        return;
    }
    for (auto _ : state) {
        benchmark::DoNotOptimize(a);
        benchmark::DoNotOptimize(b);
        benchmark::DoNotOptimize(ax);
        benchmark::DoNotOptimize(bx);
        int result = overlap(a, b, ax, ay, bx, by);
        benchmark::DoNotOptimize(result);
    }
}

void BM_MasksOverlap(benchmark::State& state, MaskCase which)
{
    MaskPair pair(which);
    measure<CollisionMask, masksOverlap>(state, pair, pair.a, pair.b);
}

void BM_NaiveOverlap(benchmark::State& state, MaskCase which)
{
    MaskPair pair(which);
    measure<NaiveMask, NaiveMask::overlap>(state, pair, pair.naiveA, pair.naiveB);
}

}

BENCHMARK_CAPTURE(BM_MasksOverlap, corner16, Corner16);
BENCHMARK_CAPTURE(BM_MasksOverlap, deep32x16, Deep32x16);
BENCHMARK_CAPTURE(BM_MasksOverlap, checker64, Checker64);
BENCHMARK_CAPTURE(BM_MasksOverlap, checker64shift, Checker64Shift);
BENCHMARK_CAPTURE(BM_MasksOverlap, disjoint, Disjoint);
BENCHMARK_CAPTURE(BM_NaiveOverlap, corner16, Corner16);
BENCHMARK_CAPTURE(BM_NaiveOverlap, deep32x16, Deep32x16);
BENCHMARK_CAPTURE(BM_NaiveOverlap, checker64, Checker64);
BENCHMARK_CAPTURE(BM_NaiveOverlap, checker64shift, Checker64Shift);
BENCHMARK_CAPTURE(BM_NaiveOverlap, disjoint, Disjoint);
