#pragma once

#include <algorithm>
#include <benchmark/benchmark.h>
#include <map>
#include <optional>
#include <string>
#include <vector>

namespace bench {

/// Console output of aggregates only (of every run when there are none), keeping each
/// repetition's seconds per iteration so that a closing summary can set the medians of
/// benchmarks from the same run side by side.
class MedianReporter : public benchmark::ConsoleReporter
{
public:
    struct Seconds
    {
        double wall = 0;
        double cpu = 0; // of the measuring thread only
    };

    void ReportRuns(const std::vector<Run>& runs) override
    {
        std::vector<Run> aggregates;
        for (const Run& run : runs) {
            if (run.run_type == Run::RT_Aggregate)
                aggregates.push_back(run);
            else if (!run.error_occurred && run.iterations > 0)
                m_samples[run.run_name.str()].push_back(
                    {run.real_accumulated_time / static_cast<double>(run.iterations),
                     run.cpu_accumulated_time / static_cast<double>(run.iterations)});
        }
        if (!aggregates.empty()) {
            m_shownAggregates = true;
            ConsoleReporter::ReportRuns(aggregates);
        } else {
            m_runs.insert(m_runs.end(), runs.begin(), runs.end());
        }
    }

    void Finalize() override
    {
        if (!m_shownAggregates && !m_runs.empty())
            ConsoleReporter::ReportRuns(m_runs);
        ConsoleReporter::Finalize();
    }

    /// Medians per iteration of the benchmark named `name` (as in the console), if it ran.
    std::optional<Seconds> median(const std::string& name) const
    {
        const auto found = m_samples.find(name);
        if (found == m_samples.end() || found->second.empty())
            return std::nullopt;
        std::vector<double> wall, cpu;
        for (const Seconds& s : found->second) {
            wall.push_back(s.wall);
            cpu.push_back(s.cpu);
        }
        return Seconds{middle(wall), middle(cpu)};
    }

    std::size_t repetitions(const std::string& name) const
    {
        const auto found = m_samples.find(name);
        return found == m_samples.end() ? 0 : found->second.size();
    }

private:
    static double middle(std::vector<double> v)
    {
        std::sort(v.begin(), v.end());
        const std::size_t n = v.size();
        return n % 2 ? v[n / 2] : (v[n / 2 - 1] + v[n / 2]) / 2;
    }

    std::map<std::string, std::vector<Seconds>> m_samples;
    std::vector<Run> m_runs; // shown at the end when no aggregates come
    bool m_shownAggregates = false;
};

/// benchmark::Initialize with `defaults` ahead of the command line's flags, which win.
inline void initialise(int argc, char** argv, std::vector<std::string> defaults)
{
    std::vector<char*> args = {argv[0]};
    for (std::string& flag : defaults)
        args.push_back(flag.data());
    args.insert(args.end(), argv + 1, argv + argc);
    int count = static_cast<int>(args.size());
    benchmark::Initialize(&count, args.data());
}

} // namespace bench
