#include "engine/conditions_path.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>

#include "engine/conditions_file.h"

namespace zqspiel {

namespace {

bool pro_benutzer_gewaehlt = false;

constexpr const char* EIGENES_VERZEICHNIS = "zentrovalquist";

bool ausfuehrbare_datei(const std::string& p) {
    struct stat st;
    return ::stat(p.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
           ::faccessat(AT_FDCWD, p.c_str(), X_OK, AT_EACCESS) == 0;
}

}  // namespace

std::string programmverzeichnis(std::string_view programmpfad, const char* path_env) {
    const auto slash = programmpfad.rfind('/');
    if (slash != std::string_view::npos) return std::string(programmpfad.substr(0, slash + 1));
    if (programmpfad.empty() || path_env == nullptr) return {};
    // A bare name was found by the shell along PATH; an empty entry is the
    // working directory.
    std::string_view rest = path_env;
    for (;;) {
        const auto colon = rest.find(':');
        const std::string_view entry = rest.substr(0, colon);
        std::string dir = entry.empty() ? std::string("./") : std::string(entry);
        if (dir.back() != '/') dir += '/';
        if (ausfuehrbare_datei(dir + std::string(programmpfad))) return dir == "./" ? std::string() : dir;
        if (colon == std::string_view::npos) break;
        rest.remove_prefix(colon + 1);
    }
    return {};
}

std::string benutzer_bedingungsdatei(const char* xdg_config_home, const char* home) {
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
    basis += EIGENES_VERZEICHNIS;
    basis += '/';
    basis += BEDINGUNGEN_NAME;
    return basis;
}

bool verzeichnis_beschreibbar(const std::string& dir) {
    // The effective ids decide what the process may do, not the real ones.
    return ::faccessat(AT_FDCWD, dir.empty() ? "." : dir.c_str(), W_OK | X_OK, AT_EACCESS) == 0;
}

bool mache_verzeichnisse_zu(const std::string& datei) {
    const auto slash = datei.rfind('/');
    if (slash == std::string::npos || slash == 0) return true;
    const std::string dir = datei.substr(0, slash);
    // Each level from the top: only what is missing is made, and only for this
    // user; an existing directory keeps the mode it has.
    for (std::size_t pos = 1; pos <= dir.size(); ++pos) {
        if (pos != dir.size() && dir[pos] != '/') continue;
        const std::string stufe = dir.substr(0, pos);
        struct stat st;
        if (::mkdir(stufe.c_str(), 0700) != 0 && (::stat(stufe.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)))
            return false;
    }
    return true;
}

Umgebung umgebung_des_prozesses() {
    Umgebung u;
    u.path = std::getenv("PATH");
    u.xdg_config_home = std::getenv("XDG_CONFIG_HOME");
    u.home = std::getenv("HOME");
    if (u.home == nullptr || u.home[0] == '\0') {
        const passwd* pw = ::getpwuid(::geteuid());
        u.home = pw != nullptr ? pw->pw_dir : nullptr;
    }
    return u;
}

Bedingungsort waehle_bedingungsort(std::string_view programmpfad, const Umgebung& u) {
    const std::string dir = programmverzeichnis(programmpfad, u.path);
    const std::string beim_programm = dir + BEDINGUNGEN_NAME;
    if (u.beschreibbar(dir)) return {beim_programm, false};
    std::string eigen = benutzer_bedingungsdatei(u.xdg_config_home, u.home);
    if (eigen.empty() || !mache_verzeichnisse_zu(eigen)) return {beim_programm, false};
    return {std::move(eigen), true};
}

std::string waehle_bedingungsdatei(std::string_view programmpfad) {
    Bedingungsort ort = waehle_bedingungsort(programmpfad, umgebung_des_prozesses());
    pro_benutzer_gewaehlt = ort.pro_benutzer;
    return std::move(ort.pfad);
}

bool bedingungen_pro_benutzer() { return pro_benutzer_gewaehlt; }

}  // namespace zqspiel
