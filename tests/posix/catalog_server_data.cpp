#include "catalog_server_data.h"

#include <filesystem>
#include <fstream>
#include <stdexcept>

#include "ghostdata/sha256.h"
#include "tests/sync/catalog_text.h"

namespace tarvek::testing {
namespace {

void writeFile(const std::filesystem::path& path, const std::string& bytes) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) throw std::runtime_error("cannot write " + path.string());
}

}  // namespace

std::string patternBytes(size_t size, uint32_t seed) {
    std::string bytes(size, '\0');
    uint32_t state = seed * 2654435761u + 1;
    for (char& c : bytes) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        c = static_cast<char>(state);
    }
    return bytes;
}

CatalogServerData::CatalogServerData() { std::filesystem::create_directories(dir_.path() / "seasons"); }

std::string CatalogServerData::addGhost(const std::string& bytes) {
    const std::string sha = upperHex(sha256Hex(bytes));
    writeFile(dir_.path() / "ghosts" / (sha + ".tkghost"), bytes);
    return sha;
}

std::string CatalogServerData::addTail(const std::string& ghostSha256, const std::string& bytes) {
    writeFile(dir_.path() / "ghosts" / (ghostSha256 + ".tktail"), bytes);
    return upperHex(sha256Hex(bytes));
}

void CatalogServerData::writeBoard(const std::string& season, const std::string& mapHash, const std::string& raceType,
                                   const std::vector<std::string>& records) {
    std::string text = "name=Test Rope Race\n";
    for (const auto& record : records) text += "record=" + record + "\n";
    writeFile(dir_.path() / "seasons" / season / (mapHash + "." + raceType + ".map"), text);
}

}  // namespace tarvek::testing
