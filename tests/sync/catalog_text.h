#pragma once
// Builders of catalog texts for tests, fuzz seeds and the benchmark.
#include <cstdio>
#include <string>

namespace tarvek::testing {

// A distinct 64-hex-digit SHA-256 text for each n (lower case).
inline std::string fakeSha(unsigned n) {
    char head[17];
    std::snprintf(head, sizeof head, "%016x", n);
    return std::string(head) + std::string(48, 'a');
}

inline std::string upperHex(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'f') c = static_cast<char>(c - 'a' + 'A');
    return text;
}

// The six ghost and tail keys of one record prefix ("WorldRecord" or "PersonalRecord").
inline std::string ghostEntries(const std::string& prefix, const std::string& ghostSha, bool withTail = true,
                                const std::string& tailSha = fakeSha(0xFFFF)) {
    std::string text = prefix + "GhostPath=/ghosts/" + ghostSha + ".tkghost\n" + prefix + "GhostSha256=" + ghostSha +
                       "\n" + prefix + "GhostFile=wkTarvek.cache\\" + ghostSha + ".tkghost\n";
    if (withTail)
        text += prefix + "TailPath=/tails/" + ghostSha + ".tktail\n" + prefix + "TailSha256=" + tailSha + "\n" +
                prefix + "TailFile=wkTarvek.cache/" + ghostSha + ".tktail\n";
    return text;
}

inline std::string scopedMetadata(const std::string& mapHash, const std::string& raceType) {
    return "[Catalog]\nSchemaVersion=1\nMapHash=" + mapHash + "\nRaceType=" + raceType + "\nGameVersion=3.8.1\n";
}

}  // namespace tarvek::testing
