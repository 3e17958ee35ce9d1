#include "Picture.h"

#include "PixelArt.h"

Picture::Picture(const char* file, int width, int height, int count)
    : path(file), frameWidth(width), frameHeight(height), frames(count)
{
}

BITMAP* Picture::paint() const
{
    BITMAP* strip = PixelArt::transparentBitmap(frameWidth, frameHeight * frames);
    if (!strip)
        return 0;
    for (int frame = 0; frame < frames; ++frame)
        paintFrame(strip, frame, 0, frame * frameHeight, 1);
    return strip;
}

void Picture::paintFrame(BITMAP*, int, int, int, int) const {}
