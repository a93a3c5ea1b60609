// The levels of the source tree. Every folder of the program is a level, listed lowest first
// in the build (VORK_LEVELS); a file may include headers of its own folder and of the folders
// below it, never of one above. The build already keeps a higher folder's headers off a lower
// library's include path, but a header is compiled with the include path of whoever includes
// it, so a header-only mistake only shows up here.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
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

struct Violation {
    std::string file;
    int line;
    std::string include;
    std::string why;
};

// Checks the includes of one file of `folder` against the table.
void checkFile(const std::vector<std::string>& table, const std::string& folder,
               const std::string& name, std::istream& text, std::vector<Violation>& out) {
    static const std::regex includeLine(R"(^\s*#\s*include\s*"([^"/]+)/[^"]*")");
    const int own = levelOf(table, folder);
    std::string line;
    for (int number = 1; std::getline(text, line); ++number) {
        std::smatch m;
        if (!std::regex_search(line, m, includeLine))
            continue;
        const std::string target = m[1];
        const int level = levelOf(table, target);
        if (level < 0)
            out.push_back({name, number, line, "\"" + target + "\" is no level of the program"});
        else if (level > own)
            out.push_back({name, number, line, "\"" + target + "\" lies above \"" + folder + "\""});
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

std::string describe(const std::vector<Violation>& vs) {
    std::string s;
    for (const Violation& v : vs)
        s += v.file + ":" + std::to_string(v.line) + ": " + v.include + "  (" + v.why + ")\n";
    return s;
}

TEST(IncludeLevels, NoFolderOfTheProgramIncludesAFolderAboveIt) {
    const auto table = levels();
    ASSERT_GE(table.size(), 5u);
    const auto violations = checkTree(VORK_SOURCE_DIR, table);
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
