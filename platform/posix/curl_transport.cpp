// libcurl with the observable behaviour of the WinHTTP client: no redirects, the four timeouts,
// the user agent, If-None-Match, gzip only when asked, and the body pulled in chunks so the
// caller enforces every size limit as the bytes arrive.
#include "platform/posix/curl_transport.h"

#include <curl/curl.h>

#include <algorithm>
#include <chrono>
#include <mutex>
#include <utility>
#include <vector>

#include "host/text.h"
#include "platform/posix/posix_platform.h"
#include "sync/sync_error.h"
#include "sync/utf8_to_wide.h"
#include "sync/windows_error_text.h"

namespace tarvek {
namespace {

using Clock = std::chrono::steady_clock;

// Decoded bytes held back before the transfer is paused until the caller catches up.
constexpr size_t kMaxPendingBytes = 1 << 20;
constexpr int kMaxPollMs = 200;

void initializeCurlOnce() {
    static std::once_flag once;
    std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

[[noreturn]] void failTransport(const char* what, uint32_t code) {
    throw SyncError(SyncErrorKind::Transport, windowsErrorText(what, code));
}

int64_t saturatedSum(std::initializer_list<int32_t> values) {
    int64_t total = 0;
    for (int32_t v : values) total += std::max<int32_t>(v, 0);
    return total;
}

std::string trimHeaderValue(std::string_view value) {
    const auto first = value.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    const auto last = value.find_last_not_of(" \t\r\n");
    return std::string(value.substr(first, last - first + 1));
}

std::u16string widenBytes(const std::string& bytes) {
    // Byte for byte, as WinHTTP hands raw header bytes over; a byte above 0x7F stays above 0x7F.
    std::u16string wide;
    for (char c : bytes) wide.push_back(static_cast<unsigned char>(c));
    return wide;
}

class CurlRequest final : public HttpRequestHandle {
public:
    CurlRequest(CURLM* multi, const std::string& url, bool decompress, const std::string& ifNoneMatch,
                const TransferTimeouts& timeouts, const TransferStops& stops, const std::string& caFile)
        : multi_(multi), easy_(curl_easy_init()), timeouts_(timeouts), stops_(stops) {
        if (!easy_) failTransport("WinHttpOpenRequest", winerr::kInternalError);
        curl_easy_setopt(easy_, CURLOPT_URL, url.c_str());
        curl_easy_setopt(easy_, CURLOPT_HTTPGET, 1L);
        curl_easy_setopt(easy_, CURLOPT_HTTP_VERSION, static_cast<long>(CURL_HTTP_VERSION_1_1));
        curl_easy_setopt(easy_, CURLOPT_USERAGENT, kSyncUserAgent);
        curl_easy_setopt(easy_, CURLOPT_FOLLOWLOCATION, 0L);
        curl_easy_setopt(easy_, CURLOPT_NOSIGNAL, 1L);
        // Through a proxy (https_proxy) the tunnel's own "200 Connection established" block is
        // not the origin's answer.
        curl_easy_setopt(easy_, CURLOPT_SUPPRESS_CONNECT_HEADERS, 1L);
        curl_easy_setopt(easy_, CURLOPT_CONNECTTIMEOUT_MS,
                         static_cast<long>(saturatedSum({timeouts.resolveMs, timeouts.connectMs})));
        if (!caFile.empty()) curl_easy_setopt(easy_, CURLOPT_CAINFO, caFile.c_str());
        if (decompress) curl_easy_setopt(easy_, CURLOPT_ACCEPT_ENCODING, "gzip");
        if (!ifNoneMatch.empty()) {
            headers_ = curl_slist_append(headers_, ("If-None-Match: " + ifNoneMatch).c_str());
            curl_easy_setopt(easy_, CURLOPT_HTTPHEADER, headers_);
        }
        curl_easy_setopt(easy_, CURLOPT_HEADERFUNCTION, &CurlRequest::onHeader);
        curl_easy_setopt(easy_, CURLOPT_HEADERDATA, this);
        curl_easy_setopt(easy_, CURLOPT_WRITEFUNCTION, &CurlRequest::onBody);
        curl_easy_setopt(easy_, CURLOPT_WRITEDATA, this);
    }

    ~CurlRequest() override {
        if (added_) curl_multi_remove_handle(multi_, easy_);
        curl_easy_cleanup(easy_);
        curl_slist_free_all(headers_);
    }

    void send() override {
        if (curl_multi_add_handle(multi_, easy_) != CURLM_OK) failTransport("WinHTTP GET", winerr::kInternalError);
        added_ = true;
        lastActivity_ = Clock::now();
        // Connecting is bounded by libcurl's connect timeout; after it, sending and waiting for
        // the answer have their own budgets, as WinHttpSendRequest and WinHttpReceiveResponse do.
        const int64_t headerWaitMs = saturatedSum({timeouts_.sendMs, timeouts_.receiveMs});
        while (!headersDone_ && !finished_) pump(headerWaitMs, "WinHTTP GET");
        if (!headersDone_) failTransport("WinHTTP GET", windowsErrorForCurl(finishCode_));
    }

    uint32_t statusCode() override {
        long status = 0;
        if (curl_easy_getinfo(easy_, CURLINFO_RESPONSE_CODE, &status) != CURLE_OK)
            failTransport("WinHttpQueryHeaders", winerr::kInternalError);
        return static_cast<uint32_t>(status);
    }

    std::optional<std::u16string> contentLengthHeader() override {
        const std::string* value = header("content-length");
        if (!value) return std::nullopt;
        // WinHTTP reads this header into 64 bytes of UTF-16, terminator included.
        if ((value->size() + 1) * 2 > 64) failTransport("WinHttpQueryHeaders", winerr::kInsufficientBuffer);
        return widenBytes(*value);
    }

    std::optional<std::u16string> etagHeader() override {
        const std::string* value = header("etag");
        if (!value) return std::nullopt;
        return widenBytes(*value);
    }

    size_t read(char* buffer, size_t size) override {
        for (;;) {
            if (pendingOffset_ < pending_.size()) {
                const size_t take = std::min(size, pending_.size() - pendingOffset_);
                std::copy_n(pending_.data() + pendingOffset_, take, buffer);
                pendingOffset_ += take;
                if (pendingOffset_ == pending_.size()) {
                    pending_.clear();
                    pendingOffset_ = 0;
                }
                return take;
            }
            if (paused_) {
                paused_ = false;
                lastActivity_ = Clock::now();
                curl_easy_pause(easy_, CURLPAUSE_CONT);
                continue;
            }
            if (finished_) {
                if (finishCode_ != CURLE_OK) failTransport("WinHttpReadData", windowsErrorForCurl(finishCode_));
                return 0;
            }
            pump(timeouts_.receiveMs, "WinHttpReadData");
        }
    }

private:
    const std::string* header(const char* lowerName) const {
        for (const auto& [name, value] : headers)
            if (name == lowerName) return &value;
        return nullptr;
    }

    // Drives the transfer until something arrives or it ends; throws the timeout error after
    // idleMs without any byte, and the worker's errors at a cancel or past the deadline (bytes
    // that keep trickling in reset the idle clock, never those two).
    void pump(int64_t idleMs, const char* what) {
        static const std::atomic<bool> kNeverCancelled{false};
        const std::atomic<bool>& cancel = stops_.cancel ? *stops_.cancel : kNeverCancelled;
        progressed_ = false;
        for (;;) {
            checkCancelAndDeadline(cancel, stops_.deadline);
            int running = 0;
            curl_multi_perform(multi_, &running);
            int queued = 0;
            while (CURLMsg* message = curl_multi_info_read(multi_, &queued)) {
                if (message->msg == CURLMSG_DONE && message->easy_handle == easy_) {
                    finished_ = true;
                    finishCode_ = message->data.result;
                }
            }
            if (progressed_ || finished_) return;
            const auto idle =
                std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - lastActivity_).count();
            if (idle >= idleMs) failTransport(what, winerr::kTimeout);
            const int wait = static_cast<int>(std::clamp<int64_t>(idleMs - idle, 1, kMaxPollMs));
            curl_multi_poll(multi_, nullptr, 0, wait, nullptr);
        }
    }

    static size_t onHeader(char* data, size_t, size_t count, void* self) {
        auto& request = *static_cast<CurlRequest*>(self);
        request.noteActivity();
        const std::string_view line(data, count);
        if (line.rfind("HTTP/", 0) == 0) {
            // A new status line (after an interim 1xx answer) starts a new header block.
            request.headers.clear();
            const auto space = line.find(' ');
            request.interim = space != std::string_view::npos && line.size() > space + 1 && line[space + 1] == '1';
        } else if (line == "\r\n" || line == "\n") {
            if (!request.interim) request.headersDone_ = true;
        } else if (const auto colon = line.find(':'); colon != std::string_view::npos) {
            request.headers.emplace_back(asciiLower(line.substr(0, colon)),
                                         trimHeaderValue(line.substr(colon + 1)));
        }
        return count;
    }

    static size_t onBody(char* data, size_t, size_t count, void* self) {
        auto& request = *static_cast<CurlRequest*>(self);
        request.headersDone_ = true;
        if (request.pending_.size() - request.pendingOffset_ >= kMaxPendingBytes) {
            request.paused_ = true;
            return CURL_WRITEFUNC_PAUSE;
        }
        request.noteActivity();
        request.pending_.append(data, count);
        return count;
    }

    void noteActivity() {
        progressed_ = true;
        lastActivity_ = Clock::now();
    }

    CURLM* multi_;
    CURL* easy_;
    curl_slist* headers_ = nullptr;
    TransferTimeouts timeouts_;
    TransferStops stops_;
    std::vector<std::pair<std::string, std::string>> headers;  // lower-case name, value
    bool interim = false;
    bool added_ = false;
    bool headersDone_ = false;
    bool finished_ = false;
    bool paused_ = false;
    bool progressed_ = false;
    CURLcode finishCode_ = CURLE_OK;
    std::string pending_;
    size_t pendingOffset_ = 0;
    Clock::time_point lastActivity_;
};

class CurlConnection final : public HttpConnection {
public:
    CurlConnection(const ServerOrigin& origin, const TransferTimeouts& timeouts, std::string caFile)
        : multi_(curl_multi_init()), timeouts_(timeouts), caFile_(std::move(caFile)) {
        if (!multi_) failTransport("WinHttpConnect", winerr::kInternalError);
        const std::string host = wideToUtf8(origin.host);
        const bool ipv6 = host.find(':') != std::string::npos;
        base_ = std::string(origin.secure ? "https://" : "http://") + (ipv6 ? "[" + host + "]" : host) + ":" +
                std::to_string(origin.port);
    }

