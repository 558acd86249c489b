// Drawing and paging of the instruction pages.
#include "help/instruction_pages.h"

#include "console/console.h"
#include "console/keys.h"

namespace help {

namespace key = console::key;

namespace {
// 184 and 176 page as well, though no key sends them here.
bool is_page_down(unsigned char scan) { return key::is_pgdn(scan) || scan == 184; }
bool is_page_up(unsigned char scan) { return key::is_pgup(scan) || scan == 176; }

enum class Step { next, previous, leave };
}  // namespace

void draw_page(Page page, std::uint8_t normal, std::uint8_t highlight) {
    console::text_attr(normal);
    console::clr_scr();
    int row = 1;
    for (std::string_view line : page) {
        if (row > console::ROWS) break;
        console::goto_xy(1, row);
        bool emphasised = false;
        std::size_t start = 0;
        for (std::size_t k = 0; k <= line.size(); ++k) {
            if (k == line.size() || line[k] == '~') {
                console::text_attr(emphasised ? highlight : normal);
                console::write(line.substr(start, k - start));
                emphasised = !emphasised;
                start = k + 1;
            }
        }
        ++row;
    }
    console::text_attr(normal);
    console::goto_xy(1, console::ROWS);
}

void show_single_page(Page page, std::uint8_t normal, std::uint8_t highlight) {
    draw_page(page, normal, highlight);
    for (;;) {
        const unsigned char k = console::read_key();
        if (k == key::EXTENDED) {
            if (is_page_down(console::read_key())) break;
        } else if (k != key::BACKSPACE) {
            break;
        }
    }
    console::text_attr(normal);
}

void show_pages(std::span<const Page> pages, std::uint8_t normal, std::uint8_t highlight) {
    const std::size_t count = pages.size();
    std::size_t current = 0;
    while (current < count) {
        draw_page(pages[current], normal, highlight);
        const bool first = current == 0, last = current + 1 == count;
        Step step;
        for (;;) {
            const unsigned char k = console::read_key();
            if (k == key::EXTENDED) {
                const unsigned char scan = console::read_key();
                if (is_page_down(scan)) {
                    step = last ? Step::leave : Step::next;
                    break;
                }
                if (is_page_up(scan) && !first) {
                    step = Step::previous;
                    break;
                }
                continue;
            }
            if (k == key::BACKSPACE) {
                if (first) continue;
                step = Step::previous;
                break;
            }
            if (key::breaks_off(k) || last) {
                step = Step::leave;
                break;
            }
            step = Step::next;
            break;
        }
        if (step == Step::leave) break;
        if (step == Step::previous)
            --current;
        else
            ++current;
    }
    console::text_attr(normal);
}

}  // namespace help
