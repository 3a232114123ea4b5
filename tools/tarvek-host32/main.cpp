// tarvek-host32.exe: a 32-bit Windows stand-in for the game. Its own image holds the game's
// image at the game's offsets; per scenario it loads a copy of wkTarvek.dll from a prepared
// module directory, waits for the module's start-up and writes what happened as a transcript.
//
// Usage: tarvek-host32.exe --out DIR [--module PATH] [--scenario NAME|all]
// Exit status: 0 when every scenario ran, 1 when one did not, 2 for a usage error.
#include <windows.h>

#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "module/startup.h"
#include "platform/win32/win32_host_memory.h"
#include "tools/tarvek-host32/game_image.h"
#include "tools/scenarios/hook_survey.h"
#include "tools/tarvek-host32/game_routines.h"
#include "tools/tarvek-host32/host_game.h"
#include "tools/scenarios/log_tail.h"
#include "tools/tarvek-host32/module_instance.h"
#include "tools/tarvek-host32/player_keys.h"
#include "tools/tarvek-host32/race_observer.h"
#include "tools/scenarios/scenarios.h"
#include "tools/scenarios/transcript.h"

namespace fs = std::filesystem;
using namespace tarvek;
using namespace tarvek::host32;
using namespace tarvek::scenarios;

namespace {

constexpr DWORD kStartUpTimeoutMs = 120000;  // qemu-i386 under Wine is slow
constexpr DWORD kRetireTimeoutMs = 30000;
constexpr DWORD kFrameMs = 20;                 // the game's 50 frames a second
constexpr DWORD kHotkeyWaitMs = 200;
constexpr DWORD kChatAnswerWaitMs = 5000;

struct Options {
    fs::path out;
    fs::path module;
    std::string scenario = "all";
};

bool parseOptions(int argc, char** argv, Options& options) {
    for (int i = 1; i + 1 < argc; i += 2) {
        if (!std::strcmp(argv[i], "--out")) options.out = argv[i + 1];
        else if (!std::strcmp(argv[i], "--module")) options.module = argv[i + 1];
        else if (!std::strcmp(argv[i], "--scenario")) options.scenario = argv[i + 1];
        else return false;
    }
    if (argc % 2 == 0 || options.out.empty()) return false;
    if (options.module.empty()) {
        wchar_t self[MAX_PATH];
        GetModuleFileNameW(nullptr, self, MAX_PATH);
        options.module = fs::path(self).parent_path() / "wkTarvek.dll";
    }
    return true;
}

double secondsSince(ULONGLONG startMs) { return static_cast<double>(GetTickCount64() - startMs) / 1000.0; }

class ScenarioRun {
public:
    ScenarioRun(const Options& options, const GameImage& image, HostMemory& memory, Transcript& transcript)
        : options_(options), image_(image), memory_(memory), transcript_(transcript) {}

