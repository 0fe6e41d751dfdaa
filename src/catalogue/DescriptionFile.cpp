#include "catalogue/DescriptionFile.h"

#include "catalogue/ParseHex.h"
#include "io/FileBytes.h"

namespace {

// Windows-1252 from 0x80 to 0x9F; 0 where the code page defines no character.
constexpr char16_t WINDOWS_1252_HIGH[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};
constexpr char16_t REPLACEMENT_CHARACTER = 0xFFFD;
constexpr std::string_view UTF8_BYTE_ORDER_MARK = "\xEF\xBB\xBF";

bool IsContinuation(unsigned char byte) {
    return (byte & 0xC0) == 0x80;
}

void AppendUtf8(std::string& text, char16_t code) {
    if (code < 0x80) {
        text.push_back(static_cast<char>(code));
    } else if (code < 0x800) {
        text.push_back(static_cast<char>(0xC0 | (code >> 6)));
        text.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    } else {
        text.push_back(static_cast<char>(0xE0 | (code >> 12)));
        text.push_back(static_cast<char>(0x80 | ((code >> 6) & 0x3F)));
        text.push_back(static_cast<char>(0x80 | (code & 0x3F)));
    }
}

}  // namespace

bool IsValidUtf8(std::string_view bytes) {
    for (std::size_t i = 0; i < bytes.size();) {
        const auto lead = static_cast<unsigned char>(bytes[i]);
        // Sequence length and the range the second byte must lie in, which rules out overlong
        // forms, surrogates and code points above U+10FFFF.
        std::size_t length = 1;
        unsigned char low = 0x80, high = 0xBF;
        if (lead < 0x80) {
            ++i;
            continue;
        } else if (lead >= 0xC2 && lead <= 0xDF) {
            length = 2;
        } else if (lead >= 0xE0 && lead <= 0xEF) {
            length = 3;
            low = lead == 0xE0 ? 0xA0 : 0x80;
            high = lead == 0xED ? 0x9F : 0xBF;
        } else if (lead >= 0xF0 && lead <= 0xF4) {
            length = 4;
            low = lead == 0xF0 ? 0x90 : 0x80;
            high = lead == 0xF4 ? 0x8F : 0xBF;
        } else {
            return false;
        }
        if (bytes.size() - i < length) {
            return false;
        }
        const auto second = static_cast<unsigned char>(bytes[i + 1]);
        if (second < low || second > high) {
            return false;
        }
        for (std::size_t k = 2; k < length; ++k) {
            if (!IsContinuation(static_cast<unsigned char>(bytes[i + k]))) {
                return false;
            }
        }
        i += length;
    }
    return true;
}

std::string Windows1252ToUtf8(std::string_view bytes) {
    std::string text;
    text.reserve(bytes.size());
    for (const char c : bytes) {
        const auto byte = static_cast<unsigned char>(c);
        char16_t code = byte;
        if (byte >= 0x80 && byte < 0xA0) {
            code = WINDOWS_1252_HIGH[byte - 0x80];
            if (code == 0) {
                code = REPLACEMENT_CHARACTER;
            }
        }
        AppendUtf8(text, code);
    }
    return text;
}

std::vector<std::string> SplitDescriptionLines(std::string_view fileBytes, bool utf8) {
    std::vector<std::string> lines;
    std::string piece;
    std::size_t pieceLength = 0;  // characters taken into the piece, NULs included
    bool cutAtNul = false;
    auto finishPiece = [&] {
        lines.push_back(std::move(piece));
        piece.clear();
        pieceLength = 0;
        cutAtNul = false;
    };
    for (std::size_t i = 0; i < fileBytes.size(); ++i) {
        char c = fileBytes[i];
        if (c == '\r' && i + 1 < fileBytes.size() && fileBytes[i + 1] == '\n') {
            continue;  // CR LF is one line break
        }
        if (c == '\0') {
            cutAtNul = true;
        } else if (!cutAtNul) {
            piece.push_back(c);
        }
        // A character's continuation bytes count with its first byte, and a piece ends only
        // behind a character's last byte.
        const auto isContinuation = [&](std::size_t at) {
            return utf8 && IsContinuation(static_cast<unsigned char>(fileBytes[at]));
        };
        if (!isContinuation(i)) {
            ++pieceLength;
        }
        const bool characterEnds = i + 1 == fileBytes.size() || !isContinuation(i + 1);
        if (c == '\n' || (pieceLength == DESCRIPTION_LINE_LIMIT && characterEnds)) {
            finishPiece();
        }
    }
    if (pieceLength > 0) {
        finishPiece();
    }
    return lines;
}

std::optional<std::vector<std::string>> ReadDescriptionFile(const std::filesystem::path& path) {
    const auto bytes = ReadFileBytes(path);
    if (!bytes) {
        return std::nullopt;
    }
    std::string_view text(reinterpret_cast<const char*>(bytes->data()), bytes->size());
    const bool utf8 = IsValidUtf8(text);
    if (utf8 && text.starts_with(UTF8_BYTE_ORDER_MARK)) {
        text.remove_prefix(UTF8_BYTE_ORDER_MARK.size());
    }
    std::vector<std::string> lines = SplitDescriptionLines(text, utf8);
    if (!utf8) {
        for (std::string& line : lines) {
            line = Windows1252ToUtf8(line);
        }
    }
    return lines;
}

std::uint32_t DescriptionKey(std::string_view line) {
    return ParseHex(line.substr(0, 6));
}

void AssignDescriptions(SizeClassRecord& record, const std::vector<std::string>& lines) {
    for (const std::string& line : lines) {
        const std::uint32_t key = DescriptionKey(line);
        for (std::uint32_t k = 0; k < record.entryCount; ++k) {
            if (record.romOffset[k] == key) {
                record.description[k] = line;
                break;
            }
        }
    }
}
