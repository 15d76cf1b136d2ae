#pragma once

#include <cstdio>
#include <cstdlib>

// A broken property in a fuzz target: report it and abort, which libFuzzer records as a crash
// and the corpus replay as a failed test.
namespace fuzz {

inline void check(bool holds, const char* property)
{
    if (holds)
        return;
    std::fprintf(stderr, "fuzz property broken: %s\n", property);
    std::abort();
}

} // namespace fuzz
