// WinHTTP behind the HTTP seam: the client of the module itself.
#include <windows.h>
#include <winhttp.h>

#include <optional>
#include <vector>

#include "platform/win32/win32_platform.h"
#include "sync/http_transport.h"
#include "sync/sync_error.h"
#include "sync/windows_error_text.h"

namespace tarvek {
namespace {

constexpr DWORD kAccessTypeAutomaticProxy = 4;
constexpr DWORD kOptionRedirectPolicy = 88;
constexpr DWORD kRedirectPolicyNever = 0;
constexpr DWORD kOptionDecompression = 118;
constexpr DWORD kDecompressionGzip = 1;
constexpr DWORD kContentLengthBufferBytes = 64;

[[noreturn]] void failCall(const char* what, DWORD code) {
    throw SyncError(SyncErrorKind::Transport, windowsErrorText(what, code));
}

std::wstring userAgent() {
    const std::string_view agent = kSyncUserAgent;  // ASCII
    return std::wstring(agent.begin(), agent.end());
}

const wchar_t* wide(const std::u16string& text) { return reinterpret_cast<const wchar_t*>(text.c_str()); }

class InternetHandle {
public:
    explicit InternetHandle(HINTERNET handle = nullptr) : handle_(handle) {}
    ~InternetHandle() {
        if (handle_) WinHttpCloseHandle(handle_);
    }
    InternetHandle(const InternetHandle&) = delete;
    InternetHandle& operator=(const InternetHandle&) = delete;
    HINTERNET get() const { return handle_; }

private:
    HINTERNET handle_;
};

class WinHttpRequest final : public HttpRequestHandle {
public:
    explicit WinHttpRequest(HINTERNET request) : request_(request) {}

    void send() override {
        if (!WinHttpSendRequest(request_.get(), WINHTTP_NO_ADDITIONAL_HEADERS, 0, WINHTTP_NO_REQUEST_DATA, 0, 0, 0) ||
            !WinHttpReceiveResponse(request_.get(), nullptr))
            failCall("WinHTTP GET", GetLastError());
    }

    uint32_t statusCode() override {
        DWORD status = 0;
        DWORD size = sizeof status;
        if (!WinHttpQueryHeaders(request_.get(), WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                                 WINHTTP_HEADER_NAME_BY_INDEX, &status, &size, WINHTTP_NO_HEADER_INDEX))
            failCall("WinHttpQueryHeaders", GetLastError());
        return status;
    }

    std::optional<std::u16string> contentLengthHeader() override {
        wchar_t buffer[kContentLengthBufferBytes / sizeof(wchar_t)] = {};
        DWORD size = kContentLengthBufferBytes;
        if (!WinHttpQueryHeaders(request_.get(), WINHTTP_QUERY_CONTENT_LENGTH, WINHTTP_HEADER_NAME_BY_INDEX, buffer,
                                 &size, WINHTTP_NO_HEADER_INDEX)) {
            const DWORD error = GetLastError();
            if (error == winerr::kHeaderNotFound) return std::nullopt;
            failCall("WinHttpQueryHeaders", error);
        }
        return std::u16string(reinterpret_cast<const char16_t*>(buffer), size / sizeof(wchar_t));
    }

    std::optional<std::u16string> etagHeader() override {
        DWORD size = 0;
        if (!WinHttpQueryHeaders(request_.get(), WINHTTP_QUERY_ETAG, WINHTTP_HEADER_NAME_BY_INDEX,
                                 WINHTTP_NO_OUTPUT_BUFFER, &size, WINHTTP_NO_HEADER_INDEX)) {
            const DWORD error = GetLastError();
            if (error == winerr::kHeaderNotFound) return std::nullopt;
            if (error == winerr::kInsufficientBuffer && size >= 2 && size <= 1024) {
                std::vector<wchar_t> buffer(size / sizeof(wchar_t) + 1, L'\0');
                DWORD got = (size / sizeof(wchar_t)) * sizeof(wchar_t);
                if (!WinHttpQueryHeaders(request_.get(), WINHTTP_QUERY_ETAG, WINHTTP_HEADER_NAME_BY_INDEX,
                                         buffer.data(), &got, WINHTTP_NO_HEADER_INDEX))
                    failCall("WinHttpQueryHeaders", GetLastError());
                std::u16string text;
                for (wchar_t unit : buffer) {
                    if (unit == L'\0') break;
                    text.push_back(static_cast<char16_t>(unit));
                }
                return text;
            }
        }
        throw SyncError(SyncErrorKind::Transport, "invalid HTTP ETag header");
    }

