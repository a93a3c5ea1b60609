// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/DataLocation.h"
#include "support/TempDir.h"

#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <map>

using namespace vork;
namespace fs = std::filesystem;

namespace {

StartEnvironment environment(const fs::path& working, const fs::path& executable,
                             std::map<std::string, std::string> variables) {
    StartEnvironment env;
    env.workingFolder = working;
    env.executable = executable;
    env.variable = [variables](const char* name) -> std::optional<std::string> {
        auto it = variables.find(name);
        if (it == variables.end())
            return std::nullopt;
        return it->second;
    };
    return env;
}

TEST(DataLocation, ADataFolderInTheWorkingFolderIsUsedForEverything) {
    test::TempDir dir;
    fs::create_directory(dir.path / "data");
    const DataFolder d = chooseDataFolder(
        environment(dir.path, "/usr/bin/vork", {{"XDG_CONFIG_HOME", "/elsewhere"}}));
    EXPECT_EQ(d.resources, "data");
    EXPECT_EQ(d.user, "data");
    EXPECT_EQ(d.state, "data");
}

TEST(DataLocation, WithoutOneTheInstalledShareFolderAndTheUsersFoldersAreUsed) {
    test::TempDir dir;
    DataFolder d = chooseDataFolder(
        environment(dir.path, "/opt/x/bin/vork",
                    {{"XDG_CONFIG_HOME", "/cfg"}, {"XDG_STATE_HOME", "/st"}, {"HOME", "/home/u"}}));
    EXPECT_EQ(d.resources, "/opt/x/share/vork");
    EXPECT_EQ(d.toolSheet(), "/opt/x/share/vork/instrument.png");
    EXPECT_EQ(d.settings(), "/cfg/vork/property.txt");
    EXPECT_EQ(d.state, "/st/vork");
    // Unset, empty or relative XDG variables fall back to the home folder.
    d = chooseDataFolder(environment(dir.path, "/usr/bin/vork",
                                     {{"XDG_CONFIG_HOME", "relative"}, {"HOME", "/home/u"}}));
    EXPECT_EQ(d.user, "/home/u/.config/vork");
    EXPECT_EQ(d.state, "/home/u/.local/state/vork");
}

TEST(DataLocation, TheFirstRunCopiesTheDefaultsAndNeverReplacesTheUsersFiles) {
    test::TempDir dir;
    const fs::path share = dir.path / "share", user = dir.path / "config" / "vork";
    fs::create_directories(share);
    for (const char* name : {"property.txt", "defbpal.bpal", "deflpal.lpal"})
        std::ofstream(share / name) << "default " << name;
    fs::create_directories(user);
    std::ofstream(user / "deflpal.lpal") << "mine";
    DataFolder d;
    d.resources = share.string();
    d.user = user.string();
    EXPECT_TRUE(prepareUserFolder(d).empty());
    std::ifstream kept(user / "deflpal.lpal");
    std::string text((std::istreambuf_iterator<char>(kept)), {});
    EXPECT_EQ(text, "mine");
    EXPECT_TRUE(fs::exists(user / "property.txt"));
    EXPECT_TRUE(fs::exists(user / "defbpal.bpal"));

    // A share folder without its files is told, and the program goes on with its defaults.
    fs::remove(user / "property.txt");
    fs::remove(share / "property.txt");
    const auto problems = prepareUserFolder(d);
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_NE(problems[0].find("property.txt"), std::string::npos);
}

} // namespace
