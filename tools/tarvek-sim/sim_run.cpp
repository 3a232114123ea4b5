#include "tools/tarvek-sim/sim_run.h"

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <fstream>

#include "platform/posix/curl_transport.h"
#include "platform/posix/posix_platform.h"
#include "tools/tarvek-sim/key_frames.h"
#include "tools/tarvek-sim/race_run.h"
#include "tools/tarvek-sim/test_authority.h"

namespace tarvek::simtool {
namespace {

namespace fs = std::filesystem;

fs::path besideThisProgram(const std::string& name) {
    std::error_code error;
    const fs::path self = fs::read_symlink("/proc/self/exe", error);
    return error ? fs::path(name) : self.parent_path() / name;
}

void writeFile(const fs::path& path, const std::string& bytes) {
    fs::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
    if (!out.flush()) throw std::runtime_error("cannot write " + path.string());
}

}  // namespace

ServerSetup prepareCatalogServer(const std::string& binary, const fs::path& out,
                                 const std::vector<scenarios::Scenario>& chosen) {
    ServerSetup setup;
    setup.binary = binary.empty() ? besideThisProgram("tarvek-catalog-server").string() : binary;
    const TestAuthority authority = makeTestAuthority(out / "server" / "authority");
    setup.certificate = authority.certificate;
    setup.key = authority.key;
    setup.services = std::make_shared<PosixPlatform>(makeCurlTransport({authority.caFile}));
    setup.dataDirectory = (out / "server" / "data").string();
    fs::remove_all(setup.dataDirectory);
    for (const auto& scenario : chosen)
        for (const auto& file : scenario.serverFiles) writeFile(fs::path(setup.dataDirectory) / file.name, file.content);
    fs::create_directories(fs::path(setup.dataDirectory) / "seasons");
    return setup;
}

int runSimulation(const SimRunOptions& options) {
    const auto start = std::chrono::steady_clock::now();
    std::vector<scenarios::Scenario> chosen;
    for (auto& scenario : scenarios::allScenarios())
        if (options.scenario == "all" || options.scenario == scenario.name) chosen.push_back(std::move(scenario));
    if (chosen.empty()) {
        std::fprintf(stderr, "tarvek-sim: no scenario named %s\n", options.scenario.c_str());
        return 2;
    }
    // The module directory must be absolute, as the game gives it: sync requests refuse relative paths.
    const fs::path out = fs::absolute(options.out);
    int failed = 0;
    try {
        fs::create_directories(out);
        const ServerSetup server = prepareCatalogServer(options.serverBinary, out, chosen);
        scenarios::Transcript transcript;
        KeyFrames frames(out);
        int plots = 0;
        for (const auto& scenario : chosen) {
            const RunResult result = runScenario(scenario, out / "modules" / scenario.name, server, transcript,
                                                 [&frames](const auto& s, const auto& key, RaceGame& game) { frames.capture(s, key, game); });
            plots += !frames.finishScenario(scenario, result).empty();
            failed += !result.ran;
            std::printf("%-13s %s %4u frames, %2u hook(s) patched, %3zu event(s), %.1f s%s%s\n", scenario.name.c_str(),
                        result.ran ? "ran " : "FAIL", result.frames, result.hooksPatched,
                        transcript.countFor(scenario.name), result.seconds, result.problem.empty() ? "" : ": ",
                        result.problem.c_str());
        }
        writeFile(out / "transcript.txt", transcript.text());
        // A scenario without key frames (offline-ttrr, say) has no sheet to show; that is no failure.
        const std::string sheet = frames.count() ? frames.writeContactSheet() : "none (no key frames)";
        std::printf("transcript:    %s\nframes:        %s (%zu key frames, %d race plots)\ncontact sheet: %s\n",
                    (out / "transcript.txt").c_str(), (out / "frames").c_str(), frames.count(), plots, sheet.c_str());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "tarvek-sim: %s\n", e.what());
        return 1;
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf("%zu scenario(s), %d failed, %.1f s\n", chosen.size(), failed, seconds);
    return failed ? 1 : 0;
}

}  // namespace tarvek::simtool
