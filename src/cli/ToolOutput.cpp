#include "cli/ToolOutput.h"

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
