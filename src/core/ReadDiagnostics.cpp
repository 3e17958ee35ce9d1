#include "core/ReadDiagnostics.h"

void ReadDiagnostics::tell(ReadDiagnostics* sink, Kind kind, int64_t at, const std::string& token, int64_t value0,
                           int64_t value1, int64_t value2, int64_t value3)
{
    if (sink)
        sink->report(Report{kind, at, token, {value0, value1, value2, value3}});
}
