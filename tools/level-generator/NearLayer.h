#ifndef SKIFF_TOOLS_LEVEL_NEARLAYER_H
#define SKIFF_TOOLS_LEVEL_NEARLAYER_H

#include "CornerGrid.h"
#include "TileLayer.h"

// The near background: dark rock columns, stalactites and stalagmites with open space
// between them, through which the far layer shows.
class NearLayer : public TileLayer {
public:
    enum { Columns = 130, Rows = 18 };

    NearLayer();

    Pixel colourAt(int x, int y) const override;
    TileKey keyOf(int column, int row) const override;

private:
    void taper(int centre, int halfWidth, int fromRow, int toRow);
    int variant(int column, int row) const;

    CornerGrid grid;
};

#endif
