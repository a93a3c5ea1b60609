// SPDX-License-Identifier: GPL-3.0-or-later
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

// A usage error is one line that points to --help, not the whole usage.
TEST(CommandLine, AWrongArgumentFailsWithOneLineThatPointsToHelp) {
    const std::pair<std::vector<std::string>, std::string> cases[] = {
        {{"--frobnicate"}, "vork: unknown argument \"--frobnicate\"\n"},
        {{"--help", "extra"}, "vork: unexpected argument \"extra\" after --help\n"},
        {{"--info"}, "vork: --info needs exactly one file\n"},
        {{"--convert", "a.gif"}, "vork: --convert needs an input and an output file\n"},
        {{"--convert", "a.gelm", "b.png", "--frame"}, "vork: --frame needs a frame number\n"},
        {{"--convert", "a.gelm", "b.png", "--frame", "x"},
         "vork: --frame needs a frame number, not \"x\"\n"},
        {{"--convert", "-in.gelm", "out.gif"},
         "vork: unknown argument \"-in.gelm\" (a file whose name starts with - goes after --)\n"},
        {{"--convert", "a.gelm", "b.png", "--frame", "1\n2"},
         "vork: --frame needs a frame number, not \"1\\n2\"\n"},
        {{"--info", "-x.gif"},
         "vork: unknown argument \"-x.gif\" (a file whose name starts with - goes after --)\n"},
        {{"--convert", "a.gelm", "b.gif", "--scale"},
         "vork: --scale needs a whole number from 1 to 16\n"},
        {{"--convert", "a.gelm", "b.gif", "--scale", "0"},
         "vork: --scale needs a whole number from 1 to 16, not \"0\"\n"},
        {{"--convert", "a.gelm", "b.gif", "--scale", "17"},
         "vork: --scale needs a whole number from 1 to 16, not \"17\"\n"},
        {{"--convert", "a.gelm", "b.gif", "--scale", "2x"},
         "vork: --scale needs a whole number from 1 to 16, not \"2x\"\n"},
        {{"--convert", "a.gelm", "b.png", "--sheet", "0", "--padding"},
         "vork: --padding needs a number of pixels from 0 to 256\n"},
        {{"--convert", "a.gelm", "b.png", "--sheet", "0", "--padding", "-1"},
         "vork: --padding needs a number of pixels from 0 to 256, not \"-1\"\n"},
        {{"--convert", "a.gelm", "b.png", "--sheet", "0", "--padding", "257"},
         "vork: --padding needs a number of pixels from 0 to 256, not \"257\"\n"},
    };
    for (const auto& [args, firstLine] : cases) {
        const Outcome r = run(args);
        EXPECT_EQ(r.status, 2);
        EXPECT_TRUE(r.out.empty());
        EXPECT_EQ(r.err, firstLine.substr(0, firstLine.size() - 1) + " (see vork --help)\n");
    }
}

TEST(CommandLine, ConvertTakesTwoFilesAndAFrameAnywhereAfterIt) {
    const CommandLine c = parseCommandLine({"--convert", "--frame", "3", "in.gelm", "out.trnl"});
    EXPECT_EQ(c.action, CommandLine::Action::Convert);
    EXPECT_EQ(c.input, "in.gelm");
    EXPECT_EQ(c.output, "out.trnl");
    EXPECT_EQ(c.frame, 3);
    EXPECT_FALSE(parseCommandLine({"--convert", "a", "b"}).frame);
}

TEST(CommandLine, NamesThatStartWithADashGoAfterTwoDashes) {
    const CommandLine convert = parseCommandLine({"--convert", "--", "-in.gelm", "--frame"});
    EXPECT_EQ(convert.action, CommandLine::Action::Convert);
    EXPECT_EQ(convert.input, "-in.gelm");
    EXPECT_EQ(convert.output, "--frame");
    EXPECT_FALSE(convert.frame);
    const CommandLine info = parseCommandLine({"--info", "--", "-x.gif"});
    EXPECT_EQ(info.action, CommandLine::Action::Info);
    EXPECT_EQ(info.input, "-x.gif");
    const CommandLine open = parseCommandLine({"--", "-walk.gelm"});
    EXPECT_EQ(open.action, CommandLine::Action::RunEditor);
    EXPECT_EQ(open.openFile, "-walk.gelm");
}

} // namespace

namespace {

TEST(CommandLine, ADocumentNamedAloneOpensInItsMode) {
    const CommandLine picture = parseCommandLine({"art/Hero.TRNL"});
    EXPECT_EQ(picture.action, CommandLine::Action::RunEditor);
    EXPECT_EQ(picture.openFile, "art/Hero.TRNL");
    EXPECT_EQ(picture.openMode, Mode::Painter);
    const CommandLine animation = parseCommandLine({"walk.gelm"});
    EXPECT_EQ(animation.action, CommandLine::Action::RunEditor);
    EXPECT_EQ(animation.openMode, Mode::Animator);
    for (const char* other : {"photo.png", "my.folder/noext"}) {
        const CommandLine refused = parseCommandLine({other});
        EXPECT_EQ(refused.action, CommandLine::Action::Refused) << other;
        EXPECT_NE(refused.refusal.find("--convert"), std::string::npos) << refused.refusal;
    }
}

} // namespace
