#pragma once
// The module's own SHA-256 (FIPS 180-4): map hashes, player keys and the ghost digest in tails.
#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace tarvek {

using Sha256Digest = std::array<uint8_t, 32>;

// Compression engines. The x86 SHA extensions are used when the CPU has them.
enum class Sha256Engine { Portable, X86ShaExtensions };

class Sha256 {
public:
    Sha256();
    // Picks an engine explicitly (tests and benchmarks); X86ShaExtensions falls back to
    // Portable when the CPU lacks them.
    explicit Sha256(Sha256Engine engine);

    void update(const void* data, size_t size);
    void update(std::string_view text) { update(text.data(), text.size()); }
    // Ends the message; the object starts a new, empty message afterwards.
    Sha256Digest finish();
    std::string finishHex();

private:
    using CompressFn = void (*)(uint32_t state[8], const uint8_t* blocks, size_t blockCount);
    void reset();

    CompressFn compress_;
    uint32_t state_[8];
    uint8_t buffer_[64];
    size_t buffered_ = 0;
    uint64_t totalBytes_ = 0;
};

Sha256Digest sha256(const void* data, size_t size);
std::string sha256Hex(std::string_view bytes);
// 64 lower-case hexadecimal digits.
std::string digestHex(const Sha256Digest& digest);

bool cpuHasShaExtensions();
Sha256Engine defaultSha256Engine();

namespace detail {
void sha256CompressPortable(uint32_t state[8], const uint8_t* blocks, size_t blockCount);
// Defined only where the compiler can target the SHA extensions; returns false otherwise.
bool sha256CompressX86Available();
void sha256CompressX86(uint32_t state[8], const uint8_t* blocks, size_t blockCount);
}  // namespace detail

}  // namespace tarvek
