#include "Noise.h"

#include <cmath>

namespace {

unsigned mix(unsigned h)
{
    h ^= h >> 16;
    h *= 0x7feb352dU;
    h ^= h >> 15;
    h *= 0x846ca68bU;
    h ^= h >> 16;
    return h;
}

double smooth(double t)
{
    return t * t * (3.0 - 2.0 * t);
}

}

Noise::Noise(unsigned seed)
    : seed(seed), state(seed * 2654435761U + 1U)
{
}

unsigned Noise::next()
{
    state = state * 1664525U + 1013904223U;
    return mix(state);
}

double Noise::unit()
{
    return (next() >> 8) / 16777216.0;
}

int Noise::below(int n)
{
    return static_cast<int>(unit() * n);
}

double Noise::lattice(int x, int y) const
{
    unsigned h = mix(static_cast<unsigned>(x) * 73856093U ^ mix(static_cast<unsigned>(y) * 19349663U ^ seed));
    return (h >> 8) / 16777215.0;
}

double Noise::at(double x, double y) const
{
    double fx = std::floor(x);
    double fy = std::floor(y);
    int ix = static_cast<int>(fx);
    int iy = static_cast<int>(fy);
    double tx = smooth(x - fx);
    double ty = smooth(y - fy);
    double top = lattice(ix, iy) + (lattice(ix + 1, iy) - lattice(ix, iy)) * tx;
    double bottom = lattice(ix, iy + 1) + (lattice(ix + 1, iy + 1) - lattice(ix, iy + 1)) * tx;
    return top + (bottom - top) * ty;
}

double Noise::fractal(double x, double y, int octaves) const
{
    double sum = 0.0;
    double weight = 1.0;
    double total = 0.0;
    for (int i = 0; i < octaves; ++i) {
        sum += at(x, y) * weight;
        total += weight;
        x = x * 2.0 + 17.3;
        y = y * 2.0 + 5.1;
        weight *= 0.5;
    }
    return sum / total;
}
