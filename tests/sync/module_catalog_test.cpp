#include <gtest/gtest.h>

#include "sync/module_catalog.h"
#include "tests/sync/catalog_text.h"
#include "tests/sync/expect_sync_error.h"

namespace tarvek::testing {
namespace {

::testing::AssertionResult parseFails(std::string_view text, const std::string& message) {
    return failsWith([&] { parseModuleCatalog(text); }, SyncErrorKind::InvalidCatalog, message);
}

TEST(CatalogParser, EmptyNulAndBom) {
    EXPECT_TRUE(parseFails("", "catalog is empty"));
    EXPECT_TRUE(parseFails(std::string("[a]\nk=v\0", 8), "catalog contains a NUL byte"));
    EXPECT_TRUE(parseFails(std::string("\0", 1), "catalog contains a NUL byte"));
    const ParsedModuleCatalog bomOnly = parseModuleCatalog("\xEF\xBB\xBF");
    EXPECT_TRUE(bomOnly.sectionNames.empty());
    // Only a leading mark is skipped; one further on is part of a line.
    EXPECT_TRUE(parseModuleCatalog("\xEF\xBB\xBF[a]\n").hasSection("a"));
    EXPECT_TRUE(parseFails("[a]\n\xEF\xBB\xBFk", "invalid INI entry at line 2"));
}

TEST(CatalogParser, LineNumbersCountBlankAndCommentLines) {
    EXPECT_TRUE(parseFails("k=v", "invalid INI entry at line 1"));
    EXPECT_TRUE(parseFails("\n; c\n# c\r\n  \t\nk=v\n", "invalid INI entry at line 5"));
    EXPECT_TRUE(parseFails("[a]\r\nk=v\r\n\r\nno equals\r\n", "invalid INI entry at line 4"));
    EXPECT_TRUE(parseFails("[a]\n\n\n[]\n", "invalid INI section at line 4"));
    EXPECT_TRUE(parseFails("[a]\n[b\n", "invalid INI section at line 2"));
    EXPECT_TRUE(parseFails("[a]\n[\n", "invalid INI section at line 2"));
    EXPECT_TRUE(parseFails("[a]\n[x] ; note\n", "invalid INI section at line 2"));
    // CR alone does not end a line.
    EXPECT_TRUE(parseFails("[a]\rk=v\n", "invalid INI section at line 1"));
}

TEST(CatalogParser, SectionsAreUniqueByLowerCaseName) {
    EXPECT_TRUE(parseFails("[ \t ]\n", "duplicate or empty INI section"));
    EXPECT_TRUE(parseFails("[Map.A]\n[map.a]\n", "duplicate or empty INI section"));
    const ParsedModuleCatalog catalog = parseModuleCatalog("[ Map.A ]\n[\vB\f]\n");
    EXPECT_EQ(catalog.sectionNames, (std::vector<std::string_view>{"b", "map.a"}));
    EXPECT_TRUE(catalog.hasSection("map.a"));
    EXPECT_FALSE(catalog.hasSection("Map.A"));
}

TEST(CatalogParser, TheFirstFaultyLineDecidesTheError) {
    EXPECT_TRUE(parseFails("[a]\n[b]\n[A]\nno equals\n", "duplicate or empty INI section"));
    EXPECT_TRUE(parseFails("[a]\n[A]\nk=1\nk=2\n", "duplicate or empty INI section"));
    EXPECT_TRUE(parseFails("[a]\n[A]\n[c\n", "duplicate or empty INI section"));
    EXPECT_TRUE(parseFails("[a]\nno equals\n[A]\n", "invalid INI entry at line 2"));
    EXPECT_TRUE(parseFails("[a]\nk=1\nK=2\n[A]\n", "duplicate or empty INI key"));
}

TEST(CatalogParser, KeysAreUniqueWithinTheirSection) {
    EXPECT_TRUE(parseFails("[a]\nWorldRecordGhostFile=x\nworldrecordghostfile=y\n", "duplicate or empty INI key"));
    EXPECT_TRUE(parseFails("[a]\n=v\n", "duplicate or empty INI key"));
    EXPECT_TRUE(parseFails("[a]\n \t= v\n", "duplicate or empty INI key"));
    EXPECT_NO_THROW(parseModuleCatalog("[a]\nk=1\n[b]\nK=2\n"));
    // Ghost field keys are told apart from each other and from keys that merely begin like them.
    EXPECT_TRUE(parseFails("[a]\nPersonalRecordTailSha256=1\nk=2\nPERSONALRECORDTAILSHA256=3\n", "duplicate or empty INI key"));
    EXPECT_NO_THROW(parseModuleCatalog(
        "[a]\nWorldRecordGhostFile=1\nWorldRecordGhostFileX=2\nPersonalRecordGhostFile=3\nWorldRecordGhostFil=4\n"));
}

TEST(CatalogParser, MetadataAndValues) {
    const ParsedModuleCatalog catalog =
        parseModuleCatalog("; comment\n[CATALOG]\n SchemaVersion = 1 \nNote=a=b\nEmpty=\n ;x=y\n[other]\nMapHash=z\n");
    EXPECT_EQ(catalog.metadata, (std::map<std::string, std::string>{{"schemaversion", "1"}, {"note", "a=b"}, {"empty", ""}}));
}

TEST(CatalogParser, GhostFieldsByPrefixAndSuffixInAnyCase) {
    const ParsedModuleCatalog catalog = parseModuleCatalog(
        "[Map.X]\nworldrecordGHOSTpath=/g\nWorldRecordPlayerName=Ann\nPersonalRecordTailFile=\n"
        "PersonalRecordTailSha256 = s \nWorldRecord=x\nWorldRecordGhostFileX=y\n[plain]\nk=v\n");
    ASSERT_EQ(catalog.ghostReferences.size(), 1u);
    ASSERT_TRUE(catalog.findGhostReferences("map.x"));
    const SectionGhostReferences& refs = *catalog.findGhostReferences("map.x");
    EXPECT_EQ(refs.worldRecord.ghostPath, "/g");
    EXPECT_FALSE(refs.worldRecord.ghostFile);
    EXPECT_EQ(refs.personalRecord.tailFile, "");
    EXPECT_EQ(refs.personalRecord.tailSha256, "s");
    EXPECT_FALSE(refs.personalRecord.ghostPath);
}

TEST(CatalogSha, ExactlySixtyFourHexDigits) {
    EXPECT_EQ(normalizeSha256Text(std::string(32, 'a') + std::string(32, '9')), std::string(32, 'A') + std::string(32, '9'));
    for (const std::string& bad : {std::string(63, 'a'), std::string(65, 'a'), std::string(63, 'a') + "g",
                                   std::string(63, 'a') + " ", std::string()})
        EXPECT_TRUE(failsWith([&] { normalizeSha256Text(bad); }, SyncErrorKind::InvalidCatalog,
                              "catalog contains an invalid SHA-256"));
}

const std::string kHash = fakeSha(77);
const CatalogScope kScope{upperHex(kHash), "BigRR"};

::testing::AssertionResult scopeFails(const std::string& text, const std::string& message) {
    return failsWith([&] { checkCatalogScope(parseModuleCatalog(text), kScope); }, SyncErrorKind::InvalidCatalog,
                     message);
}

TEST(CatalogScope, MetadataMustMatch) {
    EXPECT_NO_THROW(checkCatalogScope(parseModuleCatalog(scopedMetadata(kHash, "BigRR")), kScope));
    for (const std::string& text :
         {std::string("\xEF\xBB\xBF"), scopedMetadata(kHash, "bigrr"), scopedMetadata(fakeSha(78), "BigRR"),
          "[catalog]\nSchemaVersion=2\nMapHash=" + kHash + "\nRaceType=BigRR\n", std::string("[catalog]\nSchemaVersion=1\nRaceType=BigRR\n"),
          "[catalog]\nMapHash=" + kHash + "\nRaceType=BigRR\n", "[catalog]\nSchemaVersion=1\nMapHash=" + kHash + "\n",
          "[other]\nSchemaVersion=1\nMapHash=" + kHash + "\nRaceType=BigRR\n"})
        EXPECT_TRUE(scopeFails(text, "catalog metadata does not match the requested map/race scope")) << text;
}

TEST(CatalogScope, OnlyTheRequestedMapSectionAndItsPlayerSections) {
    const std::string meta = scopedMetadata(kHash, "BigRR");
    const std::string allowed = "map." + kHash + ".bigrr";
    EXPECT_EQ(allowedMapSectionName(kScope), allowed);
    EXPECT_NO_THROW(checkCatalogScope(
        parseModuleCatalog(meta + "[" + upperHex(allowed) + "]\n[" + allowed + ".player.Ann]\n[" + allowed +
                           ".Player.]\n[leaderboard]\n[mapx]\n"),
        kScope));
    const std::string outside = "catalog contains a map section outside the requested scope";
    EXPECT_TRUE(scopeFails(meta + "[map." + kHash + ".ttrr]\n", outside));
    EXPECT_TRUE(scopeFails(meta + "[" + allowed + "x]\n", outside));
    EXPECT_TRUE(scopeFails(meta + "[" + allowed + ".playerAnn]\n", outside));
    EXPECT_TRUE(scopeFails(meta + "[map.]\n", outside));
}

}  // namespace
}  // namespace tarvek::testing
