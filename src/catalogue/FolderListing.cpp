#include "catalogue/FolderListing.h"

#include <algorithm>
#include <system_error>

namespace {

char FoldCase(char c) {
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

bool EqualIgnoringCase(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return FoldCase(x) == FoldCase(y);
           });
}

bool LessIgnoringCaseThenExact(const std::string& a, const std::string& b) {
    const bool less =
        std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                     [](char x, char y) { return FoldCase(x) < FoldCase(y); });
    if (less) {
        return true;
    }
    if (EqualIgnoringCase(a, b)) {
        return a < b;
    }
    return false;
}

// Finds an entry of `folder` named `component` without regard to case; empty when none.
std::string FindEntryIgnoringCase(const std::filesystem::path& folder,
                                  const std::string& component) {
    std::error_code error;
    if (std::filesystem::exists(folder / component, error)) {
        return component;
    }
    std::filesystem::directory_iterator it(folder, error);
    if (error) {
        return {};
    }
    std::string found;
    for (const auto& entry : it) {
        const std::string name = entry.path().filename().string();
        if (EqualIgnoringCase(name, component) && (found.empty() || name < found)) {
            found = name;
        }
    }
    return found;
}

}  // namespace

bool WildcardMatch(std::string_view pattern, std::string_view name) {
    // Iterative matcher with one backtrack point: the most recent '*'.
    std::size_t p = 0;
    std::size_t n = 0;
    std::size_t starPattern = std::string_view::npos;
    std::size_t starName = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            starPattern = p++;
            starName = n;
        } else if (p < pattern.size() &&
                   (pattern[p] == '?' || FoldCase(pattern[p]) == FoldCase(name[n]))) {
            ++p;
            ++n;
        } else if (starPattern != std::string_view::npos) {
            p = starPattern + 1;
            n = ++starName;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') {
        ++p;
    }
    return p == pattern.size();
}

std::filesystem::path ResolvePathIgnoringCase(const std::filesystem::path& base,
                                              std::string_view relative) {
    std::filesystem::path result = base;
    std::size_t start = 0;
    while (start <= relative.size()) {
        std::size_t end = relative.find_first_of("/\\", start);
        if (end == std::string_view::npos) {
            end = relative.size();
        }
        const std::string component(relative.substr(start, end - start));
        if (!component.empty()) {
            const std::string existing = FindEntryIgnoringCase(result, component);
            result /= existing.empty() ? component : existing;
        }
        start = end + 1;
    }
    return result;
}

FolderListing ListMatching(const std::filesystem::path& folder, std::string_view pattern) {
    FolderListing listing;
    std::error_code error;
    std::filesystem::directory_iterator it(folder, error);
    if (error) {
        return listing;
    }
    listing.readable = true;
    for (; it != std::filesystem::directory_iterator(); it.increment(error)) {
        if (error) {
            listing.readable = false;
            break;
        }
        std::error_code typeError;
        if (!it->is_regular_file(typeError)) {
            continue;
        }
        std::string name = it->path().filename().string();
        if (!WildcardMatch(pattern, name)) {
            continue;
        }
        const std::size_t dot = name.rfind('.');
        std::string title = dot == std::string::npos ? name : name.substr(0, dot);
        listing.matches.push_back({it->path(), std::move(name), std::move(title)});
    }
    std::sort(listing.matches.begin(), listing.matches.end(),
              [](const FolderMatch& a, const FolderMatch& b) {
                  return LessIgnoringCaseThenExact(a.name, b.name);
              });
    return listing;
}
