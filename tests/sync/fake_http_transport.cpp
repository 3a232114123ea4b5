#include "fake_http_transport.h"

#include <algorithm>

#include "sync/sync_error.h"
#include "sync/utf8_to_wide.h"
#include "sync/windows_error_text.h"

namespace tarvek::testing {
namespace {

class FakeRequest final : public HttpRequestHandle {
public:
    FakeRequest(const FakeHttpTransport& transport, const FakeResponse* response)
        : transport_(transport), response_(response) {}

    void send() override {
        if (!response_) throw SyncError(SyncErrorKind::Transport, windowsErrorText("WinHTTP GET", winerr::kCannotConnect));
    }
    uint32_t statusCode() override { return response_->status; }
    std::optional<std::u16string> contentLengthHeader() override { return response_->contentLength; }
    std::optional<std::u16string> etagHeader() override { return response_->etag; }

    size_t read(char* buffer, size_t size) override {
        transport_.beforeRead();
        const std::string& body = *response_->body;
        const size_t take = std::min(size, body.size() - offset_);
        std::copy_n(body.data() + offset_, take, buffer);
        offset_ += take;
        return take;
    }

private:
    const FakeHttpTransport& transport_;
    const FakeResponse* response_;
    size_t offset_ = 0;
};

class FakeConnection final : public HttpConnection {
public:
    explicit FakeConnection(FakeHttpTransport& transport) : transport_(transport) {}

    std::unique_ptr<HttpRequestHandle> openRequest(const std::u16string& path, bool decompress,
                                                   const std::u16string& ifNoneMatch, const TransferStops&) override {
        const std::string narrow = wideToUtf8(path);
        transport_.record(FakeRequestRecord{narrow, decompress, wideToUtf8(ifNoneMatch)});
        return std::make_unique<FakeRequest>(transport_, transport_.find(narrow));
    }

private:
    FakeHttpTransport& transport_;
};

}  // namespace

void FakeHttpTransport::answer(const std::string& prefix, FakeResponse response) {
    std::lock_guard lock(mutex_);
    answers_.emplace_back(prefix, std::move(response));
}

void FakeHttpTransport::onRead(std::function<void()> hook) {
    std::lock_guard lock(mutex_);
    readHook_ = std::move(hook);
}

std::vector<FakeRequestRecord> FakeHttpTransport::requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

int FakeHttpTransport::connectionsOpened() const {
    std::lock_guard lock(mutex_);
    return connections_;
}

std::unique_ptr<HttpConnection> FakeHttpTransport::openConnection(const ServerOrigin&, const TransferTimeouts&) {
    std::lock_guard lock(mutex_);
    ++connections_;
    return std::make_unique<FakeConnection>(*this);
}

const FakeResponse* FakeHttpTransport::find(const std::string& path) const {
    std::lock_guard lock(mutex_);
    for (auto it = answers_.rbegin(); it != answers_.rend(); ++it)
        if (path.compare(0, it->first.size(), it->first) == 0) return &it->second;
    return nullptr;
}

void FakeHttpTransport::record(FakeRequestRecord request) {
    std::lock_guard lock(mutex_);
    requests_.push_back(std::move(request));
}

void FakeHttpTransport::beforeRead() const {
    std::function<void()> hook;
    {
        std::lock_guard lock(mutex_);
        hook = readHook_;
    }
    if (hook) hook();
}

CatalogSyncRequest fakeOriginRequest(const std::filesystem::path& root, const std::string& mapHash,
                                     const std::string& raceType) {
    CatalogSyncRequest request;
    request.apiBaseUrl = "https://tarvek.test";
    request.seasonKey = "s";
    request.mapHash = mapHash;
    request.raceType = raceType;
    request.cacheDirectory = root / "wkTarvek.cache";
    request.catalogPath = request.cacheDirectory / "catalog.ini";
    request.resolveTimeoutMs = request.connectTimeoutMs = request.sendTimeoutMs = request.receiveTimeoutMs = 1000;
    request.overallTimeoutMs = 60000;
    return request;
}

}  // namespace tarvek::testing
