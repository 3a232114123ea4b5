#pragma once
// Who is playing: the local player's name from the settings or the game, the account key that
// names the player to the server, and the short player key derived from them.
#include <string>
#include <string_view>

#include "host/host_memory.h"

namespace tarvek {

inline constexpr std::string_view kSettingsNameSource = "wkTarvek.ini PlayerName override";
inline constexpr std::string_view kNicknameSource = "W:A local network nickname";
inline constexpr std::string_view kLocalPlayerRecordSource = "current game local-player record";
inline constexpr std::string_view kNoNameSource = "unavailable";

struct DetectedPlayerName {
    std::string name;  // in the ANSI code page, as the game holds it
    std::string_view source;
};

// The text at address: every byte of [address, address + limit) readable, a NUL within the
// limit and no control byte before it; trimmed. Empty otherwise.
std::string readHostString(const HostMemory& memory, HostAddr address, uint32_t limit);

// The settings' player name, else the host's network nickname, else (with a world) the name in
// the current game's local-player record.
DetectedPlayerName detectLocalPlayerName(HostAddr world);

// ASCII letters lower-cased; letters, digits, '-', '.' and '_' kept; every other byte "_xx".
std::string normalizePlayerName(std::string_view text);

struct PlayerIdentity {
    std::string accountKey;  // configured, else the local alias; may be empty
    std::string nameUtf8;    // only without an account key
    std::string playerKey;   // 16 hex digits
};

// 16 lower-case hex digits of SHA-256 over season, kind and value (account, name or anonymous).
std::string derivePlayerKey(std::string_view seasonKey, std::string_view accountKey, std::string_view nameUtf8);

// The identity for a detected name, with the settings' account key or the local catalog's alias.
PlayerIdentity buildPlayerIdentity(std::string_view detectedName);

// The local catalog (wkTarvek.maps.ini or the configured name) beside the module.
std::string localCatalogPath();

struct AccountKeyResolution {
    std::string localPlayerName;
    std::string detected;  // normalised name
    std::string playerAccountKey;
    std::string_view keySource;  // empty when there is no key
};

// The account key for personal-record sections: the settings' key, the server's resolution in a
// server catalog (serverCatalogFile not empty), the local alias, else the normalised name.
AccountKeyResolution resolvePlayerAccountKey(std::string_view localPlayerName, const std::string& serverCatalogFile);

// "automatic player recognition: ..." for a known name; empty without one.
std::string recognitionLine(const AccountKeyResolution& resolution, std::string_view identitySource);

}  // namespace tarvek
