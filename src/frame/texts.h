// Texts the language screen and the farewell share.
#pragma once

#include "version.h"

namespace frame {

// The pieces of the version line: platform, word size, release date.
inline constexpr const char* VERSION_PLATFORM = "macOS - ";
inline constexpr const char* VERSION_BITS = "64";
inline constexpr const char* VERSION_DATE = ZQ_VERSION_DATE;

// The line naming the development tools.
inline constexpr const char* TOOL_LINE =
    " Written in C++20 with its standard library and POSIX; built with CMake.";

// About the program: a few lines in place of an address block.
inline constexpr const char* ABOUT_THE_PROGRAM[] = {
    " Zentrovalquist is free software: you may use, copy and change it.",
    " How to build, play and test it is told in the file README.md beside it.",
};

}  // namespace frame
