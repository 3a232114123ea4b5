#include "catalog_data.h"

#include <algorithm>
#include <fstream>
#include <iterator>
#include <sstream>
#include <stdexcept>

#include "ghostdata/sha256.h"
#include "host/text.h"

namespace tarvek::server {
namespace fs = std::filesystem;
namespace {

const char* const kRaceTypes[] = {"BigRR", "TTRR", "TrickRace", "BungeeRace"};

std::string readWhole(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error("cannot read " + path.string());
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::string upper(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return text;
}

bool isHex64(const std::string& text) {
    return text.size() == 64 && std::all_of(text.begin(), text.end(), [](char c) {
               return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F');
           });
}

std::vector<std::string> splitBars(const std::string& text) {
    std::vector<std::string> parts;
    std::string::size_type start = 0;
    for (;;) {
        const auto bar = text.find('|', start);
        parts.emplace_back(trimHostText(text.substr(start, bar - start)));
        if (bar == std::string::npos) return parts;
        start = bar + 1;
    }
}

// "<hash>.<racetype>.map": key=value lines; "#" starts a comment line.
MapBoard loadBoard(const fs::path& path) {
    const std::string stem = path.stem().string();
    const auto dot = stem.find('.');
    MapBoard board;
    board.mapHash = asciiLower(stem.substr(0, dot));
    const std::string race = dot == std::string::npos ? "" : stem.substr(dot + 1);
    for (const char* known : kRaceTypes)
        if (equalsIgnoreAsciiCase(race, known)) board.raceType = known;
    if (!isHex64(board.mapHash) || board.raceType.empty())
        throw std::runtime_error(path.string() + ": name must be <64 hex digits>.<race type>.map");

    std::istringstream lines(readWhole(path));
    std::string line;
    int number = 0;
    while (std::getline(lines, line)) {
        ++number;
        const std::string trimmed(trimHostText(line));
        if (trimmed.empty() || trimmed[0] == '#') continue;
        const auto eq = trimmed.find('=');
        if (eq == std::string::npos)
            throw std::runtime_error(path.string() + ":" + std::to_string(number) + ": expected key=value");
        const std::string key = asciiLower(trimHostText(trimmed.substr(0, eq)));
        const std::string value(trimHostText(trimmed.substr(eq + 1)));
        if (key == "name") {
            board.name = value;
        } else if (key == "record") {
            const auto fields = splitBars(value);
            if (fields.size() != 5)
                throw std::runtime_error(path.string() + ":" + std::to_string(number) +
                                         ": record=rank|account key|player name|result|ghost sha256");
            LeaderboardRecord record;
            try {
                record.rank = std::stoi(fields[0]);
            } catch (const std::exception&) {
                record.rank = 0;
            }
            if (record.rank < 1 || record.rank > 999 || (!fields[4].empty() && !isHex64(fields[4])))
                throw std::runtime_error(path.string() + ":" + std::to_string(number) + ": bad rank or ghost hash");
            record.accountKey = fields[1];
            record.playerName = fields[2];
            record.result = fields[3];
            record.ghostSha256 = upper(fields[4]);
            board.records.push_back(std::move(record));
        } else {
            throw std::runtime_error(path.string() + ":" + std::to_string(number) + ": unknown key " + key);
        }
    }
    std::stable_sort(board.records.begin(), board.records.end(),
                     [](const LeaderboardRecord& a, const LeaderboardRecord& b) { return a.rank < b.rank; });
    return board;
}

class CatalogWriter {
public:
    CatalogWriter(const CatalogData& data, std::ostringstream& out) : data_(data), out_(out) {}

    void key(const std::string& name, const std::string& value) { out_ << name << '=' << value << "\r\n"; }
    void section(const std::string& name) { out_ << "\r\n[" << name << "]\r\n"; }

    // The six ghost and tail keys of one record; nothing when the ghost is not on the server.
    void ghostKeys(const std::string& prefix, const std::string& ghostSha) {
        if (ghostSha.empty() || !data_.file(asciiLower(ghostSha) + ".tkghost")) return;
        key(prefix + "GhostPath", "/ghosts/" + ghostSha + ".tkghost");
        key(prefix + "GhostSha256", ghostSha);
        key(prefix + "GhostFile", "wkTarvek.cache\\" + ghostSha + ".tkghost");
        if (const StoredFile* tail = data_.file(asciiLower(ghostSha) + ".tktail")) {
            key(prefix + "TailPath", "/ghosts/" + ghostSha + ".tktail");
            key(prefix + "TailSha256", tail->sha256);
            key(prefix + "TailFile", "wkTarvek.cache\\" + ghostSha + ".tktail");
        }
    }

    void record(const std::string& prefix, const LeaderboardRecord& record) {
        key(prefix + "PlayerName", record.playerName);
        ghostKeys(prefix, record.ghostSha256);
    }

private:
    const CatalogData& data_;
    std::ostringstream& out_;
};

std::string trackStatus(const MapBoard& board, int rank, const LeaderboardRecord** tracked) {
    std::vector<const LeaderboardRecord*> matches;
    for (const auto& record : board.records)
        if (record.rank == rank) matches.push_back(&record);
    if (matches.empty()) return "rank_not_found";
    if (rank == 1) return "world_record";
    if (matches.size() > 1) return "ambiguous_tie";
    if (matches[0]->ghostSha256.empty()) return "ghost_unavailable";
    *tracked = matches[0];
    return "ready";
}

const LeaderboardRecord* personalRecord(const MapBoard& board, const CatalogQuery& query) {
    for (const auto& record : board.records) {
        if (query.playerAccountKey && record.accountKey == *query.playerAccountKey) return &record;
        if (!query.playerAccountKey && query.playerName && equalsIgnoreAsciiCase(record.playerName, *query.playerName))
            return &record;
    }
    return nullptr;
}

}  // namespace

CatalogData CatalogData::load(const fs::path& directory) {
    CatalogData data;
    const fs::path ghosts = directory / "ghosts";
    if (fs::is_directory(ghosts)) {
        for (const auto& entry : fs::directory_iterator(ghosts)) {
            if (!entry.is_regular_file()) continue;
            StoredFile file{readWhole(entry.path()), ""};
            file.sha256 = upper(sha256Hex(file.bytes));
            const std::string name = asciiLower(entry.path().filename().string());
            if (entry.path().extension() == ".tkghost" && name != asciiLower(file.sha256) + ".tkghost")
                throw std::runtime_error(entry.path().string() + ": a ghost file must be named by its SHA-256");
            data.files_.emplace(name, std::move(file));
        }
    }
    const fs::path seasons = directory / "seasons";
    if (!fs::is_directory(seasons)) throw std::runtime_error(seasons.string() + " is not a directory");
    for (const auto& season : fs::directory_iterator(seasons)) {
        if (!season.is_directory()) continue;
        auto& boards = data.seasons_[season.path().filename().string()];
        for (const auto& entry : fs::directory_iterator(season.path()))
            if (entry.is_regular_file() && entry.path().extension() == ".map") boards.push_back(loadBoard(entry.path()));
        std::sort(boards.begin(), boards.end(), [](const MapBoard& a, const MapBoard& b) {
            return a.mapHash + a.raceType < b.mapHash + b.raceType;
        });
    }
    return data;
}

const StoredFile* CatalogData::file(const std::string& name) const {
    const auto found = files_.find(asciiLower(name));
    return found == files_.end() ? nullptr : &found->second;
}

std::optional<std::string> CatalogData::catalogFor(const CatalogQuery& query) const {
    const auto season = seasons_.find(query.seasonKey);
    if (season == seasons_.end()) return std::nullopt;
    const bool scoped = query.mapHash && query.raceType;

    std::ostringstream out;
    CatalogWriter writer(*this, out);
    out << "[Catalog]\r\n";
    writer.key("SchemaVersion", "1");
    writer.key("Season", query.seasonKey);
    if (scoped) {
        writer.key("MapHash", *query.mapHash);
        writer.key("RaceType", *query.raceType);
    }
    writer.key("GameVersion", "3.8.1");
    writer.key("PlayerAccountKey", query.playerAccountKey.value_or(""));
    writer.key("RequestedPlayerName", query.playerName.value_or(""));
    writer.key("TrackRank", std::to_string(query.trackRank));

    const MapBoard* scopedBoard = nullptr;
    for (const auto& board : season->second)
        if (scoped && equalsIgnoreAsciiCase(board.mapHash, *query.mapHash) && board.raceType == *query.raceType)
            scopedBoard = &board;

    const LeaderboardRecord* tracked = nullptr;
    if (scoped) {
        if (!scopedBoard) {
            writer.key("TrackStatus", query.trackRank ? "rank_not_found" : "");
            return out.str();
        }
        writer.key("TrackStatus", query.trackRank ? trackStatus(*scopedBoard, query.trackRank, &tracked) : "published");
    }

    for (const auto& board : season->second) {
        if (scoped && &board != scopedBoard) continue;
        const std::string sectionName = "Map." + board.mapHash + "." + board.raceType;
        writer.section(sectionName);
        writer.key("Name", board.name);
        writer.key("Category", asciiLower(board.raceType));
        if (board.raceType == "TrickRace" || board.raceType == "BungeeRace") writer.key("Discipline", asciiLower(board.raceType));
        if (!board.records.empty() && board.records.front().rank == 1) writer.record("WorldRecord", board.records.front());
        writer.key("LeaderboardEntryCount", std::to_string(board.records.size()));
        for (size_t i = 0; i < board.records.size(); ++i) {
            const std::string prefix = "Leaderboard" + std::to_string(i + 1);
            writer.key(prefix + "Rank", std::to_string(board.records[i].rank));
            writer.key(prefix + "PlayerName", board.records[i].playerName);
            writer.key(prefix + "Result", board.records[i].result);
        }
        if (tracked) {
            writer.section(sectionName + ".Player.__track__");
            writer.record("PersonalRecord", *tracked);
        } else if (const LeaderboardRecord* own = personalRecord(board, query); own && !own->accountKey.empty()) {
            writer.section(sectionName + ".Player." + own->accountKey);
            writer.record("PersonalRecord", *own);
        }
    }
    return out.str();
}

}  // namespace tarvek::server
