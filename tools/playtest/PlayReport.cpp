#include "PlayReport.h"

PlayReport::PlayReport() : steps(0), endReached(false), aliensPlaced(0), aliens{} {}

PlayReport::~PlayReport() {}

int PlayReport::deathsBy(Cause cause) const
{
    int count = 0;
    for (const Death& death : deaths)
        count += death.cause == cause;
    return count;
}

void PlayReport::print(FILE* out) const
{
    static const char* const causes[] = {"terrain", "alien", "unexplained"};
    fprintf(out, "steps played: %d\n", steps);
    fprintf(out, "lives lost: %d\n", livesLost());
    for (const Death& death : deaths)
        fprintf(out, "  step %6d at (%7.1f, %5.1f): %s\n", death.step, death.x, death.y, causes[death.cause]);
    static const char* const fateLines[] = {"destroyed by shots", "crashed into terrain", "crashed into the ship",
                                             "gone off screen", "remaining"};
    fprintf(out, "aliens placed: %d\n", aliensPlaced);
    for (int fate = 0; fate < FateCount; ++fate)
        fprintf(out, "aliens %s: %d\n", fateLines[fate], aliens[fate]);
    fprintf(out, "end reached: %s\n", endReached ? "yes" : "no");
}

void PlayReport::printFates(FILE* out) const
{
    static const char* const names[] = {"shot", "crashed", "rammed the ship", "gone", "remaining"};
    for (size_t i = 0; i < fates.size(); ++i) {
        const AlienFate& fate = fates[i];
        fprintf(out, "  alien %2d (%4d, %3d): %-15s step %6d at (%4d, %3d), closest %d\n", (int)i + 1,
                fate.placedX, fate.placedY, names[fate.fate], fate.step, fate.x, fate.y, fate.closest);
    }
}
