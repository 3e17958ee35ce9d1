#ifndef SKIFF_SPRITES_SPRITE_H
#define SKIFF_SPRITES_SPRITE_H

#include <cstdint>
#include <vector>

class Renderer;
class Level;
struct CollisionMask;

// Everything that moves: a world position (top-left corner, map pixels) and
// an animation strip with one texture and one collision mask per frame.
class Sprite {
public:
    enum { TicksPerFrame = 12 };

    Sprite();
    // Frees the masks this sprite loaded; a frame-sharing copy frees nothing.
    virtual ~Sprite();

    virtual void setPosition(int x, int y);
    virtual void draw() = 0;
    // One logic step accounting for ticks timer ticks; 1 when finished, 0 to go on.
    virtual int update(int ticks) = 0;

    // Cuts fileName into frameCount frames stacked vertically; a missing picture leaves no frames.
    void loadFrames(const char* fileName);
    // Shares the prototype's textures and masks; the prototype must outlive this sprite.
    void copyFramesFrom(const Sprite& prototype);
    // Pixel-exact overlap of both current frames at the truncated positions; false without frames.
    bool collidesWith(const Sprite& other) const;
    // Whether the current frame overlaps a solid pixel of the level's main tileset.
    bool hitsTerrain(const Level& level) const;
    // True when the current frame has a mask and a texture to use.
    bool hasFrame() const;

    // Scroll position of the level's main tileset (0 without a level).
    double scrollX() const;
    double scrollY() const;

    Renderer* renderer;
    double x;
    double y;
    double speed;
    std::vector<uint32_t> frameTextures;
    std::vector<CollisionMask*> frameMasks;
    int32_t frameHeight;
    int32_t frameWidth;
    uint8_t frameIndex;
    int32_t frameTicks;
    uint8_t frameCount;
    Level* level;
    bool sharesFrames;

protected:
    // Draws the current frame at its screen position; nothing without frames.
    void drawFrame();
    // Advances the 12-tick animation; true when the strip ran through and restarted at frame 0.
    bool animate(int ticks);
};

#endif
