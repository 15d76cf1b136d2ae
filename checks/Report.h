#pragma once

#include "checks/Checks.h"
#include "shipfile/ComponentParts.h"
#include "shipfile/ShipFile.h"

#include <cstddef>
#include <optional>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

// What the checks share while they run: the findings so far and where each block stands.
namespace checks {

class Report
{
public:
    explicit Report(const shipfile::ShipFile& ship);

    /// The block's index in the file, counted from 0; nothing for a block of another chain.
    std::optional<std::size_t> blockIndex(const shipfile::ShipBlock& block) const;
    /// A finding about the whole component `n`.
    Finding about(int n, Severity severity, std::string_view check) const;

    const shipfile::ShipFile& ship;
    std::vector<Finding> findings;

private:
    std::unordered_map<const shipfile::ShipBlock*, std::size_t> m_blockIndex;
};

/// The findings of one check over the records of one block: a line per record up to a limit,
/// then one line for the rest, so that a broken import does not bury the list. The line for
/// the rest is written when the object goes.
class RecordFindings
{
public:
    /// `base` gives the check, severity, component, block and subject of every line.
    RecordFindings(Report& report, Finding base);
    ~RecordFindings();
    RecordFindings(const RecordFindings&) = delete;
    RecordFindings& operator=(const RecordFindings&) = delete;

    void add(std::uint32_t record, std::string message);

private:
    Report& m_report;
    Finding m_base;
    std::size_t m_shown = 0;
    std::vector<std::uint32_t> m_rest;
};

/// Runs the checks of the file's framing and chain: truncation, header, component count,
/// record sizes, Block13 and Block14.
void checkFile(Report& report);
/// The texture cache's names, lower-cased: names compare ignoring case.
using CacheNames = std::unordered_set<std::string>;

/// Runs the checks of one component; with `cacheTextures`, texture names not among them are
/// warnings.
void checkComponent(Report& report, const shipfile::ComponentParts& parts,
                    const CacheNames* cacheTextures);

} // namespace checks
