#ifndef SKIFF_HEADLESS_PAGEFAULTS_H
#define SKIFF_HEADLESS_PAGEFAULTS_H

// Pages this process has taken from the kernel so far without reading a disk (minor faults), all
// threads together: memory that is handed back and taken again shows up here.
long minorPageFaults();

#endif
