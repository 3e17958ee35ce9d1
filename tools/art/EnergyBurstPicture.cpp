#include "EnergyBurstPicture.h"

#include "Noise.h"
#include "PixelArt.h"
#include "core/DataPaths.h"

#include <allegro.h>

#include <cmath>

namespace {

const int size = 24;
const int frameCount = 7;

const double ringRadius[frameCount] = { 1.0, 4.5, 6.5, 8.2, 9.4, 10.3, 11.0 };
const double ringWidth[frameCount] = { 2.6, 2.4, 2.1, 1.8, 1.5, 1.2, 1.0 };
const double coreRadius[frameCount] = { 4.6, 4.0, 3.0, 2.0, 1.0, 0.0, 0.0 };
const double spikeLength[frameCount] = { 11.0, 12.0, 10.0, 7.0, 4.0, 0.0, 0.0 };
const double glow[frameCount] = { 1.0, 1.0, 0.92, 0.8, 0.62, 0.45, 0.3 };
// How much of the ring has frayed away.
const double fray[frameCount] = { 0.0, 0.0, 0.05, 0.15, 0.3, 0.42, 0.52 };

// A pixel takes the first colour whose threshold its glow exceeds; below the last it stays clear.
const PixelArt::Band energy[] = { { 0.82, 235, 255, 255 }, { 0.64, 100, 240, 255 }, { 0.46, 50, 212, 180 },
    { 0.28, 60, 200, 90 }, { 0.12, 24, 118, 64 } };

}

EnergyBurstPicture::EnergyBurstPicture() : Picture(DataPaths::Explosions[1], size, size, frameCount) {}

void EnergyBurstPicture::paintFrame(BITMAP* target, int frame, int x, int y, int scale) const
{
    Noise ragged(404);
    const double centre = (size - 1) / 2.0;
    for (int py = 0; py < size; ++py)
        for (int px = 0; px < size; ++px) {
            double dx = px - centre;
            double dy = py - centre;
            double distance = std::sqrt(dx * dx + dy * dy);
            double angle = std::atan2(dy, dx);

            double ring = 1.0 - std::fabs(distance - ringRadius[frame]) / ringWidth[frame];
            double torn = ragged.fractal(std::cos(angle) * 2.5 + 10.0, std::sin(angle) * 2.5 + 10.0 + frame * 0.9, 2);
            if (torn < fray[frame])
                ring = 0.0;
            double core = coreRadius[frame] > 0.0 ? 1.15 - distance / coreRadius[frame] : 0.0;

            // A star flare: four long spikes and four short ones, turning slowly.
            double ray = 0.0;
            if (distance > 0.5) {
                const double step = 0.78539816;
                double turn = std::fmod(angle + 6.28318531 + frame * 0.1, 2.0 * step);
                bool major = turn < step * 0.5 || turn > step * 1.5;
                double nearest = turn - (turn < step * 0.5 ? 0.0 : (turn > step * 1.5 ? 2.0 * step : step));
                double aside = std::fabs(nearest) * distance;
                double length = major ? spikeLength[frame] : spikeLength[frame] * 0.55;
                if (aside < 0.75 && distance < length * 1.1)
                    ray = (1.0 - aside / 0.75) * (1.1 - distance / length) * 1.4;
            }

            // A faint haze fills the young ring.
            double haze = frame >= 1 && frame <= 4 && distance < ringRadius[frame] ? 0.3 - frame * 0.03 : 0.0;
            double value = ring > haze ? ring : haze;
            if (core > value)
                value = core;
            if (ray > value)
                value = ray;
            value *= glow[frame];
            for (int i = 0; i < 5; ++i)
                if (value > energy[i].above) {
                    PixelArt::plot(target, x + px * scale, y + py * scale, scale, energy[i].colour());
                    break;
                }
        }

    // Motes drift outward behind the ring.
    Noise motes(77);
    for (int i = 0; i < 10; ++i) {
        double angle = motes.unit() * 6.2831853;
        double lag = 1.0 + motes.unit() * 3.0;
        double distance = ringRadius[frame] - lag;
        if (frame < 2 || distance < 1.0)
            continue;
        int mx = static_cast<int>(std::floor(centre + std::cos(angle) * distance + 0.5));
        int my = static_cast<int>(std::floor(centre + std::sin(angle) * distance + 0.5));
        PixelArt::plot(target, x + mx * scale, y + my * scale, scale, energy[frame < 5 ? 1 : 3].colour());
    }
}
