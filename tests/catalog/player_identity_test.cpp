#include <gtest/gtest.h>

#include <cstring>

#include "catalog/catalog_paths.h"
#include "catalog/player_identity.h"
#include "host/host_layout.h"
#include "host/settings.h"
#include "support/race_host.h"

namespace tarvek {
namespace {

namespace layout = host_layout;

TEST(PlayerIdentity, NormalizedNames) {
    const struct { const char* name; const char* normalized; } rows[] = {
        {"Mr Rope!", "mr_20rope_21"}, {"a-b.c_d", "a-b.c_d"}, {"Z\xE9\x7F", "z_e9_7f"}};
    for (const auto& row : rows) EXPECT_EQ(normalizePlayerName(row.name), row.normalized) << row.name;
}

TEST(PlayerIdentity, PlayerKeysHashSeasonKindAndLowerCasedValue) {
    const struct { const char* season; const char* account; const char* name; const char* key; } rows[] = {
        {"current", "", "Player One", "0f82f23d41db96cd"},
        {"", "", "PLAYER ONE", "0f82f23d41db96cd"},
        {" current\t", "", "", "07ecbb8663576ea7"},
        {"S2", "ACC-9", "ignored beside an account", "39130bedc307e56a"},
    };
    for (const auto& row : rows) EXPECT_EQ(derivePlayerKey(row.season, row.account, row.name), row.key) << row.name;
    EXPECT_NE(derivePlayerKey("current", "", "\xC3\x89"), derivePlayerKey("current", "", "\xC3\xA9"));
}

TEST(PlayerIdentity, CachedCatalogNamesCarryRankAndPlayer) {
    settings().moduleDirectory = "C:\\Games\\WA";
    EXPECT_EQ(serverCatalogCachePath("ab", true, "0123456789abcdef", 7),
              "C:\\Games\\WA\\wkTarvek.cache\\catalog-ab-bigrr-0123456789abcdef-track-rank-7.ini");
    const struct { const char* path; int32_t rank; const char* result; } rows[] = {
        {"c.ini", 0, "c.ini"}, {"c.ini", 12, "c-track-rank-12.ini"}, {"c.INI", 3, "c.INI-track-rank-3"}};
    for (const auto& row : rows) EXPECT_EQ(withTrackRankSuffix(row.path, row.rank), row.result) << row.path;
    settings() = Settings{};
}

class LocalPlayerName : public testing::RaceHostTest {
protected:
    void pokeText(HostAddr address, std::string_view bytes) {
        host.space().write(address, bytes.data(), bytes.size());
    }
};

TEST_F(LocalPlayerName, FirstSourceWithAUsableNameWins) {
    const HostAddr nickname = host.base() + layout::image::kNetworkNickname;
    const HostAddr players = world.gameState() + layout::game_state::kPlayerRecords;
    const struct {
        const char* settingsName;
        std::string nickname;  // 29 bytes as the host holds them
        uint8_t localIndex;
        const char* name;
        std::string_view source;
    } rows[] = {
        {"  Ann \t", std::string(29, '\0'), 0, "Ann", kSettingsNameSource},
        {" \r\n ", std::string(" Nick ") + std::string(23, '\0'), 0, "Nick", kNicknameSource},
        {"", std::string(29, 'N'), 2, "Rec 2", kLocalPlayerRecordSource},
        {"", std::string("Ni\x01") + std::string(26, '\0'), 6, "", kNoNameSource},
        {"", std::string("\x7F") + std::string(28, '\0'), 5, "Rec 5", kLocalPlayerRecordSource},
    };
    for (uint8_t index = 0; index <= 6; ++index)
        pokeText(players + index * layout::game_state::kPlayerRecordSize, "Rec " + std::to_string(index) + '\0');
    for (const auto& row : rows) {
        settings().playerName = row.settingsName;
        pokeText(nickname, row.nickname);
        host.space().writeU8(world.gameState() + layout::game_state::kLocalPlayerIndex, row.localIndex);
        const DetectedPlayerName detected = detectLocalPlayerName(world.world());
        EXPECT_EQ(detected.name, row.name) << row.nickname;
        EXPECT_EQ(detected.source, row.source) << row.nickname;
    }
}

}  // namespace
}  // namespace tarvek
