// Shared drawing and paging of the instruction pages. A page is a list of
// lines written from the top of a cleared screen; '~' in a line switches
// between the normal and the emphasis attribute.
#pragma once

#include <cstdint>
#include <span>
#include <string_view>

namespace help {

using Page = std::span<const std::string_view>;

// Clears the screen in the normal attribute and writes the page, one line a row.
void draw_page(Page page, std::uint8_t normal, std::uint8_t highlight);

// One page; returns on any ordinary key but Backspace, or on PgDn and its kin.
void show_single_page(Page page, std::uint8_t normal, std::uint8_t highlight);

// Several pages: forward on an ordinary key or PgDn, back on Backspace or PgUp,
// out on Esc or Ctrl-C; on the last page every forward key leaves.
void show_pages(std::span<const Page> pages, std::uint8_t normal, std::uint8_t highlight);

}  // namespace help
