// Feeds arbitrary bytes to the description file splitter and assignment, its text decoding, the
// image table decoder and the hexadecimal parser, checking what every caller relies on.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>

#include "catalogue/DescriptionFile.h"
#include "catalogue/ImageTable.h"
#include "catalogue/ParseHex.h"

namespace {

void Check(bool condition) {
    if (!condition) {
        __builtin_trap();
    }
}

// Byte text with every CR LF read as LF: what the lines must add up to when there is no NUL.
std::string WithoutCrLf(std::string_view bytes) {
    std::string text;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (!(bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')) {
            text.push_back(bytes[i]);
        }
    }
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);

    const std::vector<std::string> lines = SplitDescriptionLines(bytes);
    std::string joined;
    for (const std::string& line : lines) {
        Check(line.size() <= DESCRIPTION_LINE_LIMIT);
        Check(line.find('\0') == std::string::npos);
        joined += line;
    }
    if (bytes.find('\0') == std::string_view::npos) {
        Check(joined == WithoutCrLf(bytes));
    }

    // Whatever the bytes, the text shown is valid UTF-8, and UTF-8 text is never cut inside a
    // character.
    Check(IsValidUtf8(Windows1252ToUtf8(bytes)));
    if (IsValidUtf8(bytes) && bytes.find('\0') == std::string_view::npos) {
        std::string joinedUtf8;
        for (const std::string& line : SplitDescriptionLines(bytes, true)) {
            Check(IsValidUtf8(line));
            joinedUtf8 += line;
        }
        Check(joinedUtf8 == WithoutCrLf(bytes));
    }

    // The record is large; one is reused and its few entries restored on each run.
    static const auto record = std::make_unique<SizeClassRecord>();
    const std::uint32_t offsets[] = {0x1A2B0, 0xFF00, 0, 0x1A2B0};
    record->entryCount = 0;
    for (std::uint32_t offset : offsets) {
        record->romOffset[record->entryCount] = offset;
        record->description[record->entryCount++] = NO_DESCRIPTION;
    }
    record->romOffset[4] = 0x5;  // not loaded, must never be described
    record->description[4] = NO_DESCRIPTION;
    AssignDescriptions(*record, lines);
    for (std::uint32_t k = 0; k <= record->entryCount; ++k) {
        const std::string& description = record->description[k];
        if (description != NO_DESCRIPTION) {
            Check(k < record->entryCount && k != 3);  // entry 3 repeats entry 0's offset
            Check(DescriptionKey(description) == record->romOffset[k]);
            Check(std::find(lines.begin(), lines.end(), description) != lines.end());
        }
    }

    const ImageTable table = ParseImageTable(std::span(data, size));
    Check(table.values.size() == std::min(size / 4, IMAGE_TABLE_LENGTH));

    std::string upper(bytes);
    std::transform(upper.begin(), upper.end(), upper.begin(),
                   [](char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 32) : c; });
    Check(ParseHex(bytes) == ParseHex(upper));  // letter case never matters
    Check(DescriptionKey(bytes) == ParseHex(bytes.substr(0, 6)));
    return 0;
}
