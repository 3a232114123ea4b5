// The portable URL cracker and UTF-8 decoder against the platform's own calls, case by case.
#include <gtest/gtest.h>

#include <windows.h>

#include "platform/win32/win32_url_cracker.h"
#include "sync/request_validation.h"
#include "sync/utf8_to_wide.h"
#include "tests/sync/expect_sync_error.h"

namespace tarvek {
namespace {

const char16_t* const kOrigins[] = {
    // plain origins and trailing slash
    u"https://example.com", u"https://example.com/", u"HTTPS://EXAMPLE.COM", u"HtTp://h", u"http://example.com",
    // ports
    u"https://example.com:8443", u"https://example.com:8443/", u"http://127.0.0.1:8080", u"http://host:80/",
    u"https://example.com:", u"https://example.com:/", u"https://example.com:0", u"https://example.com:65535",
    u"https://example.com:65536", u"https://example.com:99999", u"https://host:4294967297", u"https://example.com:12ab",
    u"https://example.com:-1", u"https://host:+5", u"https://host: 5", u"https://host:00080",
    u"https://example.com:443:444", u"https://h:000000000000000000080", u"https://h:1a2/x", u"https://h:65535x",
    // IPv6 literals
    u"https://[::1]", u"https://[::1]:8443/", u"https://[::1", u"https://[fe80::1%25eth0]:1/", u"https://u:p@[::1]:5/",
    u"http://[2001:db8::7]:80", u"https://[::ffff:127.0.0.1]/",
    // user info
    u"https://user@example.com", u"https://user:pw@example.com/", u"https://:pw@example.com", u"https://@example.com",
    u"https://ex@mple@host/", u"https://host/p@th", u"https://user:pw@", u"https://user@", u"https://a:b:c@h",
    // empty host
    u"https://", u"https:///", u"https://:443", u"https://:", u"http://:80/x",
    // paths
    u"https://example.com/v1", u"https://h//", u"https://h/a/b/", u"https://host\\path", u"https://h/%20",
    // query and fragment
    u"https://example.com?x=1", u"https://example.com/?x=1", u"https://example.com#frag", u"https://example.com/#frag",
    u"https://host?", u"https://host#", u"https://host/?", u"https://host:8443?q", u"https://host:8443#f",
    u"https://?q", u"https://#f", u"https://h/a?b#c", u"https://h#c?d", u"https://h:1#c/d", u"https://h/?a?b",
    // odd schemes and shapes
    u"ftp://example.com", u"ws://host", u"file:///c:/x", u"mailto:x@y", u"example.com", u"", u"https:example.com",
    u"https:/example.com", u"https:\\\\host", u"https ://h", u"httpss://h", u"http:", u":", u"://h",
    u"https://a b.com", u"https://ho%41st", u"https://h\u00E9.example/", u"https://\u00FCber.example:99",
};

std::string describe(const std::optional<CrackedUrl>& url) {
    if (!url) return "fail";
    return "scheme=" + std::to_string(static_cast<int>(url->scheme)) + " host=" + wideToUtf8(url->host) +
           " port=" + std::to_string(url->port) + " user=" + wideToUtf8(url->userName) +
           " password=" + wideToUtf8(url->password) + " path=" + wideToUtf8(url->path) +
           " extra=" + wideToUtf8(url->extraInfo);
}

TEST(UrlCrackDifferential, PortableCrackerAgreesWithWinHttpCrackUrl) {
    for (const char16_t* origin : kOrigins) {
        EXPECT_EQ(describe(crackUrlPortable(origin)), describe(win32::crackUrlWinHttp(origin))) << wideToUtf8(origin);
    }
}

// Where both crackers agree, so does the origin check; but Wine's cracker keeps a fragment in the
// path, and it is still a fragment.
TEST(UrlCrackDifferential, AFragmentInTheCrackedPathIsStillRefused) {
    for (const char* fragment : {"https://host/#top", "https://host/p#f", "https://h:1#c/d"})
        EXPECT_TRUE(testing::failsWith([&] { deriveServerOrigin(fragment, true, win32::crackUrlWinHttp); },
                                       SyncErrorKind::InvalidRequest,
                                       "apiBaseUrl must be an origin without credentials, query or fragment"))
            << fragment;
}

// What MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS) makes of text; "invalid" when it refuses.
std::string platformUtf8(std::string_view text) {
    const int count = MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), static_cast<int>(text.size()),
                                          nullptr, 0);
    if (count <= 0) return "invalid";
    std::wstring out(static_cast<size_t>(count), L'\0');
    MultiByteToWideChar(CP_UTF8, MB_ERR_INVALID_CHARS, text.data(), static_cast<int>(text.size()), out.data(), count);
    return wideToUtf8(std::u16string(out.begin(), out.end()));
}

std::string portableUtf8(std::string_view text) {
    try {
        return wideToUtf8(utf8ToWide("n", text));
    } catch (const SyncError&) {
        return "invalid";
    }
}

TEST(UrlCrackDifferential, Utf8DecoderAgreesWithMultiByteToWideChar) {
    const char* const cases[] = {"plain",        "\xC3\xBC",     "\xE2\x82\xAC", "\xF0\x9F\x98\x80", "\xF4\x8F\xBF\xBF",
                                 "\x80",         "\xC0\x80",     "\xC1\xBF",     "\xE0\x80\x80",     "\xE0\xA0\x80",
                                 "\xED\x9F\xBF", "\xED\xA0\x80", "\xED\xBF\xBF", "\xEE\x80\x80",     "\xF0\x80\x80\x80",
                                 "\xF0\x90\x80\x80", "\xF4\x90\x80\x80", "\xF5\x80\x80\x80", "\xFF", "\xFE",
                                 "\xC3",         "\xE2\x82",     "a\xC3(",       "\xE2\x28\xA1",     "\xEF\xBB\xBF"};
    for (const char* text : cases) EXPECT_EQ(portableUtf8(text), platformUtf8(text)) << text;
    // Every two-byte sequence, so lead and continuation ranges are covered exhaustively.
    for (int a = 0x80; a < 0x100; ++a)
        for (int b = 0; b < 0x100; ++b) {
            const char pair[2] = {static_cast<char>(a), static_cast<char>(b)};
            ASSERT_EQ(portableUtf8({pair, 2}), platformUtf8({pair, 2})) << a << " " << b;
        }
}

}  // namespace
}  // namespace tarvek
