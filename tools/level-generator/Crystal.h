#ifndef SKIFF_TOOLS_LEVEL_CRYSTAL_H
#define SKIFF_TOOLS_LEVEL_CRYSTAL_H

#include "Paint.h"

enum { CrystalClusters = 4, GemKinds = 3 };

// Pixel (x, y) of crystal cluster k in a frame 16 wide and 32 high whose shards grow
// upwards from about y = 26; clear where no shard is.
Pixel crystalAt(int k, int x, int y);
// Pixel (x, y) of gem k set into rock, in a 16 x 16 frame; clear outside the gem, where
// socket tells how much to darken the rock around it (0 to 1).
Pixel gemAt(int k, int x, int y, double& socket);

#endif
