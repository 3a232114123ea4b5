// The module's own SHA-256 behind the hasher seam (the Windows platform uses BCrypt).
#include "platform/posix/module_sha256_hasher.h"

#include "ghostdata/sha256.h"
#include "host/text.h"

namespace tarvek::posix {
namespace {

class ModuleSha256Hasher final : public Sha256Hasher {
public:
    void update(const void* data, size_t size) override { sha_.update(data, size); }

    std::string finishHex() override {
        const Sha256Digest digest = sha_.finish();
        return hexBytes(digest.data(), digest.size(), HexCase::Upper);
    }

private:
    Sha256 sha_;
};

}  // namespace

std::unique_ptr<Sha256Hasher> newModuleSha256Hasher() { return std::make_unique<ModuleSha256Hasher>(); }

}  // namespace tarvek::posix