    ~CurlConnection() override { curl_multi_cleanup(multi_); }

    std::unique_ptr<HttpRequestHandle> openRequest(const std::u16string& path, bool decompress,
                                                   const std::u16string& ifNoneMatch,
                                                   const TransferStops& stops) override {
        return std::make_unique<CurlRequest>(multi_, base_ + wideToUtf8(path), decompress, wideToUtf8(ifNoneMatch),
                                             timeouts_, stops, caFile_);
    }

private:
    CURLM* multi_;
    TransferTimeouts timeouts_;
    std::string caFile_;
    std::string base_;
};

class CurlTransport final : public HttpTransport {
public:
    explicit CurlTransport(CurlTransportOptions options) : options_(std::move(options)) { initializeCurlOnce(); }

    std::unique_ptr<HttpConnection> openConnection(const ServerOrigin& origin,
                                                   const TransferTimeouts& timeouts) override {
        return std::make_unique<CurlConnection>(origin, timeouts, options_.caFile);
    }

private:
    CurlTransportOptions options_;
};

}  // namespace

uint32_t windowsErrorForCurl(int curlCode) {
    switch (static_cast<CURLcode>(curlCode)) {
    case CURLE_OPERATION_TIMEDOUT:
        return winerr::kTimeout;
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_RESOLVE_PROXY:
        return winerr::kNameNotResolved;
    case CURLE_COULDNT_CONNECT:
        return winerr::kCannotConnect;
    case CURLE_SSL_CONNECT_ERROR:
    case CURLE_PEER_FAILED_VERIFICATION:
    case CURLE_SSL_CACERT_BADFILE:
    case CURLE_SSL_CERTPROBLEM:
        return winerr::kSecureFailure;
    case CURLE_PARTIAL_FILE:
    case CURLE_RECV_ERROR:
    case CURLE_SEND_ERROR:
    case CURLE_GOT_NOTHING:
        return winerr::kConnectionError;
    case CURLE_WEIRD_SERVER_REPLY:
    case CURLE_BAD_CONTENT_ENCODING:
        return winerr::kInvalidServerResponse;
    default:
        return winerr::kInternalError;
    }
}

std::shared_ptr<HttpTransport> makeCurlTransport(CurlTransportOptions options) {
    return std::make_shared<CurlTransport>(std::move(options));
}

std::shared_ptr<HttpTransport> makeDefaultHttpTransport() { return makeCurlTransport({}); }

}  // namespace tarvek
