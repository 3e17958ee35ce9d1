#include <allegro.h>
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>

// Logic tests need Allegro's memory bitmaps and key array, not a display.
int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    if (install_allegro(SYSTEM_NONE, &errno, atexit) != 0)
        return 2;
    set_color_depth(32);
    return RUN_ALL_TESTS();
}
