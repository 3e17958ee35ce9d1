#include "CornerGrid.h"

CornerGrid::CornerGrid(int columns, int rows)
    : cols(columns), rowCount(rows), corners((columns + 1) * (rows + 1), 1)
{
}

bool CornerGrid::solid(int i, int j) const
{
    i = i < 0 ? 0 : (i > cols ? cols : i);
    j = j < 0 ? 0 : (j > rowCount ? rowCount : j);
    return corners[j * (cols + 1) + i] != 0;
}

void CornerGrid::set(int i, int j, bool isSolid)
{
    if (i < 0 || j < 0 || i > cols || j > rowCount)
        return;
    corners[j * (cols + 1) + i] = isSolid ? 1 : 0;
}

int CornerGrid::shape(int column, int row) const
{
    return (solid(column, row) ? TopLeft : 0) | (solid(column + 1, row) ? TopRight : 0)
        | (solid(column, row + 1) ? BottomLeft : 0) | (solid(column + 1, row + 1) ? BottomRight : 0);
}

void CornerGrid::tidy()
{
    bool changed = true;
    while (changed) {
        changed = false;
        for (int j = 0; j <= rowCount; j++)
            for (int i = 0; i <= cols; i++) {
                if (!solid(i, j))
                    continue;
                bool lonely = !solid(i - 1, j) && !solid(i + 1, j) && !solid(i, j - 1) && !solid(i, j + 1);
                if (lonely && i > 0 && j > 0 && i < cols && j < rowCount) {
                    set(i, j, false);
                    changed = true;
                }
            }
        for (int r = 0; r < rowCount; r++)
            for (int c = 0; c < cols; c++) {
                int s = shape(c, r);
                if (s == (TopLeft | BottomRight) || s == (TopRight | BottomLeft)) {
                    for (int k = 0; k < 4; k++)
                        set(c + (k & 1), r + (k >> 1), true);
                    changed = true;
                }
            }
    }
}

double CornerGrid::field(int shape, double u, double v)
{
    double a = (shape & TopLeft) ? 1 : 0;
    double b = (shape & TopRight) ? 1 : 0;
    double c = (shape & BottomLeft) ? 1 : 0;
    double d = (shape & BottomRight) ? 1 : 0;
    double top = a + (b - a) * u;
    double bottom = c + (d - c) * u;
    return top + (bottom - top) * v;
}

void CornerGrid::gradient(int shape, double u, double v, double& gx, double& gy)
{
    double a = (shape & TopLeft) ? 1 : 0;
    double b = (shape & TopRight) ? 1 : 0;
    double c = (shape & BottomLeft) ? 1 : 0;
    double d = (shape & BottomRight) ? 1 : 0;
    gx = (b - a) * (1 - v) + (d - c) * v;
    gy = (c - a) * (1 - u) + (d - b) * u;
}
