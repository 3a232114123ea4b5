#include "faults.h"

#include <cstdlib>

namespace tarvek::server {
namespace {

struct ModeName {
    const char* name;
    FaultMode mode;
    enum { None, Number, Text } argument;
};

const ModeName kModes[] = {
    {"redirect", FaultMode::Redirect, ModeName::None},
    {"status", FaultMode::Status, ModeName::Number},
    {"no-etag", FaultMode::NoEtag, ModeName::None},
    {"etag", FaultMode::Etag, ModeName::Text},
    {"content-length", FaultMode::ContentLength, ModeName::Text},
    {"huge-length", FaultMode::HugeLength, ModeName::Number},
    {"chunked", FaultMode::Chunked, ModeName::Number},
    {"cut", FaultMode::Cut, ModeName::Number},
    {"stall", FaultMode::Stall, ModeName::Number},
    {"trickle", FaultMode::Trickle, ModeName::Number},
    {"wrong-bytes", FaultMode::WrongBytes, ModeName::None},
    {"not-modified", FaultMode::NotModified, ModeName::None},
};

}  // namespace

std::optional<Fault> parseFault(const std::string& faultText) {
    const auto eq = faultText.find('=');
    if (eq == std::string::npos || eq == 0 || faultText[0] != '/') return std::nullopt;
    const std::string rest = faultText.substr(eq + 1);
    const auto colon = rest.find(':');
    const std::string name = rest.substr(0, colon);
    const std::string argument = colon == std::string::npos ? "" : rest.substr(colon + 1);
    for (const auto& mode : kModes) {
        if (name != mode.name) continue;
        Fault fault{faultText.substr(0, eq), mode.mode, 0, argument};
        if (mode.argument == ModeName::None && colon != std::string::npos) return std::nullopt;
        if (mode.argument == ModeName::Number) {
            char* end = nullptr;
            fault.number = std::strtoll(argument.c_str(), &end, 10);
            if (argument.empty() || *end != '\0' || fault.number < 0) return std::nullopt;
        }
        if (mode.argument == ModeName::Text && colon == std::string::npos) return std::nullopt;
        return fault;
    }
    return std::nullopt;
}

const Fault* findFault(const std::vector<Fault>& faults, const std::string& path) {
    for (const auto& fault : faults)
        if (path.compare(0, fault.pathPrefix.size(), fault.pathPrefix) == 0) return &fault;
    return nullptr;
}

}  // namespace tarvek::server
