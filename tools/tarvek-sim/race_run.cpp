#include "tools/tarvek-sim/race_run.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <mutex>
#include <optional>
#include <thread>

#include "catalog/catalog_sync_state.h"
#include "host/log.h"
#include "host/settings.h"
#include "module/startup.h"
#include "race/frame_driver.h"
#include "race/live_comparison.h"
#include "presentation/gap_message.h"
#include "race/race_callouts.h"
#include "race/race_state.h"
#include "server_process.h"
#include "sim/host_image_layout.h"
#include "sim/sim_hook_entries.h"
#include "sim/sim_module.h"
#include "tools/scenarios/hook_survey.h"
#include "tools/scenarios/log_tail.h"
#include "tools/scenarios/race_screen.h"
#include "tools/tarvek-sim/game_clock_platform.h"
#include "tools/tarvek-sim/network_gate.h"
#include "tools/tarvek-sim/race_game.h"
#include "tools/tarvek-sim/scenario_platform.h"

namespace tarvek::simtool {
namespace {

using namespace std::chrono_literals;
using scenarios::EventKind;
using scenarios::markedText;
using scenarios::Scenario;
namespace fs = std::filesystem;

// A loopback port with nothing listening: bound once to learn a free one, then closed.
int closedLoopbackPort() {
    const int fd = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t size = sizeof address;
    int port = 0;
    if (fd >= 0 && ::bind(fd, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0 &&
        ::getsockname(fd, reinterpret_cast<sockaddr*>(&address), &size) == 0)
        port = ntohs(address.sin_port);
    if (fd >= 0) ::close(fd);
    return port;
}

// Log lines the module writes once the start-up is done, with the frame they came in.
class LogCapture {
public:
    LogCapture() {
        setLogSink([this](const std::string& line) {
            std::lock_guard<std::mutex> lock(mutex_);
            lines_.push_back(line);
        });
    }
    ~LogCapture() { setLogSink({}); }
    std::vector<std::string> take() {
        std::lock_guard<std::mutex> lock(mutex_);
        return std::exchange(lines_, {});
    }

private:
    std::mutex mutex_;
    std::vector<std::string> lines_;
};

// The module's init thread: it serves the hotkeys until the game ends, whatever ends the run.
class InitThread {
public:
    explicit InitThread(ScenarioPlatform& platform) : platform_(platform), thread_([&platform] {
        platform.runStartedThread();
        platform.markEnded();
    }) {}
    ~InitThread() { end(); }
    void end() {
        platform_.quit();
        if (thread_.joinable()) thread_.join();
    }

private:
    ScenarioPlatform& platform_;
    std::thread thread_;
};

const char* statusName(uint32_t status) {
    return status == race_status::kAhead ? "AHEAD" : status == race_status::kBehind ? "BEHIND" : "EVEN";
}

std::string slotStatus(size_t slot) {
    const SlotComparison& comparison = slotComparison(slot);
    return comparison.active && comparison.state.hasMatch ? statusName(comparison.state.status) : "none";
}

class ScenarioRun {
public:
    ScenarioRun(const Scenario& scenario, const fs::path& dir, const ServerSetup& server,
                scenarios::Transcript& transcript)
        : scenario_(scenario), dir_(dir), server_(server), transcript_(transcript) {}

    RunResult run(const KeyFrameSink& keyFrame) {
        RunResult result;
        sim::resetModuleRaceState();
        // A freshly loaded module: whatever it connects, its start-up connects, as in the DLL.
        raceCallouts() = defaultRaceCallouts();
        scenarios::prepareModuleDirectory(dir_, {}, scenario_.files);
        const int port = closedLoopbackPort();
        if (scenario_.server == scenarios::CatalogServer::Up) startServer(port);

        RaceGame game(scenario_);
        names_ = {game.host.base(), sim::kHostImageSize, sim::kModuleRoutineBase, 0x01000000};
        scenarios::HookSurvey survey(game.host.memory(), game.host.base(), scenarios::gameHookPoints());
        auto clock = std::make_shared<GameClockPlatform>(server_.services, gate_);
        ScenarioPlatform platform((dir_ / "wkTarvek.dll").string(), game.host.base(), clock,
                                  "https://127.0.0.1:" + std::to_string(port));
        ModuleHost moduleHost{game.host.memory(), game.host, sim::simHookAddresses(game.host, moduleHookRoutines())};
        attachModule(platform, moduleHost);
        InitThread init(platform);
        if (!platform.waitUntilServing(10s)) result.problem = "the module's start-up did not finish";

        for (const auto& line : survey.report(names_)) {
            add(0, EventKind::Hook, line);
            result.hooksPatched += line.find(" patched ") != std::string::npos;
        }
        scenarios::LogTail startLog(dir_ / scenarios::kLogFileName);
        for (const auto& line : startLog.takeWhenQuiet(30ms, 2s)) add(0, EventKind::Log, logText(line));

        {
            LogCapture log;
            game.loadMap();
            flush(game, log);
            for (uint32_t i = 0; i < scenario_.frameCount(); ++i) {
                clock->setFrame(game.frame() + 1);
                game.runFrame();
                passCatalogRun();
                const uint32_t frame = game.frame();
                observe(frame, game, result);
                flush(game, log);
                act(frame, game, platform, port);
                flush(game, log);
                for (const auto& key : scenario_.keyFrames)
                    if (key.frame == frame) keyFrame(scenario_, key, game);
            }
            result.frames = game.frame();
            heldWorker_ = currentCatalogWorker();
            passCatalogRun();  // the last run too, so nothing waits at the gate
            init.end();
            sim::resetModuleRaceState();  // the worker goes now, while the game is still there
            flush(game, log);
        }
        serverProcess_.reset();
        result.ran = result.problem.empty();
        return result;
    }

private:
    void add(uint32_t frame, EventKind kind, const std::string& text) { transcript_.add(scenario_.name, frame, kind, text); }

    // A log line as any host would write it: addresses named, the module directory as "<module>".
    std::string logText(const std::string& line) const {
        std::string text = names_.inText(line);
        const std::string& directory = settings().moduleDirectory;
        for (size_t at; directory.size() > 1 && (at = text.find(directory)) != std::string::npos;)
            text.replace(at, directory.size(), "<module>");
        return text;
    }

    // A catalog run started in this frame waits at the network gate; one started in an earlier
    // frame goes through now and has delivered before the next frame.
    void passCatalogRun() {
        const auto worker = currentCatalogWorker();
        if (!worker || !worker->isRunning()) return;
        if (worker != heldWorker_) {
            heldWorker_ = worker;
            return;
        }
        for (int waited = 0; waited < 10000 && worker->isRunning(); ++waited) {
            gate_->release();
            std::this_thread::sleep_for(2ms);
        }
    }

    void startServer(int port) {
        serverProcess_ = std::make_unique<server::ServerProcess>(
            server_.binary, server_.dataDirectory,
            std::vector<std::string>{"--port", std::to_string(port), "--cert", server_.certificate, "--key", server_.key});
    }

    void flush(RaceGame& game, LogCapture& log) {
        for (const auto& line : log.take()) add(game.frame(), EventKind::Log, logText(line));
        const auto& prints = game.host.chatPrints();
        for (; chatSeen_ < prints.size(); ++chatSeen_) add(game.frame(), EventKind::Chat, prints[chatSeen_].text);
    }

    // The race as the player follows it: each ghost's status, what the drawing pass marked, the
    // gap message and the timer as the game drew it.
    void observe(uint32_t frame, RaceGame& game, RunResult& result) {
        const std::string status = "gold " + slotStatus(kGoldSlot) + ", blue " + slotStatus(kBlueSlot);
        if (status != lastStatus_) add(frame, EventKind::Status, lastStatus_ = status);
        if (const std::string marked = markedText(game.marked()); marked != lastMarked_)
            add(frame, EventKind::Marked, lastMarked_ = marked);
        GapMessage gap;
        if (gapMessageBoard().activeFor(game.world.world(), game.display.address(), millisecondTick(), gap) &&
            gap.sequence != lastGap_) {
            lastGap_ = gap.sequence;
            add(frame, EventKind::Gap, std::string(gap.textView()));
        }
        if (game.drawsTimer()) {
            const std::string timer = scenarios::turnTimerText(game.host.space(), game.timer.objects());
            if (timer != lastTimer_) add(frame, EventKind::Timer, lastTimer_ = timer);
        }
        // The plot follows the local player's own turns, where the comparison matched this frame.
        const auto& local = scenario_.worms.front().frames;
        const bool localActive = !local.empty() && local[std::min<size_t>(frame, local.size()) - 1].active;
        const SlotComparison& gold = slotComparison(kGoldSlot);
        const uint32_t segment = raceState().slots[kGoldSlot].segmentIndex;
        if (localActive && gold.active && gold.state.matchedLastCall) {
            result.race.push_back({liveRaceClock(), gold.state.delta, segment != lastSegment_});
            lastSegment_ = segment;
        }
    }

    void act(uint32_t frame, RaceGame& game, ScenarioPlatform& platform, int port) {
        for (const auto& line : scenario_.chat)
            if (line.frame == frame) game.chat.send(line.text);
        for (const auto& press : scenario_.hotkeys) {
            if (press.frame != frame) continue;
            std::atomic<bool>& flag = press.hotkeyId == kGoldHotkeyId ? frameDriver().goldVisible : frameDriver().blueVisible;
            const bool before = flag.load();
            platform.pressHotkey(press.hotkeyId, true);
            for (int waited = 0; waited < 1000 && flag.load() == before; ++waited) std::this_thread::sleep_for(1ms);
            add(frame, EventKind::Log, std::string("hotkey ") + (press.hotkeyId == kGoldHotkeyId ? "Ctrl+G" : "Ctrl+F") +
                                           ": " + (flag.load() ? "shown" : "hidden"));
        }
        if (scenario_.server == scenarios::CatalogServer::Late && frame == scenario_.serverUpFrame) startServer(port);
    }

    const Scenario& scenario_;
    fs::path dir_;
    const ServerSetup& server_;
    scenarios::Transcript& transcript_;
    std::unique_ptr<server::ServerProcess> serverProcess_;
    scenarios::AddressNames names_;
    std::shared_ptr<NetworkGate> gate_ = std::make_shared<NetworkGate>(server_.services->httpTransport());
    std::shared_ptr<CatalogSyncWorker> heldWorker_;
    size_t chatSeen_ = 0;
    std::string lastStatus_ = "gold none, blue none";
    std::string lastTimer_;
    std::string lastMarked_ = markedText({});
    uint64_t lastGap_ = 0;
    uint32_t lastSegment_ = UINT32_MAX;
};

}  // namespace

RunResult runScenario(const Scenario& scenario, const fs::path& moduleDirectory, const ServerSetup& server,
                      scenarios::Transcript& transcript, const KeyFrameSink& keyFrame) {
    const auto start = std::chrono::steady_clock::now();
    RunResult result;
    try {
        result = ScenarioRun(scenario, moduleDirectory, server, transcript).run(keyFrame);
    } catch (const std::exception& e) {
        result.problem = e.what();
    }
    result.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return result;
}

}  // namespace tarvek::simtool
