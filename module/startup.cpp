#include "module/startup.h"

#include "catalog/catalog_sync_state.h"
#include "catalog/chat_output.h"
#include "catalog/code_pages.h"
#include "catalog/pipeline_connection.h"
#include "host/host_context.h"
#include "host/host_layout.h"
#include "host/log_file.h"
#include "host/module_path.h"
#include "host/settings.h"
#include "host/text.h"
#include "presentation/module_race_callouts.h"
#include "race/race_callouts.h"
#include "race/ghost_slot_reset.h"
#include "race/race_type.h"

namespace tarvek {
namespace {

struct InitThreadArgument {
    ModulePlatform* platform = nullptr;
    ModuleHost* host = nullptr;
};

void runInitThread(void* argument) {
    auto* parts = static_cast<InitThreadArgument*>(argument);
    initThread(*parts->platform, *parts->host);
}

// The origin is trimmed and stored back; a worker exists only for a non-empty one. The catalog
// requests take this worker and make their fresh ones on the same platform and clock.
void replaceCatalogWorker(const std::shared_ptr<const Platform>& services) {
    Settings& s = settings();
    s.apiOrigin = std::string(trimHostText(s.apiOrigin));
    bindCatalogPlatform(services);
    // The previous worker, when this held its last reference, waits for its thread outside the lock.
    setCurrentCatalogWorker(s.apiOrigin.empty() ? nullptr : std::make_shared<CatalogSyncWorker>(services));
}

}  // namespace

StartupState& startupState() {
    static StartupState state;
    return state;
}

bool attachModule(ModulePlatform& platform, ModuleHost& host) noexcept {
    try {
        const HostAddr base = platform.hostBase();
        startupState().hostBase = base;
        bindHost(host.memory, host.calls, base);
        if (base != 0) installMapSourceCapture(host.memory, base, host.hooks, false);
        static InitThreadArgument argument;
        argument = {&platform, &host};
        platform.startThread(&runInitThread, &argument);
    } catch (...) {
        // Whatever failed, the game must load on; the module is then simply absent.
    }
    return true;
}

uint32_t initThread(ModulePlatform& platform, ModuleHost& host) noexcept {
    try {
        loadSettings(platform.modulePath());
        const Settings& s = settings();
        startLogFile(s.moduleDirectory, s.logFile);
        raceType().isBungeeRace = s.isBungeeRaceDefault;
        startupState().goldGhostPath = joinModulePath(s.moduleDirectory, s.goldGhostFile);
        if (!s.enabled) return 0;

        // Player names go through the system's code pages; the pipeline asks the catalogs; the
        // race tracking draws, marks and reports through the presentation (without it the ghosts
        // would be plain worms and no gap would show).
        const std::shared_ptr<const Platform> services = platform.services();
        bindCodePageConverter(services->codePages());
        connectCatalogToPipeline();
        raceCallouts() = moduleRaceCallouts();
        resetGhostSlots(false);
        replaceCatalogWorker(services);
        const HostAddr base = platform.hostBase();
        startupState().hostBase = base;
        if (base != 0) {
            bindHost(host.memory, host.calls, base);
            setChatPrintRoutine(base + host_layout::image::kChatPrint);
            installHooks(host.memory, base, host.hooks);
        }
        serveHotkeys(platform);
    } catch (...) {
        // The thread ends; hooks already installed keep working.
    }
    return 0;
}

}  // namespace tarvek
