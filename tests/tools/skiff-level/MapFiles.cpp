#include "MapFiles.h"

#include <zlib.h>
#include <zstd.h>

#include <algorithm>

namespace MapFiles {

std::string map(int width, int height, int tileSize, const std::string& body)
{
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<map version=\"1.10\" orientation=\"orthogonal\" "
           "renderorder=\"right-down\" width=\"" + std::to_string(width) + "\" height=\"" + std::to_string(height) +
           "\" tilewidth=\"" + std::to_string(tileSize) + "\" tileheight=\"" + std::to_string(tileSize) +
           "\" infinite=\"0\">\n" + body + "</map>\n";
}

std::string tileset(int firstGid, const std::string& name, int tileSize, int columns, int tiles,
                    const std::string& image, const std::string& imageAttributes)
{
    return " <tileset firstgid=\"" + std::to_string(firstGid) + "\" name=\"" + name + "\" tilewidth=\"" +
           std::to_string(tileSize) + "\" tileheight=\"" + std::to_string(tileSize) + "\" tilecount=\"" +
           std::to_string(tiles) + "\" columns=\"" + std::to_string(columns) + "\">\n  <image source=\"" + image +
           "\"" + imageAttributes + "/>\n </tileset>\n";
}

std::string dataLayer(const std::string& name, int width, int height, const std::string& dataAttributes,
                      const std::string& data, const std::string& attributes)
{
    return " <layer name=\"" + name + "\" width=\"" + std::to_string(width) + "\" height=\"" + std::to_string(height) +
           "\"" + attributes + ">\n  <data" + dataAttributes + ">" + data + "</data>\n </layer>\n";
}

std::string layer(const std::string& name, int width, int height, const std::vector<uint32_t>& gids,
                  const std::string& attributes)
{
    std::string text = "\n";
    for (int cell = 0; cell < width * height; ++cell) {
        text += std::to_string(static_cast<size_t>(cell) < gids.size() ? gids[cell] : 0);
        text += cell + 1 == width * height ? "\n" : cell % width + 1 == width ? ",\n" : ",";
    }
    return dataLayer(name, width, height, " encoding=\"csv\"", text, attributes);
}

std::string bytes(const std::vector<uint32_t>& gids)
{
    std::string out;
    for (uint32_t gid : gids) {
        for (int shift = 0; shift < 32; shift += 8)
            out.push_back(static_cast<char>(gid >> shift));
    }
    return out;
}

std::string packed(const std::string& bytes, const std::string& compression)
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
        unsigned group = 0;
        for (size_t k = 0; k < 3; ++k)
            group = group << 8 | (i + k < out.size() ? static_cast<unsigned char>(out[i + k]) : 0);
        for (size_t k = 0; k < 4; ++k)
            text += k <= out.size() - i ? digits[group >> (18 - 6 * k) & 63] : '=';
    }
    return text;
}

std::string layered(bool json)
{
    std::vector<uint32_t> far(600, 1), main(600, 0);
    std::fill(main.begin() + 400, main.end(), 2);
    if (!json)
        return map(40, 15, 16, tileset(1, "tiles", 16, 2, 2, "tiles.png") +
                                             layer("far", 40, 15, far, " parallaxx=\"0.5\"") +
                                             layer("main", 40, 15, main) +
                                             " <objectgroup name=\"aliens\">\n  <properties>\n"
                                             "   <property name=\"image\" value=\"bmp/a.bmp\"/>\n  </properties>\n"
                                             "  <object id=\"3\" x=\"60\" y=\"40\"/>\n"
                                             "  <object id=\"7\" name=\"ufo\" x=\"100\" y=\"200\"/>\n"
                                             " </objectgroup>\n");
    auto csv = [](const std::vector<uint32_t>& gids) {
        std::string text;
        for (uint32_t gid : gids)
            text += (text.empty() ? "" : ",") + std::to_string(gid);
        return text;
    };
    return "{\"type\": \"map\", \"orientation\": \"orthogonal\", \"width\": 40, \"height\": 15, \"tilewidth\": 16, "
           "\"tileheight\": 16,\n \"tilesets\": [{\"firstgid\": 1, \"name\": \"tiles\", \"tilewidth\": 16, "
           "\"tileheight\": 16, \"tilecount\": 2, \"columns\": 2, \"image\": \"tiles.png\"}],\n \"layers\": ["
           "{\"type\": \"tilelayer\", \"name\": \"far\", \"width\": 40, \"height\": 15, \"parallaxx\": 0.5, \"data\": [" +
           csv(far) + "]},\n  {\"type\": \"tilelayer\", \"name\": \"main\", \"width\": 40, \"height\": 15, \"data\": [" +
           csv(main) + "]},\n  {\"type\": \"objectgroup\", \"name\": \"aliens\", \"properties\": [{\"name\": \"image\", "
           "\"type\": \"string\", \"value\": \"bmp/a.bmp\"}],\n   \"objects\": [{\"id\": 3, \"x\": 60, \"y\": 40}, "
           "{\"id\": 7, \"name\": \"ufo\", \"x\": 100, \"y\": 200}]}]}\n";
}

}
