#include "sync/catalog_request_string.h"

#include "host/text.h"
#include "sync/sha256_hasher.h"

namespace tarvek {
namespace {

bool isUnreserved(unsigned char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-' || c == '.' ||
           c == '_' || c == '~';
}

std::string upperAscii(std::string_view text) {
    std::string out(text);
    for (char& c : out)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return out;
}

}  // namespace

std::string percentEncodeQueryValue(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size() * 3);
    for (char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        if (isUnreserved(byte)) {
            out.push_back(c);
        } else {
            out.push_back('%');
            appendHexByte(out, byte, HexCase::Upper);
        }
    }
    return out;
}

std::string buildCatalogRequestString(const CatalogSyncRequest& request) {
    std::string out = "/v1/public/catalog/module.ini?seasonKey=" + percentEncodeQueryValue(request.seasonKey);
    if (request.playerAccountKey) out += "&playerAccountKey=" + percentEncodeQueryValue(*request.playerAccountKey);
    if (request.playerName) out += "&playerName=" + percentEncodeQueryValue(*request.playerName);
    if (request.isScoped()) {
        out += "&mapHash=" + percentEncodeQueryValue(upperAscii(*request.mapHash));
        out += "&raceType=" + percentEncodeQueryValue(*request.raceType);
    }
    if (request.trackRank) out += "&trackRank=" + std::to_string(*request.trackRank);
    return out;
}

std::string requestDigest(const Platform& platform, std::string_view requestString) {
    return cacheSha256Hex(platform, requestString);
}

}  // namespace tarvek
