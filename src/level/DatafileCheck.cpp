#include "level/DatafileCheck.h"

#include <allegro.h>

#include <cstdint>
#include <cstring>
#include <vector>

#include "core/FileBytes.h"

namespace {

const size_t ReadBlock = 64 * 1024;
const int32_t PropertyMagic = DAT_PROPERTY;
const size_t PaletteSize = 256 * 4;

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

// Depth, width and height, then exactly the pixels they call for.
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
    return (uint64_t)width * (uint64_t)height * (uint64_t)pixelBytes == size - 6;
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

// One object as the check saw it, in the order Allegro meets them (a nested datafile before its objects).
struct ObjectRecord {
    int32_t type;
    int32_t count;                       // objects of a nested datafile
    std::vector<unsigned char> payload;  // unpacked contents of any other object
};

typedef std::vector<ObjectRecord> ObjectRecords;

bool isSoundObjects(ByteReader& in, int depth, ObjectRecords& records, int32_t& count);

// Each loader must read its whole object, so that Allegro and the check end an object at the same byte.
bool isSoundPayload(int32_t type, const unsigned char* data, size_t size, int depth, ObjectRecords& records)
{
    switch (type) {
    case DAT_FILE: {
        const size_t at = records.size();
        records.push_back(ObjectRecord{DAT_FILE, 0, std::vector<unsigned char>()});
        ByteReader nested = {data, size, 0};
        int32_t count = 0;
        if (!isSoundObjects(nested, depth + 1, records, count) || nested.pos != size)
            return false;
        records[at].count = count;
        return true;
    }
    case DAT_BITMAP:
    case DAT_C_SPRITE:
    case DAT_XC_SPRITE:
        if (!isSoundBitmap(data, size))
            return false;
        break;
    case DAT_PALETTE:
        if (size != PaletteSize)
            return false;
        break;
    case DAT_FONT:
    case DAT_SAMPLE:
    case DAT_MIDI:
    case DAT_PATCH:
    case DAT_RLE_SPRITE:
        return false;
    default:
        break;
    }
    records.push_back(ObjectRecord{type, 0, std::vector<unsigned char>(data, data + size)});
    return true;
}

// Properties, then type, packed size, unpacked size and the contents.
bool isSoundObject(ByteReader& in, int depth, ObjectRecords& records)
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
        return unpackedSize == packedSize && isSoundPayload(id, contents, (size_t)packedSize, depth, records);
    const int64_t expanded = -(int64_t)unpackedSize;
    if (expanded > DatafileCheck::MaxContentSize)
        return false;
    std::vector<unsigned char> unpacked;
    return unpack(contents, (size_t)packedSize, unpacked, (size_t)expanded) &&
           isSoundPayload(id, unpacked.data(), unpacked.size(), depth, records);
}

bool isSoundObjects(ByteReader& in, int depth, ObjectRecords& records, int32_t& count)
{
    if (depth > DatafileCheck::MaxDepth || !in.readLong(count) || count < 0 || count > DatafileCheck::MaxObjects)
        return false;
    for (int32_t i = 0; i < count; ++i) {
        if (!isSoundObject(in, depth, records))
            return false;
    }
    return true;
}

bool readLong(PACKFILE* file, int32_t& value)
{
    unsigned char bytes[4];
    if (pack_fread(bytes, 4, file) != 4)
        return false;
    ByteReader in = {bytes, 4, 0};
    return in.readLong(value);
}

bool readToEnd(PACKFILE* file, std::vector<unsigned char>& out)
{
    out.clear();
    while (out.size() <= (size_t)DatafileCheck::MaxContentSize) {
        const size_t before = out.size();
        out.resize(before + ReadBlock);
        const long got = pack_fread(out.data() + before, (long)ReadBlock, file);
        out.resize(before + (got > 0 ? (size_t)got : 0));
        if (got < (long)ReadBlock)
            break;
    }
    return out.size() <= (size_t)DatafileCheck::MaxContentSize && pack_ferror(file) == 0;
}

bool sameObjects(PACKFILE* file, int32_t count, const ObjectRecords& records, size_t& next);

// Reads one object the way load_datafile does, through a chunk, and compares it with what the check saw.
bool sameObject(PACKFILE* file, const ObjectRecords& records, size_t& next)
{
    int32_t id = 0;
    if (!readLong(file, id))
        return false;
    std::vector<unsigned char> property;
    while (id == PropertyMagic) {
        int32_t propertyType = 0;
        int32_t propertySize = 0;
        if (!readLong(file, propertyType) || !readLong(file, propertySize) || propertySize < 0 ||
            propertySize > DatafileCheck::MaxPropertySize)
            return false;
        property.resize((size_t)propertySize);
        if (pack_fread(property.data(), propertySize, file) != propertySize || !readLong(file, id))
            return false;
    }
    if (next >= records.size() || records[next].type != id)
        return false;
    const ObjectRecord& record = records[next++];
    PACKFILE* chunk = pack_fopen_chunk(file, FALSE);
    if (!chunk)
        return false;
    // Read no further than the loader will: past an object's unpacked size Allegro's reader can lose its place.
    bool same;
    if (id == DAT_FILE) {
        int32_t count = 0;
        same = readLong(chunk, count) && count == record.count && sameObjects(chunk, count, records, next);
    } else {
        std::vector<unsigned char> payload(record.payload.size());
        const long size = (long)payload.size();
        same = pack_fread(payload.data(), size, chunk) == size && payload == record.payload;
    }
    return pack_fclose_chunk(chunk) == file && same;
}

bool sameObjects(PACKFILE* file, int32_t count, const ObjectRecords& records, size_t& next)
{
    for (int32_t i = 0; i < count; ++i) {
        if (!sameObject(file, records, next))
            return false;
    }
    return true;
}

}

bool DatafileCheck::isLoadable(const char* path)
{
    if (!path || FileBytes::check(path, MaxFileBytes) != FileBytes::Read)
        return false;
    // The packfile reader takes away the header of a plain file and unpacks a packed one.
    PACKFILE* file = pack_fopen(path, F_READ_PACKED);
    if (!file)
        return false;
    std::vector<unsigned char> contents;
    const bool read = readToEnd(file, contents);
    pack_fclose(file);
    if (!read)
        return false;

    ByteReader in = {contents.data(), contents.size(), 0};
    int32_t magic = 0;
    int32_t count = 0;
    ObjectRecords records;
    if (!in.readLong(magic) || magic != DAT_MAGIC || !isSoundObjects(in, 0, records, count))
        return false;

    // Allegro's own reading of packed objects can part from the format on a damaged
    // stream, so the file is read once more its way and must show the same objects.
    file = pack_fopen(path, F_READ_PACKED);
    if (!file)
        return false;
    int32_t again = 0;
    size_t next = 0;
    const bool same = readLong(file, magic) && magic == DAT_MAGIC && readLong(file, again) && again == count &&
                      sameObjects(file, count, records, next) && next == records.size();
    pack_fclose(file);
    return same;
}
