#include "FireballPicture.h"

#include "Noise.h"
#include "PixelArt.h"
#include "core/DataPaths.h"

#include <allegro.h>

#include <cmath>

namespace {

const int size = 32;
const int frameCount = 8;

// Per frame: how far the ball reaches, how hot it still burns, and how much
// of the thinning smoke has blown away.
const double reach[frameCount] = { 5.0, 9.0, 12.0, 14.0, 15.0, 15.5, 15.5, 15.0 };
const double heat[frameCount] = { 1.5, 1.35, 1.15, 0.9, 0.62, 0.4, 0.22, 0.1 };
const double thinning[frameCount] = { 0.0, 0.0, 0.0, 0.02, 0.08, 0.18, 0.3, 0.44 };

// A pixel takes the first colour whose threshold its heat exceeds, the last one at the least.
const PixelArt::Band fire[] = { { 0.95, 255, 255, 220 }, { 0.75, 255, 222, 70 }, { 0.55, 255, 150, 28 },
    { 0.38, 228, 78, 18 }, { 0.24, 150, 36, 18 } };
const PixelArt::Band smoke[] = { { 0.30, 120, 108, 104 }, { 0.20, 90, 82, 84 }, { 0.10, 64, 58, 66 },
    { 0.0, 42, 38, 48 } };

int pick(const PixelArt::Band* bands, int count, double value)
{
    for (int i = 0; i < count; ++i)
        if (value > bands[i].above || i == count - 1)
            return bands[i].colour();
    return 0;
}

}

FireballPicture::FireballPicture() : Picture(DataPaths::Explosions[0], size, size, frameCount) {}

void FireballPicture::paintFrame(BITMAP* target, int frame, int x, int y, int scale) const
{
    Noise billows(71);
    Noise lumps(18);
    Noise puffs(913);
    const double centre = (size - 1) / 2.0;
    double radius = reach[frame];
    for (int py = 0; py < size; ++py)
        for (int px = 0; px < size; ++px) {
            double dx = px - centre;
            double dy = py - centre;
            double angle = std::atan2(dy, dx);
            // A lumpy outline: the radius wanders with the direction.
            double lump = lumps.fractal(std::cos(angle) * 1.6 + 20.0, std::sin(angle) * 1.6 + 20.0 + frame * 0.3, 2);
            double distance = std::sqrt(dx * dx + dy * dy) / (radius * (0.78 + lump * 0.4));
            // Sampling relative to the radius makes the billows grow with the ball.
            double n = billows.fractal(dx / radius * 3.0 + 40.0, dy / radius * 3.0 + 40.0 + frame * 0.2, 3);
            double body = 1.0 - distance + (n - 0.5) * 0.5;
            if (body <= 0.0)
                continue;
            double h = (body + (n - 0.5) * 0.4) * heat[frame];
            int colour;
            if (h > fire[4].above) {
                colour = pick(fire, 5, h);
            } else {
                // Smoke puffs, lit from above, tear open as the cloud thins.
                double puff = puffs.fractal(px * 0.16, py * 0.16 + frame * 0.35, 3);
                if (body * 0.8 + puff * 0.5 < thinning[frame] + 0.28)
                    continue;
                double light = puff + (-dy / radius) * 0.12 + body * 0.2;
                colour = pick(smoke, 4, light - 0.35);
            }
            PixelArt::plot(target, x + px * scale, y + py * scale, scale, colour);
        }

    // Sparks fly out ahead of the young ball.
    if (frame >= 1 && frame <= 4) {
        Noise sparks(5);
        for (int i = 0; i < 12; ++i) {
            double angle = sparks.unit() * 6.2831853;
            double pace = 2.6 + sparks.unit() * 1.4;
            double distance = reach[0] + pace * frame;
            int sx = static_cast<int>(std::floor(centre + std::cos(angle) * distance + 0.5));
            int sy = static_cast<int>(std::floor(centre + std::sin(angle) * distance + 0.5));
            if (sx < 0 || sy < 0 || sx >= size || sy >= size)
                continue;
            PixelArt::plot(target, x + sx * scale, y + sy * scale, scale, fire[frame <= 2 ? 1 : 2].colour());
        }
    }
}
