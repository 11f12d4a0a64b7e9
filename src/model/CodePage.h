#pragma once
// The code page of the files (Windows-1252) towards the encodings other
// programs expect: UTF-8 for the CSV export, plain ASCII for the formats
// whose readers take nothing else (AGS4, GEF).

#include <string>
#include <string_view>

namespace qm {

// The character a byte of the code page stands for. The five unassigned
// bytes (0x81, 0x8D, 0x8F, 0x90, 0x9D) stand for the control characters of
// the same number, as the system takes them.
char32_t cp1252ToUnicode(unsigned char byte);

std::string cp1252ToUtf8(std::string_view bytes);

// Every character outside ASCII written with ASCII letters of the same look
// or meaning: "é" as "e", "ß" as "ss", "²" as "2", "°" as "deg", "€" as
// "EUR"; what has no such spelling becomes "?". Control characters become a
// blank, so a text never breaks a line of the file.
std::string cp1252ToAscii(std::string_view bytes);

}  // namespace qm
