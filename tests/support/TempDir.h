#pragma once

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace testsupport {

/// A fresh directory under the system's temporary directory, removed with everything in it.
class TempDir
{
public:
    TempDir()
    {
        std::string pattern = std::filesystem::temp_directory_path() / "korvex-test-XXXXXX";
        if (mkdtemp(pattern.data()))
            m_path = pattern;
    }
    ~TempDir()
    {
        std::error_code ignored;
        if (!m_path.empty())
            std::filesystem::remove_all(m_path, ignored);
    }
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::filesystem::path& path() const { return m_path; }
    std::filesystem::path operator/(const std::string& name) const { return m_path / name; }

    /// Writes `bytes` to the file `name` in the directory (or at `name` when it is absolute)
    /// and returns its path.
    std::filesystem::path write(const std::filesystem::path& name,
                                const std::vector<std::uint8_t>& bytes)
    {
        const std::filesystem::path path = m_path / name;
        std::ofstream out(path, std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char*>(bytes.data()),
                  static_cast<std::streamsize>(bytes.size()));
        return path;
    }

private:
    std::filesystem::path m_path;
};

/// The whole file as bytes; empty when it cannot be read.
inline std::vector<std::uint8_t> readBytes(const std::filesystem::path& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::vector<std::uint8_t>(std::istreambuf_iterator<char>(in),
                                     std::istreambuf_iterator<char>());
}

} // namespace testsupport
