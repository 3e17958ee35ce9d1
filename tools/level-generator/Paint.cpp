#include "Paint.h"

#include <cmath>

Pixel rgb(double r, double g, double b)
{
    Pixel p = { r, g, b, false };
    return p;
}

Pixel clearPixel()
{
    Pixel p = { 255, 0, 255, true };
    return p;
}

Pixel mix(const Pixel& a, const Pixel& b, double t)
{
    return rgb(a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t);
}

Pixel scale(const Pixel& p, double factor)
{
    return rgb(p.r * factor, p.g * factor, p.b * factor);
}

double clamp01(double t)
{
    return t < 0 ? 0 : (t > 1 ? 1 : t);
}

double smoothstep(double edge0, double edge1, double t)
{
    double s = clamp01((t - edge0) / (edge1 - edge0));
    return s * s * (3 - 2 * s);
}

unsigned hash3(int a, int b, int c)
{
    unsigned h = 2166136261u;
    int parts[3] = { a, b, c };
    for (int i = 0; i < 3; i++) {
        h ^= (unsigned)parts[i];
        h *= 16777619u;
        h ^= h >> 15;
        h *= 0x2c1b3c6du;
        h ^= h >> 12;
    }
    return h;
}

double unit3(int a, int b, int c)
{
    return (hash3(a, b, c) & 0xffffff) / 16777216.0;
}

double valueNoise(double x, double y, int period, int seed)
{
    return valueNoise(x, y, period, period, seed);
}

double valueNoise(double x, double y, int periodX, int periodY, int seed)
{
    int x0 = (int)std::floor(x);
    int y0 = (int)std::floor(y);
    double fx = x - x0;
    double fy = y - y0;
    fx = fx * fx * (3 - 2 * fx);
    fy = fy * fy * (3 - 2 * fy);
    int xa = ((x0 % periodX) + periodX) % periodX;
    int ya = ((y0 % periodY) + periodY) % periodY;
    int xb = (xa + 1) % periodX;
    int yb = (ya + 1) % periodY;
    double top = unit3(xa, ya, seed) + (unit3(xb, ya, seed) - unit3(xa, ya, seed)) * fx;
    double bottom = unit3(xa, yb, seed) + (unit3(xb, yb, seed) - unit3(xa, yb, seed)) * fx;
    return top + (bottom - top) * fy;
}
