#ifndef SKIFF_TOOLS_LEVEL_CAVELAYER_H
#define SKIFF_TOOLS_LEVEL_CAVELAYER_H

#include <vector>

#include "CornerGrid.h"
#include "TileLayer.h"

// The main layer: the cave the ship flies through and collides with. Warm rock lit from
// above, crystals on its ledges; tile 0 is empty.
class CaveLayer : public TileLayer {
public:
    enum { Columns = 220, Rows = 20 };

    // Designs the cave; build() paints it.
    CaveLayer();

    Pixel colourAt(int x, int y) const override;
    TileKey keyOf(int column, int row) const override;
    // The key of an empty cell, which must become tile 0.
    static TileKey blankKey();
    // 1 for every opaque pixel of the built layer, row by row.

private:
    enum { NoDecor, CrystalBase, CrystalTip, HangingBase, HangingTip, Gem };

    void carve();
    void raise();
    void decorate();
    void fillCorners(int i, int firstRow, int lastRow, bool isSolid);
    void spike(int centre, int halfWidth, int fromRow, int toRow);
    void boulder(double centreI, double centreJ, double radiusI, double radiusJ);
    int variant(int column, int row) const;
    Pixel rock(int shape, int variantNumber, int x, int y) const;

    CornerGrid grid;
    std::vector<int> decorKind;
    std::vector<int> decorNumber;
};

#endif
