// The way out: the terminal given back and the farewell written below.
#include <string>

#include "console/console.h"
#include "engine/setup/conditions_file.h"
#include "engine/setup/conditions_path.h"
#include "frame/frame.h"
#include "frame/texts.h"

namespace frame {

void NOTEXIT() {
    console::set_exit_hook(nullptr);  // the conditions are saved; a late signal has nothing to keep
    console::restore();
    std::string text = console::program_path();
    text += "\n\n";
    text += "Zentrovalquist  ***  ";
    text += VERSION_PLATFORM;
    text += VERSION_BITS;
    text += "-Bit - Version  ";
    text += VERSION_DATE;
    text += ",\n";
    text += "Version ohne Grafik- und Sonderzeichen / version without graphics characters.\n";
    text += "\n";
    for (const char* line : ABOUT_THE_PROGRAM) {
        text += line + 1;  // without the screen's leading blank
        text += '\n';
    }
    // Beside the program the file is where the manual says; elsewhere the
    // user is told where to find (or delete) it.
    if (zqspiel::conditions_per_user()) {
        text += "Die Bedingungen stehen in / the conditions are kept in:\n";
        text += zqspiel::conditions_file();
        text += '\n';
    }
    text += "\n";
    text += "Bye-bye!\n";
    console::write_plain(text);
}

}  // namespace frame
