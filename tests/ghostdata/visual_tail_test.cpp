#include <gtest/gtest.h>

#include <cstring>

#include "ghostdata/ghost_loader.h"
#include "ghostdata/visual_tail.h"
#include "host/log.h"
#include "support/ghost_files.h"
#include "support/temp_dir.h"

namespace tarvek::testing {
namespace {

// A loaded three-segment ghost (segment 1 of two frames) with a tail file beside it.
class TailLoad : public ::testing::Test {
protected:
    void SetUp() override {
        frames = framesWithSegments({0, 0, 0, 1, 1, 2, 2, 2, 2});
        ghostFile = encodeGhost(frames);
        ghostPath = dir.write("run.tkghost", ghostFile);
        ASSERT_TRUE(loadGhostRecording(ghostPath, slot, "world-record"));
        log.clear();
    }
    TailRejection loadWith(const std::string& tailBytes) {
        dir.write("run.tktail", tailBytes);
        slot.tails.assign(3, {makeGhostFrame(0, 0, 0)});  // stale tails must go
        return loadVisualTail(ghostPath, slot, "world-record");
    }
    void expectNoTail(const std::string& tailBytes, TailRejection why) {
        EXPECT_EQ(loadWith(tailBytes), why);
        EXPECT_TRUE(slot.tails.empty());
        EXPECT_TRUE(log.lines().empty());
    }
    std::vector<TailBlockSpec> validBlocks() {
        return {continuingBlock(frames, 2, 3, 4), continuingBlock(frames, 0, 1, 2)};
    }

