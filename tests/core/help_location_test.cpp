#include "core/help_location.h"
#include "io/temp_dir.h"

#include <gtest/gtest.h>

using namespace tessra;
namespace fs = std::filesystem;

TEST(HelpLocation, BesideTheProgramFirstThenTheSharedFolder) {
    const struct {
        bool beside, shared;
        const char* found; // relative to the prefix, empty for none
    } cases[] = {
        {true, true, "bin/tessra.qhc"},
        {true, false, "bin/tessra.qhc"},
        {false, true, "share/tessra/tessra.qhc"},
        {false, false, ""},
    };
    for (const auto& [beside, shared, found] : cases) {
        const TempDir prefix;
        fs::create_directories(prefix.Path() / "bin");
        fs::create_directories(prefix.Path() / "share/tessra");
        if (beside) {
            WriteText(prefix.File("bin/tessra.qhc"), "");
        }
        if (shared) {
            WriteText(prefix.File("share/tessra/tessra.qhc"), "");
        }
        const auto collection = FindHelpCollection(prefix.Path() / "bin");
        EXPECT_EQ(collection.value_or(""), *found ? prefix.Path() / found : fs::path())
            << beside << shared;
    }
    EXPECT_EQ(FindHelpCollection(""), std::nullopt); // never the current folder
}
