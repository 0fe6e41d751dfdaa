#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "catalogue/SizeClassTable.h"

// Description file format: plain text, one texture per line. A line starts with the texture's
// ROM offset as six hexadecimal digits (the same digits that start its bitmap's name), followed
// by the description. Lines are read in pieces of at most DESCRIPTION_LINE_LIMIT characters, the
// line break included, so a longer line counts as several lines. CR LF reads as LF. A NUL byte
// ends the text of the piece it falls in.
inline constexpr std::size_t DESCRIPTION_LINE_LIMIT = 99;

// Splits the bytes of a description file into its lines as described above. Every line but
// possibly the last keeps its line feed. In `utf8` text a character's continuation bytes do not
// count towards the 99, so no character is cut in two.
std::vector<std::string> SplitDescriptionLines(std::string_view fileBytes, bool utf8 = false);

// Whether `bytes` are well-formed UTF-8: shortest forms only, no surrogates, nothing above
// U+10FFFF.
bool IsValidUtf8(std::string_view bytes);
// Windows-1252 text as UTF-8; the five bytes the code page leaves undefined become U+FFFD.
std::string Windows1252ToUtf8(std::string_view bytes);

// Reads and splits a description file; nullopt when it cannot be opened. Description files come
// from many editors: a file that is valid UTF-8 is read as UTF-8 (a leading byte order mark
// dropped), any other as Windows-1252. The lines are returned in UTF-8.
std::optional<std::vector<std::string>> ReadDescriptionFile(const std::filesystem::path& path);

// The key of a description line: its first six characters read as hexadecimal.
std::uint32_t DescriptionKey(std::string_view line);

// Gives each line, whole, to the first loaded entry of `record` (in index order) whose romOffset
// equals the line's key. Lines whose key matches no entry are ignored.
void AssignDescriptions(SizeClassRecord& record, const std::vector<std::string>& lines);
