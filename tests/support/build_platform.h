#pragma once
// The platform of the build the tests run in; its constructor takes another HTTP client.
#ifdef _WIN32
#include "platform/win32/win32_platform.h"
namespace tarvek::testing {
using BuildPlatform = win32::Win32Platform;
}
#else
#include "platform/posix/posix_platform.h"
namespace tarvek::testing {
using BuildPlatform = PosixPlatform;
}
#endif
