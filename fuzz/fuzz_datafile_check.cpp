#include <allegro.h>

#include <cstddef>
#include <cstdint>
#include <string>

#include "FuzzWorld.h"
#include "level/DatafileCheck.h"

// Any file DatafileCheck passes must be one that load_datafile reads without crashing, hanging or leaking.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string path = FuzzWorld::scratchFile(".dat", data, size);
    if (DatafileCheck::isLoadable(path.c_str())) {
        DATAFILE* datafile = load_datafile(path.c_str());
        if (datafile)
            unload_datafile(datafile);
    }
    return 0;
}
