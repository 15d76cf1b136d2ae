#include "exporter/OutputFiles.h"

#include <cctype>
#include <cstdlib>
#include <fstream>

namespace exporter {

namespace fs = std::filesystem;

bool writeFile(const fs::path& path, std::string_view bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    out.close();
    return static_cast<bool>(out);
}

bool writeFile(const fs::path& path, const std::vector<std::uint8_t>& bytes)
{
    return writeFile(path,
                     std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
}

StagingDirectory::StagingDirectory(const fs::path& destination)
{
    std::string pattern = (destination / ".korvex-export-XXXXXX").string();
    if (::mkdtemp(pattern.data()))
        m_path = pattern;
}

StagingDirectory::~StagingDirectory()
{
    std::error_code ignored;
    if (valid())
        fs::remove_all(m_path, ignored);
}

bool StagingDirectory::moveInto(const fs::path& destination,
                                const std::vector<std::string>& names) const
{
    for (const std::string& name : names) {
        std::error_code error;
        fs::rename(m_path / name, destination / name, error);
        if (error)
            return false;
    }
    return true;
}

std::string safeFileStem(std::string_view name)
{
    std::string stem;
    for (const char c : name) {
        const auto u = static_cast<unsigned char>(c);
        stem.push_back(std::isalnum(u) || c == '-' || c == '_' ? c : '_');
    }
    return stem.empty() ? std::string("_") : stem;
}

} // namespace exporter
