#include <allegro.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

// The drawing tests open a small window of their own; nothing is read from or written to disk.
static const char TestConfig[] =
    "[engineparams]\n"
    "screenwidth = 320\n"
    "screenheight = 240\n"
    "fullScreen = 0\n"
    "textureFiltering = 0\n";

int main(int argc, char** argv)
{
    testing::InitGoogleTest(&argc, argv);
    if (allegro_init() != 0) {
        fprintf(stderr, "skiff_gl_tests needs an X display: %s\n", allegro_error);
        return 2;
    }
    set_config_data(TestConfig, static_cast<int>(strlen(TestConfig)));
    return RUN_ALL_TESTS();
}
