#include "checks/Checks.h"

#include "checks/Messages.h"
#include "checks/Report.h"
#include "shipfile/CaseInsensitive.h"
#include "shipfile/Catalogue.h"
#include "shipfile/ComponentParts.h"
#include "shipfile/MessageText.h"

namespace checks {

Report::Report(const shipfile::ShipFile& file) : ship(file)
{
    std::size_t index = 0;
    for (const shipfile::ShipBlock* b = ship.first(); b; b = b->next())
        m_blockIndex.emplace(b, index++);
}

std::optional<std::size_t> Report::blockIndex(const shipfile::ShipBlock& block) const
{
    const auto found = m_blockIndex.find(&block);
    return found == m_blockIndex.end() ? std::nullopt : std::optional(found->second);
}

Finding Report::about(int n, Severity severity, std::string_view check) const
{
    Finding f;
    f.severity = severity;
    f.check = check;
    f.component = n;
    f.componentName = shipfile::componentName(ship, n);
    f.subject = Subject::Component;
    return f;
}

RecordFindings::RecordFindings(Report& report, Finding base)
    : m_report(report), m_base(std::move(base))
{
}

void RecordFindings::add(std::uint32_t record, std::string message)
{
    if (m_shown == RecordFindingsLimit) {
        m_rest.push_back(record);
        return;
    }
    ++m_shown;
    Finding f = m_base;
    f.record = record;
    f.message = std::move(message);
    if (f.subject == Subject::Faces || f.subject == Subject::Vertices)
        f.items = {record};
    m_report.findings.push_back(std::move(f));
}

RecordFindings::~RecordFindings()
{
    if (m_rest.empty())
        return;
    Finding f = m_base;
    f.record = m_rest.front();
    f.message = shipfile::messages::formatNumber(messages::MoreLikeThisText,
                                                 static_cast<long long>(m_rest.size()));
    if (f.subject == Subject::Faces || f.subject == Subject::Vertices)
        f.items = std::move(m_rest);
    m_report.findings.push_back(std::move(f));
}

std::vector<Finding> checkShip(const shipfile::ShipFile& ship,
                               const std::vector<std::string>* cacheTextures)
{
    Report report(ship);
    checkFile(report);
    std::optional<CacheNames> cacheNames;
    if (cacheTextures) {
        cacheNames.emplace();
        for (const std::string& name : *cacheTextures)
            cacheNames->insert(shipfile::lowerCase(name));
    }
    for (const shipfile::ComponentParts& parts : shipfile::allComponentParts(ship))
        checkComponent(report, parts, cacheNames ? &*cacheNames : nullptr);
    return std::move(report.findings);
}

Counts countFindings(const std::vector<Finding>& findings)
{
    Counts counts;
    for (const Finding& f : findings)
        ++(f.severity == Severity::Error ? counts.errors : counts.warnings);
    return counts;
}

std::string countsText(Counts counts)
{
    using shipfile::messages::formatNumber;
    const std::string errors = counts.errors == 1 ? std::string(messages::OneError)
                                                  : formatNumber(messages::Errors, counts.errors);
    const std::string warnings = counts.warnings == 1
                                     ? std::string(messages::OneWarning)
                                     : formatNumber(messages::Warnings, counts.warnings);
    return errors + ", " + warnings;
}

std::string_view severityName(Severity severity)
{
    return severity == Severity::Error ? "error" : "warning";
}

} // namespace checks
