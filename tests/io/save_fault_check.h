#pragma once

#include "save_faults.h"

#include <functional>
#include <gtest/gtest.h>
#include <optional>

// Readies `kind` in `folder` for a save of a file called `name`, then runs
// `save` on the target (as nobody where the fault needs it), which returns
// what the save said. It must name the file and the cause, and nothing on disk
// may change: no earlier file touched, no temporary file left, no device replaced.
inline void ExpectSaveFaultReported(Fault kind, const std::filesystem::path& folder,
                                    const std::string& name,
                                    const std::function<std::string(const std::string&)>& save) {
    const SaveFault fault(kind, folder, name, "the earlier file");
    if (!fault.Unavailable().empty()) {
        GTEST_SKIP() << fault.Unavailable();
    }
    const auto before = FolderSnapshot(folder);
    std::string said;
    {
        std::optional<PermissionsHold> permissions;
        if (fault.NeedsUnprivilegedUser() && !permissions.emplace()) {
            GTEST_SKIP() << "cannot take an unprivileged user's identity";
        }
        const WriteLimits limits;
        said = save(fault.Target());
    }
    EXPECT_NE(said.find("Cannot write " + fault.Target() + ": "), std::string::npos) << said;
    EXPECT_TRUE(!fault.IsFull() || said.find(NoSpace) != std::string::npos) << said;
    EXPECT_TRUE(kind != Fault::FullDevice || IsCharacterDevice(fault.Target()));
    EXPECT_EQ(FolderSnapshot(folder), before);
}
