#include "headless/PageFaults.h"

#include <sys/resource.h>

long minorPageFaults()
{
    rusage usage;
    getrusage(RUSAGE_SELF, &usage);
    return usage.ru_minflt;
}
