#ifndef SKIFF_TOOLS_LEVEL_PAINT_H
#define SKIFF_TOOLS_LEVEL_PAINT_H

// A pixel being painted: channels 0..255 as doubles, or clear (the mask colour).
struct Pixel {
    double r, g, b;
    bool clear;
};

Pixel rgb(double r, double g, double b);
Pixel clearPixel();
// a when t is 0, b when t is 1.
Pixel mix(const Pixel& a, const Pixel& b, double t);
Pixel scale(const Pixel& p, double factor);
double clamp01(double t);
double smoothstep(double edge0, double edge1, double t);

// A well-stirred hash of three integers, and the same as a number in [0, 1).
unsigned hash3(int a, int b, int c);
double unit3(int a, int b, int c);
// Smooth value noise in [0, 1) with lattice points at whole numbers, repeating every
// period lattice steps on both axes.
double valueNoise(double x, double y, int period, int seed);
double valueNoise(double x, double y, int periodX, int periodY, int seed);

#endif
