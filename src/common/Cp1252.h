#pragma once

#include <string>
#include <string_view>

namespace modKestralMGA {

// Converts Windows-1252 bytes (the program's single-byte character set) to UTF-8 for display.
// The five bytes that Windows-1252 leaves undefined (0x81, 0x8D, 0x8F, 0x90, 0x9D) become the
// control characters of the same number, so that the conversion back gives them unchanged.
std::string Cp1252ToUtf8(std::string_view bytes);

// Converts UTF-8 text typed by the user to Windows-1252 bytes. A character that Windows-1252
// cannot hold becomes "?"; bytes that are not valid UTF-8 are kept as they are.
std::string Utf8ToCp1252(std::string_view text);

}  // namespace modKestralMGA
