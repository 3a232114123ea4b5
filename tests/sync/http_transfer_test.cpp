// The transfer rules every HTTP client shares: GET status handling, Content-Length and ETag checks.
#include <gtest/gtest.h>

#include "expect_sync_error.h"
#include "fake_http_transport.h"
#include "sync/http_transfer.h"

namespace tarvek::testing {
namespace {

class HttpTransferTest : public ::testing::Test {
protected:
    std::unique_ptr<HttpRequestHandle> get(const std::string& path, HttpGetOptions options = {}) {
        uint32_t status = 0;
        return httpGet(*connection, path, status, options, cancel, SyncClock::now() + std::chrono::seconds(10));
    }
    // A request whose answer is response, opened without sending it.
    std::unique_ptr<HttpRequestHandle> answered(FakeResponse response) {
        transport.answer("/x", std::move(response));
        return connection->openRequest(u"/x", false, u"", {});
    }
    CatalogResponse fetch(const std::string& etag = {}) {
        return fetchCatalogResponse(*connection, "/catalog", cancel, SyncClock::now() + std::chrono::seconds(10), etag);
    }

    FakeHttpTransport transport;
    std::unique_ptr<HttpConnection> connection = transport.openConnection({}, {});
    std::atomic<bool> cancel{false};
};

TEST(EtagShapeTest, AcceptsQuotedStrongAndWeakTagsOnly) {
    for (const std::string& etag : {std::string("\"\""), std::string("\"abc-123\""), std::string("W/\"abc\""),
                                    "\"" + std::string(254, 'x') + "\""})
        EXPECT_TRUE(isSafeEtag(etag)) << etag;
    // The first is 257 bytes long.
    for (const std::string& etag : {"\"" + std::string(255, 'x') + "\"", std::string("abc"), std::string("\"has space\""),
                                    std::string("\"a\"b\""), std::string("W/\""), std::string("W/abc"), std::string("\"\x80\"")})
        EXPECT_FALSE(isSafeEtag(etag)) << etag;
}

TEST_F(HttpTransferTest, RedirectsAndUnacceptedStatusesCarryTheirStatus) {
    transport.answer("/moved", FakeResponse{302});
    transport.answer("/same", FakeResponse{304});
    try {
        get("/moved");
        FAIL() << "no error";
    } catch (const SyncError& error) {
        EXPECT_EQ(error.kind(), SyncErrorKind::HttpStatus);
        EXPECT_STREQ(error.what(), "Tarvek API returned HTTP 302");
        EXPECT_EQ(error.httpStatus(), 302u);
    }
    EXPECT_TRUE(failsWith([&] { get("/same"); }, SyncErrorKind::HttpStatus, "Tarvek API returned HTTP 304"));
    EXPECT_NO_THROW(get("/same", HttpGetOptions{{}, true, false}));
}

TEST_F(HttpTransferTest, PathsAreCheckedAndRelativeOnesGainASlash) {
    transport.answer("/ghosts/a", FakeResponse{200});
    get("ghosts/a.tkghost", HttpGetOptions{{}, false, true});
    ASSERT_EQ(transport.requests().size(), 1u);
    EXPECT_EQ(transport.requests()[0].path, "/ghosts/a.tkghost");
    EXPECT_TRUE(transport.requests()[0].decompress);
    EXPECT_TRUE(failsWith([&] { get("/" + std::string(2048, 'a')); }, SyncErrorKind::UnsafeAsset,
                          "catalog contains an unsafe ghost URL"));
    EXPECT_TRUE(failsWith([&] { get("//elsewhere/x"); }, SyncErrorKind::UnsafeAsset,
                          "ghost URLs must be same-origin relative paths without fragments"));
    EXPECT_EQ(transport.requests().size(), 1u) << "nothing is sent for a refused path";
}

TEST_F(HttpTransferTest, ACachedEtagIsSentOnlyWhenSafe) {
    transport.answer("/catalog", FakeResponse{304, {}, u"\"v1\""});
    const CatalogResponse response = fetch("\"v1\"");
    EXPECT_EQ(response.status, 304u);
    EXPECT_EQ(response.etag, "\"v1\"");
    EXPECT_EQ(transport.requests().back().ifNoneMatch, "\"v1\"");
    EXPECT_FALSE(transport.requests().back().decompress);
    EXPECT_TRUE(failsWith([&] { fetch("v1"); }, SyncErrorKind::InvalidCatalog, "cached ETag is unsafe"));
}

TEST_F(HttpTransferTest, ContentLengthIsCheckedBeforeTheBody) {
    const auto check = [&](std::u16string text, uint64_t limit) { checkContentLength(*answered({200, text}), limit); };
    EXPECT_NO_THROW(check(u"4194304", 4194304));
    EXPECT_TRUE(failsWith([&] { check(u"4194305", 4194304); }, SyncErrorKind::ContentRejected,
                          "HTTP response exceeds the size limit"));
    EXPECT_TRUE(failsWith([&] { check(u"", 10); }, SyncErrorKind::Transport, "empty HTTP Content-Length"));
    EXPECT_TRUE(failsWith([&] { check(u"12a", 10); }, SyncErrorKind::Transport, "invalid HTTP Content-Length"));
    EXPECT_TRUE(failsWith([&] { check(u"-1", 10); }, SyncErrorKind::Transport, "invalid HTTP Content-Length"));
    EXPECT_NO_THROW(check(u"18446744073709551615", UINT64_MAX));
    EXPECT_TRUE(failsWith([&] { check(u"18446744073709551616", UINT64_MAX); }, SyncErrorKind::ContentRejected,
                          "HTTP Content-Length is too large"));
}

TEST_F(HttpTransferTest, ResponseEtagsMustBeAsciiAndWellShaped) {
    const auto etagOf = [&](std::optional<std::u16string> header) { return readResponseEtag(*answered({200, {}, header})); };
    EXPECT_EQ(etagOf(std::nullopt), "");
    EXPECT_EQ(etagOf(u"W/\"weak\""), "W/\"weak\"");
    EXPECT_TRUE(failsWith([&] { etagOf(u"\"caf\u00e9\""); }, SyncErrorKind::Transport, "HTTP ETag is not ASCII"));
    EXPECT_TRUE(failsWith([&] { etagOf(u"unquoted"); }, SyncErrorKind::Transport, "HTTP ETag has an invalid shape"));
    EXPECT_TRUE(failsWith([&] { etagOf(u"\"" + std::u16string(255, u'x') + u"\""); }, SyncErrorKind::Transport,
                          "HTTP ETag has an invalid shape"));
    EXPECT_TRUE(failsWith([&] { etagOf(u"\"" + std::u16string(600, u'x') + u"\""); }, SyncErrorKind::Transport,
                          "invalid HTTP ETag header"));
}

TEST_F(HttpTransferTest, AChunkedCatalogOneByteOverTheLimitFailsWhileReading) {
    FakeResponse huge{200};
    huge.body = fakeBody(std::string(4194305, '#'));
    transport.answer("/catalog", huge);
    int reads = 0;
    transport.onRead([&] { ++reads; });
    EXPECT_TRUE(failsWith([&] { fetch(); }, SyncErrorKind::ContentRejected, "HTTP response exceeds the size limit"));
    EXPECT_EQ(reads, 65) << "the limit is met on the chunk that crosses it";

    huge.body = fakeBody(std::string(4194304, '#'));
    transport.answer("/catalog", huge);
    EXPECT_EQ(fetch().body.size(), 4194304u);
}

TEST_F(HttpTransferTest, CancellationAndTheDeadlineStopAChunkedRead) {
    FakeResponse slow{200};
    slow.body = fakeBody(std::string(300000, 'x'));
    transport.answer("/catalog", slow);
    int reads = 0;
    transport.onRead([&] {
        if (++reads == 2) cancel = true;
    });
    EXPECT_TRUE(failsWith([&] { fetch(); }, SyncErrorKind::Cancelled, "catalog synchronization cancelled"));
    EXPECT_EQ(reads, 2);

    cancel = false;
    uint32_t status = 0;
    EXPECT_TRUE(failsWith([&] { httpGet(*connection, "/catalog", status, {}, cancel, SyncClock::now()); },
                          SyncErrorKind::Transport, "catalog synchronization exceeded its deadline"));
}

}  // namespace
}  // namespace tarvek::testing
