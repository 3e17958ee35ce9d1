#include "AlienPicture.h"
#include "EnergyBurstPicture.h"
#include "FireballPicture.h"
#include "FontPicture.h"
#include "ShipPicture.h"
#include "ShotPicture.h"
#include "TitlePicture.h"

#include <allegro.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>

// Paints every shipped picture of the game into the data directory given on
// the command line: skiff-art DATA_DIR
int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s DATA_DIR\n", argv[0]);
        return 2;
    }
    if (install_allegro(SYSTEM_NONE, &errno, atexit) != 0) {
        std::fprintf(stderr, "cannot start Allegro\n");
        return 1;
    }
    set_color_depth(32);

    Picture* pictures[] = {
        new TitlePicture(),
        new FontPicture(),
        new ShipPicture(),
        new ShotPicture(),
        new FireballPicture(),
        new EnergyBurstPicture(),
        new AlienPicture(0),
        new AlienPicture(1),
    };
    int failures = 0;
    for (Picture* picture : pictures) {
        const std::filesystem::path file = std::filesystem::path(argv[1]) / picture->path;
        std::error_code failed;
        std::filesystem::create_directories(file.parent_path(), failed);
        BITMAP* bitmap = picture->paint();
        if (!bitmap || save_bitmap(file.c_str(), bitmap, 0) != 0) {
            std::fprintf(stderr, "cannot write %s\n", file.c_str());
            ++failures;
        }
        if (bitmap)
            destroy_bitmap(bitmap);
        delete picture;
    }
    return failures ? 1 : 0;
}
