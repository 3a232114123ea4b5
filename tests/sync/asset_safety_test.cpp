#include <gtest/gtest.h>

#include "sync/asset_safety.h"
#include "tests/sync/expect_sync_error.h"

namespace tarvek::testing {
namespace {

::testing::AssertionResult urlFails(std::string_view value, const std::string& message) {
    return failsWith([&] { normalizeGhostUrl(value); }, SyncErrorKind::UnsafeAsset, message);
}

::testing::AssertionResult fileFails(std::string_view value, const std::string& message,
                                     std::string_view extension = kGhostExtension) {
    return failsWith([&] { checkCatalogAssetFile(value, extension); }, SyncErrorKind::UnsafeAsset, message);
}

const std::string kSha = "0123456789ABCDEF0123456789abcdef0123456789ABCDEF0123456789abcdef";

TEST(GhostUrl, AddsOneLeadingSlashAndKeepsTheRest) {
    EXPECT_EQ(normalizeGhostUrl("ghosts/a.tkghost"), "/ghosts/a.tkghost");
    EXPECT_EQ(normalizeGhostUrl("/ghosts/g?id=7"), "/ghosts/g?id=7");
    EXPECT_EQ(normalizeGhostUrl("/a/../b%2F%2e%41"), "/a/../b%2F%2e%41");
    EXPECT_EQ(normalizeGhostUrl("x"), "/x");
}

TEST(GhostUrl, LengthLimit) {
    EXPECT_TRUE(urlFails("", "catalog contains an unsafe ghost URL"));
    EXPECT_EQ(normalizeGhostUrl("/" + std::string(2047, 'a')).size(), 2048u);
    EXPECT_EQ(normalizeGhostUrl(std::string(2048, 'a')).size(), 2049u);
    EXPECT_TRUE(urlFails(std::string(2049, 'a'), "catalog contains an unsafe ghost URL"));
    // Length is checked before form.
    EXPECT_TRUE(urlFails("//" + std::string(2047, 'a'), "catalog contains an unsafe ghost URL"));
}

TEST(GhostUrl, OnlySameOriginPathsWithoutFragments) {
    for (const char* value : {"//evil.example/x", "https://evil.example/x", "/x?u=http://y", "/a\\b", "/a#b", "#"})
        EXPECT_TRUE(urlFails(value, "ghost URLs must be same-origin relative paths without fragments")) << value;
    EXPECT_EQ(normalizeGhostUrl("/x:y"), "/x:y");
}

TEST(GhostUrl, BytesAndPercentEncoding) {
    for (const char* value : {"/a b", "/a\x7F", "/a\x80", "/\xC3\xBC", "/a\tb", "/a\x1F"})
        EXPECT_TRUE(urlFails(value, "ghost URL contains unsafe characters")) << value;
    for (const char* value : {"/a%5C", "/a%5c", "/a%0A", "/a%7F", "/a%00", "/a%1f"})
        EXPECT_TRUE(urlFails(value, "ghost URL percent-encodes an unsafe character")) << value;
    for (const char* value : {"/a%", "/a%4", "/a%G1", "/a%4G", "/a%%41"})
        EXPECT_TRUE(urlFails(value, "ghost URL has invalid percent encoding")) << value;
    EXPECT_EQ(normalizeGhostUrl("/a%20b%2f%2E%7e"), "/a%20b%2f%2E%7e");
    // Bytes are checked in order: an unsafe byte before a bad escape wins.
    EXPECT_TRUE(urlFails("/a b%zz", "ghost URL contains unsafe characters"));
    EXPECT_TRUE(urlFails("/a%zz b", "ghost URL has invalid percent encoding"));
}

TEST(AssetFile, AcceptsAFileDirectlyBelowTheCache) {
    CatalogAssetFile file = checkCatalogAssetFile("WKTARVEK.CACHE\\" + kSha + ".TKGHOST", kGhostExtension);
    EXPECT_EQ(file.fileKey, "wktarvek.cache/0123456789abcdef0123456789abcdef0123456789abcdef0123456789abcdef.tkghost");
    EXPECT_EQ(file.relativePath, std::filesystem::path(kSha + ".TKGHOST"));
    EXPECT_EQ(checkCatalogAssetFile("wkTarvek.cache/a.b.tktail", kTailExtension).fileKey, "wktarvek.cache/a.b.tktail");
    for (const char* value : {"wkTarvek.cache/com0.tkghost", "wkTarvek.cache/lpt.tkghost", "wkTarvek.cache/console.tkghost"})
        EXPECT_NO_THROW(checkCatalogAssetFile(value, kGhostExtension)) << value;
}

TEST(AssetFile, ValueShape) {
    EXPECT_TRUE(fileFails("", "catalog contains an unsafe GhostFile value"));
    EXPECT_TRUE(fileFails("wkTarvek.cache/" + std::string(178, 'a') + ".tkghost",
                          "catalog contains an unsafe GhostFile value"));  // 201 bytes
    EXPECT_NO_THROW(checkCatalogAssetFile("wkTarvek.cache/" + std::string(177, 'a') + ".tkghost", kGhostExtension));
    EXPECT_TRUE(fileFails("/wkTarvek.cache/a.tkghost", "catalog contains an unsafe GhostFile value"));
    EXPECT_TRUE(fileFails("\\wkTarvek.cache\\a.tkghost", "catalog contains an unsafe GhostFile value"));
    EXPECT_TRUE(fileFails("C:wkTarvek.cache/a.tkghost", "catalog contains an unsafe GhostFile value"));
    EXPECT_TRUE(fileFails("wkTarvek.cache/a.tkghost:stream", "catalog contains an unsafe GhostFile value"));
}

TEST(AssetFile, Segments) {
    for (const char* value : {"wkTarvek.cache//a.tkghost", "wkTarvek.cache/./a.tkghost", "wkTarvek.cache/../a.tkghost",
                              "wkTarvek.cache/a.tkghost.", "wkTarvek.cache /a.tkghost", "wkTarvek.cache/",
                              "wkTarvek.cache\\\\a.tkghost"})
        EXPECT_TRUE(fileFails(value, "GhostFile contains an unsafe path segment")) << value;
    for (const char* value : {"wkTarvek.cache/a b.tkghost", "wkTarvek.cache/a*.tkghost", "wkTarvek.cache/a?.tkghost",
                              "wkTarvek.cache/a<.tkghost", "wkTarvek.cache/a\".tkghost", "wkTarvek.cache/a|.tkghost",
                              "wkTarvek.cache/a>.tkghost", "wkTarvek.cache/\xC3\xBC.tkghost", "wkTarvek.cache/a\x7F.tkghost"})
        EXPECT_TRUE(fileFails(value, "GhostFile contains unsafe characters")) << value;
    for (const char* value : {"wkTarvek.cache/con.tkghost", "wkTarvek.cache/LPT9.tkghost", "wkTarvek.cache/Nul.x.tkghost",
                              "wkTarvek.cache/com1.tkghost", "aux/a.tkghost", "wkTarvek.cache/prn"})
        EXPECT_TRUE(fileFails(value, "GhostFile uses a reserved Windows name")) << value;
    // Segments are checked in order, each fully before the next.
    EXPECT_TRUE(fileFails("con/a b/", "GhostFile uses a reserved Windows name"));
    EXPECT_TRUE(fileFails("a b/con/", "GhostFile contains unsafe characters"));
}

TEST(AssetFile, ExtensionAndDepth) {
    EXPECT_TRUE(fileFails("wkTarvek.cache/a.tktail", "catalog asset has an invalid extension"));
    EXPECT_TRUE(fileFails("wkTarvek.cache/a.tkghost", "catalog asset has an invalid extension", kTailExtension));
    EXPECT_TRUE(fileFails("wkTarvek.cache/a.tkghostx", "catalog asset has an invalid extension"));
    for (const char* value : {"wkTarvek.cache/sub/a.tkghost", "other/a.tkghost", "a.tkghost", "wkTarvek.cachex/a.tkghost",
                              "wkTarvek/a.tkghost"})
        EXPECT_TRUE(fileFails(value, "catalog asset must be stored directly below wkTarvek.cache")) << value;
}

}  // namespace
}  // namespace tarvek::testing
