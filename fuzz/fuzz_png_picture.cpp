#include <allegro.h>
#include <zlib.h>

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "PngPicture.h"

// Any bytes, straight from memory: a picture or a refusal, never a crash, a hang or a leak, whichever
// of libpng's checks gives up on them. libpng is not instrumented, so the fuzzer cannot learn to mend
// a chunk's CRC: every chunk's CRC is made right here, or almost every mutation would stop at the first
// CRC check. The tests cover CRC errors.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    std::vector<unsigned char> bytes(data, data + size);
    for (size_t at = 8; at + 12 <= size;) {
        size_t length = static_cast<size_t>(bytes[at]) << 24 | bytes[at + 1] << 16 | bytes[at + 2] << 8 | bytes[at + 3];
        if (length > size - at - 12)
            break;
        uint32_t crc = static_cast<uint32_t>(crc32(0, &bytes[at + 4], static_cast<uInt>(length + 4)));
        for (int i = 0; i < 4; ++i)
            bytes[at + 8 + length + i] = static_cast<unsigned char>(crc >> (24 - 8 * i));
        at += length + 12;
    }
    std::string reason;
    BITMAP* picture = PngPicture::decode(bytes.data(), bytes.size(), reason);
    if (picture)
        destroy_bitmap(picture);
    return 0;
}
