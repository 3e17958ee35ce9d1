#include "MapFiles.h"

#include <zlib.h>
#include <zstd.h>

std::string MapFiles::map(int width, int height, int tileSize, const std::string& body, const std::string& attributes)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<map version=\"1.10\" orientation=\"orthogonal\" "
           "renderorder=\"right-down\" width=\"" +
           std::to_string(width) + "\" height=\"" + std::to_string(height) + "\" tilewidth=\"" +
           std::to_string(tileSize) + "\" tileheight=\"" + std::to_string(tileSize) + "\" infinite=\"0\"" + attributes +
           ">\n" + body + "</map>\n";
}

std::string MapFiles::tileset(int firstGid, const std::string& name, int tileSize, int columns, int tiles,
                              const std::string& image, const std::string& imageAttributes)
{
    return " <tileset firstgid=\"" + std::to_string(firstGid) + "\" name=\"" + name + "\" tilewidth=\"" +
           std::to_string(tileSize) + "\" tileheight=\"" + std::to_string(tileSize) + "\" tilecount=\"" +
           std::to_string(tiles) + "\" columns=\"" + std::to_string(columns) + "\">\n  <image source=\"" + image +
           "\"" + imageAttributes + "/>\n </tileset>\n";
}

std::string MapFiles::layer(const std::string& name, int width, int height, const std::vector<uint32_t>& gids,
                            const std::string& attributes)
{
    std::string text = " <layer name=\"" + name + "\" width=\"" + std::to_string(width) + "\" height=\"" +
                       std::to_string(height) + "\"" + attributes + ">\n  <data encoding=\"csv\">\n";
    for (int r = 0; r < height; ++r) {
        for (int c = 0; c < width; ++c) {
            size_t cell = static_cast<size_t>(r) * width + c;
            text += std::to_string(cell < gids.size() ? gids[cell] : 0);
            if (r + 1 < height || c + 1 < width)
                text += ",";
        }
        text += "\n";
    }
    return text + "</data>\n </layer>\n";
}

int MapFiles::lineOf(const std::string& text, const std::string& part)
{
    size_t at = text.find(part);
    if (at == std::string::npos)
        return 0;
    int line = 1;
    for (size_t i = 0; i < at; ++i)
        line += text[i] == '\n';
    return line;
}

std::string MapFiles::dataLayer(const std::string& name, int width, int height, const std::string& dataAttributes,
                                const std::string& data)
{
    return " <layer name=\"" + name + "\" width=\"" + std::to_string(width) + "\" height=\"" + std::to_string(height) +
           "\">\n  <data" + dataAttributes + ">" + data + "</data>\n </layer>\n";
}

std::string MapFiles::bytes(const std::vector<uint32_t>& gids)
{
    std::string out;
    for (uint32_t gid : gids) {
        for (int shift = 0; shift < 32; shift += 8)
            out.push_back(static_cast<char>(gid >> shift));
    }
    return out;
}

std::string MapFiles::packed(const std::string& bytes, const std::string& compression)
{
    std::string out(bytes.size() + 1024, '\0');
    if (compression == "zstd") {
        out.resize(ZSTD_compress(&out[0], out.size(), bytes.data(), bytes.size(), 3));
    } else if (!compression.empty()) {
        z_stream stream = z_stream();
        deflateInit2(&stream, 9, Z_DEFLATED, compression == "gzip" ? 31 : 15, 8, Z_DEFAULT_STRATEGY);
        stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(bytes.data()));
        stream.avail_in = static_cast<uInt>(bytes.size());
        stream.next_out = reinterpret_cast<Bytef*>(&out[0]);
        stream.avail_out = static_cast<uInt>(out.size());
        deflate(&stream, Z_FINISH);
        out.resize(stream.total_out);
        deflateEnd(&stream);
    } else {
        out = bytes;
    }
    static const char digits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string text;
    for (size_t i = 0; i < out.size(); i += 3) {
        unsigned group = static_cast<unsigned char>(out[i]) << 16;
        if (i + 1 < out.size())
            group |= static_cast<unsigned char>(out[i + 1]) << 8;
        if (i + 2 < out.size())
            group |= static_cast<unsigned char>(out[i + 2]);
        text += digits[group >> 18];
        text += digits[group >> 12 & 63];
        text += i + 1 < out.size() ? digits[group >> 6 & 63] : '=';
        text += i + 2 < out.size() ? digits[group & 63] : '=';
    }
    return text;
}
