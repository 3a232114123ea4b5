#pragma once
// The fixed headers of ghost (.tkghost) and tail (.tktail) files as they lie on disk: packed,
// little-endian, read by copying the bytes over the struct.
#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace tarvek {

static_assert(std::endian::native == std::endian::little, "file headers are copied as they lie on disk");

#pragma pack(push, 1)
struct GhostFileHeader {
    char magic[8];  // "TARVEK2\0"
    uint32_t version;
    uint32_t frameRate;
    uint32_t recordSize;
    uint32_t frameCount;
    uint32_t segmentCount;
    uint32_t unsettled[3];  // any value
};

struct TailFileHeader {
    char magic[8];  // "TKTAIL2\0"
    uint32_t version;
    uint32_t frameRate;
    uint32_t recordSize;
    uint32_t recordCount;
    uint32_t blockCount;
    uint32_t reserved[2];  // must be 0
    uint8_t ghostDigest[32];
};

struct TailBlockHeader {
    uint32_t segmentIndex;
    uint32_t overlapCount;
    uint32_t newCount;
};
#pragma pack(pop)

static_assert(sizeof(GhostFileHeader) == 40);
static_assert(offsetof(GhostFileHeader, version) == 8 && offsetof(GhostFileHeader, frameRate) == 12 &&
              offsetof(GhostFileHeader, recordSize) == 16 && offsetof(GhostFileHeader, frameCount) == 20 &&
              offsetof(GhostFileHeader, segmentCount) == 24 && offsetof(GhostFileHeader, unsettled) == 28);
static_assert(sizeof(TailFileHeader) == 68);
static_assert(offsetof(TailFileHeader, version) == 8 && offsetof(TailFileHeader, frameRate) == 12 &&
              offsetof(TailFileHeader, recordSize) == 16 && offsetof(TailFileHeader, recordCount) == 20 &&
              offsetof(TailFileHeader, blockCount) == 24 && offsetof(TailFileHeader, reserved) == 28 &&
              offsetof(TailFileHeader, ghostDigest) == 36);
static_assert(sizeof(TailBlockHeader) == 12);
static_assert(offsetof(TailBlockHeader, overlapCount) == 4 && offsetof(TailBlockHeader, newCount) == 8);

// A packed record from raw bytes of at least sizeof(Packed).
template <typename Packed>
Packed unpack(const void* bytes) {
    Packed value;
    std::memcpy(&value, bytes, sizeof value);
    return value;
}

}  // namespace tarvek
