// The match as the main menu's item 5 starts it: the conditions screen with
// its four-way menu, the dialog, and the matches played from it. Returns when
// the user goes back to the main menu.
#pragma once

namespace zqspiel {

void run_matches();

}  // namespace zqspiel