    bool run(const Scenario& scenario) {
        const ULONGLONG start = GetTickCount64();
        const fs::path dir = options_.out / scenario.name;
        HostGame game(image_, scenario);
        HookSurvey survey(memory_, game.base(), gameHookPoints());
        const fs::path module = prepareModuleDirectory(dir, options_.module, scenario.files);

        ModuleInstance instance(module.wstring());
        if (!instance.handle()) {
            std::printf("%s: %s\n", scenario.name.c_str(), instance.error().c_str());
            return false;
        }
        const bool started = instance.waitForStartUp(kStartUpTimeoutMs);
        const double startUp = secondsSince(start);
        const AddressNames names{image_.base, kGameImageSize, instance.base(), instance.size()};
        int patched = 0;
        for (const auto& line : survey.report(names)) {
            add(scenario, 0, EventKind::Hook, line);
            patched += line.find(" patched ") != std::string::npos;
        }
        LogTail log(dir / kLogFileName);
        size_t logLines = addLog(scenario, 0, log, names);

        game.loadMap();
        logLines += addLog(scenario, game.frame(), log, names);
        RaceObserver observer(transcript_, scenario.name);
        // The game's pace, 50 frames a second at most: the module's own threads (the catalog
        // worker's retries among them) run on wall-clock time, so a scenario's frames take at
        // least the time they take in the game.
        const ULONGLONG playStart = GetTickCount64();
        for (uint32_t i = 0; i < scenario.frameCount(); ++i) {
            game.runFrame();
            const uint32_t frame = game.frame();
            observer.observe(frame, game);
            for (const auto& line : scenario.chat)
                if (line.frame == frame) game.sendChat(line.text);
            for (const auto& press : scenario.hotkeys)
                if (press.frame == frame) {
                    add(scenario, frame, EventKind::Log,
                        "hotkey " + keys_.pressWithControl(press.hotkeyId == kGoldHotkeyId ? 'G' : 'F'));
                    Sleep(kHotkeyWaitMs);  // the module's thread takes the key while the game waits
                }
            addChat(scenario, frame);
            const ULONGLONG due = playStart + ULONGLONG{i + 1} * kFrameMs;
            if (const ULONGLONG now = GetTickCount64(); now < due) Sleep(static_cast<DWORD>(due - now));
        }
        // A chat command's last answer may come from the catalog worker a little after the game
        // time the scenario gives it (its retries wait on wall-clock time): the game plays on a
        // few seconds more while none has come.
        if (!scenario.chat.empty()) {
            const ULONGLONG settleStart = GetTickCount64();
            while (addChat(scenario, game.frame()) == 0 && GetTickCount64() - settleStart < kChatAnswerWaitMs) {
                game.runFrame();
                observer.observe(game.frame(), game);
                Sleep(kFrameMs);
            }
        }
        logLines += addLog(scenario, game.frame(), log, names);
        addChat(scenario, game.frame());
        const size_t ended = instance.retire(kRetireTimeoutMs);

        const GameRecord& record = gameRecord();
        std::printf("%s: module at 0x%08x (%u bytes), start-up %s in %.1f s, %d hook point(s) patched; "
                    "%u frames, game's worm handler %u message(s), %u map load(s), %u border init(s), "
                    "%u worm and %u rope draw(s), %u display draw(s), %u frame end(s), %u chat line(s) to the game, "
                    "%u failed routine(s); %zu log line(s); %zu of %zu module thread(s) ended; %.1f s\n",
                    scenario.name.c_str(), instance.base(), instance.size(), started ? "finished" : "timed out",
                    startUp, patched, game.frame(), record.wormMessages, record.mapLoads, record.borderInits,
                    record.wormDraws, record.ropeDraws, record.displayCalls, record.framesEnded, record.chatSends,
                    record.failures, logLines, ended, instance.threadCount(),
                    secondsSince(start));
        return started && record.failures == 0;
    }

private:
    void add(const Scenario& scenario, uint32_t frame, EventKind kind, const std::string& text) {
        transcript_.add(scenario.name, frame, kind, text);
    }

    size_t addChat(const Scenario& scenario, uint32_t frame) {
        const auto lines = takeChatPrints();
        for (const auto& line : lines) add(scenario, frame, EventKind::Chat, line);
        return lines.size();
    }

    // The module writes its log from a thread of its own: lines are taken once it is quiet.
    size_t addLog(const Scenario& scenario, uint32_t frame, LogTail& log, const AddressNames& names) {
        const auto lines = log.takeWhenQuiet(std::chrono::milliseconds(300), std::chrono::seconds(10));
        for (const auto& line : lines) add(scenario, frame, EventKind::Log, names.inText(line));
        return lines.size();
    }

    const Options& options_;
    const GameImage& image_;
    HostMemory& memory_;
    Transcript& transcript_;
    PlayerKeys keys_;
};

}  // namespace

int main(int argc, char** argv) {
    // Unbuffered: the caller stamps each line as it arrives (msvcrt has no line buffering).
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    Options options;
    if (!parseOptions(argc, argv, options)) {
        std::fprintf(stderr, "usage: tarvek-host32.exe --out DIR [--module PATH] [--scenario NAME|all]\n");
        return 2;
    }
    const GameImage image = gameImage();
    if (const auto problem = gameImageProblem(image); !problem.empty()) {
        std::printf("tarvek-host32: %s\n", problem.c_str());
        return 1;
    }
    std::printf("tarvek-host32: game image at base 0x%08x, block 0x%08x..0x%08x, pointers %zu bytes\n", image.base,
                image.begin, image.end, sizeof(void*));

    win32::Win32HostMemory memory;
    Transcript transcript;
    ScenarioRun runner(options, image, memory, transcript);
    int ran = 0, failed = 0;
    try {
        fs::create_directories(options.out);
        for (const auto& scenario : offlineScenarios()) {
            if (options.scenario != "all" && options.scenario != scenario.name) continue;
            ++ran;
            if (!runner.run(scenario)) ++failed;
        }
        std::ofstream(options.out / "transcript.txt", std::ios::binary) << transcript.text();
    } catch (const std::exception& e) {
        std::printf("tarvek-host32: %s\n", e.what());
        return 1;
    }
    if (ran == 0) {
        std::printf("tarvek-host32: no scenario named %s\n", options.scenario.c_str());
        return 2;
    }
    std::printf("tarvek-host32: %d scenario(s), %d failed; transcript %s\n", ran, failed,
                (options.out / "transcript.txt").string().c_str());
    return failed ? 1 : 0;
}
