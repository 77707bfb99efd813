// The tests delete and overwrite files for real: they run only inside the Wine sandbox,
// from its C: drive, with no drive that leads to the host.
#include "SandboxGuard.h"

#include <gtest/gtest.h>

#include <cstdio>

int main(int argc, char** argv)
{
    if (!InSandbox()) {
        std::fprintf(stderr, "refusing to run: not inside the test sandbox (scripts/sandbox)\n");
        return 97;
    }
    testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
