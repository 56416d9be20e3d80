// SPDX-License-Identifier: GPL-3.0-or-later

#include "bench/support/runbenchmarks.h"

#include <malloc.h>

int main(int argc, char **argv)
{
    // With a fixed threshold every large block comes from mmap and goes back
    // when freed, as in the program's single fetch, so that one benchmark's
    // peak memory does not hide in blocks kept from the one before.
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);

    return runBenchmarks(argc, argv);
}
