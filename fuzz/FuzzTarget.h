#pragma once

// One fuzz target per file. Under libFuzzer (QX_FUZZ_REPLAY undefined) a target is the program's
// LLVMFuzzerTestOneInput; in the replay test (tests/core/test_fuzzcorpus.cpp) every target is compiled into
// one executable and registered by name, so the seed corpus and the kept crash inputs run in every
// normal and sanitizer build as well.
//
// QX_FUZZ_CHECK states a property the target checks beyond "no crash": under libFuzzer a broken one
// aborts, which libFuzzer reports with the input; in the replay test it throws so the test can name
// the input.

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#ifdef QX_FUZZ_REPLAY
#include <vector>

namespace qxfuzz {
using Entry = int (*)(const uint8_t *data, size_t size);
struct Target {
    const char *name;
    Entry entry;
};
inline std::vector<Target> &targets()
{
    static std::vector<Target> list;
    return list;
}
inline bool registerTarget(const char *name, Entry entry)
{
    targets().push_back({name, entry});
    return true;
}
struct CheckFailed {
    std::string what;
};
} // namespace qxfuzz

#define QX_FUZZ_TARGET(name)                                                                                 \
    static int qxFuzz_##name(const uint8_t *data, size_t size);                                              \
    [[maybe_unused]] static const bool qxFuzzRegistered_##name =                                             \
        qxfuzz::registerTarget(#name, qxFuzz_##name);                                                        \
    static int qxFuzz_##name(const uint8_t *data, size_t size)

#define QX_FUZZ_FAIL(text)                                                                                   \
    throw qxfuzz::CheckFailed                                                                                \
    {                                                                                                        \
        std::string(text)                                                                                    \
    }

#else

#define QX_FUZZ_TARGET(name) extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)

#define QX_FUZZ_FAIL(text)                                                                                   \
    do {                                                                                                     \
        std::fprintf(stderr, "qxfuzz: %s\n", std::string(text).c_str());                                     \
        std::abort();                                                                                        \
    } while (false)

#endif

#define QX_FUZZ_STR2(x) #x
#define QX_FUZZ_STR(x) QX_FUZZ_STR2(x)
#define QX_FUZZ_CHECK(condition)                                                                             \
    do {                                                                                                     \
        if (!(condition))                                                                                    \
            QX_FUZZ_FAIL(__FILE__ ":" QX_FUZZ_STR(__LINE__) ": " #condition);                                \
    } while (false)
