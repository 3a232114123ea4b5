#include <gtest/gtest.h>

#include <cstring>

#include "ghostdata/ghost_format.h"
#include "ghostdata/ghost_loader.h"
#include "host/log.h"
#include "support/ghost_files.h"
#include "support/temp_dir.h"

namespace tarvek::testing {
namespace {

// A slot already holding a ghost, to show that failed loads leave it alone.
GhostRecording occupiedSlot() { return GhostRecording{framesWithSegments({0, 0}), {{0, 2}}, {1}, 1, {}}; }

// "frames 9; segments 0+3 3+2 5+4; starts 1 2 2; first 1": the frame count, each segment's first
// frame and frame count, each segment's movement start and the first movement frame.
std::string shape(const GhostRecording& slot) {
    std::string text = "frames " + std::to_string(slot.frames.size()) + "; segments";
    for (const TurnSegment& segment : slot.segments)
        text += " " + std::to_string(segment.firstFrame) + "+" + std::to_string(segment.frameCount);
    text += "; starts";
    for (uint32_t start : slot.movementStart) text += " " + std::to_string(start);
    return text + "; first " + std::to_string(slot.firstMovementFrame);
}

class GhostLoad : public ::testing::Test {
protected:
    bool load(const std::string& bytes, GhostRecording& slot) {
        return loadGhostRecording(dir.write("run.tkghost", bytes), slot, "world-record");
    }
    bool rejectsAndKeeps(const std::string& bytes) {
        GhostRecording slot = occupiedSlot();
        const bool loaded = load(bytes, slot);
        EXPECT_EQ(shape(slot), "frames 2; segments 0+2; starts 1; first 1");
        return !loaded;
    }

