// Where the conditions file is kept: beside the program when its directory
// can be written, otherwise in the user's configuration directory, so that an
// installed copy no longer loses every change with nothing said.
#pragma once

#include <string>
#include <string_view>

namespace zqspiel {

// The file's name, wherever it is kept.
inline constexpr const char* CONDITIONS_NAME = "BEDINGUN.DAT";

// The directory of the program with its trailing '/': the directory part of
// the path it was started by; for a bare name the first directory of the
// search path (PATH, as the shell searched it) that holds an executable file
// of that name; "" (the working directory) when none does. path_env may be
// null.
std::string program_directory(std::string_view program_path, const char* path_env);

// $XDG_CONFIG_HOME/zentrovalquist/BEDINGUN.DAT, or $HOME/.config/... when
// XDG_CONFIG_HOME is null, empty or not absolute; "" when neither gives an
// absolute directory.
std::string user_conditions_file(const char* xdg_config_home, const char* home);

// Whether this process may make files in dir ("" is the working directory).
bool directory_writable(const std::string& dir);

// Makes the missing directories on the way to the file, each with mode 0700;
// true when its directory is there afterwards.
bool make_directories_for(const std::string& file);

// What the choice reads of the process's surroundings.
struct Environment {
    const char* path = nullptr;             // PATH
    const char* xdg_config_home = nullptr;  // XDG_CONFIG_HOME
    const char* home = nullptr;             // HOME, or the password database's home
    bool (*writable)(const std::string& dir) = directory_writable;
};
Environment process_environment();

struct ConditionsPlace {
    std::string path;
    bool per_user = false;  // in the user's directory, not beside the program
};

// The choice itself. The user's directories are made when the user's file is
// chosen; when they cannot be made (or there is no home at all) the file stays
// beside the program, where saving then fails quietly as it always did.
ConditionsPlace choose_conditions_place(std::string_view program_path, const Environment& u);

// The choice for this process, made once (by the binding of the file at
// start); conditions_per_user tells how it came out.
std::string choose_conditions_file(std::string_view program_path);
bool conditions_per_user();

}  // namespace zqspiel
