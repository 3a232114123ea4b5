#include <gtest/gtest.h>

#include <deque>
#include <string>
#include <vector>

#include "catalog/catalog_worker_slot.h"
#include "ghostdata/ghost_recording.h"
#include "host/host_layout.h"
#include "host/log.h"
#include "host/settings.h"
#include "module/startup.h"
#include "race/frame_driver.h"
#include "race/race_type.h"
#include "sim/sim_host.h"
#include "sim/sim_image.h"
#include "sim/sim_module.h"
#include "sync/url_cracker.h"
#include "support/temp_dir.h"

namespace tarvek {
namespace {

namespace image = host_layout::image;

struct Message {
    int hotkey;  // -1: no hotkey message
    bool foregroundIsOurs;
};

// The operating system as the start-up sees it, scripted: a message queue, hotkeys that can be
// refused, and a record of what was asked of it.
class ScriptedPlatform : public ModulePlatform {
public:
    std::string modulePath() override { return path; }
    HostAddr hostBase() override { return base; }
    bool startThread(void (*)(void*), void*) override {
        events.push_back("thread");
        return threadStarts;
    }
    bool registerHotkey(int, char key, uint32_t& error) override {
        events.push_back(std::string("register ") + key + (chatHooked() ? " after hooks" : ""));
        error = 1409;
        return refusedKey != key;
    }
    void unregisterHotkey(int id) override { events.push_back(id == kGoldHotkeyId ? "unregister G" : "unregister F"); }
    int nextMessage(int& hotkeyId) override {
        if (messages.empty()) return 0;
        hotkeyId = messages.front().hotkey;
        foreground = messages.front().foregroundIsOurs;
        messages.pop_front();
        return 1;
    }
    void dispatchMessage() override { events.push_back("dispatch"); }
    bool foregroundIsThisProcess() override { return foreground; }
    std::shared_ptr<CatalogSyncWorker> createCatalogWorker() override {
        events.push_back("worker");
        return std::make_shared<CatalogSyncWorker>(SyncEnvironment{nullptr, &crackUrlPortable});
    }

    bool chatHooked() { return sim::callTarget(sim->memory(), sim->base(), image::kChatSendCall) >> 24 == 0x6F; }

    sim::SimHost* sim = nullptr;
    std::string path;
    HostAddr base = 0;
    bool threadStarts = true;
    char refusedKey = 0;
    std::deque<Message> messages;
    bool foreground = false;
    std::vector<std::string> events;
};

class Startup : public ::testing::Test {
protected:
    Startup() {
        sim::resetModuleRaceState();
        catalogWorkerSlot().worker.reset();
        platform.sim = &host;
        platform.path = dir.file("wkTarvek.dll");
        platform.base = host.base();
        std::array<HostAddr, kHookCount> routines;
        for (int id = 0; id < kHookCount; ++id) routines[id] = 0x6F000000 + 0x10 * id;  // routine address high byte 0x6F
        moduleHost = std::make_unique<ModuleHost>(ModuleHost{host.memory(), host, withPreviousTargetSlots(routines)});
    }
    ~Startup() override {
        catalogWorkerSlot().worker.reset();
        sim::resetModuleRaceState();
    }
    bool sitePatched(uint32_t site) { return sim::callTarget(host.memory(), host.base(), site) >> 24 == 0x6F; }

