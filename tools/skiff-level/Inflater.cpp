#include "Inflater.h"

#include <zlib.h>
#include <zstd.h>

bool Inflater::knows(const std::string& method)
{
    return method == "zlib" || method == "gzip" || method == "zstd";
}

bool Inflater::inflate(const std::string& method, const std::string& packed, size_t size, std::string& out,
                       std::string& problem)
{
    out.assign(size + 1, '\0');
    bool good = method == "zstd" ? zstd(packed, out, problem) : zlib(method == "gzip", packed, out, problem);
    if (good && out.size() > size) {
        problem = "its " + method + " data inflates beyond the " + std::to_string(size) +
                  " bytes of its cells: reading stopped there";
        return false;
    }
    if (!good)
        problem = "its " + method + " data " + problem;
    return good;
}

bool Inflater::zlib(bool gzip, const std::string& packed, std::string& out, std::string& problem)
{
    z_stream stream = z_stream();
    // 15 is the largest window; 16 more asks for the gzip wrapper instead of zlib's.
    if (inflateInit2(&stream, gzip ? 31 : 15) != Z_OK) {
        problem = "cannot be inflated: zlib does not start";
        return false;
    }
    stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(packed.data()));
    stream.avail_in = static_cast<uInt>(packed.size());
    stream.next_out = reinterpret_cast<Bytef*>(&out[0]);
    stream.avail_out = static_cast<uInt>(out.size());
    int result = Z_OK;
    while (result == Z_OK && stream.avail_out > 0)
        result = ::inflate(&stream, Z_NO_FLUSH);
    size_t made = stream.total_out;
    std::string reason = stream.msg ? stream.msg : "zlib cannot read it";
    inflateEnd(&stream);
    out.resize(made);
    if (result == Z_STREAM_END || stream.avail_out == 0)
        return true;
    if (result == Z_BUF_ERROR)
        problem = "is cut short";
    else
        problem = "is damaged: " + reason;
    return false;
}

bool Inflater::zstd(const std::string& packed, std::string& out, std::string& problem)
{
    ZSTD_DCtx* context = ZSTD_createDCtx();
    if (!context) {
        problem = "cannot be inflated: zstd does not start";
        return false;
    }
    // A frame may ask for a window of up to 2 GB; a layer of ours needs far less.
    ZSTD_DCtx_setParameter(context, ZSTD_d_windowLogMax, 25);
    ZSTD_inBuffer in = {packed.data(), packed.size(), 0};
    ZSTD_outBuffer into = {&out[0], out.size(), 0};
    bool good = true;
    for (;;) {
        size_t readBefore = in.pos;
        size_t madeBefore = into.pos;
        size_t left = ZSTD_decompressStream(context, &into, &in);
        if (ZSTD_isError(left)) {
            problem = std::string("is damaged: ") + ZSTD_getErrorName(left);
            good = false;
            break;
        }
        if (into.pos == into.size || (left == 0 && in.pos == in.size))
            break;
        if (in.pos == readBefore && into.pos == madeBefore) {
            problem = "is cut short";
            good = false;
            break;
        }
    }
    ZSTD_freeDCtx(context);
    out.resize(into.pos);
    return good;
}
