#include "cli/ToolOutput.h"

#include <cctype>
#include <cstdio>

#include "cli/RomCommands.h"
#include "io/AtomicFile.h"

int ReportUsage(const std::string& problem, const char* usage) {
    std::fprintf(stderr, "mgromtool: %s\nUsage: mgromtool %s\n", problem.c_str(), usage);
    return ROM_COMMAND_USAGE;
}

int Refuse(const std::string& text) {
    std::fprintf(stderr, "mgromtool: %s\n", text.c_str());
    return ROM_COMMAND_REFUSED;
}

int Refuse(const std::string& name, const std::string& text) {
    return Refuse(name + ": " + text);
}

int WriteOutput(const std::filesystem::path& path, std::span<const std::uint8_t> bytes) {
    const FileWriteResult written = WriteFileAtomically(path, bytes);
    return written.ok ? ROM_COMMAND_OK : Refuse(written.error);
}

std::optional<std::uint32_t> ParseOffset(std::string_view text) {
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        text.remove_prefix(2);
    }
    if (text.empty() || text.size() > 8) {
        return std::nullopt;
    }
    std::uint32_t value = 0;
    for (const char c : text) {
        if (!std::isxdigit(static_cast<unsigned char>(c))) {
            return std::nullopt;
        }
        const int digit = std::isdigit(static_cast<unsigned char>(c))
                              ? c - '0'
                              : std::tolower(static_cast<unsigned char>(c)) - 'a' + 10;
        value = value << 4 | static_cast<std::uint32_t>(digit);
    }
    return value;
}