    TempDir dir;
    CapturedLog log;
    std::vector<GhostFrame> frames;
    std::string ghostFile;
    std::string ghostPath;
    GhostRecording slot;
};

TEST_F(TailLoad, BlocksInAnyOrderFillTheirSegments) {
    const auto blocks = validBlocks();
    ASSERT_EQ(loadWith(encodeTail(ghostFile, blocks)), TailRejection::None);
    ASSERT_EQ(slot.tails.size(), 3u);
    EXPECT_EQ(slot.tails[0].size(), 2u);
    EXPECT_TRUE(slot.tails[1].empty());
    ASSERT_EQ(slot.tails[2].size(), 4u);
    EXPECT_EQ(slot.tails[2][0].positionX(), blocks[0].records[3].positionX());
    EXPECT_EQ(slot.tails[2][3].bytes[164], 0);  // tail frames are cleared like ghost frames
    EXPECT_EQ(log.lines(), std::vector<std::string>{"loaded 6 world-record visual tail frame(s) across 2 segment(s)"});
}

TEST_F(TailLoad, MissingTailLeavesNoTailAndNoLine) {
    slot.tails.assign(3, {});
    EXPECT_EQ(loadVisualTail(ghostPath, slot, "world-record"), TailRejection::Unreadable);
    EXPECT_TRUE(slot.tails.empty());
    EXPECT_TRUE(log.lines().empty());
}

TEST_F(TailLoad, TailOfAnotherGhostIsIgnored) {
    auto blocks = validBlocks();
    auto header = tailHeaderFor(ghostFile, blocks);
    header.ghostDigest[31] ^= 1;
    expectNoTail(encodeTail(header, blocks), TailRejection::OtherGhost);
}

TEST_F(TailLoad, OverlapMatchesDespiteClearedFields) {
    auto blocks = validBlocks();
    blocks[0].records[0].bytes[164] ^= 0xFF;
    blocks[0].records[1].setWord(852, 0xDEADBEEF);
    EXPECT_EQ(loadWith(encodeTail(ghostFile, blocks)), TailRejection::None);
    log.clear();
    blocks[0].records[2].bytes[900] ^= 1;
    expectNoTail(encodeTail(ghostFile, blocks), TailRejection::OverlapMismatch);
}

TEST_F(TailLoad, LateBadBlockDropsTheWholeTail) {
    auto blocks = validBlocks();
    blocks[1].records.back().setWord(0, 1);  // a record of the wrong segment in the last block
    expectNoTail(encodeTail(ghostFile, blocks), TailRejection::BadBlock);
    blocks = validBlocks();
    std::memcpy(blocks[1].records.back().bytes.data() + 792, "TKPD", 4);
    expectNoTail(encodeTail(ghostFile, blocks), TailRejection::BadBlock);
}

TEST_F(TailLoad, BlockCountsAreBounded) {
    expectNoTail(encodeTail(ghostFile, {validBlocks()[0], continuingBlock(frames, 2, 1, 1)}),
                 TailRejection::BadBlock);  // segment 2 twice
    auto withCounts = [&](uint32_t overlap, uint32_t added) {
        auto block = continuingBlock(frames, 2, 3, 4);
        block.overlapCount = overlap;
        block.newCount = added;
        return encodeTail(ghostFile, {block});
    };
    expectNoTail(withCounts(0, 7), TailRejection::BadBlock);
    expectNoTail(withCounts(9, 0), TailRejection::BadBlock);  // counts still sum to the records
    expectNoTail(withCounts(3, 0), TailRejection::BadBlock);
    // Overlap above the frame count of segment 0 (three frames): must not reach before frame 0.
    auto block = continuingBlock(frames, 0, 3, 2);
    block.overlapCount = 4;
    block.newCount = 1;
    expectNoTail(encodeTail(ghostFile, {block}), TailRejection::OverlapMismatch);
    block = continuingBlock(frames, 2, 3, 1);
    block.records.insert(block.records.begin(), frames[6]);  // the segment's frames are 5..8
    block.overlapCount = 4;
    expectNoTail(encodeTail(ghostFile, {block}), TailRejection::OverlapMismatch);
}

TEST_F(TailLoad, OverlapOfEightIsTheMost) {
    frames = framesWithSegments(std::vector<uint32_t>(9, 0));
    ghostFile = encodeGhost(frames);
    ASSERT_TRUE(loadGhostRecording(dir.write("run.tkghost", ghostFile), slot, "world-record"));
    EXPECT_EQ(loadWith(encodeTail(ghostFile, {continuingBlock(frames, 0, 8, 1)})), TailRejection::None);
    log.clear();
    expectNoTail(encodeTail(ghostFile, {continuingBlock(frames, 0, 9, 1)}), TailRejection::BadBlock);
}

TEST_F(TailLoad, NewFrameLimitIs1500) {
    EXPECT_EQ(loadWith(encodeTail(ghostFile, {continuingBlock(frames, 1, 1, 1500)})), TailRejection::None);
    EXPECT_EQ(slot.tails[1].size(), 1500u);
    log.clear();
    expectNoTail(encodeTail(ghostFile, {continuingBlock(frames, 1, 1, 1501)}), TailRejection::BadBlock);
}

TEST_F(TailLoad, HeaderLiesAreRejected) {
    const auto blocks = validBlocks();
    const std::string good = encodeTail(ghostFile, blocks);
    expectNoTail(good + '\0', TailRejection::SizeMismatch);
    expectNoTail(good.substr(0, good.size() - 1), TailRejection::SizeMismatch);
    expectNoTail(good.substr(0, 67), TailRejection::Unreadable);
    auto with = [&](auto change) {
        auto header = tailHeaderFor(ghostFile, blocks);
        change(header);
        return encodeTail(header, blocks);
    };
    expectNoTail(with([](auto& h) { h.magic[0] = 'X'; }), TailRejection::BadHeader);
    expectNoTail(with([](auto& h) { h.version = 3; }), TailRejection::BadHeader);
    expectNoTail(with([](auto& h) { h.frameRate = 60; }), TailRejection::BadHeader);
    expectNoTail(with([](auto& h) { h.recordSize = 1460; }), TailRejection::BadHeader);
    expectNoTail(with([](auto& h) { h.reserved[0] = 1; }), TailRejection::BadHeader);
    expectNoTail(with([](auto& h) { h.reserved[1] = 1; }), TailRejection::BadHeader);
    // At most 1508 records per block: the bound itself passes the header (and fails on size).
    expectNoTail(with([](auto& h) { h.recordCount = 2 * 1508; }), TailRejection::SizeMismatch);
    expectNoTail(with([](auto& h) { h.recordCount = 2 * 1508 + 1; }), TailRejection::BadHeader);
    expectNoTail(with([](auto& h) { h.recordCount = 4; }), TailRejection::SizeMismatch);
    expectNoTail(with([](auto& h) { h.blockCount = 4; }), TailRejection::BadHeader);  // above 3 segments
    expectNoTail(with([](auto& h) { h.blockCount = 0; }), TailRejection::BadHeader);
    expectNoTail(with([](auto& h) { h.recordCount = 3; }), TailRejection::BadHeader);  // below 2 per block
    expectNoTail(with([](auto& h) { h.recordCount = 0xFFFFFFFF; }), TailRejection::BadHeader);
    // One block fewer than the header says, with the size adjusted to match: the sum differs.
    auto header = tailHeaderFor(ghostFile, blocks);
    header.recordCount += 1;
    std::string padded = encodeTail(header, blocks);
    padded.append(1464, '\0');
    expectNoTail(padded, TailRejection::BadBlock);
}

TEST(TailPath, ReplacesTheGhostExtensionInAnyCase) {
    const std::pair<const char*, const char*> paths[] = {{"maps\\run.tkghost", "maps\\run.tktail"}, {"RUN.TKGHOST", "RUN.tktail"},
        {".tkghost", ".tktail"}, {"run.ghost", "run.ghost.tktail"}, {"tkghost", "tkghost.tktail"}, {"", ".tktail"}};
    for (const auto& [ghost, tail] : paths) EXPECT_EQ(tailPathOf(ghost), tail);
}

TEST(FileDigest, HashesTheWholeFileAndFailsOnUnreadable) {
    TempDir dir;
    std::string bytes(200000, '\0');
    for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<char>(i * 7);
    const auto digest = sha256File(dir.write("big.bin", bytes));
    ASSERT_TRUE(digest);
    EXPECT_EQ(*digest, sha256(bytes.data(), bytes.size()));
    EXPECT_EQ(sha256File(dir.write("empty.bin", "")), sha256("", 0));
    EXPECT_FALSE(sha256File(dir.file("absent.bin")));
    EXPECT_FALSE(sha256File(dir.path().string()));  // a directory cannot be read as a file
}

}  // namespace
}  // namespace tarvek::testing
