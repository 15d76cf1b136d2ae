#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace exporter {

/// Writes `bytes` as the whole file `path`; false when any of it could not be written.
bool writeFile(const std::filesystem::path& path, std::string_view bytes);
bool writeFile(const std::filesystem::path& path, const std::vector<std::uint8_t>& bytes);

/// A private directory beside the export's destination that the files are written into
/// first, so that a failed export leaves no half-written file in place of an earlier one.
/// Whatever is still in it goes with it.
class StagingDirectory
{
public:
    explicit StagingDirectory(const std::filesystem::path& destination);
    ~StagingDirectory();
    StagingDirectory(const StagingDirectory&) = delete;
    StagingDirectory& operator=(const StagingDirectory&) = delete;

    /// False when the directory could not be made (the destination folder is missing or
    /// cannot be written).
    bool valid() const { return !m_path.empty(); }
    const std::filesystem::path& path() const { return m_path; }
    /// Moves the named files into the destination, replacing files of the same names.
    bool moveInto(const std::filesystem::path& destination,
                  const std::vector<std::string>& names) const;

private:
    std::filesystem::path m_path;
};

/// `name` with only letters, digits, '-' and '_' (anything else becomes '_'), so it serves as
/// a file name and, unescaped, as a URI inside a glTF file.
std::string safeFileStem(std::string_view name);

} // namespace exporter
