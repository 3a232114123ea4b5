#include "tools/tarvek-sim/scenario_platform.h"

#include "host/settings.h"

namespace tarvek::simtool {

std::shared_ptr<const Platform> ScenarioPlatform::services() {
    // Asked for right after the settings are read and before the worker is made from them.
    settings().apiOrigin = origin_;
    return SimModulePlatform::services();
}

bool ScenarioPlatform::registerHotkey(int id, char key, uint32_t& error) {
    const bool registered = SimModulePlatform::registerHotkey(id, key, error);
    if (key == 'F' || !registered) markEnded();  // the last registration: the loop comes next
    return registered;
}

void ScenarioPlatform::markEnded() {
    std::lock_guard<std::mutex> lock(mutex_);
    serving_ = true;
    changed_.notify_all();
}

bool ScenarioPlatform::waitUntilServing(std::chrono::milliseconds limit) {
    std::unique_lock<std::mutex> lock(mutex_);
    return changed_.wait_for(lock, limit, [this] { return serving_; });
}

}  // namespace tarvek::simtool
