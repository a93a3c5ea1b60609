#include "app/CommandLine.h"

#include <gtest/gtest.h>

#include <sstream>

using namespace vork;

namespace {

struct Outcome {
    int status;
    std::string out, err;
};

Outcome run(std::vector<std::string> arguments) {
    std::ostringstream out, err;
    const CommandLine c = parseCommandLine(arguments);
    const int status = runCommandLine(c, out, err);
    return {status, out.str(), err.str()};
}

TEST(CommandLine, NoArgumentsStartTheEditor) {
    EXPECT_EQ(parseCommandLine({}).action, CommandLine::Action::RunEditor);
}

TEST(CommandLine, HelpAndVersionPrintAndSucceed) {
    const Outcome help = run({"--help"});
    EXPECT_EQ(help.status, 0);
    EXPECT_NE(help.out.find("usage: vork"), std::string::npos);
    EXPECT_TRUE(help.err.empty());
    const Outcome version = run({"--version"});
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, "vork 2.0\n");
}

TEST(CommandLine, AWrongArgumentFailsWithOneLineAndTheUsage) {
    for (const auto& args :
         {std::vector<std::string>{"--frobnicate"}, std::vector<std::string>{"--help", "extra"}}) {
        const Outcome r = run(args);
        EXPECT_NE(r.status, 0);
        EXPECT_TRUE(r.out.empty());
        EXPECT_EQ(r.err.rfind("vork: unknown argument \"" + args.front() + "\"\n", 0), 0u) << r.err;
        EXPECT_NE(r.err.find("usage: vork"), std::string::npos);
    }
}

} // namespace
