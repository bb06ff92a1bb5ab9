// Windows-1252, the one single-byte character set of everything on the wire
// and on screen: names, chat lines, board lines and the game font. The
// dialogs' text boxes speak Unicode (UTF-8 here); these convert between.
#pragma once

#include <string>
#include <string_view>

// Each character of a UTF-8 text as its Windows-1252 byte; a character with
// no single-byte form (or a broken sequence) becomes '?'.
std::string Cp1252FromUtf8(std::string_view utf8);

// Each byte as UTF-8; the five unassigned codes of 0x80..0x9F become '?'.
std::string Utf8FromCp1252(std::string_view bytes);

// The character a byte stands for; 0 for the five unassigned codes.
char32_t UnicodeFromCp1252(unsigned char byte);
