#pragma once
// A certificate authority made for one run, and a certificate for 127.0.0.1 signed by it, so the
// catalog server speaks HTTPS that the module's client trusts (and nothing else does).
#include <filesystem>
#include <string>

namespace tarvek::simtool {

struct TestAuthority {
    std::string caFile;      // PEM, for the client
    std::string certificate;  // PEM, for the server
    std::string key;
};

// Writes the files into dir with the openssl program; throws std::runtime_error when it fails.
TestAuthority makeTestAuthority(const std::filesystem::path& dir);

}  // namespace tarvek::simtool
