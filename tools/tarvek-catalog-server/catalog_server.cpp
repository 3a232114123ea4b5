#include "catalog_server.h"

#include <httplib.h>

#include <atomic>
#include <chrono>
#include <fstream>
#include <map>
#include <mutex>
#include <stdexcept>
#include <thread>

#include "ghostdata/sha256.h"
#include "gzip.h"
#include "host/text.h"

namespace tarvek::server {
namespace {

constexpr const char* kCatalogPath = "/v1/public/catalog/module.ini";
constexpr size_t kTrickleChunk = 4096;

bool isLoopback(const std::string& host) {
    return host == "localhost" || host == "::1" || host.rfind("127.", 0) == 0;
}

std::optional<std::string> param(const httplib::Request& request, const char* name) {
    if (!request.has_param(name)) return std::nullopt;
    return request.get_param_value(name);
}

// A strong validator derived from the catalog bytes: equal text, equal ETag.
std::string etagFor(const std::string& body) { return "\"" + sha256Hex(body).substr(0, 40) + "\""; }

bool etagMatches(const std::string& ifNoneMatch, const std::string& etag) {
    if (ifNoneMatch.empty()) return false;
    if (trimHostText(ifNoneMatch) == "*") return true;
    std::string::size_type start = 0;
    for (;;) {
        const auto comma = ifNoneMatch.find(',', start);
        if (trimHostText(ifNoneMatch.substr(start, comma - start)) == etag) return true;
        if (comma == std::string::npos) return false;
        start = comma + 1;
    }
}

}  // namespace

struct CatalogServer::State {
    CatalogData data;
    ServerOptions options;
    std::unique_ptr<httplib::Server> http;
    std::atomic<bool> stopping{false};
    std::mutex gzipLock;
    std::map<std::string, std::shared_ptr<const std::string>> gzipCache;
    std::mutex logLock;
    std::ofstream accessLog;

    void sleepUnlessStopping(std::chrono::milliseconds total) {
        const auto until = std::chrono::steady_clock::now() + total;
        while (!stopping && std::chrono::steady_clock::now() < until)
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }

    std::shared_ptr<const std::string> gzipped(const std::string& name, const std::string& bytes) {
        std::lock_guard lock(gzipLock);
        auto& cached = gzipCache[name];
        if (!cached) cached = std::make_shared<const std::string>(gzipCompress(bytes));
        return cached;
    }

    // Statuses and stalls that replace or delay the answer; true when the answer is complete.
    bool answerWithoutBody(const Fault* fault, httplib::Response& response) {
        if (!fault) return false;
        switch (fault->mode) {
        case FaultMode::Stall:
            sleepUnlessStopping(std::chrono::seconds(fault->number));
            return false;
        case FaultMode::Redirect:
            response.status = 302;
            response.set_header("Location", "/moved-elsewhere");
            response.set_content("moved\n", "text/plain");
            return true;
        case FaultMode::Status:
            response.status = static_cast<int>(fault->number);
            response.set_content("fault status\n", "text/plain");
            return true;
        case FaultMode::NotModified:
            response.status = 304;
            return true;
        default:
            return false;
        }
    }

    // Sends body (already encoded) with the framing the fault asks for.
    void sendBody(const Fault* fault, std::shared_ptr<const std::string> body, const char* type,
                  httplib::Response& response) {
        const FaultMode mode = fault ? fault->mode : FaultMode::Stall;
        const long long number = fault ? fault->number : 0;
        if (fault && mode == FaultMode::ContentLength) {
            response.set_header("Content-Length", fault->text);
            response.set_chunked_content_provider(type, [body](size_t offset, httplib::DataSink& sink) {
                if (offset < body->size()) sink.write(body->data() + offset, body->size() - offset);
                else sink.done();
                return true;
            });
        } else if (fault && (mode == FaultMode::HugeLength || mode == FaultMode::Chunked)) {
            const size_t total = static_cast<size_t>(number);
            auto produce = [total](size_t offset, httplib::DataSink& sink) {
                static const std::string filler(65536, '#');
                if (offset >= total) {
                    sink.done();
                    return true;
                }
                return sink.write(filler.data(), std::min(filler.size(), total - offset));
            };
            if (mode == FaultMode::Chunked) {
                response.set_chunked_content_provider(type, produce);
            } else {
                response.set_content_provider(total, type, [produce](size_t offset, size_t, httplib::DataSink& sink) {
                    return produce(offset, sink);
                });
            }
        } else if (fault && mode == FaultMode::Cut) {
            const size_t cut = std::min(static_cast<size_t>(number), body->size());
            response.set_content_provider(body->size(), type, [body, cut](size_t offset, size_t, httplib::DataSink& sink) {
                if (offset < cut) sink.write(body->data() + offset, cut - offset);
                return offset < cut;  // false closes the connection mid-body
            });
        } else if (fault && mode == FaultMode::Trickle) {
            response.set_content_provider(body->size(), type,
                                          [this, body, number](size_t offset, size_t, httplib::DataSink& sink) {
                                              if (offset > 0) sleepUnlessStopping(std::chrono::milliseconds(number));
                                              if (stopping) return false;
                                              return sink.write(body->data() + offset,
                                                                std::min(kTrickleChunk, body->size() - offset));
                                          });
        } else {
            response.set_content_provider(body->size(), type, [body](size_t offset, size_t length, httplib::DataSink& sink) {
                return sink.write(body->data() + offset, std::min(length, body->size() - offset));
            });
        }
    }

