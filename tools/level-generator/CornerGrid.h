#ifndef SKIFF_TOOLS_LEVEL_CORNERGRID_H
#define SKIFF_TOOLS_LEVEL_CORNERGRID_H

#include <vector>

// Rock drawn on the corners of a grid of cells: each cell's shape follows from which of
// its four corners are solid, so neighbouring cells always meet on the same edge points.
class CornerGrid {
public:
    enum { TopLeft = 1, TopRight = 2, BottomLeft = 4, BottomRight = 8, Full = 15 };

    // A grid of columns x rows cells, all corners solid.
    CornerGrid(int columns, int rows);

    // Corner (i, j), 0 <= i <= columns, 0 <= j <= rows; outside the grid the nearest corner.
    bool solid(int i, int j) const;
    void set(int i, int j, bool isSolid);
    // Which corners of cell (column, row) are solid, as TopLeft | TopRight | ...
    int shape(int column, int row) const;
    // Fills the empty corners of cells whose solid corners lie only on a diagonal, and
    // drops solid corners with no solid neighbour: both make ragged, ambiguous shapes.
    void tidy();

    int columns() const { return cols; }
    int rows() const { return rowCount; }

    // How solid a cell of the given shape is at (u, v) in [0, 1]^2: bilinear between its
    // corners, so it agrees with the neighbouring cells along every edge.
    static double field(int shape, double u, double v);
    // The field's gradient there, in field units per cell.
    static void gradient(int shape, double u, double v, double& gx, double& gy);

private:
    int cols;
    int rowCount;
    std::vector<char> corners;
};

#endif
