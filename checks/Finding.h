#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// What a check found in a ship: how bad it is, where it is and what the editor shows for it.
namespace checks {

/// An error is a fault the game may not survive; a warning is a ship the game loads but draws
/// or plays wrong.
enum class Severity
{
    Error,
    Warning,
};

/// What the view marks when the user goes to a finding.
enum class Subject
{
    /// Nothing in particular: the whole ship or the file.
    Ship,
    /// The component as a whole: its record, section, origin or name.
    Component,
    /// Faces of the component's face block (`items`).
    Faces,
    /// Vertices of the component's vertex block (`items`).
    Vertices,
    /// The attachment `record` of the component's type-9 block.
    Attachment,
    /// The box `record` of the component's box block.
    Box,
};

struct Finding
{
    Severity severity = Severity::Error;
    /// The check's stable name, such as "face-vertex-range".
    std::string_view check;
    /// The component's index and name, when the finding belongs to one.
    std::optional<int> component;
    std::string componentName;
    /// The block's index in the file (0 for the first block) and the record's index in it.
    std::optional<std::size_t> block;
    std::optional<std::size_t> record;
    /// One sentence for the modder.
    std::string message;
    Subject subject = Subject::Ship;
    /// The faces or vertices the finding is about, for Subject::Faces and Subject::Vertices.
    std::vector<std::uint32_t> items;

    friend bool operator==(const Finding&, const Finding&) = default;
};

struct Counts
{
    int errors = 0;
    int warnings = 0;
};

Counts countFindings(const std::vector<Finding>& findings);
/// "2 errors, 5 warnings", "1 error, 0 warnings".
std::string countsText(Counts counts);
std::string_view severityName(Severity severity);

} // namespace checks
