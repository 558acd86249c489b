#include "console/terminal.h"
#include "frame/frame.h"

int main(int argc, char** argv) {
    console::Terminal terminal;
    if (!terminal.start(argc > 0 ? argv[0] : "zentrovalquist")) return 2;
    console::use(&terminal);
    frame::ZENTROVALQUIST();
    console::use(nullptr);
    return 0;
}
