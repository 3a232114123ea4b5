#include "simulated_module.h"

#include <algorithm>

#include "host/host_layout.h"
#include "host/module_path.h"
#include "host/settings.h"
#include "sim/sim_module.h"

namespace tarvek::cli {

namespace image = host_layout::image;

SimulatedModule::SimulatedModule(const std::string& moduleDirectory, const std::optional<std::string>& nickname) {
    sim::resetModuleRaceState();
    loadSettings(joinModulePath(moduleDirectory, "wkTarvek.dll"));
    if (nickname) {
        // As the game holds it: NUL-terminated within its field, or cut without the NUL.
        const size_t length = std::min<size_t>(nickname->size() + 1, image::kNetworkNicknameLimit);
        host.space().write(host.base() + image::kNetworkNickname, nickname->c_str(), length);
    }
}

SimulatedModule::~SimulatedModule() { sim::resetModuleRaceState(); }

CLI::Validator mapHashValidator() {
    return CLI::Validator(
        [](const std::string& hash) -> std::string {
            const bool hex = hash.size() == 64 && std::all_of(hash.begin(), hash.end(), [](char c) {
                                 return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
                             });
            return hex ? "" : "a map hash is 64 hexadecimal digits";
        },
        "HASH");
}

}  // namespace tarvek::cli
