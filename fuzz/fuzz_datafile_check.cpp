#include <allegro.h>

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "FuzzWorld.h"
#include "level/DatafileCheck.h"

// Any file DatafileCheck passes must be one that load_datafile reads without crashing, hanging or leaking.
extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    FuzzWorld::initialize();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string path = FuzzWorld::scratchPath();
    FILE* file = fopen(path.c_str(), "wb");
    if (!file)
        abort();
    if (size > 0 && fwrite(data, 1, size, file) != size)
        abort();
    fclose(file);
    if (DatafileCheck::isLoadable(path.c_str())) {
        DATAFILE* datafile = load_datafile(path.c_str());
        if (datafile)
            unload_datafile(datafile);
    }
    return 0;
}
