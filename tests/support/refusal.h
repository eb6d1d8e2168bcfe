#pragma once

#include <gtest/gtest.h>
#include <string>

// Success when `result` (a Result or a Status) failed with a message that holds `part`.
template <class R> testing::AssertionResult Refused(const R& result, const std::string& part) {
    if (result.ok()) {
        return testing::AssertionFailure() << "accepted; expected a refusal with: " << part;
    }
    if (result.message().find(part) == std::string::npos) {
        return testing::AssertionFailure() << "refused with: " << result.message();
    }
    return testing::AssertionSuccess();
}
