#include "simulated_module.h"

#include "catalog/code_pages.h"
#include "host/host_layout.h"
#include "host/settings.h"
#include "sim/sim_module.h"

namespace tarvek::cli {

namespace image = host_layout::image;

bool isMapHash(const std::string& text) {
    return text.size() == 64 && text.find_first_not_of("0123456789abcdefABCDEF") == std::string::npos;
}

std::optional<std::string> checkNickname(const std::optional<std::string>& nicknameUtf8, std::string& ansi) {
    if (!nicknameUtf8) return std::nullopt;
    ansi = convertCodePage(*nicknameUtf8, kUtf8CodePage, kAnsiCodePage);
    if (ansi.size() >= image::kNetworkNicknameLimit) return "--nickname must fit the game's 28 bytes";
    return std::nullopt;
}

SimulatedModule::SimulatedModule(const std::string& moduleDirectory, const std::string& ansiNickname) {
    sim::resetModuleRaceState();
    loadSettings(moduleDirectory + "/wkTarvek.dll");
    host.space().write(host.base() + image::kNetworkNickname, ansiNickname.c_str(), ansiNickname.size() + 1);
}

}  // namespace tarvek::cli
