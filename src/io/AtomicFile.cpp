#include "io/AtomicFile.h"

#include <exception>
#include <fstream>
#include <random>
#include <system_error>
#include <utility>

namespace {

constexpr int NAME_ATTEMPTS = 16;

std::string Quoted(const std::filesystem::path& path) {
    return "\"" + path.string() + "\"";
}

// A name in `folder` that no file has yet; empty when none was found. The 64-bit random part
// makes a clash with a file created after the check negligible.
std::filesystem::path UnusedTemporaryName(const std::filesystem::path& folder,
                                          const std::filesystem::path& fileName) {
    std::random_device device;
    std::mt19937_64 generator((std::uint64_t{device()} << 32) ^ device());
    for (int attempt = 0; attempt < NAME_ATTEMPTS; ++attempt) {
        auto candidate =
            folder / ("." + fileName.string() + "." + std::to_string(generator()) + ".tmp");
        std::error_code ec;
        const auto status = std::filesystem::symlink_status(candidate, ec);
        if (status.type() == std::filesystem::file_type::not_found) {
            return candidate;
        }
    }
    return {};
}

// Removes the temporary file when it goes out of scope, unless it has been renamed into place.
struct TemporaryFile {
    std::filesystem::path path;
    bool renamed = false;

    ~TemporaryFile() {
        if (!renamed) {
            std::error_code ignored;
            std::filesystem::remove(path, ignored);
        }
    }
};

FileWriteResult Failure(const std::filesystem::path& destination, const std::string& step) {
    return {false, "cannot write " + Quoted(destination) + ": " + step};
}

FileWriteResult WriteThroughTemporary(const std::filesystem::path& destination,
                                      std::span<const std::uint8_t> bytes) {
    if (destination.filename().empty()) {
        return Failure(destination, "no file name");
    }
    const std::filesystem::path folder =
        destination.has_parent_path() ? destination.parent_path() : std::filesystem::path(".");
    TemporaryFile temporary{UnusedTemporaryName(folder, destination.filename())};
    if (temporary.path.empty()) {
        return Failure(destination, "no free temporary file name in " + Quoted(folder));
    }

    {
        std::ofstream out(temporary.path, std::ios::binary | std::ios::trunc);
        if (!out) {
            return Failure(destination,
                           "cannot create the temporary file " + Quoted(temporary.path));
        }
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        out.flush();
        if (!out) {
            return Failure(destination, "writing the temporary file failed");
        }
        out.close();
        if (out.fail()) {
            return Failure(destination, "closing the temporary file failed");
        }
    }

    std::error_code ec;
    const auto existing = std::filesystem::status(destination, ec);
    if (!ec && std::filesystem::is_regular_file(existing)) {
        // Best effort: the data matter more than the mode bits.
        std::filesystem::permissions(temporary.path, existing.permissions(), ec);
    }
    ec.clear();
    std::filesystem::rename(temporary.path, destination, ec);
    if (ec) {
        return Failure(destination, ec.message());
    }
    temporary.renamed = true;
    return {true, {}};
}

}  // namespace

FileWriteResult WriteFileAtomically(const std::filesystem::path& destination,
                                    std::span<const std::uint8_t> bytes) {
    try {
        return WriteThroughTemporary(destination, bytes);
    } catch (const std::exception& e) {
        return Failure(destination, e.what());
    }
}

FileWriteResult OverwriteFileInPlace(const std::filesystem::path& destination,
                                     std::span<const std::uint8_t> bytes) {
    std::error_code ec;
    const auto status = std::filesystem::status(destination, ec);
    if (ec || !std::filesystem::is_regular_file(status) ||
        std::filesystem::file_size(destination, ec) != bytes.size() || ec) {
        return Failure(destination, "no file of the same length to overwrite");
    }
    std::fstream out(destination, std::ios::binary | std::ios::in | std::ios::out);
    if (!out) {
        return Failure(destination, "cannot open it for writing");
    }
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    out.flush();
    out.close();
    if (out.fail()) {
        return Failure(destination, "writing over it failed");
    }
    return {true, {}};
}
