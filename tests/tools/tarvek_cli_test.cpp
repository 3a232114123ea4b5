// The `tarvek` program run as a user runs it: exit status and JSON on real files.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>

#include "support/ghost_files.h"
#include "support/temp_dir.h"

namespace tarvek::testing {
namespace {

struct Outcome {
    int status;
    std::string out;
};

Outcome runTarvek(const std::string& arguments) {
    const std::string command = std::string(TARVEK_CLI_BINARY) + " " + arguments + " 2>/dev/null";
    FILE* pipe = ::popen(command.c_str(), "r");
    Outcome outcome{-1, {}};
    if (!pipe) return outcome;
    char buffer[4096];
    for (size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;) outcome.out.append(buffer, got);
    const int raw = ::pclose(pipe);
    outcome.status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
    return outcome;
}

TEST(TarvekCli, ExitStatusAndJsonOnRealFiles) {
    TempDir dir;
    const std::string ghost = dir.write("run.tkghost", encodeGhost(framesWithSegments({0, 0, 1})));
    const std::string broken = dir.write("broken.tkghost", "not a ghost");
    const std::string catalog = dir.write("module.ini", "k=v\n");
    const struct {
        std::string arguments;
        int status;
        std::string out;
    } cases[] = {
        {"ghost info --json " + ghost, 0,
         R"({"valid":true,"frames":3,"segments":[{"firstFrame":0,"frameCount":2,"movementStart":1},)"
         R"({"firstFrame":2,"frameCount":1,"movementStart":1}],"firstMovementFrame":1,"tailFrames":[0,0]})"
         "\n"},
        {"ghost info --json " + broken, 1, "{\"valid\":false}\n"},
        {"catalog check --json " + catalog, 1,
         R"({"ok":false,"kind":"InvalidCatalog","message":"invalid INI entry at line 1"})" "\n"},
        {"ghost info", 2, ""},
        {"no-such-command", 2, ""},
    };
    for (const auto& c : cases) {
        const Outcome outcome = runTarvek(c.arguments);
        EXPECT_EQ(outcome.status, c.status) << c.arguments;
        if (c.status != 2) {
            EXPECT_EQ(outcome.out, c.out) << c.arguments;
        }
    }
}

}  // namespace
}  // namespace tarvek::testing
