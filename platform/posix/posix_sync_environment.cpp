#include "sync/synchronize_catalog.h"

namespace tarvek {

SyncEnvironment platformSyncEnvironment() { return SyncEnvironment{makePlatformHttpTransport(), &crackUrlPortable}; }

}  // namespace tarvek
