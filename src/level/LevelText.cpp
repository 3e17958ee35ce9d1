#include "level/LevelText.h"

#include <algorithm>

namespace {

// The line a text's next character will stand on, counting only what was added since it was last asked.
class LineCounter {
public:
    LineCounter() : counted(0), line(1) {}
    int next(const std::string& text)
    {
        line += static_cast<int>(std::count(text.begin() + static_cast<std::ptrdiff_t>(counted), text.end(), '\n'));
        counted = text.size();
        return line;
    }

private:
    size_t counted;
    int line;
};

}

std::string LevelText::description(const std::string& title, const std::vector<Block>& blocks, std::vector<int>* lines)
{
    std::string text = "LEVELDEF " + title + "\n";
    LineCounter counter;
    if (lines)
        lines->clear();
    for (const Block& block : blocks) {
        if (lines)
            lines->push_back(counter.next(text));
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

std::string LevelText::aliens(const std::string& picture, int explosionKind, const std::vector<Placement>& placements,
                              std::vector<int>* lines)
{
    std::string text = "ALIENPROTOS " + std::string(picture.empty() ? "0" : "1") + "\n";
    LineCounter counter;
    if (lines)
        lines->assign(1, picture.empty() ? 0 : counter.next(text));
    if (!picture.empty())
        text += "0 " + picture + " " + std::to_string(explosionKind) + " 0\n";
    text += "ALIENDEF " + std::to_string(placements.size()) + "\n";
    for (const Placement& placement : placements) {
        if (lines)
            lines->push_back(counter.next(text));
        text += "0 " + std::to_string(placement.x) + " " + std::to_string(placement.y) + "\n";
    }
    return text;
}
