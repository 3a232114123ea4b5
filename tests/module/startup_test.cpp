#include <gtest/gtest.h>

#include "catalog/catalog_sync_state.h"
#include "ghostdata/ghost_recording.h"
#include "host/host_layout.h"
#include "host/log.h"
#include "host/settings.h"
#include "module/startup.h"
#include "presentation/module_race_callouts.h"
#include "race/race_callouts.h"
#include "race/frame_driver.h"
#include "race/race_type.h"
#include "sim/host_image_layout.h"
#include "sim/sim_module.h"
#include "sim/sim_module_platform.h"
#include "support/build_platform.h"
#include "support/temp_dir.h"

namespace tarvek {
namespace {

namespace image = host_layout::image;
using Requests = std::vector<std::string>;

class Startup : public ::testing::Test {
protected:
    Startup() {
        sim::resetModuleRaceState();
        goldGhost().frames.resize(1);
    }
    ~Startup() override {
        setCurrentCatalogWorker(nullptr);
        sim::resetModuleRaceState();
    }
    ModuleHost moduleHost() {  // every routine at 0x6Fxxxxxx
        std::array<HostAddr, kHookCount> routines;
        for (int id = 0; id < kHookCount; ++id) routines[id] = 0x6F000000 + 0x10 * id;
        return ModuleHost{host.memory(), host, withPreviousTargetSlots(routines)};
    }
    bool patched(uint32_t site) { return sim::callTarget(host.space(), host.base(), site) >> 24 == 0x6F; }

    sim::SimHost host;
    testing::TempDir dir;
    std::shared_ptr<const Platform> services = std::make_shared<testing::BuildPlatform>();
    sim::SimModulePlatform platform{dir.file("wkTarvek.dll"), host.base(), services};
    ModuleHost module = moduleHost();
    CapturedLog log;
};

TEST_F(Startup, EntryPointInstallsTheCaptureSilentlyThenTheInitThreadTheRest) {
    raceCallouts() = defaultRaceCallouts();  // as a freshly loaded module has them
    sim::writeCall(host.space(), host.base(), image::kLoadLandDatCallSite, image::kChatPrint);  // another module's
    EXPECT_TRUE(attachModule(platform, module));
    EXPECT_TRUE(patched(image::kLoadLandDatCallSite));
    EXPECT_FALSE(patched(image::kChatSendCallSite));
    EXPECT_TRUE(log.lines().empty());

    platform.postOtherMessage();
    platform.quit();
    ASSERT_TRUE(platform.runStartedThread());
    EXPECT_EQ(platform.requests(), (Requests{"thread", "services", "register G", "register F", "dispatch", "unregister G",
                                            "unregister F"}));
    EXPECT_TRUE(patched(image::kTurnTimerDrawCallSite));
    EXPECT_TRUE(goldGhost().empty());
    EXPECT_NE(currentCatalogWorker(), nullptr);
    EXPECT_TRUE(catalogServices().makeWorker);  // requests can start fresh workers
    EXPECT_FALSE(startupState().hotkeyRegistered);
    // The race tracking draws, marks and shows its gap through the presentation.
    EXPECT_EQ(raceCallouts().markGhostCommands, moduleRaceCallouts().markGhostCommands);
    EXPECT_EQ(raceCallouts().prepareGhostGraphics, moduleRaceCallouts().prepareGhostGraphics);
    EXPECT_EQ(raceCallouts().showEndOfTurnGap, moduleRaceCallouts().showEndOfTurnGap);
}

TEST_F(Startup, DisabledModuleStopsRightAfterTheSettings) {
    dir.write("wkTarvek.ini", "[General]\nEnabled=0\n");
    raceType().isBungeeRace = true;
    EXPECT_EQ(initThread(platform, module), 0u);
    EXPECT_TRUE(platform.requests().empty());  // no worker, no hotkey
    EXPECT_FALSE(patched(image::kChatSendCallSite));
    EXPECT_FALSE(goldGhost().empty());
    EXPECT_FALSE(raceType().isBungeeRace);  // the discipline default is set even so
    EXPECT_EQ(startupState().goldGhostPath, settings().moduleDirectory + "\\wkTarvek.challenge-951.tkghost");
}

TEST_F(Startup, WithoutAHostBaseNoHookIsAttempted) {
    sim::SimModulePlatform baseless(dir.file("wkTarvek.dll"), 0, services);
    baseless.quit();
    initThread(baseless, module);
    EXPECT_FALSE(patched(image::kChatSendCallSite));
    EXPECT_EQ(baseless.requests(), (Requests{"services", "register G", "register F", "unregister G", "unregister F"}));
}

TEST_F(Startup, HotkeysToggleOnlyWhileTheGameIsInFront) {
    const int g = kGoldHotkeyId, f = kBlueHotkeyId;
    const struct {
        std::vector<std::pair<int, bool>> presses;  // hotkey, game in front
        char refusedKey;
        bool gold, blue;
        const char* line;
        const char* lastRequest;
    } rows[] = {
        {{{g, true}}, 0, false, true, nullptr, "unregister F"},
        {{{g, true}, {g, true}}, 0, true, true, nullptr, "unregister F"},
        {{{g, false}}, 0, true, true, nullptr, "unregister F"},  // another application is in front
        {{{f, true}}, 0, true, false, nullptr, "unregister F"},
        {{{g, true}}, 'G', true, true, "failed to register consumed Ctrl+G hotkey; shortcut disabled (error 1409)", "register G"},
        {{{g, true}}, 'F', false, true, "failed to register consumed Ctrl+F hotkey; PR shortcut disabled (error 1409)",
         "unregister G"},
    };
    for (const auto& row : rows) {
        resetFrameDriver();
        log.clear();
        sim::SimModulePlatform keys(dir.file("wkTarvek.dll"), host.base(), services);
        for (const auto& [hotkey, inFront] : row.presses) keys.pressHotkey(hotkey, inFront);
        keys.quit();
        keys.refuseHotkey(row.refusedKey, 1409);
        sim::layOutHostImage(host.space());
        initThread(keys, module);
        EXPECT_TRUE(patched(image::kChatSendCallSite));  // hooks are in before any hotkey is tried
        EXPECT_EQ(frameDriver().goldVisible.load(), row.gold);
        EXPECT_EQ(frameDriver().blueVisible.load(), row.blue);
        EXPECT_EQ(log.lines(), row.line ? Requests{row.line} : Requests{});
        EXPECT_EQ(keys.requests().back(), row.lastRequest);
    }
}

}  // namespace
}  // namespace tarvek
