#pragma once
// Checks of the two untrusted values that say where an asset is downloaded from and where it is
// stored. Both are pure; every failure is a SyncError of kind UnsafeAsset.
#include <filesystem>
#include <string>
#include <string_view>

namespace tarvek {

constexpr size_t kMaxGhostUrlBytes = 2048;
constexpr size_t kMaxAssetFileValueBytes = 200;
constexpr std::string_view kGhostExtension = ".tkghost";
constexpr std::string_view kTailExtension = ".tktail";

// A same-origin relative URL: at most one "/" is added in front, nothing else changes.
// Also applied to the catalog request string before it is sent.
std::string normalizeGhostUrl(std::string_view value);

struct CatalogAssetFile {
    std::string fileKey;                  // lower-case segments joined with "/"
    std::filesystem::path relativePath;  // the file-name segment as written
};

// A file directly below "wkTarvek.cache" (any case, "/" or "\") with the given extension.
CatalogAssetFile checkCatalogAssetFile(std::string_view value, std::string_view extension);

}  // namespace tarvek
