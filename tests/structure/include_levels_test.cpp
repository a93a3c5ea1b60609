// SPDX-License-Identifier: GPL-3.0-or-later
// The levels of the source tree. Every folder of the program is a level, listed lowest first
// in the build (VORK_LEVELS); a file may include headers of its own folder and of the folders
// below it, never of one above. The build already keeps a higher folder's headers off a lower
// library's include path, but a header is compiled with the include path of whoever includes
// it, so a header-only mistake only shows up here.
//
// Qt stays at the edges: only the .cpp files of gfx/ (drawing and the image codecs, over the
// program's own bitmaps) and the desktop level qt/ include a Qt header, in whatever form.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>
#include <sstream>
#include <string>
#include <vector>

namespace {

namespace fs = std::filesystem;

std::vector<std::string> levels() {
    std::istringstream in(VORK_LEVELS);
    std::vector<std::string> out;
    for (std::string level; in >> level;)
        out.push_back(level);
    return out;
}

int levelOf(const std::vector<std::string>& table, const std::string& folder) {
    auto it = std::find(table.begin(), table.end(), folder);
    return it == table.end() ? -1 : int(it - table.begin());
}

enum class Rule { Levels, Qt };

struct Violation {
    std::string file;
    int line;
    std::string include;
    std::string why;
    Rule rule;
};

// Whether the file (a path from the root of the tree) may include Qt: a .cpp file right in
// gfx/, or anything in qt/.
bool mayIncludeQt(const std::string& name) {
    const fs::path path(name);
    const std::string top = path.begin()->string();
    return top == "qt" || (path.parent_path() == "gfx" && path.extension() == ".cpp");
}

// A Qt header in any of the forms that compile: a class header (QImage), a module or a header
// inside one (QtGui, QtGui/QImage, QtWidgets/qpushbutton.h), in angle brackets or quotes.
bool isQtHeader(const std::string& target) {
    static const std::regex qt(R"(^(Q[A-Z]\w*|Qt[A-Z]\w*(/\w+(\.h)?)?)$)");
    return std::regex_match(target, qt);
}

// Checks the includes of one file of `folder` against the table and against where Qt may be
// used.
void checkFile(const std::vector<std::string>& table, const std::string& folder,
               const std::string& name, std::istream& text, std::vector<Violation>& out) {
    static const std::regex includeLine(R"(^\s*#\s*include\s*([<"])([^>"]*)[>"])");
    const int own = levelOf(table, folder);
    const bool qtAllowed = mayIncludeQt(name);
    std::string line;
    for (int number = 1; std::getline(text, line); ++number) {
        std::smatch m;
        if (!std::regex_search(line, m, includeLine))
            continue;
        const std::string target = m[2];
        if (isQtHeader(target)) {
            if (!qtAllowed)
                out.push_back({name, number, line, "Qt outside gfx/*.cpp and qt/", Rule::Qt});
            continue;
        }
        const size_t slash = target.find('/');
        if (m[1] != "\"" || slash == std::string::npos)
            continue;
        const std::string folderOfTarget = target.substr(0, slash);
        const int level = levelOf(table, folderOfTarget);
        if (level < 0)
            out.push_back({name, number, line,
                           "\"" + folderOfTarget + "\" is no level of the program", Rule::Levels});
        else if (level > own)
            out.push_back({name, number, line,
                           "\"" + folderOfTarget + "\" lies above \"" + folder + "\"",
                           Rule::Levels});
    }
}

std::vector<Violation> checkTree(const fs::path& root, const std::vector<std::string>& table) {
    std::vector<Violation> out;
    for (const std::string& folder : table) {
        const fs::path dir = root / folder;
        if (!fs::is_directory(dir))
            continue;
        for (const auto& entry : fs::recursive_directory_iterator(dir)) {
            const std::string ext = entry.path().extension().string();
            if (!entry.is_regular_file() || (ext != ".h" && ext != ".cpp"))
                continue;
            std::ifstream in(entry.path());
            checkFile(table, folder, fs::relative(entry.path(), root).string(), in, out);
        }
    }
    return out;
}

std::vector<Violation> only(Rule rule, const std::vector<Violation>& all) {
    std::vector<Violation> out;
    std::copy_if(all.begin(), all.end(), std::back_inserter(out),
                 [rule](const Violation& v) { return v.rule == rule; });
    return out;
}

std::string describe(const std::vector<Violation>& vs) {
    std::string s;
    for (const Violation& v : vs)
        s += v.file + ":" + std::to_string(v.line) + ": " + v.include + "  (" + v.why + ")\n";
    return s;
}

