#ifndef SKIFF_TOOLS_PLAYTEST_FLIGHTPLAN_H
#define SKIFF_TOOLS_PLAYTEST_FLIGHTPLAN_H

#include <algorithm>
#include <vector>

class FreeSpace;

// How good it is for the ship to be at a place, looking all the way to the map's end:
// the cost of the cheapest way on from there, where a way may climb or sink a little per
// column (what the ship manages while the map scrolls under it) and costs more close to walls.
// Places with no way on cost more the sooner their way ends.
class FlightPlan {
public:
    enum {
        ColumnWidth = 2,  // the plan's columns: the ship's x rounded down to an even pixel
        MaxClimb = 16,    // pixels up or down per column (the scrolling leaves time for 20)
        LowestY = 16      // the grid's top row is never tested for terrain; no way leads there
    };

    // Plans for the ship's free space; room must outlive the plan.
    explicit FlightPlan(const FreeSpace& room);
    virtual ~FlightPlan();

    // Cost of going on from column x (rounded down to the plan's columns) at height y;
    // Unreachable where the ship cannot be.
    double costFrom(int x, int y) const;
    // Whether the ship at x can move from height fromY to toY within its column.
    bool canMove(int x, int fromY, int toY) const;
    // Best height to be at in the next column, from (x, y), adding aimWeight per pixel away from
    // aimY (aimWeight 0: no aim). Returns y itself when nothing is better; -1 when no move is
    // possible from there (the ship is not where the plan can fly). score, when given, receives the
    // best height's cost (Unreachable when there is none).
    int nextHeight(int x, int y, int aimY, double aimWeight, double* score = nullptr) const;
    // The nearest good height in column x when the ship is somewhere the plan cannot fly.
    int recoveryHeight(int x, int y) const;
    // Clearance in pixels to the nearest wall above or below (0 where the ship cannot be).
    int clearance(int x, int y) const;

    static const double Unreachable;

private:
    int index(int column, int y) const { return column * rows + y; }
    // The plan's column of x, the last one past the map's end.
    int columnOf(int x) const { return std::min(std::max(x, 0) / ColumnWidth, planColumns - 1); }
    bool open(int column, int y) const;

    const FreeSpace& room;
    int planColumns;
    int rows;
    std::vector<double> cost;
    std::vector<short> runUp;    // open places straight above, this one included, in steps of 2
    std::vector<short> runDown;  // likewise below
};

#endif
