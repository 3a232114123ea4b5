#include <gtest/gtest.h>

#include "sync/module_catalog.h"
#include "tests/sync/catalog_text.h"
#include "tests/sync/expect_sync_error.h"

namespace tarvek::testing {
namespace {

const std::string kHash = fakeSha(500);
const CatalogScope kScope{kHash, "TTRR"};
const std::string kAllowed = "map." + kHash + ".ttrr";

std::vector<CatalogAsset> planUnscoped(const std::string& text) { return checkAndPlanModuleCatalog(text, std::nullopt); }
std::vector<CatalogAsset> planScoped(const std::string& text) { return checkAndPlanModuleCatalog(text, kScope); }

::testing::AssertionResult unscopedFails(const std::string& text, SyncErrorKind kind, const std::string& message) {
    return failsWith([&] { planUnscoped(text); }, kind, message);
}

TEST(CatalogPlan, AssetFieldsAndOrder) {
    const std::string text = "[map.b]\n" + ghostEntries("PersonalRecord", fakeSha(1)) + ghostEntries("WorldRecord", fakeSha(2)) +
                             "[map.a]\n" + ghostEntries("WorldRecord", fakeSha(3), false) +
                             ghostEntries("PersonalRecord", fakeSha(4), false);
    const std::vector<CatalogAsset> assets = planUnscoped(text);
    // World records of all sections first, each group by section name; a ghost before its tail.
    std::string order;
    for (const CatalogAsset& asset : assets) order += asset.fileKey.substr(30, 1) + asset.fileKey.substr(79) + " ";
    ASSERT_EQ(order, "3.tkghost 2.tkghost 2.tktail 4.tkghost 1.tkghost 1.tktail ");
    EXPECT_EQ(assets[0].fileKey, "wktarvek.cache/" + fakeSha(3) + ".tkghost");
    EXPECT_EQ(assets[1].url, "/ghosts/" + fakeSha(2) + ".tkghost");
    EXPECT_EQ(assets[1].sha256, upperHex(fakeSha(2)));
    EXPECT_EQ(assets[1].fileValue, "wkTarvek.cache\\" + fakeSha(2) + ".tkghost");
    EXPECT_EQ(assets[1].relativePath, std::filesystem::path(fakeSha(2) + ".tkghost"));
    EXPECT_EQ(assets[2].sha256, upperHex(fakeSha(0xFFFF)));
    EXPECT_EQ(assets[2].url, "/tails/" + fakeSha(2) + ".tktail");
}

TEST(CatalogPlan, UnscopedAllowsAnyMapSectionOnly) {
    EXPECT_TRUE(planUnscoped("\xEF\xBB\xBF").empty());
    EXPECT_EQ(planUnscoped("[Map.Anything]\n" + ghostEntries("WorldRecord", fakeSha(1))).size(), 2u);
    EXPECT_TRUE(unscopedFails("[catalog]\n" + ghostEntries("WorldRecord", fakeSha(1)), SyncErrorKind::InvalidCatalog,
                              "ghost fields appear outside an allowed map section"));
    EXPECT_TRUE(unscopedFails("[mapx]\nWorldRecordGhostSha256=\n", SyncErrorKind::InvalidCatalog,
                              "ghost fields appear outside an allowed map section"));
    // Tail fields alone, or other keys of the prefix, are no reference at all.
    EXPECT_TRUE(planUnscoped("[catalog]\nWorldRecordTailPath=/t\nWorldRecordTailFile=x\nWorldRecordPlayerName=A\n").empty());
}

// Each of the three fields of a ghost or a tail left out or left empty; a tail field alone.
TEST(CatalogPlan, GhostAndTailFieldsMustBeComplete) {
    const std::string sha = fakeSha(1);
    const std::string ghost[] = {"GhostPath=/g\n", "GhostSha256=" + sha + "\n", "GhostFile=wkTarvek.cache/" + sha + ".tkghost\n"};
    const std::string tail[] = {"TailPath=/t\n", "TailSha256=" + sha + "\n", "TailFile=wkTarvek.cache/" + sha + ".tktail\n"};
    for (int missing = 0; missing < 6; ++missing) {
        for (const bool emptied : {false, true}) {
            std::string text = "[map.a]\n";
            for (int field = 0; field < (missing < 3 ? 3 : 6); ++field) {  // tail fields only for a tail's case
                const std::string& line = field < 3 ? ghost[field] : tail[field - 3];
                if (field != missing) text += "WorldRecord" + line;
                else if (emptied) text += "WorldRecord" + line.substr(0, line.find('=') + 1) + "\n";
            }
            EXPECT_TRUE(unscopedFails(text, SyncErrorKind::InvalidCatalog,
                                      missing < 3 ? "each ghost requires GhostPath, GhostSha256 and GhostFile"
                                                  : "each visual tail requires TailPath, TailSha256 and TailFile"))
                << text;
        }
    }
    EXPECT_TRUE(unscopedFails("[map.a]\nWorldRecord" + ghost[0] + "WorldRecord" + ghost[1] + "WorldRecord" + ghost[2] +
                                  "WorldRecord" + tail[1],
                              SyncErrorKind::InvalidCatalog, "each visual tail requires TailPath, TailSha256 and TailFile"));
}

TEST(CatalogPlan, FileNamesFollowTheGhostSha) {
    const std::string a = fakeSha(1), b = fakeSha(2);
    EXPECT_TRUE(unscopedFails("[map.a]\nWorldRecordGhostPath=/g\nWorldRecordGhostSha256=" + a +
                                  "\nWorldRecordGhostFile=wkTarvek.cache/" + b + ".tkghost\n",
                              SyncErrorKind::UnsafeAsset, "GhostFile must use its SHA-256 as its filename"));
    // The tail is named after its ghost, not after its own digest.
    EXPECT_TRUE(unscopedFails("[map.a]\n" + ghostEntries("WorldRecord", a, false) + "WorldRecordTailPath=/t\nWorldRecordTailSha256=" +
                                  b + "\nWorldRecordTailFile=wkTarvek.cache/" + b + ".tktail\n",
                              SyncErrorKind::UnsafeAsset, "TailFile must use its base ghost SHA-256 as its filename"));
    EXPECT_TRUE(unscopedFails("[map.a]\nWorldRecordGhostPath=/g\nWorldRecordGhostSha256=" + a.substr(1) +
                                  "\nWorldRecordGhostFile=wkTarvek.cache/" + a + ".tkghost\n",
                              SyncErrorKind::InvalidCatalog, "catalog contains an invalid SHA-256"));
    EXPECT_TRUE(unscopedFails("[map.a]\nWorldRecordGhostPath=//evil/g\nWorldRecordGhostSha256=" + a +
                                  "\nWorldRecordGhostFile=wkTarvek.cache/" + a + ".tkghost\n",
                              SyncErrorKind::UnsafeAsset, "ghost URLs must be same-origin relative paths without fragments"));
    EXPECT_TRUE(unscopedFails("[map.a]\nWorldRecordGhostPath=/g\nWorldRecordGhostSha256=" + a +
                                  "\nWorldRecordGhostFile=wkTarvek.cache/sub/" + a + ".tkghost\n",
                              SyncErrorKind::UnsafeAsset, "catalog asset must be stored directly below wkTarvek.cache"));
    // Upper-case file names with a backslash match their digest.
    EXPECT_EQ(planUnscoped("[map.a]\nWorldRecordGhostPath=/g\nWorldRecordGhostSha256=" + a +
                           "\nWorldRecordGhostFile=WKTARVEK.CACHE\\" + upperHex(a) + ".TKGHOST\n")
                  .size(),
              1u);
}

TEST(CatalogPlan, DuplicatesMergeOrConflict) {
    const std::string a = fakeSha(1);
    const std::string twice = "[map.a]\n" + ghostEntries("WorldRecord", a) + "[map.b]\n" + ghostEntries("PersonalRecord", a);
    EXPECT_EQ(planUnscoped(twice).size(), 2u);
    std::string otherUrl = twice;
    otherUrl.replace(otherUrl.rfind("/ghosts/"), 8, "/other/");
    EXPECT_TRUE(unscopedFails(otherUrl, SyncErrorKind::InvalidCatalog, "the same GhostFile is assigned conflicting content"));
    // An equal ghost ends its reference: the second's differing tail is not examined.
    EXPECT_EQ(planUnscoped("[map.a]\n" + ghostEntries("WorldRecord", a) + "[map.c]\n" + ghostEntries("PersonalRecord", a, false) +
                           "PersonalRecordTailPath=/elsewhere\nPersonalRecordTailSha256=" + fakeSha(5) +
                           "\nPersonalRecordTailFile=wkTarvek.cache/" + a + ".tktail\n").size(), 2u);
    // Tails of different ghosts never share a file: each is named after its own ghost.
    EXPECT_EQ(planUnscoped("[map.a]\n" + ghostEntries("WorldRecord", a, true, fakeSha(10)) + "[map.b]\n" +
                           ghostEntries("WorldRecord", fakeSha(2), true, fakeSha(10)))
                  .size(),
              4u);
}

std::string manyAssets(unsigned ghosts, unsigned tails) {
    std::string text;
    for (unsigned i = 0; i < ghosts; ++i)
        text += "[map." + std::to_string(i) + "]\n" + ghostEntries("WorldRecord", fakeSha(i + 1), i < tails);
    return text;
}

TEST(CatalogPlan, AssetLimit) {
    EXPECT_EQ(planUnscoped(manyAssets(256, 0)).size(), 256u);
    EXPECT_EQ(planUnscoped(manyAssets(128, 128)).size(), 256u);
    EXPECT_TRUE(unscopedFails(manyAssets(257, 0), SyncErrorKind::InvalidCatalog, "catalog references too many ghosts"));
    // Sections are visited by name: "map.99" sorts last, and its tail is the 257th asset.
    EXPECT_TRUE(unscopedFails(manyAssets(129, 128), SyncErrorKind::InvalidCatalog, "catalog references too many assets"));
}

TEST(CatalogPlan, ScopedSectionsAndPairs) {
    const std::string meta = scopedMetadata(upperHex(kHash), "TTRR");
    const std::string section = "[" + kAllowed + "]\n" + ghostEntries("WorldRecord", fakeSha(1)) +
                                ghostEntries("PersonalRecord", fakeSha(2));
    EXPECT_EQ(planScoped(meta + section).size(), 4u);
    EXPECT_EQ(planScoped(meta + "[" + kAllowed + ".player.ann]\n" + ghostEntries("PersonalRecord", fakeSha(2))).size(), 2u);
    EXPECT_TRUE(failsWith([&] { planScoped(meta + section + "[" + kAllowed + ".player.x]\n" + ghostEntries("WorldRecord", fakeSha(3), false)); },
                          SyncErrorKind::InvalidCatalog, "scoped catalog references more than its WR and PR ghost/tail pairs"));
    EXPECT_TRUE(failsWith([&] { planScoped(meta + "[" + kAllowed + "]\n[notmap]\n" + ghostEntries("WorldRecord", fakeSha(3))); },
                          SyncErrorKind::InvalidCatalog, "ghost fields appear outside an allowed map section"));
    EXPECT_TRUE(failsWith([&] { planScoped(meta + "[map.other]\n"); }, SyncErrorKind::InvalidCatalog,
                          "catalog contains a map section outside the requested scope"));
    // Planning on its own, with an allowed name the scope check did not see.
    const ParsedModuleCatalog parsed = parseModuleCatalog("[map.x]\n" + ghostEntries("WorldRecord", fakeSha(1)));
    EXPECT_TRUE(failsWith([&] { planCatalogAssets(parsed, true, kAllowed); }, SyncErrorKind::InvalidCatalog,
                          "ghost fields appear outside an allowed map section"));
}

}  // namespace
}  // namespace tarvek::testing
