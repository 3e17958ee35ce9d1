#ifndef SKIFF_ART_NOISE_H
#define SKIFF_ART_NOISE_H

// Deterministic pseudo-random numbers and smooth value noise, the same on every
// machine, so that rebuilding the pictures gives the same files.
class Noise {
public:
    explicit Noise(unsigned seed);
    // Next number of the sequence, 0 to 2^32-1.
    unsigned next();
    // Uniform in [0, 1).
    double unit();
    // Uniform in 0 .. n-1; n must be positive.
    int below(int n);
    // Smooth value noise in [0, 1] at (x, y); one lattice cell per unit.
    double at(double x, double y) const;
    // Sum of octaves of at(), each twice as fine and half as strong, scaled back to [0, 1].
    double fractal(double x, double y, int octaves) const;

private:
    double lattice(int x, int y) const;

    unsigned seed;
    unsigned state;
};

#endif
