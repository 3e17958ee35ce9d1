#include "level/LevelText.h"

std::string LevelText::description(const std::string& title, const std::vector<Block>& blocks)
{
    std::string text = "LEVELDEF " + title + "\n";
    for (const Block& block : blocks) {
        text += "{ tileset " + std::to_string(block.pictureIndex) + " " + std::to_string(block.tileSize) + " " +
                std::to_string(block.width) + " " + std::to_string(block.height) + "\n";
        for (size_t i = 0; i < block.cells.size(); ++i) {
            text += std::to_string(block.cells[i]);
            text += block.width > 0 && (i + 1) % static_cast<size_t>(block.width) == 0 ? "\n" : " ";
        }
        text += "}\n";
    }
    return text;
}

std::string LevelText::aliens(const std::string& picture, int explosionKind, const std::vector<Placement>& placements)
{
    std::string text = picture.empty() ? "ALIENPROTOS 0\n"
                                       : "ALIENPROTOS 1\n0 " + picture + " " + std::to_string(explosionKind) + " 0\n";
    text += "ALIENDEF " + std::to_string(placements.size()) + "\n";
    for (const Placement& placement : placements)
        text += "0 " + std::to_string(placement.x) + " " + std::to_string(placement.y) + "\n";
    return text;
}
