#ifndef SKIFF_TOOLS_LEVEL_TILEDPRINTER_H
#define SKIFF_TOOLS_LEVEL_TILEDPRINTER_H

#include <tinyxml2.h>

// Prints an XML document indented by one space a level, as the Tiled editor writes its maps,
// so that a map saved by the generator and then by the editor differs only where it changed.
class TiledPrinter : public tinyxml2::XMLPrinter {
public:
    TiledPrinter();
    virtual ~TiledPrinter();

protected:
    void PrintSpace(int depth) override;
};

#endif
