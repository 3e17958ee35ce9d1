#ifndef SKIFF_TOOLS_LEVEL_FARLAYER_H
#define SKIFF_TOOLS_LEVEL_FARLAYER_H

#include "CornerGrid.h"
#include "TileLayer.h"

// The far background, fully opaque: a violet sky glowing towards the horizon, stars, a
// ringed planet and a small moon, and a row of distant rock spires.
class FarLayer : public TileLayer {
public:
    enum { Columns = 70, Rows = 16 };

    FarLayer();

    Pixel colourAt(int x, int y) const override;
    TileKey keyOf(int column, int row) const override;

private:
    void spire(int centre, int halfWidth, int tipRow);
    Pixel sky(int y) const;
    Pixel starAt(int column, int row, int x, int y) const;
    // The planet or moon over the sky colour at (x, y); clear where neither shows.
    Pixel bodyAt(int x, int y, const Pixel& behind) const;
    bool cellShowsBody(int column, int row) const;

    CornerGrid grid;
};

#endif
