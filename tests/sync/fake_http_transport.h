#pragma once
// An in-memory HTTP seam: canned answers by request path, and a record of what was asked.
#include <filesystem>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "sync/catalog_sync_request.h"
#include "sync/http_transport.h"

namespace tarvek::testing {

struct FakeResponse {
    uint32_t status = 200;
    std::optional<std::u16string> contentLength;  // raw header text; nothing: header absent
    std::optional<std::u16string> etag;
    std::shared_ptr<const std::string> body = std::make_shared<const std::string>();
};

struct FakeRequestRecord {
    std::string path;
    bool decompress = false;
    std::string ifNoneMatch;
};

class FakeHttpTransport : public HttpTransport {
public:
    // Answers a request whose path (query included) starts with prefix; later entries win.
    void answer(const std::string& prefix, FakeResponse response);
    // Runs before every body read (tests use it to stall or to count).
    void onRead(std::function<void()> hook);

    std::vector<FakeRequestRecord> requests() const;
    int connectionsOpened() const;

    std::unique_ptr<HttpConnection> openConnection(const ServerOrigin& origin, const TransferTimeouts& timeouts) override;

    // Used by the fake connection.
    const FakeResponse* find(const std::string& path) const;
    void record(FakeRequestRecord request);
    void beforeRead() const;

private:
    mutable std::mutex mutex_;
    std::vector<std::pair<std::string, FakeResponse>> answers_;
    std::vector<FakeRequestRecord> requests_;
    std::function<void()> readHook_;
    int connections_ = 0;
};

// A scoped request to the fake origin with its cache below root.
CatalogSyncRequest fakeOriginRequest(const std::filesystem::path& root, const std::string& mapHash,
                                     const std::string& raceType);

inline std::shared_ptr<const std::string> fakeBody(std::string bytes) {
    return std::make_shared<const std::string>(std::move(bytes));
}

}  // namespace tarvek::testing