    TempDir dir;
    CapturedLog log;
};

TEST_F(GhostLoad, SingleFrameFileLoadsOneStillSegment) {
    GhostRecording slot = occupiedSlot();
    const std::string bytes = encodeGhost({makeGhostFrame(0, 5, 6)});
    ASSERT_EQ(bytes.size(), 40u + 1464u);
    ASSERT_TRUE(load(bytes, slot));
    EXPECT_EQ(shape(slot), "frames 1; segments 0+1; starts 1; first 1");
    EXPECT_EQ(log.lines(), std::vector<std::string>{"loaded 1 world-record ghost frames in 1 turn segment(s)"});
}

TEST_F(GhostLoad, SegmentsAndMovementStartsFollowTheFrames) {
    auto frames = framesWithSegments({0, 0, 0, 1, 1, 2, 2, 2, 2});
    // Segment 2 moves only in Y, from its third frame on; segment 1 never moves.
    frames[4].setWord(GhostFrame::kPositionX, frames[3].word(GhostFrame::kPositionX));
    for (int i = 6; i < 9; ++i) frames[i].setWord(GhostFrame::kPositionX, frames[5].word(GhostFrame::kPositionX));
    frames[7].setWord(GhostFrame::kPositionY, 99);
    GhostRecording slot;
    ASSERT_TRUE(loadGhostRecording(dir.write("a.tkghost", encodeGhost(frames)), slot, "personal-record"));
    EXPECT_EQ(shape(slot), "frames 9; segments 0+3 3+2 5+4; starts 1 2 2; first 1");
    // A first segment may be empty: the movement starts at frame 0 then.
    ASSERT_TRUE(load(encodeGhost(framesWithSegments({1, 1, 2})), slot));
    EXPECT_EQ(shape(slot), "frames 3; segments 0+0 0+2 2+1; starts 0 1 1; first 0");
}

TEST_F(GhostLoad, SegmentIndicesMustStepByAtMostOneAndAddUp) {
    EXPECT_TRUE(rejectsAndKeeps(encodeGhost(framesWithSegments({0, 2}))));
    EXPECT_TRUE(rejectsAndKeeps(encodeGhost(framesWithSegments({0, 1, 0}))));
    auto frames = framesWithSegments({0, 0, 1});
    auto header = ghostHeaderFor(frames);
    header.segmentCount = 3;
    EXPECT_TRUE(rejectsAndKeeps(encodeGhost(header, frames)));
    header.segmentCount = 1;
    EXPECT_TRUE(rejectsAndKeeps(encodeGhost(header, frames)));
    EXPECT_TRUE(log.lines().empty());
}

TEST_F(GhostLoad, SizeMustMatchTheHeaderExactly) {
    const std::string bytes = encodeGhost(framesWithSegments({0, 0, 0}));
    EXPECT_TRUE(rejectsAndKeeps(bytes + '\0'));
    EXPECT_TRUE(rejectsAndKeeps(bytes.substr(0, bytes.size() - 1)));
    EXPECT_TRUE(rejectsAndKeeps(bytes.substr(0, 39)));
    EXPECT_TRUE(rejectsAndKeeps(""));
    GhostRecording slot = occupiedSlot();
    EXPECT_FALSE(loadGhostRecording(dir.file("absent.tkghost"), slot, "world-record"));
    EXPECT_EQ(shape(slot), "frames 2; segments 0+2; starts 1; first 1");
}

TEST_F(GhostLoad, TaggedRecordsRejectTheFileAndClearedFieldsReadZero) {
    auto frames = framesWithSegments({0, 0});
    auto tkpd = frames;
    std::memcpy(tkpd[1].bytes.data() + 792, "TKPD", 4);
    EXPECT_TRUE(rejectsAndKeeps(encodeGhost(tkpd)));
    auto tail = frames;
    std::memcpy(tail[0].bytes.data() + 868, "TAIL", 4);
    EXPECT_TRUE(rejectsAndKeeps(encodeGhost(tail)));

    GhostRecording slot;
    ASSERT_TRUE(load(encodeGhost(frames), slot));
    const GhostFrame& frame = slot.frames[1];
    EXPECT_EQ(frame.bytes[164], 0);
    for (size_t i = 764; i < 796; ++i) EXPECT_EQ(frame.bytes[i], 0) << i;
    for (size_t word : {852, 856, 868}) EXPECT_EQ(frame.word(word), 0u) << word;
    // Bytes around the cleared fields keep their values.
    for (size_t i : {163, 796, 872}) EXPECT_EQ(frame.bytes[i], 1) << i;
}

// The records are read a chunk at a time: order, segments and rejections hold across chunks.
TEST_F(GhostLoad, RecordsSpanningSeveralReadChunks) {
    const uint32_t chunk = kGhostReadChunkFrames;
    std::vector<uint32_t> indices(2 * chunk + 3, 0);
    for (uint32_t i = chunk; i < indices.size(); ++i) indices[i] = i < 2 * chunk ? 1 : 2;
    auto frames = framesWithSegments(indices);
    for (uint32_t i = 0; i < frames.size(); ++i) frames[i].setWord(900, i);
    frames.back().bytes[164] = 7;

    GhostRecording slot;
    ASSERT_TRUE(load(encodeGhost(frames), slot));
    const std::string n = std::to_string(chunk);
    EXPECT_EQ(shape(slot), "frames " + std::to_string(2 * chunk + 3) + "; segments 0+" + n + " " + n + "+" + n + " " +
                               std::to_string(2 * chunk) + "+3; starts 1 1 1; first 1");
    for (GhostFrame& frame : frames) ASSERT_TRUE(sanitizeGhostFrame(frame));
    for (size_t i = 0; i < frames.size(); ++i) ASSERT_EQ(slot.frames.at(i).bytes, frames[i].bytes) << i;

    auto skipping = frames;
    skipping[2 * chunk].setWord(GhostFrame::kSegmentIndex, 3);
    auto header = ghostHeaderFor(frames);
    EXPECT_TRUE(rejectsAndKeeps(encodeGhost(header, skipping)));
    auto tagged = frames;
    std::memcpy(tagged.back().bytes.data() + 792, "TKPD", 4);
    EXPECT_TRUE(rejectsAndKeeps(encodeGhost(tagged)));
}

// Every field of the header is checked; the three trailing words are not.
TEST(GhostHeader, LimitsAndIgnoredWords) {
    auto parse = [](const GhostHeaderFields& fields) {
        const std::string bytes = encodeGhost(fields, {});
        uint8_t raw[kGhostHeaderSize];
        std::memcpy(raw, bytes.data(), sizeof raw);
        GhostHeader header;
        return parseGhostHeader(raw, header);
    };
    GhostHeaderFields fields;
    fields.frameCount = 100000;
    fields.segmentCount = 1000;
    fields.extra = {0xFFFFFFFF, 0x12345678, 7};
    EXPECT_TRUE(parse(fields));
    auto with = [&](auto change) {
        auto copy = fields;
        change(copy);
        return parse(copy);
    };
    EXPECT_FALSE(with([](auto& f) { f.frameCount = 100001; }));
    EXPECT_FALSE(with([](auto& f) { f.frameCount = 0; }));
    EXPECT_FALSE(with([](auto& f) { f.segmentCount = 1001; }));
    EXPECT_FALSE(with([](auto& f) { f.segmentCount = 0; }));
    EXPECT_FALSE(with([](auto& f) { f.frameCount = 5, f.segmentCount = 6; }));
    EXPECT_TRUE(with([](auto& f) { f.frameCount = 6, f.segmentCount = 6; }));
    EXPECT_FALSE(with([](auto& f) { f.version = 1; }));
    EXPECT_FALSE(with([](auto& f) { f.frameRate = 60; }));
    EXPECT_FALSE(with([](auto& f) { f.recordSize = 1460; }));
    EXPECT_FALSE(with([](auto& f) { f.magic[7] = ' '; }));
    EXPECT_FALSE(with([](auto& f) { f.magic[6] = '1'; }));
}

}  // namespace
}  // namespace tarvek::testing
