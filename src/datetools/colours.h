// The colour chooser's two routines, also used by its tests.
#pragma once

#include <cstdint>

namespace zuf {

// Parts of the chooser's explanation panel that a key changed.
enum ColourPart : int { PART_BACKGROUND = 1, PART_STANDARD = 2, PART_EMPHASIS = 3 };

// Reads keys until one is accepted for the given attributes and returns it: a
// digit '1'..'8' (background), a small letter (standard text colour) or a
// capital (emphasised colour), with the part it changes; '0' for the end keys.
char LIES_FARBTASTE(bool colour_screen, std::uint8_t normal, std::uint8_t highlight, int& part);
// Draws the explanation panel: all of it for the background, the text in the
// normal attribute only for the standard colour, the emphasised words only for
// the emphasised colour (the frame belongs to the normal attribute).
void ZEIGE_FARBTEXT(bool in_german, int part, std::uint8_t normal, std::uint8_t highlight);
// Text colour of a letter key ('a'..'p' on a colour screen, 'a'..'c' on a
// black-and-white one; either case); -1 for other keys.
int letter_colour(bool colour_screen, char key);

}  // namespace zuf
