#include "catalogue/DescriptionFile.h"

#include "catalogue/ParseHex.h"
#include "io/FileBytes.h"

std::vector<std::string> SplitDescriptionLines(std::string_view fileBytes) {
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
        ++pieceLength;
        if (c == '\n' || pieceLength == DESCRIPTION_LINE_LIMIT) {
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
    return SplitDescriptionLines(
        std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()));
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
