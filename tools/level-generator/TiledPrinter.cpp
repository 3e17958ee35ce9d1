#include "TiledPrinter.h"

TiledPrinter::TiledPrinter() {}

TiledPrinter::~TiledPrinter() {}

void TiledPrinter::PrintSpace(int depth)
{
    for (int i = 0; i < depth; i++)
        Putc(' ');
}
