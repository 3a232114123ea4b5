#include "catalog/chat_commands.h"

#include <algorithm>
#include <cstring>
#include <optional>
#include <string>

#include "catalog/catalog_sync_state.h"
#include "catalog/chat_output.h"
#include "catalog/chat_replies.h"
#include "catalog/leaderboard.h"
#include "catalog/track_command.h"
#include "host/host_context.h"
#include "host/text.h"
#include "race/frame_driver.h"
#include "race/map_ghost_pipeline.h"

namespace tarvek {
namespace {

// Longer lines are not the player's typing; they go to the game untouched.
constexpr size_t kMaxChatLine = 0x10000;
constexpr uint32_t kReadChunk = 0x1000;

constexpr std::string_view kLeaderboardWords[] = {"!leaderboard", "!leaderboards", "!ranks",
                                                  "!rank",        "!ranking",      "!records"};

// The line up to its NUL, every byte through the guarded read; nothing when a byte before the
// NUL is unreadable.
std::optional<std::string> readChatLine(HostAddr text) {
    if (text == 0 || text == UINT32_MAX) return std::nullopt;
    const HostMemory& memory = hostMemory();
    std::string line;
    uint64_t at = text;
    char chunk[kReadChunk];
    while (line.size() < kMaxChatLine && at <= UINT32_MAX) {
        const uint32_t take = static_cast<uint32_t>(std::min<uint64_t>(kReadChunk - (at % kReadChunk), 0x100000000 - at));
        if (!memory.read(static_cast<HostAddr>(at), chunk, take)) return std::nullopt;
        const void* end = std::memchr(chunk, 0, take);
        if (end) {
            line.append(chunk, static_cast<const char*>(end) - chunk);
            return line;
        }
        line.append(chunk, take);
        at += take;
    }
    return std::nullopt;
}

void reply(HostAddr chatObject, std::string_view text) {
    chatTargetObject() = chatObject;
    postChatLine(text, 0);
}

void answerTrackCommand(HostAddr chatObject, const TrackCommand& command) {
    using Kind = TrackCommand::Kind;
    CatalogSyncState& state = catalogSyncState();
    if (command.kind == Kind::Usage) {
        reply(chatObject, chat_reply::kUsage);
    } else if (command.kind == Kind::Me) {
        if (state.trackedRank == 0) {
            reply(chatObject, chat_reply::kAlreadyPersonalBest);
        } else {
            beginTrackedRankRequest(0);
            reply(chatObject, chat_reply::kRestoringPersonalBest);
        }
    } else if (command.number == 1) {
        reply(chatObject, chat_reply::kRankIsWorldRecord);
    } else if (command.number < 2 || command.number > 999) {
        reply(chatObject, chat_reply::kRankOutOfRange);
    } else if (mapPipeline().activeMapHash.empty()) {
        reply(chatObject, chat_reply::kNoLeaderboard);
    } else {
        beginTrackedRankRequest(static_cast<int32_t>(command.number));
        reply(chatObject, chat_reply::loadingRank(command.number));
    }
}

uint32_t handleLine(HostAddr chatObject, HostAddr text) {
    const std::optional<std::string> line = readChatLine(text);
    if (!line) return 0;
    const std::string lower = asciiLower(trimHostText(*line));
    const std::string_view word = std::string_view(lower).substr(0, lower.find_first_of(" \t"));
    if (std::find(std::begin(kLeaderboardWords), std::end(kLeaderboardWords), word) != std::end(kLeaderboardWords)) {
        for (const std::string& row : leaderboardReplies()) reply(chatObject, row);
        return 1;
    }
    const TrackCommand command = parseTrackCommand(lower);
    if (command.kind == TrackCommand::Kind::None) return 0;
    answerTrackCommand(chatObject, command);
    return 1;
}

}  // namespace

uint32_t handleChatCommand(HostAddr chatObject, HostAddr text) noexcept {
    try {
        return handleLine(chatObject, text);
    } catch (...) {
        // Whatever failed, the line goes on to the game as it was typed.
        return 0;
    }
}

}  // namespace tarvek
