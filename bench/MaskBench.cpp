#include <allegro.h>
#include <benchmark/benchmark.h>

#include "NaiveMask.h"
#include "headless/ScratchFiles.h"
#include "sprites/CollisionMask.h"

namespace {

enum MaskCase { Corner16, Deep32x16, Checker64, Checker64Shift, Disjoint };

// Two placed masks and their per-pixel twins, with the answer both must give.
struct MaskPair {
    explicit MaskPair(MaskCase which);
    ~MaskPair();

    CollisionMask* a;
    CollisionMask* b;
    NaiveMask* naiveA;
    NaiveMask* naiveB;
    int ax, ay, bx, by;
    int expected;
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

MaskPair::MaskPair(MaskCase which) : ax(0), ay(0), bx(0), by(0), expected(0)
{
    BITMAP* first = nullptr;
    BITMAP* second = nullptr;
    switch (which) {
    case Corner16:
        // Only pixel (15, 15) of the first is also under the second.
        first = makeBitmap(16, 16, opaqueWhite());
        second = makeBitmap(16, 16, opaqueWhite());
        bx = 15;
        by = 15;
        expected = 1;
        break;
    case Deep32x16:
        // A wall tile with a small solid block in its bottom-right corner, and a solid
        // sprite over the tile's lower half, 5 pixels in from its left edge.
        first = makeBitmap(32, 16, opaqueWhite());
        second = makeBitmap(32, 32, magenta());
        rectfill(second, 28, 28, 31, 31, opaqueWhite());
        ax = 5;
        ay = 16;
        expected = 1;
        break;
    case Checker64:
        // Every word pair is compared and none has a bit in common.
        first = checkerboard(64, 0);
        second = checkerboard(64, 1);
        expected = 0;
        break;
    case Checker64Shift:
        // The same pair with the second 3 pixels right and 1 down: the squares still alternate,
        // so no pixel is shared, and every row of the second straddles words of the first.
        first = checkerboard(64, 0);
        second = checkerboard(64, 1);
        bx = 3;
        by = 1;
        expected = 0;
        break;
    case Disjoint:
        first = makeBitmap(16, 16, opaqueWhite());
        second = makeBitmap(16, 16, opaqueWhite());
        bx = 100;
        by = 3;
        expected = 0;
        break;
    }
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
    int ax = pair.ax, ay = pair.ay, bx = pair.bx, by = pair.by;
    if (overlap(a, b, ax, ay, bx, by) != pair.expected) {
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
