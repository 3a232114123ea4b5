#pragma once
// Checks of synchronisation failures and results for the sync tests.
#include <gtest/gtest.h>

#include <string>

#include "sync/catalog_sync_result.h"

namespace tarvek::testing {

// Runs a call that must fail with one SyncError kind and message.
template <typename Call>
::testing::AssertionResult failsWith(Call&& call, SyncErrorKind kind, const std::string& message) {
    try {
        call();
    } catch (const SyncError& error) {
        if (error.kind() == kind && error.what() == message) return ::testing::AssertionSuccess();
        return ::testing::AssertionFailure() << "got " << syncErrorKindName(error.kind()) << " \"" << error.what()
                                             << "\"";
    }
    return ::testing::AssertionFailure() << "no error";
}

// A result in one line: "None HTTP 304 (not modified), 4 assets: 0 downloaded, 4 reused; message".
inline std::string outcome(const CatalogSyncResult& r) {
    return std::string(syncErrorKindName(r.errorKind)) + " HTTP " + std::to_string(r.httpStatus) +
           (r.catalogNotModified ? " (not modified)" : "") + ", " + std::to_string(r.assetCount) + " assets: " +
           std::to_string(r.downloadedCount) + " downloaded, " + std::to_string(r.reusedCount) + " reused; " + r.message;
}

}  // namespace tarvek::testing
