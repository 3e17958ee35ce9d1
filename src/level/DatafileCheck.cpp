#include "level/DatafileCheck.h"

#include <allegro.h>

#include <cstdint>
#include <cstring>
#include <vector>

namespace {

const size_t ReadBlock = 64 * 1024;
const int32_t PropertyMagic = DAT_PROPERTY;

// A bounded cursor over bytes already in memory: every read says whether the bytes were there.
struct ByteReader {
    const unsigned char* data;
    size_t size;
    size_t pos;

    bool readLong(int32_t& value)
    {
        if (size - pos < 4)
            return false;
        uint32_t bits = (uint32_t)data[pos] << 24 | (uint32_t)data[pos + 1] << 16 | (uint32_t)data[pos + 2] << 8 |
                        (uint32_t)data[pos + 3];
        value = (int32_t)bits;
        pos += 4;
        return true;
    }

    bool skip(int64_t count)
    {
        if (count < 0 || (uint64_t)count > size - pos)
            return false;
        pos += (size_t)count;
        return true;
    }
};

// Allegro's identifiers are four printable characters; anything else, DAT_END above all, is damage.
bool isIdentifier(int32_t id)
{
    for (int shift = 0; shift < 32; shift += 8) {
        int c = ((uint32_t)id >> shift) & 0xff;
        if (c < 32 || c > 126)
            return false;
    }
    return true;
}

int bytesPerPixel(int bits)
{
    switch (bits) {
    case 8:
        return 1;
    case 15:
    case 16:
        return 2;
    case 24:
    case 32:
        return 3;
    case -32:
        return 4;
    default:
        return 0;
    }
}

int readWord(const unsigned char* data)
{
    return data[0] << 8 | data[1];
}

// Depth, width and height, then the pixels: all of them must be inside the object.
bool isSoundBitmap(const unsigned char* data, size_t size)
{
    if (size < 6)
        return false;
    const int bits = (int16_t)readWord(data);
    const int width = readWord(data + 2);
    const int height = readWord(data + 4);
    const int pixelBytes = bytesPerPixel(bits);
    if (pixelBytes == 0 || width > DatafileCheck::MaxBitmapSide || height > DatafileCheck::MaxBitmapSide)
        return false;
    return (uint64_t)width * (uint64_t)height * (uint64_t)pixelBytes <= size - 6;
}

struct MemoryFile {
    const unsigned char* data;
    size_t size;
    size_t pos;
};

int memoryClose(void*)
{
    return 0;
}

int memoryGetc(void* userdata)
{
    MemoryFile* file = static_cast<MemoryFile*>(userdata);
    return file->pos < file->size ? file->data[file->pos++] : EOF;
}

int memoryUngetc(int c, void* userdata)
{
    MemoryFile* file = static_cast<MemoryFile*>(userdata);
    if (file->pos == 0)
        return EOF;
    --file->pos;
    return c;
}

long memoryRead(void* p, long n, void* userdata)
{
    MemoryFile* file = static_cast<MemoryFile*>(userdata);
    size_t count = n < 0 ? 0 : (size_t)n;
    if (count > file->size - file->pos)
        count = file->size - file->pos;
    memcpy(p, file->data + file->pos, count);
    file->pos += count;
    return (long)count;
}

int memoryPutc(int, void*)
{
    return EOF;
}

long memoryWrite(const void*, long, void*)
{
    return 0;
}

int memorySeek(void* userdata, int offset)
{
    MemoryFile* file = static_cast<MemoryFile*>(userdata);
    if (offset < 0 || (size_t)offset > file->size - file->pos)
        return -1;
    file->pos += (size_t)offset;
    return 0;
}

int memoryEof(void* userdata)
{
    MemoryFile* file = static_cast<MemoryFile*>(userdata);
    return file->pos >= file->size;
}

int memoryError(void*)
{
    return 0;
}

PACKFILE_VTABLE memoryVtable = {memoryClose, memoryGetc, memoryUngetc, memoryRead, memoryPutc,
                                memoryWrite, memorySeek, memoryEof, memoryError};

// Unpacks an object compressed on its own; true only when the packed bytes yield all of it.
bool unpack(const unsigned char* packed, size_t packedSize, std::vector<unsigned char>& out, size_t unpackedSize)
{
    MemoryFile source = {packed, packedSize, 0};
    PACKFILE* file = pack_fopen_vtable(&memoryVtable, &source);
    if (!file)
        return false;
    LZSS_UNPACK_DATA* state = create_lzss_unpack_data();
    if (!state) {
        pack_fclose(file);
        return false;
    }
    out.assign(unpackedSize > 0 ? unpackedSize : 1, 0);
    const int produced = unpackedSize > 0 ? lzss_read(file, state, (int)unpackedSize, out.data()) : 0;
    free_lzss_unpack_data(state);
    pack_fclose(file);
    out.resize(unpackedSize);
    return produced == (int)unpackedSize;
}

bool isSoundObjects(ByteReader& in, int depth);

bool isSoundPayload(int32_t type, const unsigned char* data, size_t size, int depth)
{
    switch (type) {
    case DAT_FILE: {
        ByteReader nested = {data, size, 0};
        return isSoundObjects(nested, depth + 1);
    }
    case DAT_BITMAP:
    case DAT_C_SPRITE:
    case DAT_XC_SPRITE:
        return isSoundBitmap(data, size);
    case DAT_FONT:
    case DAT_SAMPLE:
    case DAT_MIDI:
    case DAT_PATCH:
    case DAT_RLE_SPRITE:
        return false;
    default:
        return true;
    }
}

// Properties, then type, packed size, unpacked size and the contents.
bool isSoundObject(ByteReader& in, int depth)
{
    int32_t id = 0;
    if (!in.readLong(id))
        return false;
    int properties = 0;
    while (id == PropertyMagic) {
        int32_t propertyType = 0;
        int32_t propertySize = 0;
        if (++properties > DatafileCheck::MaxProperties || !in.readLong(propertyType) || !isIdentifier(propertyType) ||
            !in.readLong(propertySize) || propertySize < 0 || propertySize > DatafileCheck::MaxPropertySize ||
            !in.skip(propertySize) || !in.readLong(id))
            return false;
    }
    int32_t packedSize = 0;
    int32_t unpackedSize = 0;
    if (!isIdentifier(id) || !in.readLong(packedSize) || !in.readLong(unpackedSize))
        return false;
    if (packedSize < 0 || packedSize > DatafileCheck::MaxContentSize || (size_t)packedSize > in.size - in.pos)
        return false;
    const unsigned char* contents = in.data + in.pos;
    in.pos += (size_t)packedSize;
    if (unpackedSize >= 0)
        return unpackedSize == packedSize && isSoundPayload(id, contents, (size_t)packedSize, depth);
    const int64_t expanded = -(int64_t)unpackedSize;
    if (expanded > DatafileCheck::MaxContentSize)
        return false;
    std::vector<unsigned char> unpacked;
    return unpack(contents, (size_t)packedSize, unpacked, (size_t)expanded) &&
           isSoundPayload(id, unpacked.data(), unpacked.size(), depth);
}

bool isSoundObjects(ByteReader& in, int depth)
{
    int32_t count = 0;
    if (depth > DatafileCheck::MaxDepth || !in.readLong(count) || count < 0 || count > DatafileCheck::MaxObjects)
        return false;
    for (int32_t i = 0; i < count; ++i) {
        if (!isSoundObject(in, depth))
            return false;
    }
    return true;
}

}

bool DatafileCheck::isSound(const char* path)
{
    if (!path)
        return false;
    // The packfile reader takes away the header of a plain file and unpacks a packed one.
    PACKFILE* file = pack_fopen(path, F_READ_PACKED);
    if (!file)
        return false;
    std::vector<unsigned char> contents;
    while (contents.size() <= (size_t)MaxContentSize) {
        const size_t before = contents.size();
        contents.resize(before + ReadBlock);
        const long got = pack_fread(contents.data() + before, (long)ReadBlock, file);
        contents.resize(before + (got > 0 ? (size_t)got : 0));
        if (got < (long)ReadBlock)
            break;
    }
    const bool tooLarge = contents.size() > (size_t)MaxContentSize;
    const bool failed = pack_ferror(file) != 0;
    pack_fclose(file);
    if (tooLarge || failed)
        return false;
    return isSoundContents(contents.data(), contents.size());
}

bool DatafileCheck::isSoundContents(const unsigned char* data, size_t size)
{
    if (!data)
        return false;
    ByteReader in = {data, size, 0};
    int32_t magic = 0;
    if (!in.readLong(magic) || magic != DAT_MAGIC)
        return false;
    return isSoundObjects(in, 0);
}
