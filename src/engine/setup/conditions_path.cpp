#include "engine/setup/conditions_path.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>


namespace zqspiel {

namespace {

bool per_user_chosen = false;

constexpr const char* OWN_DIRECTORY = "zentrovalquist";

bool executable_file(const std::string& p) {
    struct stat st;
    return ::stat(p.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
           ::faccessat(AT_FDCWD, p.c_str(), X_OK, AT_EACCESS) == 0;
}

}  // namespace

std::string program_directory(std::string_view program_path, const char* path_env) {
    const auto slash = program_path.rfind('/');
    if (slash != std::string_view::npos) return std::string(program_path.substr(0, slash + 1));
    if (program_path.empty() || path_env == nullptr) return {};
    // A bare name was found by the shell along PATH; an empty entry is the
    // working directory.
    std::string_view rest = path_env;
    for (;;) {
        const auto colon = rest.find(':');
        const std::string_view entry = rest.substr(0, colon);
        std::string dir = entry.empty() ? std::string("./") : std::string(entry);
        if (dir.back() != '/') dir += '/';
        if (executable_file(dir + std::string(program_path))) return dir == "./" ? std::string() : dir;
        if (colon == std::string_view::npos) break;
        rest.remove_prefix(colon + 1);
    }
    return {};
}

std::string user_conditions_file(const char* xdg_config_home, const char* home) {
    std::string basis;
    if (xdg_config_home != nullptr && xdg_config_home[0] == '/') {
        basis = xdg_config_home;
    } else if (home != nullptr && home[0] == '/') {
        basis = home;
        if (basis.back() != '/') basis += '/';
        basis += ".config";
    } else {
        return {};
    }
    if (basis.back() != '/') basis += '/';
    basis += OWN_DIRECTORY;
    basis += '/';
    basis += CONDITIONS_NAME;
    return basis;
}

bool directory_writable(const std::string& dir) {
    // The effective ids decide what the process may do, not the real ones.
    return ::faccessat(AT_FDCWD, dir.empty() ? "." : dir.c_str(), W_OK | X_OK, AT_EACCESS) == 0;
}

bool make_directories_for(const std::string& file) {
    const auto slash = file.rfind('/');
    if (slash == std::string::npos || slash == 0) return true;
    const std::string dir = file.substr(0, slash);
    // Each level from the top: only what is missing is made, and only for this
    // user; an existing directory keeps the mode it has.
    for (std::size_t pos = 1; pos <= dir.size(); ++pos) {
        if (pos != dir.size() && dir[pos] != '/') continue;
        const std::string step = dir.substr(0, pos);
        struct stat st;
        if (::mkdir(step.c_str(), 0700) != 0 && (::stat(step.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)))
            return false;
    }
    return true;
}

Environment process_environment() {
    Environment u;
    u.path = std::getenv("PATH");
    u.xdg_config_home = std::getenv("XDG_CONFIG_HOME");
    u.home = std::getenv("HOME");
    if (u.home == nullptr || u.home[0] == '\0') {
        const passwd* pw = ::getpwuid(::geteuid());
        u.home = pw != nullptr ? pw->pw_dir : nullptr;
    }
    return u;
}

ConditionsPlace choose_conditions_place(std::string_view program_path, const Environment& u) {
    const std::string dir = program_directory(program_path, u.path);
    const std::string beside_program = dir + CONDITIONS_NAME;
    if (u.writable(dir)) return {beside_program, false};
    std::string own = user_conditions_file(u.xdg_config_home, u.home);
    if (own.empty() || !make_directories_for(own)) return {beside_program, false};
    return {std::move(own), true};
}

std::string choose_conditions_file(std::string_view program_path) {
    ConditionsPlace place = choose_conditions_place(program_path, process_environment());
    per_user_chosen = place.per_user;
    return std::move(place.path);
}

bool conditions_per_user() { return per_user_chosen; }

}  // namespace zqspiel
