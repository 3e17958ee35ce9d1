#include <allegro.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <string>

#include "FuzzWorld.h"
#include "sprites/PictureCheck.h"

// The first byte picks the format ('p' PCX, anything else BMP), the rest is the file.
// Any picture PictureCheck passes must load without crashing, hanging or leaking.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    const std::string path = FuzzWorld::scratchFile(data[0] == 'p' ? ".pcx" : ".bmp", data + 1, size - 1);
    if (PictureCheck::isLoadable(path.c_str())) {
        BITMAP* picture = load_bitmap(path.c_str(), nullptr);
        if (picture)
            destroy_bitmap(picture);
    }
    remove(path.c_str());
    return 0;
}