    void serveCatalog(const httplib::Request& request, httplib::Response& response) {
        const Fault* fault = findFault(options.faults, request.path);
        if (answerWithoutBody(fault, response)) return;
        CatalogQuery query;
        query.seasonKey = param(request, "seasonKey").value_or("");
        query.playerAccountKey = param(request, "playerAccountKey");
        query.playerName = param(request, "playerName");
        query.mapHash = param(request, "mapHash");
        query.raceType = param(request, "raceType");
        const std::string rank = param(request, "trackRank").value_or("0");
        query.trackRank = std::atoi(rank.c_str());
        if (query.seasonKey.empty() || query.mapHash.has_value() != query.raceType.has_value() ||
            query.trackRank < 0 || query.trackRank > 999 || (query.trackRank && !query.mapHash)) {
            response.status = 400;
            response.set_content("bad catalog query\n", "text/plain");
            return;
        }
        const auto text = data.catalogFor(query);
        if (!text) {
            response.status = 404;
            response.set_content("unknown season\n", "text/plain");
            return;
        }
        auto body = std::make_shared<std::string>(*text);
        std::string etag = etagFor(*body);
        if (etagMatches(request.get_header_value("If-None-Match"), etag) && !fault) {
            response.status = 304;
            response.set_header("ETag", etag);
            return;
        }
        if (fault && fault->mode == FaultMode::WrongBytes && !body->empty()) (*body)[0] ^= 1;
        if (fault && fault->mode == FaultMode::NoEtag) etag.clear();
        if (fault && fault->mode == FaultMode::Etag) etag = fault->text;
        if (!etag.empty()) response.set_header("ETag", etag);
        sendBody(fault, body, "text/plain; charset=utf-8", response);
    }

    void serveFile(const httplib::Request& request, httplib::Response& response) {
        const Fault* fault = findFault(options.faults, request.path);
        if (answerWithoutBody(fault, response)) return;
        const std::string name = request.matches[1];
        const StoredFile* file = data.file(name);
        if (!file) {
            response.status = 404;
            response.set_content("no such file\n", "text/plain");
            return;
        }
        std::shared_ptr<const std::string> body;
        const bool wrong = fault && fault->mode == FaultMode::WrongBytes && !file->bytes.empty();
        const bool gzip = request.get_header_value("Accept-Encoding").find("gzip") != std::string::npos;
        if (wrong) {
            std::string changed = file->bytes;
            changed[0] ^= 1;
            body = std::make_shared<const std::string>(gzip ? gzipCompress(changed) : std::move(changed));
        } else if (gzip) {
            body = gzipped(asciiLower(name), file->bytes);
        } else {
            body = std::shared_ptr<const std::string>(std::shared_ptr<const StoredFile>(), &file->bytes);
        }
        if (gzip) response.set_header("Content-Encoding", "gzip");
        response.set_header("ETag", "\"" + asciiLower(file->sha256) + "\"");
        sendBody(fault, body, "application/octet-stream", response);
    }

    void log(const httplib::Request& request, const httplib::Response& response) {
        if (!accessLog.is_open()) return;
        std::lock_guard lock(logLock);
        std::string target = request.path;
        if (!request.params.empty()) {
            char separator = '?';
            for (const auto& [key, value] : request.params) {
                target += separator + key + "=" + value;
                separator = '&';
            }
        }
        accessLog << request.method << ' ' << target << " ua=" << request.get_header_value("User-Agent")
                  << " inm=" << request.get_header_value("If-None-Match")
                  << " ae=" << request.get_header_value("Accept-Encoding") << " status=" << response.status << '\n'
                  << std::flush;
    }
};

CatalogServer::CatalogServer(CatalogData data, ServerOptions options) : state_(std::make_unique<State>()) {
    state_->data = std::move(data);
    state_->options = std::move(options);
}

CatalogServer::~CatalogServer() = default;

std::string CatalogServer::bind() {
    State& state = *state_;
    const bool secure = !state.options.certificateFile.empty();
    if (!secure && !isLoopback(state.options.listenHost))
        throw std::runtime_error("plain HTTP is only served on a loopback address; give --cert and --key");
    if (secure) {
        state.http = std::make_unique<httplib::SSLServer>(state.options.certificateFile.c_str(),
                                                          state.options.keyFile.c_str());
        if (!state.http->is_valid()) throw std::runtime_error("cannot load the certificate or key");
    } else {
        state.http = std::make_unique<httplib::Server>();
    }
    if (!state.options.accessLogFile.empty()) {
        state.accessLog.open(state.options.accessLogFile, std::ios::app);
        if (!state.accessLog) throw std::runtime_error("cannot open " + state.options.accessLogFile);
    }
    state.http->set_keep_alive_max_count(1000);
    state.http->Get(kCatalogPath, [&state](const httplib::Request& q, httplib::Response& r) { state.serveCatalog(q, r); });
    state.http->Get(R"(/ghosts/([^/]+))", [&state](const httplib::Request& q, httplib::Response& r) { state.serveFile(q, r); });
    state.http->set_logger([&state](const httplib::Request& q, const httplib::Response& r) { state.log(q, r); });

    int port = state.options.port;
    if (port == 0) {
        port = state.http->bind_to_any_port(state.options.listenHost.c_str());
        if (port < 0) throw std::runtime_error("cannot bind " + state.options.listenHost);
    } else if (!state.http->bind_to_port(state.options.listenHost.c_str(), port)) {
        throw std::runtime_error("cannot bind " + state.options.listenHost + ":" + std::to_string(port));
    }
    const std::string host = state.options.listenHost.find(':') != std::string::npos
                                 ? "[" + state.options.listenHost + "]"
                                 : state.options.listenHost;
    return std::string(secure ? "https://" : "http://") + host + ":" + std::to_string(port);
}

void CatalogServer::serve() { state_->http->listen_after_bind(); }

void CatalogServer::stop() {
    state_->stopping = true;
    if (state_->http) state_->http->stop();
}

}  // namespace tarvek::server
