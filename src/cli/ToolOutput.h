#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <string_view>

// How every command reports a problem on standard error.

// "mgromtool: PROBLEM" and "Usage: mgromtool USAGE"; returns ROM_COMMAND_USAGE.
int ReportUsage(const std::string& problem, const char* usage);

// "mgromtool: TEXT"; returns ROM_COMMAND_REFUSED.
int Refuse(const std::string& text);

// "mgromtool: NAME: TEXT", NAME being the file or argument refused; returns ROM_COMMAND_REFUSED.
int Refuse(const std::string& name, const std::string& text);

// Writes an output file whole (WriteFileAtomically); ROM_COMMAND_OK, or the failure refused.
int WriteOutput(const std::filesystem::path& path, std::span<const std::uint8_t> bytes);

// A ROM offset written in strict hexadecimal: an optional "0x", then one to eight digits and
// nothing else; nullopt otherwise.
std::optional<std::uint32_t> ParseOffset(std::string_view text);
