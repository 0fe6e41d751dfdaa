#pragma once

#include <cstdio>
#include <string>

// printf-style formatting into a string of whatever length the text needs.
template <typename... Values>
std::string FormatText(const char* format, Values... values) {
    const int length = std::snprintf(nullptr, 0, format, values...);
    if (length <= 0) {
        return {};
    }
    std::string text(static_cast<std::size_t>(length) + 1, '\0');
    std::snprintf(text.data(), text.size(), format, values...);
    text.pop_back();
    return text;
}
