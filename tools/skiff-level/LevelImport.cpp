#include "LevelImport.h"

#include "Diagnostics.h"
#include "LevelDirectoryCheck.h"
#include "LevelSwap.h"
#include "MapImport.h"

LevelImport::LevelImport(const std::string& root, bool talkative, Diagnostics* sink)
    : check(nullptr), dataRoot(root), verbose(talkative), diagnostics(sink)
{
}

LevelImport::~LevelImport()
{
    delete check;
}

int LevelImport::run(const std::string& mapPath, const std::string& outDirectory, bool force)
{
    LevelSwap swap(outDirectory, force, diagnostics);
    if (swap.begin() != LevelSwap::Done)
        return Failed;
    MapImport import(diagnostics);
    import.verbose = verbose;
    if (import.run(mapPath, swap.staging(), dataRoot) != MapImport::Imported)
        return Failed;
    Diagnostics found;
    delete check;
    check = new LevelDirectoryCheck(dataRoot, &found);
    check->run(swap.staging());
    import.describe(found, swap.staging(), *diagnostics);
    if (diagnostics->count(Diagnostics::Error) > 0)
        return Failed;
    return swap.commit() == LevelSwap::Done ? Imported : Failed;
}
