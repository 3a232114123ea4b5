#pragma once
// Runs a call that must fail with one SyncError kind and message.
#include <gtest/gtest.h>

#include <string>

#include "sync/sync_error.h"

namespace tarvek::testing {

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

}  // namespace tarvek::testing
