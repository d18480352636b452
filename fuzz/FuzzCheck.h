#pragma once

#include <cstdio>
#include <cstdlib>

// A property a fuzz target holds for every input. A broken one is reported
// and aborts, so that the fuzzer keeps the input as a crash.
#define FUZZ_CHECK(condition, message)                                                                                 \
    do {                                                                                                               \
        if (!(condition)) {                                                                                            \
            std::fprintf(stderr, "fuzz check failed: %s (%s)\n", message, #condition);                                 \
            std::abort();                                                                                              \
        }                                                                                                              \
    } while (false)
