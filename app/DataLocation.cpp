// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/DataLocation.h"

#include <cstdlib>

namespace vork {

namespace fs = std::filesystem;

namespace {

// An XDG base folder: the variable when it names an absolute path, else ~/<fallback>.
fs::path baseFolder(const StartEnvironment& env, const char* variable, const char* fallback) {
    if (auto v = env.variable(variable); v && !v->empty() && fs::path(*v).is_absolute())
        return *v;
    const auto home = env.variable("HOME");
    return fs::path(home && !home->empty() ? *home : ".") / fallback;
}

} // namespace

StartEnvironment processEnvironment(const char* argv0) {
    StartEnvironment env;
    std::error_code ec;
    env.workingFolder = fs::current_path(ec);
    env.executable = fs::read_symlink("/proc/self/exe", ec);
    if (ec && argv0)
        env.executable = fs::absolute(argv0, ec);
    env.variable = [](const char* name) -> std::optional<std::string> {
        if (const char* v = std::getenv(name))
            return std::string(v);
        return std::nullopt;
    };
    return env;
}

DataFolder chooseDataFolder(const StartEnvironment& env) {
    std::error_code ec;
    if (fs::is_directory(env.workingFolder / "data", ec))
        return DataFolder{};
    DataFolder d;
    d.resources = (env.executable.parent_path().parent_path() / "share" / "vork").string();
    d.user = (baseFolder(env, "XDG_CONFIG_HOME", ".config") / "vork").string();
    d.state = (baseFolder(env, "XDG_STATE_HOME", ".local/state") / "vork").string();
    return d;
}

std::vector<std::string> prepareUserFolder(const DataFolder& data) {
    std::vector<std::string> problems;
    if (data.user == data.resources)
        return problems;
    std::error_code ec;
    fs::create_directories(data.user, ec);
    if (ec) {
        problems.push_back("vork: cannot make the folder " + data.user + ": " + ec.message());
        return problems;
    }
    for (const char* name : {"property.txt", "defbpal.bpal", "deflpal.lpal"}) {
        const fs::path target = fs::path(data.user) / name;
        // A file, a link or anything else already there is the user's: it is never replaced.
        if (fs::symlink_status(target, ec).type() != fs::file_type::not_found)
            continue;
        fs::copy_file(fs::path(data.resources) / name, target, ec);
        if (ec)
            problems.push_back("vork: cannot copy the default " + std::string(name) + " to " +
                               data.user + ": " + ec.message());
    }
    return problems;
}

DataFolder startDataFolder(const char* argv0, std::ostream& err) {
    const DataFolder data = chooseDataFolder(processEnvironment(argv0));
    for (const std::string& line : prepareUserFolder(data))
        err << line << "\n";
    return data;
}

} // namespace vork
