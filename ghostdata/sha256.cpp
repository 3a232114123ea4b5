#include "ghostdata/sha256.h"
#include "ghostdata/sha256_round_constants.h"
#include "host/text.h"

#include <cstring>

namespace tarvek {
namespace {

constexpr uint32_t kInitialState[8] = {0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a,
                                       0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19};

Sha256Engine resolve(Sha256Engine wanted) {
    if (wanted == Sha256Engine::X86ShaExtensions && cpuHasShaExtensions()) return wanted;
    return Sha256Engine::Portable;
}

}  // namespace

Sha256::Sha256() : Sha256(defaultSha256Engine()) {}

Sha256::Sha256(Sha256Engine engine)
    : compress_(resolve(engine) == Sha256Engine::X86ShaExtensions ? &detail::sha256CompressX86
                                                                  : &detail::sha256CompressPortable) {
    reset();
}

void Sha256::reset() {
    std::memcpy(state_, kInitialState, sizeof state_);
    buffered_ = 0;
    totalBytes_ = 0;
}

void Sha256::update(const void* data, size_t size) {
    auto bytes = static_cast<const uint8_t*>(data);
    totalBytes_ += size;
    if (buffered_ > 0) {
        const size_t take = std::min(size, sizeof buffer_ - buffered_);
        std::memcpy(buffer_ + buffered_, bytes, take);
        buffered_ += take;
        bytes += take;
        size -= take;
        if (buffered_ < sizeof buffer_) return;
        compress_(state_, buffer_, 1);
        buffered_ = 0;
    }
    const size_t blocks = size / 64;
    if (blocks > 0) compress_(state_, bytes, blocks);
    bytes += blocks * 64;
    size -= blocks * 64;
    std::memcpy(buffer_, bytes, size);
    buffered_ = size;
}

Sha256Digest Sha256::finish() {
    const uint64_t bitLength = totalBytes_ * 8;
    uint8_t tail[128] = {};
    std::memcpy(tail, buffer_, buffered_);
    tail[buffered_] = 0x80;
    const size_t tailSize = buffered_ + 9 <= 64 ? 64 : 128;
    for (int i = 0; i < 8; ++i) tail[tailSize - 1 - i] = static_cast<uint8_t>(bitLength >> (8 * i));
    compress_(state_, tail, tailSize / 64);

    Sha256Digest digest;
    for (int i = 0; i < 8; ++i)
        for (int b = 0; b < 4; ++b) digest[4 * i + b] = static_cast<uint8_t>(state_[i] >> (24 - 8 * b));
    reset();
    return digest;
}

std::string Sha256::finishHex() { return digestHex(finish()); }

Sha256Digest sha256(const void* data, size_t size) {
    Sha256 hasher;
    hasher.update(data, size);
    return hasher.finish();
}

std::string sha256Hex(std::string_view bytes) { return digestHex(sha256(bytes.data(), bytes.size())); }

std::string digestHex(const Sha256Digest& digest) { return hexBytes(digest.data(), digest.size(), HexCase::Lower); }

Sha256Engine defaultSha256Engine() { return resolve(Sha256Engine::X86ShaExtensions); }

namespace detail {
namespace {


inline uint32_t rotr(uint32_t x, int n) { return (x >> n) | (x << (32 - n)); }

}  // namespace

void sha256CompressPortable(uint32_t state[8], const uint8_t* blocks, size_t blockCount) {
    for (; blockCount > 0; --blockCount, blocks += 64) {
        uint32_t w[64];
        for (int i = 0; i < 16; ++i)
            w[i] = (uint32_t{blocks[4 * i]} << 24) | (uint32_t{blocks[4 * i + 1]} << 16) |
                   (uint32_t{blocks[4 * i + 2]} << 8) | uint32_t{blocks[4 * i + 3]};
        for (int i = 16; i < 64; ++i) {
            const uint32_t s0 = rotr(w[i - 15], 7) ^ rotr(w[i - 15], 18) ^ (w[i - 15] >> 3);
            const uint32_t s1 = rotr(w[i - 2], 17) ^ rotr(w[i - 2], 19) ^ (w[i - 2] >> 10);
            w[i] = w[i - 16] + s0 + w[i - 7] + s1;
        }
        uint32_t a = state[0], b = state[1], c = state[2], d = state[3];
        uint32_t e = state[4], f = state[5], g = state[6], h = state[7];
        for (int i = 0; i < 64; ++i) {
            const uint32_t t1 = h + (rotr(e, 6) ^ rotr(e, 11) ^ rotr(e, 25)) + ((e & f) ^ (~e & g)) + kSha256Round[i] + w[i];
            const uint32_t t2 = (rotr(a, 2) ^ rotr(a, 13) ^ rotr(a, 22)) + ((a & b) ^ (a & c) ^ (b & c));
            h = g;
            g = f;
            f = e;
            e = d + t1;
            d = c;
            c = b;
            b = a;
            a = t1 + t2;
        }
        state[0] += a;
        state[1] += b;
        state[2] += c;
        state[3] += d;
        state[4] += e;
        state[5] += f;
        state[6] += g;
        state[7] += h;
    }
}

}  // namespace detail
}  // namespace tarvek