    size_t read(char* buffer, size_t size) override {
        if (!bodyLength_) bodyLength_ = declaredBodyLength();
        DWORD got = 0;
        if (!WinHttpReadData(request_.get(), buffer, static_cast<DWORD>(size), &got))
            failCall("WinHttpReadData", GetLastError());
        received_ += got;
        // WinHTTP reports a connection closed before the declared length as a normal end:
        // a cut body must not pass for a whole one.
        if (got == 0 && size != 0 && bodyLength_->known && received_ != bodyLength_->bytes)
            failCall("WinHttpReadData", winerr::kConnectionError);
        return got;
    }

private:
    struct BodyLength {
        bool known = false;
        uint64_t bytes = 0;
    };

    // The length the body arrives with: the Content-Length of a body sent as it is. A decoded
    // body has another length; its decoder answers for its end.
    BodyLength declaredBodyLength() {
        DWORD size = 0;
        WinHttpQueryHeaders(request_.get(), WINHTTP_QUERY_CONTENT_ENCODING, WINHTTP_HEADER_NAME_BY_INDEX,
                            WINHTTP_NO_OUTPUT_BUFFER, &size, WINHTTP_NO_HEADER_INDEX);
        if (GetLastError() != winerr::kHeaderNotFound) return {};
        const auto text = contentLengthHeader();
        if (!text || text->empty() || text->size() > 19) return {};
        BodyLength length{true, 0};
        for (char16_t unit : *text) {
            if (unit < u'0' || unit > u'9') return {};
            length.bytes = length.bytes * 10 + (unit - u'0');
        }
        return length;
    }

    InternetHandle request_;
    std::optional<BodyLength> bodyLength_;
    uint64_t received_ = 0;
};

class WinHttpConnection final : public HttpConnection {
public:
    WinHttpConnection(const ServerOrigin& origin, const TransferTimeouts& timeouts)
        : session_(WinHttpOpen(userAgent().c_str(), kAccessTypeAutomaticProxy, WINHTTP_NO_PROXY_NAME,
                               WINHTTP_NO_PROXY_BYPASS, 0)),
          secure_(origin.secure) {
        if (!session_.get()) failCall("WinHttpOpen", GetLastError());
        if (!WinHttpSetTimeouts(session_.get(), timeouts.resolveMs, timeouts.connectMs, timeouts.sendMs,
                                timeouts.receiveMs))
            failCall("WinHttpSetTimeouts", GetLastError());
        // Declared after the session, so it is closed first.
        connection_ = std::make_unique<InternetHandle>(WinHttpConnect(session_.get(), wide(origin.host), origin.port, 0));
        if (!connection_->get()) failCall("WinHttpConnect", GetLastError());
    }

    ~WinHttpConnection() override { connection_.reset(); }

    // Each synchronous WinHTTP call is bounded by its own timeout; the caller checks the stops
    // between calls.
    std::unique_ptr<HttpRequestHandle> openRequest(const std::u16string& path, bool decompress,
                                                   const std::u16string& ifNoneMatch, const TransferStops&) override {
        HINTERNET handle = WinHttpOpenRequest(connection_->get(), L"GET", wide(path), nullptr, WINHTTP_NO_REFERER,
                                              WINHTTP_DEFAULT_ACCEPT_TYPES, secure_ ? WINHTTP_FLAG_SECURE : 0);
        if (!handle) failCall("WinHttpOpenRequest", GetLastError());
        auto request = std::make_unique<WinHttpRequest>(handle);
        DWORD policy = kRedirectPolicyNever;
        if (!WinHttpSetOption(handle, kOptionRedirectPolicy, &policy, sizeof policy))
            failCall("WinHttpSetOption", GetLastError());
        if (decompress) {
            DWORD gzip = kDecompressionGzip;
            if (!WinHttpSetOption(handle, kOptionDecompression, &gzip, sizeof gzip)) {
                // Without decoding support the request simply does not ask for gzip.
                const DWORD error = GetLastError();
                if (error != ERROR_WINHTTP_INVALID_OPTION)
                    failCall("WinHttpSetOption(WINHTTP_OPTION_DECOMPRESSION)", error);
            }
        }
        if (!ifNoneMatch.empty()) {
            const std::u16string line = u"If-None-Match: " + ifNoneMatch + u"\r\n";
            if (!WinHttpAddRequestHeaders(handle, wide(line), static_cast<DWORD>(-1),
                                          WINHTTP_ADDREQ_FLAG_ADD | WINHTTP_ADDREQ_FLAG_REPLACE))
                failCall("WinHttpAddRequestHeaders", GetLastError());
        }
        return request;
    }

private:
    InternetHandle session_;
    std::unique_ptr<InternetHandle> connection_;
    bool secure_;
};

class WinHttpTransport final : public HttpTransport {
public:
    std::unique_ptr<HttpConnection> openConnection(const ServerOrigin& origin,
                                                   const TransferTimeouts& timeouts) override {
        return std::make_unique<WinHttpConnection>(origin, timeouts);
    }
};

}  // namespace

std::shared_ptr<HttpTransport> win32::makeWinHttpTransport() { return std::make_shared<WinHttpTransport>(); }

}  // namespace tarvek
