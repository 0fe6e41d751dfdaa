#pragma once

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

// A fresh folder, removed with everything in it when the object goes out of scope. It lies in
// memory where the system offers a memory file system, so that forcing files to the disk costs
// nothing; otherwise under the system's temporary folder.
class TempFolder {
public:
    TempFolder() {
        std::error_code error;
        const std::filesystem::path base = std::filesystem::is_directory("/dev/shm", error)
                                               ? std::filesystem::path("/dev/shm")
                                               : std::filesystem::temp_directory_path();
        std::string pattern = (base / "mgrom-test-XXXXXX").string();
        m_path =
            mkdtemp(pattern.data()) ? pattern : throw std::runtime_error("no temporary folder");
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(m_path, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& Path() const { return m_path; }
    std::filesystem::path operator/(const std::string& name) const { return m_path / name; }

    // Writes bytes to a file below the folder (creating sub-folders) and returns its path.
    std::filesystem::path Write(const std::string& name,
                                const std::vector<std::uint8_t>& bytes) const {
        auto path = m_path / name;
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary | std::ios::trunc)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        return path;
    }
    std::filesystem::path WriteText(const std::string& name, const std::string& text) const {
        return Write(name, std::vector<std::uint8_t>(text.begin(), text.end()));
    }

private:
    std::filesystem::path m_path;
};

inline std::vector<std::uint8_t> ReadAllBytes(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in), {});
}
