#pragma once
#include <memory>

#include "sync/sha256_hasher.h"

namespace tarvek::win32 {

std::unique_ptr<Sha256Hasher> newBcryptSha256Hasher();

}  // namespace tarvek::win32
