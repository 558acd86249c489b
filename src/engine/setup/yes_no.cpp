// The yes/no field reader.
#include "engine/setup/yes_no.h"

#include "console/console.h"
#include "console/keys.h"
#include "engine/clock/clock.h"
#include "engine/zqspiel.h"

namespace zqspiel {

void JA_NEIN(unsigned char& key, bool& value, bool& changed) {
    changed = false;
    for (;;) {
        key = wait_for_key();  // the clock keeps running while the field waits
        if (key == console::key::EXTENDED) console::read_key();  // the scan code of an extended key
        if (key == 'y' || key == 'Y' || key == 'J' || key == 'z' || key == 'Z') key = 'j';
        if (key == 'N') key = 'n';
        if (key == console::key::BACKSPACE || key == console::key::ENTER || key == 'j' || key == 'n' ||
            console::key::breaks_off(key))
            break;
    }
    if (key == 'n' && value) {
        value = false;
        changed = true;
        console::write_at(WXX, WYY, SP_D ? "Nein." : "No. ");
    } else if (key == 'j' && !value) {
        value = true;
        changed = true;
        console::write_at(WXX, WYY, SP_D ? "Ja.  " : "Yes.");
    }
}

}  // namespace zqspiel
