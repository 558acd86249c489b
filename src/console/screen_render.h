// Renders the shadow screen onto an ANSI/xterm terminal: every flush sends only
// the cells that differ from what the terminal shows, then the cursor position.
// Every cell goes out with both of its colours, so the terminal's own default
// colours never show through.
#pragma once

#include <cstdint>
#include <string>

#include "console/console.h"

namespace console {

// The SGR sequence for a text attribute: foreground in the low nibble, the
// background in bits 4..6, both in the CGA colour order (black, blue, green,
// cyan, red, magenta, brown, light grey, then the bright ones). Bit 7 (blink
// on a PC) is ignored.
void append_sgr(std::uint8_t attr, std::string& out);

// What the terminal shows a cell as: printable ASCII as it is, anything else
// (the game writes 7-bit text only) as a neutral substitute.
char shown_char(char c);

class ScreenRenderer {
public:
    // Appends to `out` what makes the terminal show `want`.
    void render(const Screen& want, std::string& out);

    // The terminal's contents are unknown (start, resize, resume): the next
    // render paints every cell.
    void invalidate() { valid_ = false; }
    bool valid() const { return valid_; }

private:
    void move_to(int col, int row, std::string& out);

    Cell shown_[ROWS][COLS];
    bool valid_ = false;
    int cur_x_ = 0, cur_y_ = 0;  // where the terminal's cursor is; 0 = unknown
    int cur_attr_ = -1;          // the terminal's current attribute; -1 = unknown
};

}  // namespace console
