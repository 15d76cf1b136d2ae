#pragma once

#include "checks/Finding.h"
#include "shipfile/ShipFile.h"
#include "tools/StderrSink.h"

#include <memory>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

// The subcommands of korvex-shp and what they share. Each subcommand is one function that gets
// the arguments after its name and returns the process's exit status.
namespace tools {

using Arguments = std::span<const std::string_view>;

inline constexpr int ExitSuccess = 0;
/// The input could not be loaded (or the output not written).
inline constexpr int ExitFailure = 1;
/// Bad command line: unknown subcommand, missing or extra arguments, unknown option.
inline constexpr int ExitUsage = 2;
/// `info` listed a file that ends in the middle of a block: only the blocks before the cut.
inline constexpr int ExitTruncated = 3;
/// `check` found warnings only, or at least one error; or could not read the ship or cache.
inline constexpr int ExitCheckWarnings = 1;
inline constexpr int ExitCheckErrors = 2;
inline constexpr int ExitUnreadable = 4;

/// `info FILE [--json]`: the block list and, per component, its record and blocks.
int runInfo(Arguments args);
/// `unpack IN OUT`: writes IN, plain or packed, as a plain file OUT.
int runUnpack(Arguments args);
/// `export FILE -o OUT.glb|OUT.gltf|OUT.obj [options]`: the ship for general 3D tools.
int runExport(Arguments args);
/// `import SHIP MODEL -o OUT.shp [options]`: the model's geometry and attachments into the ship.
int runImport(Arguments args);
/// `tcache list|extract|replace|add TCACHE ...`: the game's texture cache, read and written.
int runTcache(Arguments args);
/// `check FILE [--textures TCACHE] [--json]`: every finding of the ship checks.
int runCheck(Arguments args);
/// `render FILE -o OUT.png [options]`: the editor's view of the ship as a PNG picture. Only in
/// the Qt build, and it needs an X display for its OpenGL context.
int runRender(Arguments args);

/// A command line split into operands and options ("--name"); "--" ends the options.
struct SplitArguments
{
    std::vector<std::string_view> operands;
    std::vector<std::string_view> options;
};
SplitArguments splitArguments(Arguments args);

/// Prints "korvex-shp: text" on stderr.
void printError(std::string_view text);
/// Prints "usage: " and `usageLine` on stderr and returns ExitUsage.
int usageError(std::string_view usageLine);
/// Names the option the command does not know, then shows the usage; returns ExitUsage.
int unknownOption(std::string_view option, std::string_view usageLine);

/// `text` as a whole decimal number, or nothing.
std::optional<int> wholeNumber(std::string_view text);
/// The component `wanted` names: a record number, or a name compared ignoring case.
std::optional<int> findComponent(const shipfile::ShipFile& file, std::string_view wanted);

/// One finding as `check` prints it: severity, check, where, and the message, on one line.
std::string findingLine(const checks::Finding& f);

/// Loads `path`, plain or packed, reporting through `sink`, which the document keeps for its
/// own messages. Null, after the loader's message or a line of our own, when nothing was read.
/// A file cut off in the middle of a block gives the blocks before the cut (see loadResult()).
std::unique_ptr<shipfile::ShipFile> loadShip(std::string_view path, StderrSink& sink);

} // namespace tools
