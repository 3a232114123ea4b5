#include "platform/win32/win32_url_cracker.h"
#include "sync/synchronize_catalog.h"

namespace tarvek {

SyncEnvironment platformSyncEnvironment() {
    return SyncEnvironment{makePlatformHttpTransport(), &win32::crackUrlWinHttp};
}

}  // namespace tarvek
