#pragma once
#include <memory>

#include "sync/sha256_hasher.h"

namespace tarvek::posix {

std::unique_ptr<Sha256Hasher> newModuleSha256Hasher();

}  // namespace tarvek::posix
