#include "catalog/player_identity.h"

#include "catalog/code_pages.h"
#include "ghostdata/sha256.h"
#include "host/host_context.h"
#include "host/host_layout.h"
#include "host/module_path.h"
#include "host/private_profile.h"
#include "host/settings.h"
#include "host/text.h"

namespace tarvek {

namespace layout = host_layout;

namespace {

constexpr std::string_view kAliasKey = "TarvekPlayerKey";

std::string nameFromLocalPlayerRecord(const HostMemory& memory, HostAddr world) {
    const auto gameState = memory.readU32(world + layout::world::kGameState);
    if (!gameState || *gameState == 0) return {};
    const uint64_t indexAddress = uint64_t{*gameState} + layout::game_state::kLocalPlayerIndex;
    if (indexAddress > UINT32_MAX) return {};
    const auto index = memory.readU8(static_cast<HostAddr>(indexAddress));
    if (!index || *index > layout::game_state::kMaxLocalPlayerIndex) return {};
    const HostAddr record = *gameState + layout::game_state::kPlayerRecords +
                            uint32_t{*index} * layout::game_state::kPlayerRecordSize;
    return readHostString(memory, record, layout::game_state::kPlayerNameLimit);
}

// The alias a player's normalised name has in the local catalog; empty without one.
std::string localAlias(std::string_view normalizedName) {
    return readProfileString(localCatalogPath(), "PlayerAlias." + std::string(normalizedName), kAliasKey, "");
}

std::string configuredAccountKey() { return std::string(trimHostText(settings().accountKey)); }

}  // namespace

std::string readHostString(const HostMemory& memory, HostAddr address, uint32_t limit) {
    std::string bytes(limit, '\0');
    if (limit == 0 || !memory.read(address, bytes.data(), limit)) return {};
    const size_t end = bytes.find('\0');
    if (end == std::string::npos) return {};
    bytes.resize(end);
    for (const char c : bytes) {
        const auto byte = static_cast<uint8_t>(c);
        if (byte < 32 || byte == 127) return {};
    }
    return std::string(trimHostText(bytes));
}

DetectedPlayerName detectLocalPlayerName(HostAddr world) {
    std::string name(trimHostText(settings().playerName));
    if (!name.empty()) return {std::move(name), kSettingsNameSource};
    const HostMemory& memory = hostMemory();
    name = readHostString(memory, hostBase() + layout::image::kNetworkNickname, layout::image::kNetworkNicknameLimit);
    if (!name.empty()) return {std::move(name), kNicknameSource};
    if (world != 0) {
        name = nameFromLocalPlayerRecord(memory, world);
        if (!name.empty()) return {std::move(name), kLocalPlayerRecordSource};
    }
    return {{}, kNoNameSource};
}

std::string normalizePlayerName(std::string_view text) {
    static const char kHex[] = "0123456789abcdef";
    std::string out;
    out.reserve(text.size());
    for (const char c : text) {
        const auto byte = static_cast<uint8_t>(c);
        if (byte >= 'A' && byte <= 'Z') {
            out.push_back(static_cast<char>(byte - 'A' + 'a'));
        } else if ((byte >= 'a' && byte <= 'z') || (byte >= '0' && byte <= '9') || byte == '-' || byte == '.' ||
                   byte == '_') {
            out.push_back(c);
        } else {
            out.push_back('_');
            out.push_back(kHex[byte >> 4]);
            out.push_back(kHex[byte & 0xF]);
        }
    }
    return out;
}

std::string derivePlayerKey(std::string_view seasonKey, std::string_view accountKey, std::string_view nameUtf8) {
    std::string_view season = trimHostText(seasonKey);
    if (season.empty()) season = "current";
    std::string_view kind = "anonymous";
    std::string_view value;
    if (!accountKey.empty()) {
        kind = "account";
        value = accountKey;
    } else if (!nameUtf8.empty()) {
        kind = "name";
        value = nameUtf8;
    }
    // The NULs keep the fields apart: no season and value pair can pose as another.
    Sha256 hash;
    hash.update(asciiLower(season));
    hash.update(std::string_view("\0", 1));
    hash.update(kind);
    hash.update(std::string_view("\0", 1));
    hash.update(asciiLower(value));
    hash.update(std::string_view("\0", 1));
    return hash.finishHex().substr(0, 16);
}

PlayerIdentity buildPlayerIdentity(std::string_view detectedName) {
    PlayerIdentity identity;
    identity.accountKey = configuredAccountKey();
    if (identity.accountKey.empty() && !detectedName.empty()) {
        identity.accountKey = localAlias(normalizePlayerName(detectedName));
        if (identity.accountKey.empty()) identity.nameUtf8 = convertCodePage(detectedName, kAnsiCodePage, kUtf8CodePage);
    }
    identity.playerKey = derivePlayerKey(settings().seasonKey, identity.accountKey, identity.nameUtf8);
    return identity;
}

std::string localCatalogPath() { return joinModulePath(settings().moduleDirectory, settings().localMapCatalogFile); }

AccountKeyResolution resolvePlayerAccountKey(std::string_view localPlayerName, const std::string& serverCatalogFile) {
    AccountKeyResolution resolution;
    resolution.localPlayerName = std::string(localPlayerName);
    resolution.detected = normalizePlayerName(localPlayerName);
    resolution.playerAccountKey = configuredAccountKey();
    if (!resolution.playerAccountKey.empty()) {
        resolution.keySource = "wkTarvek.ini PlayerAccountKey";
        return resolution;
    }
    if (!serverCatalogFile.empty()) {
        const ProfileText catalog(serverCatalogFile);
        const std::string requested = catalog.string("Catalog", "RequestedPlayerName");
        const std::string account = catalog.string("Catalog", "PlayerAccountKey");
        if (!requested.empty() && !account.empty() && normalizePlayerName(requested) == resolution.detected) {
            resolution.playerAccountKey = account;
            resolution.keySource = "Tarvek server player resolution";
            return resolution;
        }
    }
    if (!resolution.detected.empty()) {
        resolution.playerAccountKey = localAlias(resolution.detected);
        if (!resolution.playerAccountKey.empty()) {
            resolution.keySource = "local Tarvek alias";
        } else {
            resolution.playerAccountKey = resolution.detected;
            resolution.keySource = "normalized local player name";
        }
    }
    return resolution;
}

std::string recognitionLine(const AccountKeyResolution& resolution, std::string_view identitySource) {
    if (resolution.localPlayerName.empty()) return {};
    std::string line = "automatic player recognition: '" + resolution.localPlayerName + "' (detected key '" +
                       resolution.detected + "'";
    if (resolution.playerAccountKey != resolution.detected)
        line += ", Tarvek account '" + resolution.playerAccountKey + "'";
    line += ", identity source: " + std::string(identitySource);
    if (!resolution.keySource.empty()) line += ", key source: " + std::string(resolution.keySource);
    return line + ")";
}

}  // namespace tarvek
