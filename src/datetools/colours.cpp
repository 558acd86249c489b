// The colour chooser: a key table on the left, and on the right an
// explanation drawn in the chosen colours, so that every key shows its effect.
#include "datetools/colours.h"

#include <string>
#include <string_view>

#include "console/console.h"
#include "console/keys.h"
#include "datetools/zuf.h"

namespace zuf {

namespace {

constexpr int COLOUR_OF_LETTER[16] = {0, 8, 1, 9, 2, 10, 3, 11, 4, 12, 5, 13, 6, 14, 7, 15};
constexpr int BW_COLOUR_OF_LETTER[3] = {0, 7, 15};

// Lines of the explanation, 38 columns each; '~' switches the emphasis on and off.
constexpr std::string_view PANEL_EN[19] = {
    "Please set the combination of colours ",
    "for the background, for standardtext  ",
    "and for ~emphasized text~, so that you  ",
    "can easily read.                      ",
    "",
    "To choose another background, please  ",
    "press the corresponding number.       ",
    "To choose another colour for the text,",
    "please press the corresponding letter:",
    "small letters for standardtext and    ",
    "~capital letters for emphasized text~.  ",
    "The screen will immediately change.   ",
    "",
    "The text is written on the valid back-",
    "ground with standardtextcolour and    ",
    "~this text with emphasized textcolour~. ",
    "",
    "When you are ready, please press the  ",
    "'CR'/'ENTER' - key.                   ",
};
constexpr std::string_view PANEL_DE[19] = {
    "Bitte stellen Sie eine Farbkombination",
    "aus Hintergrundfarbe,Standardtextfarbe",
    "und ~hervorgehobener Textfarbe~ ein, die",
    "Sie gut lesen koennen.",
    "",
    "Zur Auswahl eines anderen Hintergrunds",
    "geben Sie bitte die entsprechende Zif-",
    "fer ein,fuer eine neue Textfarbe bitte",
    "den entsprechenden Buchstaben: Klein- ",
    "buchstaben fuer Standardtext, ~Gross-  ~",
    "~buchstaben fuer hervorgehobenen Text~. ",
    "Die Aenderungen sind sofort gueltig.",
    "",
    "Dieser Text ist in Standardtextfarbe, ",
    "~dieser in hervorgehobener Textfarbe~,  ",
    "auf gueltigem Hintergrund geschrieben.",
    "",
    "Sind Sie fertig, so druecken Sie bitte",
    "\"CR\"/\"ENTER\"",
};

constexpr int PANEL_COL = 41;
constexpr int PANEL_WIDTH = 38;

void draw_table(bool in_german, bool colour_screen) {
    const int top = colour_screen ? 3 : 9;
    const int rows = colour_screen ? 16 : 3;
    console::text_attr(7);
    console::write_at(1, top, std::string(40, '_'));
    console::write_at(1, top + 1, in_german ? "|Ziffer fuer| gewuenschte  | Buchstabe |"
                                          : "|numeral for|    choosen   |  letter   |");
    console::write_at(1, top + 2, in_german ? "|Hintergrund|    Farbe     | fuer Text |"
                                          : "|background |    colour    | for text  |");
    const std::string rule = "|___________|______________|___________|";
    console::write_at(1, top + 3, rule);
    for (int i = 0; i < rows; ++i) {
        const int row = top + 4 + i;
        std::string digit_cell(11, ' ');
        if (i % 2 == 0) digit_cell[8] = static_cast<char>('1' + i / 2);
        console::text_attr(7);
        console::write_at(1, row, "|" + digit_cell + "|");
        const int colour = colour_screen ? COLOUR_OF_LETTER[i] : BW_COLOUR_OF_LETTER[i];
        console::text_attr(static_cast<std::uint8_t>(colour));
        console::write(colour == 0 ? std::string(14, ' ') : std::string(14, '*'));
        console::text_attr(7);
        std::string letter_cell = "  a/A      ";
        letter_cell[2] = static_cast<char>('a' + i);
        letter_cell[4] = static_cast<char>('A' + i);
        console::write("|" + letter_cell + "|");
    }
    console::write_at(1, top + 4 + rows, rule);
}

}  // namespace

int letter_colour(bool colour_screen, char key) {
    const char lower = key >= 'A' && key <= 'Z' ? static_cast<char>(key - 'A' + 'a') : key;
    if (colour_screen) return lower >= 'a' && lower <= 'p' ? COLOUR_OF_LETTER[lower - 'a'] : -1;
    return lower >= 'a' && lower <= 'c' ? BW_COLOUR_OF_LETTER[lower - 'a'] : -1;
}

void ZEIGE_FARBTEXT(bool in_german, int part, std::uint8_t normal, std::uint8_t highlight) {
    const std::string_view* lines = in_german ? PANEL_DE : PANEL_EN;
    const int col = console::where_x(), row = console::where_y();
    if (part != PART_EMPHASIS) {  // the frame is drawn in the normal attribute
        console::text_attr(normal);
        console::write_at(PANEL_COL, 3, std::string(PANEL_WIDTH + 2, '_'));
        for (int r = 4; r <= 22; ++r) {
            console::write_at(PANEL_COL, r, "|");
            console::write_at(PANEL_COL + PANEL_WIDTH + 1, r, "|");
        }
        console::write_at(PANEL_COL, 23, "|" + std::string(PANEL_WIDTH, '_') + "|");
    }
    for (int i = 0; i < 19; ++i) {
        const int r = 4 + i;
        int c = PANEL_COL + 1;
        bool emphasised = false;
        std::string_view text = lines[i];
        std::size_t start = 0;
        auto flush_piece = [&](std::string_view piece) {
            const bool draw = part == PART_BACKGROUND || (part == PART_STANDARD && !emphasised) ||
                              (part == PART_EMPHASIS && emphasised);
            if (draw && !piece.empty()) {
                console::text_attr(emphasised ? highlight : normal);
                console::write_at(c, r, piece);
            }
            c += static_cast<int>(piece.size());
        };
        for (std::size_t k = 0; k <= text.size(); ++k) {
            if (k == text.size() || text[k] == '~') {
                flush_piece(text.substr(start, k - start));
                if (k < text.size()) emphasised = !emphasised;
                start = k + 1;
            }
        }
        emphasised = false;
        const int pad = PANEL_COL + 1 + PANEL_WIDTH - c;
        if (pad > 0) flush_piece(std::string(static_cast<std::size_t>(pad), ' '));
    }
    console::text_attr(normal);
    console::goto_xy(col, row);
}

char LIES_FARBTASTE(bool colour_screen, std::uint8_t normal, std::uint8_t highlight, int& part) {
    const int background = (normal >> 4) & 7;
    const int standard = normal & 15, emphasis = highlight & 15;
    for (;;) {
        const unsigned char k = console::read_key();
        if (k == console::key::EXTENDED) {
            console::read_key();  // extended keys are not offered
            continue;
        }
        if (k == console::key::ENTER || console::key::breaks_off(k)) {
            part = 0;
            return '0';
        }
        const char key = static_cast<char>(k);
        if (key >= '1' && key <= (colour_screen ? '8' : '2')) {
            const int bg = colour_screen ? key - '1' : (key == '1' ? 0 : 7);
            if (bg == background) continue;
            if (colour_screen && (bg == standard || bg == emphasis)) continue;
            part = PART_BACKGROUND;
            return key;
        }
        const int colour = letter_colour(colour_screen, key);
        if (colour < 0) continue;
        const bool capital = key >= 'A' && key <= 'Z';
        if (colour == background || colour == (capital ? emphasis : standard)) continue;
        part = capital ? PART_EMPHASIS : PART_STANDARD;
        return key;
    }
}

void TEXTFARBE(bool in_german, bool colour_screen, std::uint8_t& normal, std::uint8_t& highlight) {
    console::text_attr(7);
    console::clr_scr();
    draw_table(in_german, colour_screen);
    console::text_attr(normal);
    console::goto_xy(1, 25);
    ZEIGE_FARBTEXT(in_german, PART_BACKGROUND, normal, highlight);
    for (;;) {
        int part = 0;
        const char key = LIES_FARBTASTE(colour_screen, normal, highlight, part);
        if (key == '0') break;
        if (part == PART_BACKGROUND) {
            const int bg = colour_screen ? key - '1' : (key == '1' ? 0 : 7);
            int n = (bg << 4) | (normal & 15);
            int h = (bg << 4) | (highlight & 15);
            if (!colour_screen) {
                // Keep the black-and-white pair readable.
                if (n == 0 && h == 0) {
                    n = h = 7;
                } else if (n == 0) {
                    n = h == 7 ? 15 : 7;
                } else if (h == 0) {
                    h = n == 7 ? 15 : 7;
                }
                if (n == 0x77 && h == 0x77) {
                    n = h = 0x70;
                } else if (n == 0x77) {
                    n = h == 0x70 ? 0x7F : 0x70;
                } else if (h == 0x77) {
                    h = n == 0x70 ? 0x7F : 0x70;
                }
            }
            normal = static_cast<std::uint8_t>(n);
            highlight = static_cast<std::uint8_t>(h);
        } else if (part == PART_STANDARD) {
            normal = static_cast<std::uint8_t>((normal & 0x70) | letter_colour(colour_screen, key));
        } else {
            highlight = static_cast<std::uint8_t>((highlight & 0x70) | letter_colour(colour_screen, key));
        }
        console::text_attr(normal);
        ZEIGE_FARBTEXT(in_german, part, normal, highlight);
    }
    console::text_attr(normal);
}

}  // namespace zuf
