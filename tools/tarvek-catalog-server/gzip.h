#pragma once
#include <string>
#include <string_view>

namespace tarvek::server {

// A complete gzip member holding bytes (fast compression level: the server trades ratio for time).
std::string gzipCompress(std::string_view bytes);

}  // namespace tarvek::server