    sim::SimHost host;
    testing::TempDir dir;
    ScriptedPlatform platform;
    std::unique_ptr<ModuleHost> moduleHost;
    CapturedLog log;
};

TEST_F(Startup, EntryPointInstallsOnlyTheCaptureSilentlyAndReportsSuccess) {
    sim::writeCall(host.memory(), host.base(), image::kLoadLandDatCall, image::kChatPrint);  // another module's
    platform.threadStarts = false;
    EXPECT_TRUE(attachModule(platform, *moduleHost));
    EXPECT_TRUE(sitePatched(image::kLoadLandDatCall));
    EXPECT_FALSE(sitePatched(image::kChatSendCall));
    EXPECT_EQ(platform.events, std::vector<std::string>{"thread"});
    EXPECT_TRUE(log.lines().empty());
}

TEST_F(Startup, DisabledModuleStopsAfterTheSettings) {
    dir.write("wkTarvek.ini", "[General]\nEnabled=0\n");
    attachModule(platform, *moduleHost);
    goldGhost().frames.resize(1);
    raceType().isBungeeRace = true;
    EXPECT_EQ(initThread(platform, *moduleHost), 0u);
    EXPECT_EQ(platform.events, std::vector<std::string>{"thread"});  // no worker, no hotkey
    EXPECT_FALSE(sitePatched(image::kChatSendCall));
    EXPECT_EQ(catalogWorkerSlot().worker, nullptr);
    EXPECT_FALSE(goldGhost().empty());
    EXPECT_FALSE(raceType().isBungeeRace);
    EXPECT_EQ(startupState().goldGhostPath, settings().moduleDirectory + "\\wkTarvek.challenge-951.tkghost");
}

TEST_F(Startup, InitThreadRunsItsStepsInOrder) {
    goldGhost().frames.resize(1);
    platform.messages = {{-1, true}};
    EXPECT_EQ(initThread(platform, *moduleHost), 0u);
    EXPECT_EQ(platform.events, (std::vector<std::string>{"worker", "register G after hooks", "register F after hooks",
                                                         "dispatch", "unregister G", "unregister F"}));
    EXPECT_TRUE(goldGhost().empty());
    EXPECT_NE(catalogWorkerSlot().worker, nullptr);
    EXPECT_FALSE(startupState().hotkeyRegistered);
    EXPECT_TRUE(sitePatched(image::kTimerDrawingCall));
}

TEST_F(Startup, NoHostBaseMeansNoHooksButHotkeys) {
    platform.base = 0;
    initThread(platform, *moduleHost);
    EXPECT_FALSE(sitePatched(image::kChatSendCall));
    EXPECT_EQ(platform.events[1], "register G");
}

TEST_F(Startup, HotkeysToggleOnlyWhileTheGameIsInFront) {
    const struct {
        const char* what;
        std::deque<Message> messages;
        char refusedKey;
        bool gold, blue;
        std::vector<std::string> lines;
    } rows[] = {
        {"Ctrl+G", {{kGoldHotkeyId, true}}, 0, false, true, {}},
        {"Ctrl+G twice", {{kGoldHotkeyId, true}, {kGoldHotkeyId, true}}, 0, true, true, {}},
        {"Ctrl+G elsewhere", {{kGoldHotkeyId, false}}, 0, true, true, {}},
        {"Ctrl+F", {{kBlueHotkeyId, true}}, 0, true, false, {}},
        {"Ctrl+G refused", {{kGoldHotkeyId, true}}, 'G', true, true,
         {"failed to register consumed Ctrl+G hotkey; shortcut disabled (error 1409)"}},
        {"Ctrl+F refused", {{kGoldHotkeyId, true}}, 'F', false, true,
         {"failed to register consumed Ctrl+F hotkey; PR shortcut disabled (error 1409)"}},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.what);
        resetFrameDriver();
        log.clear();
        platform.events.clear();
        platform.messages = row.messages;
        platform.refusedKey = row.refusedKey;
        serveHotkeys(platform);
        EXPECT_EQ(frameDriver().goldVisible.load(), row.gold);
        EXPECT_EQ(frameDriver().blueVisible.load(), row.blue);
        EXPECT_EQ(log.lines(), row.lines);
        const bool looped = row.refusedKey != 'G';
        EXPECT_EQ(platform.events.back(), looped ? (row.refusedKey ? "unregister G" : "unregister F") : "register G");
    }
}

}  // namespace
}  // namespace tarvek
