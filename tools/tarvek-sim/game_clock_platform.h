#pragma once
// The platform of the simulated game: every service of the native platform, but the clock is
// the game's (20 ms a frame) and the network is the game's gate, so retry waits, catalog polls and
// answers count in game frames and a run plays the same however busy the machine is.
#include <atomic>
#include <memory>

#include "catalog/code_pages.h"
#include "host/platform.h"
#include "sync/cache_files.h"
#include "sync/http_transport.h"
#include "sync/sha256_hasher.h"
#include "sync/url_cracker.h"

namespace tarvek::simtool {

class GameClockPlatform final : public Platform {
public:
    // transport: the client the catalog worker gets in place of the services' own.
    GameClockPlatform(std::shared_ptr<const Platform> services, std::shared_ptr<HttpTransport> transport)
        : services_(std::move(services)), transport_(std::move(transport)) {}

    void setFrame(uint32_t frame) { ms_.store(kStartMs + uint64_t{frame} * 20); }

    uint64_t tickCountMs() const override { return ms_.load(); }
    uint32_t currentProcessId() const override { return services_->currentProcessId(); }
    std::unique_ptr<CacheFileReader> openCacheFile(const std::filesystem::path& path) const override {
        return services_->openCacheFile(path);
    }
    std::unique_ptr<CacheFileWriter> createCacheFile(const std::filesystem::path& path, WriteHint hint) const override {
        return services_->createCacheFile(path, hint);
    }
    void moveReplacing(const std::filesystem::path& from, const std::filesystem::path& to) const override {
        services_->moveReplacing(from, to);
    }
    void deleteFileQuietly(const std::filesystem::path& path) const noexcept override { services_->deleteFileQuietly(path); }
    bool isRegularFile(const std::filesystem::path& path) const noexcept override { return services_->isRegularFile(path); }
    std::unique_ptr<Sha256Hasher> newSha256Hasher() const override { return services_->newSha256Hasher(); }
    std::shared_ptr<HttpTransport> httpTransport() const override { return transport_; }
    std::optional<CrackedUrl> crackUrl(std::u16string_view url) const override { return services_->crackUrl(url); }
    const CodePageConverter& codePages() const override { return services_->codePages(); }

private:
    // An uptime of an hour when the game starts: nothing the module waits for is due at zero.
    static constexpr uint64_t kStartMs = 3600000;
    std::shared_ptr<const Platform> services_;
    std::shared_ptr<HttpTransport> transport_;
    std::atomic<uint64_t> ms_{kStartMs};
};

}  // namespace tarvek::simtool
