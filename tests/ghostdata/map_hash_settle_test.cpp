#include <gtest/gtest.h>

#include <bit>

#include "ghostdata/map_geometry_capture.h"
#include "ghostdata/map_hash_settle.h"
#include "host/log.h"
#include "host/text.h"
#include "support/sim_map.h"

namespace tarvek::testing {
namespace {

class MapCapture : public ::testing::Test {
protected:
    void SetUp() override {
        std::lock_guard<std::mutex> guard(mapGeometryCaptures().lock);
        mapGeometryCaptures().capture = {};
    }
    MapGeometryCapture stored() {
        std::lock_guard<std::mutex> guard(mapGeometryCaptures().lock);
        return mapGeometryCaptures().capture;
    }
    void captureSource(SimMap& map) {
        captureMapGeometry(map.memory, map.world.landscape(), "source", true,
                           "captured at LandscapeGenerator::LoadLandDat return");
    }
    void capturePreBorder(SimMap& map) {
        captureMapGeometry(map.memory, map.world.landscape(), "pre-border", false,
                           requestedBordersDetail(1, 2, 3, 4));
    }
    CapturedLog log;
};

TEST_F(MapCapture, SourceCaptureIsStoredAndLogged) {
    SimMap map(20, 4);
    const uint64_t snapshots = mapGeometryCaptures().snapshotCount;
    captureSource(map);
    const MapGeometryCapture capture = stored();
    const std::string hash = referenceGeometryHash(map.maskRows, 20, 4);
    EXPECT_EQ(capture.hash, hash);
    EXPECT_EQ(capture.world, map.world.world());
    EXPECT_TRUE(capture.isSource);
    uint64_t solid = 0;
    for (uint8_t byte : map.maskRows) solid += static_cast<unsigned>(std::popcount(byte));
    EXPECT_EQ(log.lines(), std::vector<std::string>{
                               "source map geometry hash " + hash +
                               " (20x4, Landscape+0x914 native 1bpp LSB-first normalized to MSB-first, stride 5, " +
                               std::to_string(solid) + " solid pixels, snapshot " +
                               std::to_string(snapshots + 1) +
                               ", captured at LandscapeGenerator::LoadLandDat return)"});
}

TEST_F(MapCapture, PreBorderCaptureOfTheSameMapKeepsTheSourceOne) {
    SimMap map(20, 4);
    captureSource(map);
    const MapGeometryCapture source = stored();
    log.clear();
    map.memory.pokeU8(map.mask.pixels, 0xFF);  // borders drawn into the mask
    capturePreBorder(map);
    EXPECT_EQ(stored().hash, source.hash);
    EXPECT_EQ(stored().snapshot, source.snapshot);
    EXPECT_EQ(mapGeometryCaptures().attemptCount, source.attempt + 1);
    EXPECT_TRUE(log.lines().empty());
    // A new source capture always replaces.
    captureSource(map);
    EXPECT_NE(stored().hash, source.hash);
    EXPECT_EQ(log.lines().size(), 1u);
}

TEST_F(MapCapture, ConsumedPreBorderCaptureIsReplacedOnceTheWorldStops) {
    SimMap map(16, 4);
    capturePreBorder(map);
    const std::string first = stored().hash;
    map.memory.pokeU8(map.mask.pixels, 0x0F);
    capturePreBorder(map);
    EXPECT_EQ(stored().hash, first) << "an unconsumed pre-border capture is kept";
    mapGeometryCaptures().capture.consumed = true;
    capturePreBorder(map);
    EXPECT_EQ(stored().hash, first) << "kept while the world runs";
    map.world.setFrameCounter(0);
    capturePreBorder(map);
    EXPECT_NE(stored().hash, first);
    EXPECT_FALSE(stored().consumed);
    EXPECT_EQ(stored().source, kPreBorderCaptureLabel);
}

TEST_F(MapCapture, AnotherMaskReplacesAndAnUnreadableLandscapeChangesNothing) {
    SimMap map(16, 4);
    captureSource(map);
    map.replaceMask(99, 9);  // new pixel rows
    capturePreBorder(map);
    EXPECT_EQ(stored().pixels, map.mask.pixels);
    EXPECT_FALSE(stored().isSource);
    const MapGeometryCapture before = stored();
    map.memory.setProtection(map.world.landscape(), sim::kPageSize, protection::NoAccess);
    captureSource(map);
    EXPECT_EQ(stored().snapshot, before.snapshot);
}

TEST_F(MapCapture, APreBorderCaptureOfAnotherWidthOrHeightReplaces) {
    for (const uint32_t offset : {0x14u, 0x18u}) {
        SimMap map(16, 4);
        capturePreBorder(map);
        const uint64_t snapshot = stored().snapshot;
        map.memory.pokeU32(map.mask.object + offset, 3);
        capturePreBorder(map);
        EXPECT_EQ(stored().snapshot, snapshot + 1) << offset;
    }
}

class MapSettle : public MapCapture {
protected:
    bool settle(SimMap& map) { return settleMapHash(map.memory, map.world.world(), state); }
    MapHashState state;
};

TEST_F(MapSettle, TakesTheSourceCaptureAndLogsBothHashes) {
    SimMap map(24, 6);
    captureSource(map);
    const std::string geometry = referenceGeometryHash(map.maskRows, 24, 6);
    map.replaceMask(50, 3);  // borders added later must not matter
    log.clear();
    ASSERT_TRUE(settle(map));
    const std::string terrain = referenceTerrainHash(map.terrainRows, 24, 6);
    EXPECT_EQ(std::tie(state.terrainHash, state.geometryHash, state.mapHash), std::tie(terrain, geometry, geometry));
    EXPECT_TRUE(stored().consumed);
    const auto landscape = hexLower(map.world.landscape());
    EXPECT_EQ(log.lines(), (std::vector<std::string>{
                               "map hash source: world 24x6, terrain 24x6 @ 8 bpp, landscape 0x" + landscape +
                                   ", pixels 0x" + hexLower(map.terrain.pixels) + ", row stride 27",
                               "loaded map terrain hash " + terrain + " (24x6)",
                               "loaded map geometry hash " + geometry + " (24x6, " +
                                   std::string(kSourceCaptureLabel) + ")"}));
    EXPECT_FALSE(settle(map)) << "settled once per match";
}

TEST_F(MapSettle, WithoutCaptureUsesTheMaskOnlyWhenTheSchemeHasNoBorders) {
    SimMap bordered(24, 6);
    ASSERT_TRUE(settle(bordered));
    EXPECT_EQ(std::tie(state.geometryHash, state.mapHash), std::make_tuple("", state.terrainHash));

    SimMap open(24, 6);
    open.world.setNoBordersByte(0);
    state = {};
    ASSERT_TRUE(settle(open));
    const std::string geometry = referenceGeometryHash(open.maskRows, 24, 6);
    EXPECT_EQ(std::tie(state.geometryHash, state.geometrySource, state.mapHash),
              std::make_tuple(geometry, std::string(kNoBordersGeometrySource), geometry));
}

TEST_F(MapSettle, CaptureOfAnotherWorldIsDropped) {
    SimMap map(24, 6);
    captureSource(map);
    mapGeometryCaptures().capture.world += 0x1000;  // as left behind by an earlier world
    ASSERT_TRUE(settle(map));
    EXPECT_TRUE(state.geometryHash.empty());
    EXPECT_FALSE(stored().holdsHash());
}

TEST_F(MapSettle, WaitLinesStopAfterEightFailures) {
    SimMap map(8, 8);
    map.world.setFrameCounter(0);  // before the first frame: not even a wait
    EXPECT_FALSE(settle(map));
    EXPECT_EQ(state.waits, 0u);
    map.world.setFrameCounter(1);
    map.world.setMapSize(0, 8);
    for (int i = 0; i < 10; ++i) EXPECT_FALSE(settle(map));
    EXPECT_EQ(state.waits, 10u);
    EXPECT_EQ(log.lines(), std::vector<std::string>(8, "map hash waiting: invalid dimensions 0x8"));
    map.world.setMapSize(8, 8);
    EXPECT_TRUE(settle(map));
}

TEST_F(MapSettle, UnreadableFieldsAndRowsAreWaitedOut) {
    SimMap map(4096, 3);
    map.world.setLandscape(0);
    EXPECT_FALSE(settle(map));
    map.world.setLandscape(map.world.landscape());
    map.memory.setProtection(map.terrain.pixels + 2 * sim::kPageSize, sim::kPageSize, protection::NoAccess);
    EXPECT_FALSE(settle(map));
    map.world.setMapSize(40000, 3);
    EXPECT_FALSE(settle(map));
    const std::string rowAddress = hexLower(map.terrain.pixels + 4099);
    EXPECT_EQ(log.lines(), (std::vector<std::string>{
                               "map hash waiting: landscape/terrain field is not readable at 0x0",
                               "map hash waiting: terrain row 1 is not readable at 0x" + rowAddress,
                               "map hash waiting: invalid dimensions 40000x3"}));
    map.world.setMapSize(4096, 3);
    map.memory.setProtection(map.terrain.pixels + 2 * sim::kPageSize, sim::kPageSize, protection::ReadWrite);
    EXPECT_TRUE(settle(map));
    EXPECT_EQ(state.waits, 3u);
}

TEST_F(MapSettle, TerrainThatDoesNotFitTheWorldIsWaitedOutSilently) {
    SimMap map(16, 4);
    const struct {
        uint32_t offset, value;
    } misfits[] = {{0x18, 5}, {0x14, 15}, {0x10, 15}, {0xC, 16}, {0x8, 0}};  // height, width, stride, bpp, pixels
    for (const auto& misfit : misfits) {
        const uint32_t kept = map.memory.peekU32(map.terrain.object + misfit.offset);
        map.memory.pokeU32(map.terrain.object + misfit.offset, misfit.value);
        EXPECT_FALSE(settle(map)) << misfit.offset;
        map.memory.pokeU32(map.terrain.object + misfit.offset, kept);
    }
    EXPECT_EQ(log.lines().size(), 1u);  // only the source line of the first attempt
    EXPECT_EQ(state.waits, 5u);
    EXPECT_TRUE(settle(map));
}

}  // namespace
}  // namespace tarvek::testing
