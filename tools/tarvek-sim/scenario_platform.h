#pragma once
// The operating system the module meets in a scenario: the simulated one, whose start-up is
// watched (the hotkeys registered mean the hooks are in), and whose catalog origin is the
// scenario's loopback server. The DLL's origin is fixed; here the run chooses it.
#include <condition_variable>
#include <mutex>
#include <string>

#include "sim/sim_module_platform.h"

namespace tarvek::simtool {

class ScenarioPlatform final : public sim::SimModulePlatform {
public:
    ScenarioPlatform(std::string modulePath, HostAddr hostBase, std::shared_ptr<const Platform> services,
                     std::string origin)
        : SimModulePlatform(std::move(modulePath), hostBase, std::move(services)), origin_(std::move(origin)) {}

    std::shared_ptr<const Platform> services() override;
    bool registerHotkey(int id, char key, uint32_t& error) override;

    // The init thread has reached its message loop, or has ended.
    void markEnded();
    bool waitUntilServing(std::chrono::milliseconds limit);

private:
    std::string origin_;
    std::mutex mutex_;
    std::condition_variable changed_;
    bool serving_ = false;
};

}  // namespace tarvek::simtool
