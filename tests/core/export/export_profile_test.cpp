#include "core/export/export_profile.h"
#include "support/refusal.h"

#include <gtest/gtest.h>

using namespace tessra;

TEST(ExportProfile, SavesAndReadsBack) {
    ExportProfile profile;
    const std::pair<const char*, const char*> settings[] = {
        {"region", "8,0,64,30"}, {"screen", "32,30"},   {"offset", "-3"},
        {"compress", "lz77"},    {"hardware", "gbc"},   {"numbering", "image"},
        {"tile-base", "128"},    {"behaviour", "true"},
    };
    for (const auto& [name, text] : settings) {
        ASSERT_TRUE(SetExportSetting(profile.Settings, name, text).ok()) << name;
    }
    profile.Output = "build/level 1.bin";
    profile.ExportOnSave = true;
    const std::string bytes = WriteExportProfileBytes(profile);
    EXPECT_NE(bytes.find("\"offset\": -3,"), std::string::npos) << bytes;
    EXPECT_NE(bytes.find("\"screen\": \"32,30\""), std::string::npos) << bytes;
    EXPECT_NE(bytes.find("\"tile-base\": 128,"), std::string::npos) << bytes;
    EXPECT_NE(bytes.find("\"behaviour\": true,"), std::string::npos) << bytes;
    const auto read = ParseExportProfile(bytes, "level.export.json");
    ASSERT_TRUE(read.ok()) << read.message();
    EXPECT_EQ(read.value(), profile);

    // Left to follow the region and the output, screen and name stay so.
    const auto defaults = ParseExportProfile(WriteExportProfileBytes({}), "x");
    ASSERT_TRUE(defaults.ok()) << defaults.message();
    EXPECT_EQ(defaults.value(), ExportProfile{});
    EXPECT_EQ(ParseExportProfile("\xEF\xBB\xBF{\"offset\": \"7\"}", "x").value().Settings.Offset,
              7);
}

TEST(ExportProfile, RefusesDamagedFiles) {
    const std::pair<std::string, const char*> cases[] = {
        {"", "it is not JSON"},
        {"{\"region\": \"0,0,1,1\",\n \"offset\": 1,,}", "line 2"},
        {"[1, 2]", "one JSON object"},
        {"{\"compres\": \"lz77\"}", "\"compres\" is not a key of a profile; the keys are region"},
        {"{\"compress\": \"zip\"}", "The compress setting must be none, rle or lz77"},
        {"{\"offset\": 1.5}", "\"offset\" must be text in quotes or a whole number"},
        {"{\"offset\": 99999999999999999999}", "\"offset\" must be text"},
        {"{\"offset\": 4e4444}", "a number too large to read"},
        {"{\"offset\": 70000}", "from -65535 to 65535, not \"70000\""},
        {"{\"region\": [0, 0, 1, 1]}", "\"region\" must be text in quotes."},
        {"{\"name\": true}", "\"name\" must be text in quotes."},
        {"{\"output\": 3}", "\"output\" must be a file name"},
        {"{\"exportOnSave\": \"yes\"}", "true or false"},
        {"{\"behaviour\": 1}", "\"behaviour\" must be true or false."},
        {"{\"name\": \"a\xFF\"}", "it is not JSON"},
        {"{\"offset\": 1, \"entry\": \"u8\", \"offset\": 2}", "the key \"offset\" appears twice"},
        {std::string("\xFF\xFE{\0}\0", 6), "it is UTF-16 text"},
        {"{\"name\": \"\\u001b[2J\"}", "not \"\\x1B[2J\""},
        {"{\"name\": \"" + std::string(ExportProfileMaxSize, 'a') + "\"}", "larger than 64 KiB"},
    };
    for (const auto& [bytes, message] : cases) {
        const auto result = ParseExportProfile(bytes, "maps/level.export.json");
        EXPECT_TRUE(Refused(result, message));
        EXPECT_EQ(
            result.message().rfind("Cannot read the export profile maps/level.export.json: ", 0),
            0u);
    }
}

TEST(ExportProfile, PathsBesideTheMap) {
    EXPECT_EQ(ExportProfilePath("maps/level.tessra"), "maps/level.export.json");
    EXPECT_EQ(ExportProfilePath("level.map"), "level.map.export.json");
    const std::pair<std::pair<const char*, const char*>, const char*> resolved[] = {
        {{"maps/level.tessra", "out/level.bin"}, "maps/out/level.bin"},
        {{"level.tessra", "level.bin"}, "level.bin"},
        {{"maps/level.tessra", "/abs/level.bin"}, "/abs/level.bin"},
    };
    for (const auto& [paths, path] : resolved) {
        EXPECT_EQ(ResolveExportOutput(paths.first, paths.second), path);
    }
    EXPECT_EQ(RelativeExportOutput("/home/me/maps/level.tessra", "/home/me/maps/build/l.bin"),
              "build/l.bin");
    EXPECT_EQ(RelativeExportOutput("/home/me/maps/level.tessra", "/home/me/src/l.s"), "../src/l.s");
}
