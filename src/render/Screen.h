#ifndef SKIFF_RENDER_SCREEN_H
#define SKIFF_RENDER_SCREEN_H

// The logical screen everything is drawn into, stretched over the whole window:
// 320 x 240 units, which are the pixels of the main tileset.
const int ScreenWidth = 320;
const int ScreenHeight = 240;

#endif
