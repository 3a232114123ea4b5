// Throughput of the module's SHA-256 against OpenSSL's on 1 MiB buffers, measured in the same run.
// Prints one line for the engine the module dispatches to and one for the portable engine.
#include <openssl/evp.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <random>
#include <vector>

#include "ghostdata/sha256.h"

namespace {

using Clock = std::chrono::steady_clock;
using tarvek::Sha256Digest;

constexpr size_t kBufferSize = 1 << 20;
constexpr int kTrials = 7;
constexpr double kTrialSeconds = 0.25;

using HashFn = std::function<Sha256Digest(const std::vector<uint8_t>&)>;

// Throughput of one timed trial, in MB/s (10^6 bytes per second).
double trialRate(const HashFn& hash, const std::vector<uint8_t>& buffer, volatile uint8_t& sink) {
    size_t hashed = 0;
    const auto start = Clock::now();
    double elapsed = 0;
    do {
        sink = sink ^ hash(buffer)[0];
        hashed += buffer.size();
        elapsed = std::chrono::duration<double>(Clock::now() - start).count();
    } while (elapsed < kTrialSeconds);
    return hashed / elapsed / 1e6;
}

Sha256Digest opensslHash(const std::vector<uint8_t>& buffer) {
    Sha256Digest digest{};
    unsigned size = 0;
    EVP_Digest(buffer.data(), buffer.size(), digest.data(), &size, EVP_sha256(), nullptr);
    return digest;
}

HashFn moduleHash(tarvek::Sha256Engine engine) {
    return [engine](const std::vector<uint8_t>& buffer) {
        tarvek::Sha256 hasher(engine);
        hasher.update(buffer.data(), buffer.size());
        return hasher.finish();
    };
}

bool report(const char* name, const HashFn& module, const std::vector<uint8_t>& buffer) {
    if (module(buffer) != opensslHash(buffer)) {
        std::fprintf(stderr, "bench %s: digests differ from OpenSSL\n", name);
        return false;
    }
    // Trials alternate between the two so that both see the same machine load; the best counts.
    volatile uint8_t sink = 0;
    double moduleRate = 0, opensslRate = 0;
    for (int trial = 0; trial < kTrials; ++trial) {
        moduleRate = std::max(moduleRate, trialRate(module, buffer, sink));
        opensslRate = std::max(opensslRate, trialRate(opensslHash, buffer, sink));
    }
    std::printf("bench %s ratio=%.3f module=%.1f MB/s openssl=%.1f MB/s\n", name, moduleRate / opensslRate, moduleRate,
                opensslRate);
    std::fflush(stdout);
    return true;
}

}  // namespace

int main() {
    std::vector<uint8_t> buffer(kBufferSize);
    std::mt19937 random(42);
    for (uint8_t& byte : buffer) byte = static_cast<uint8_t>(random());
    const bool ok = report("sha256", moduleHash(tarvek::defaultSha256Engine()), buffer) &&
                    report("sha256-portable", moduleHash(tarvek::Sha256Engine::Portable), buffer);
    return ok ? 0 : 1;
}