TEST(IncludeLevels, NoFolderOfTheProgramIncludesAFolderAboveIt) {
    const auto table = levels();
    ASSERT_GE(table.size(), 5u);
    const auto violations = only(Rule::Levels, checkTree(VORK_SOURCE_DIR, table));
    EXPECT_TRUE(violations.empty()) << describe(violations);
}

TEST(IncludeLevels, QtIsIncludedOnlyByTheSourcesOfGfxAndByQt) {
    const auto violations = only(Rule::Qt, checkTree(VORK_SOURCE_DIR, levels()));
    EXPECT_TRUE(violations.empty()) << describe(violations);
}

TEST(IncludeLevels, EveryFolderWithSourcesIsALevel) {
    // Folders that are not part of the program itself.
    const std::vector<std::string> outside{"tests", "bench", "fuzz", "tools",
                                           "build", "data",  "docs", "scripts"};
    const auto table = levels();
    auto holdsSources = [](const fs::path& dir) {
        for (const auto& f : fs::recursive_directory_iterator(dir)) {
            const std::string ext = f.path().extension().string();
            if (ext == ".h" || ext == ".cpp")
                return true;
        }
        return false;
    };
    for (const auto& entry : fs::directory_iterator(VORK_SOURCE_DIR)) {
        const std::string name = entry.path().filename().string();
        if (!entry.is_directory() || name.starts_with(".") ||
            std::find(outside.begin(), outside.end(), name) != outside.end() ||
            !holdsSources(entry.path()))
            continue;
        EXPECT_GE(levelOf(table, name), 0) << "the folder " << name << " has no level";
    }
}

TEST(IncludeLevels, TheCheckCatchesAnIncludeOfAHigherOrUnknownFolder) {
    const std::vector<std::string> table{"gfx", "model", "ui"};
    std::istringstream text("#include \"gfx/Bitmap.h\"\n"
                            "#include \"model/Document.h\"\n"
                            "  #  include \"ui/Editor.h\"\n"
                            "#include <vector>\n"
                            "#include \"elsewhere/Thing.h\"\n");
    std::vector<Violation> out;
    checkFile(table, "model", "model/X.h", text, out);
    ASSERT_EQ(out.size(), 2u) << describe(out);
    EXPECT_EQ(out[0].line, 3);
    EXPECT_EQ(out[1].line, 5);
}

TEST(IncludeLevels, TheCheckCatchesQtInAnyFormOutsideGfxSourcesAndQt) {
    const std::vector<std::string> table{"gfx", "model", "qt"};
    const std::string text = "#include <QImage>\n"
                             "#include <QtGui/QImage>\n"
                             "#  include <QtWidgets/QPushButton>\n"
                             "#include \"QImage\"\n"
                             "#include <QtCore/qglobal.h>\n"
                             "#include <QtGui>\n"
                             "#include <queue>\n"
                             "#include <gtest/gtest.h>\n"
                             "#include \"gfx/Bitmap.h\"\n";
    struct Case {
        std::string folder, name;
        size_t violations;
    };
    const std::vector<Case> cases{
        {"model", "model/X.h", 6},      {"model", "model/X.cpp", 6},   {"gfx", "gfx/Graphics.h", 6},
        {"gfx", "gfx/Graphics.cpp", 0}, {"gfx", "gfx/inner/Y.cpp", 6}, {"qt", "qt/Window.h", 0},
        {"qt", "qt/Window.cpp", 0},
    };
    for (const Case& c : cases) {
        std::istringstream in(text);
        std::vector<Violation> out;
        checkFile(table, c.folder, c.name, in, out);
        EXPECT_EQ(out.size(), c.violations) << c.name << "\n" << describe(out);
        for (size_t i = 0; i < out.size(); ++i) {
            EXPECT_EQ(out[i].rule, Rule::Qt) << describe(out);
            EXPECT_EQ(out[i].line, int(i) + 1) << describe(out);
        }
    }
}

TEST(IncludeLevels, TheReadmeDrawsTheLevelsOfTheBuild) {
    // The README draws the levels top first, one folder a line, in the block that follows the
    // line "Levels of the source, highest first:".
    std::ifstream in(fs::path(VORK_SOURCE_DIR) / "README.md");
    ASSERT_TRUE(in);
    std::string line;
    while (std::getline(in, line) &&
           line.find("Levels of the source, highest first") == line.npos) {
    }
    ASSERT_TRUE(in) << "the README has no drawing of the levels";
    while (std::getline(in, line) && !line.starts_with("```")) {
    }
    std::vector<std::string> drawn;
    while (std::getline(in, line) && !line.starts_with("```")) {
        if (line.empty() || line[0] == ' ')
            continue; // a continuation of the line above
        drawn.push_back(line.substr(0, line.find_first_of("/ ")));
    }
    auto table = levels();
    std::reverse(table.begin(), table.end());
    EXPECT_EQ(drawn, table);
}

} // namespace
