#include "FlightPlan.h"

#include <algorithm>
#include <cstdlib>

#include "FreeSpace.h"

const double FlightPlan::Unreachable = 1e30;

namespace {
// Per pixel climbed or sunk: among equally good ways, the ship keeps its height.
const double MoveCost = 0.3;
// Below this clearance a place costs more, growing with the square of the shortfall.
const int Comfort = 12;
const double ClearanceWeight = 1.0;
// Per column that a dead end falls short of the map's end: any way on beats any dead end.
const double DeadEndCost = 1e4;
const int RecoveryLookahead = 6;
const double RecoveryMoveCost = 20.0;
}

FlightPlan::FlightPlan(const FreeSpace& space)
    : room(space), planColumns(0), rows(space.rows)
{
    if (room.columns < ColumnWidth + 1 || rows <= 0)
        return;
    planColumns = (room.columns - 1) / ColumnWidth;
    const size_t cells = (size_t)planColumns * rows;
    runUp.assign(cells, 0);
    runDown.assign(cells, 0);
    cost.assign(cells, Unreachable);

    for (int column = 0; column < planColumns; ++column) {
        for (int y = 0; y < rows; ++y)
            runUp[index(column, y)] = open(column, y) ? (short)(1 + (y >= 2 ? runUp[index(column, y - 2)] : 0)) : 0;
        for (int y = rows - 1; y >= 0; --y)
            runDown[index(column, y)] =
                open(column, y) ? (short)(1 + (y + 2 < rows ? runDown[index(column, y + 2)] : 0)) : 0;
    }

    for (int column = planColumns - 1; column >= 0; --column) {
        const int x = column * ColumnWidth;
        for (int y = 0; y < rows; ++y) {
            if (!open(column, y))
                continue;
            const int shortfall = std::max(0, Comfort - clearance(x, y));
            const double here = ClearanceWeight * shortfall * shortfall;
            if (column == planColumns - 1) {
                cost[index(column, y)] = here;
                continue;
            }
            double best = Unreachable;
            if (nextHeight(x, y, 0, 0.0, &best) < 0)
                best = DeadEndCost * (planColumns - 1 - column);
            cost[index(column, y)] = here + best;
        }
    }
}

FlightPlan::~FlightPlan() {}

bool FlightPlan::open(int column, int y) const
{
    if (y < LowestY)
        return false;
    const int x = column * ColumnWidth;
    return room.fits(x, y) && room.fits(x + 1, y) && room.fits(x + 2, y);
}

double FlightPlan::costFrom(int x, int y) const
{
    if (planColumns == 0 || y < 0 || y >= rows)
        return Unreachable;
    return cost[index(columnOf(x), y)];
}

bool FlightPlan::canMove(int x, int fromY, int toY) const
{
    if (planColumns == 0 || x < 0 || fromY < 0 || toY < 0 || fromY >= rows || toY >= rows ||
        (fromY - toY) % 2 != 0)
        return false;
    const int column = columnOf(x);
    const int steps = std::abs(fromY - toY) / 2 + 1;
    if (toY <= fromY)
        return runUp[index(column, fromY)] >= steps;
    return runDown[index(column, fromY)] >= steps;
}

int FlightPlan::nextHeight(int x, int y, int aimY, double aimWeight, double* score) const
{
    if (planColumns == 0 || x < 0)
        return -1;
    const int next = std::min(columnOf(x) + 1, planColumns - 1);
    const int steps = MaxClimb / 2;
    int bestY = -1;
    double best = Unreachable;
    // Outward from no move at all, so that a tie keeps the ship where it is.
    for (int k = 0; k <= 2 * steps; ++k) {
        const int step = (k % 2 == 1) ? (k + 1) / 2 : -(k / 2);
        const int to = y + 2 * step;
        if (to < 0 || to >= rows || !canMove(x, y, to))
            continue;
        const double ahead = cost[index(next, to)];
        if (ahead >= Unreachable)
            continue;
        double here = ahead + MoveCost * std::abs(to - y);
        if (aimWeight > 0)
            here += aimWeight * std::abs(to - aimY);
        if (here < best) {
            best = here;
            bestY = to;
        }
    }
    if (score)
        *score = best;
    return bestY;
}

int FlightPlan::recoveryHeight(int x, int y) const
{
    if (planColumns == 0)
        return y;
    const int column = columnOf(x);
    int bestY = y;
    double best = Unreachable;
    for (int ahead = 1; ahead <= RecoveryLookahead; ++ahead) {
        const int at = std::min(column + ahead, planColumns - 1);
        for (int to = y % 2; to < rows; to += 2) {
            const double here = cost[index(at, to)];
            if (here >= Unreachable)
                continue;
            const double score = here + RecoveryMoveCost * std::abs(to - y);
            if (score < best) {
                best = score;
                bestY = to;
            }
        }
    }
    return bestY;
}

int FlightPlan::clearance(int x, int y) const
{
    if (planColumns == 0 || x < 0 || y < 0 || y >= rows)
        return 0;
    const int column = columnOf(x);
    const int run = std::min(runUp[index(column, y)], runDown[index(column, y)]);
    return run > 0 ? 2 * (run - 1) : 0;
}
