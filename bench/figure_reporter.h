#pragma once
// A console reporter for programs that end by setting runs beside each other: it prints
// the runs as usual and keeps one figure per run (the median when the runs are repeated,
// else the run itself), by the run's name ("BM_Case" or "BM_Case/arg"). A derived class
// says which figure (FigureOf) and prints the comparisons in Finalize.
#include <benchmark/benchmark.h>

#include <map>
#include <string>
#include <utility>
#include <vector>

namespace benchfig {

class FigureReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override
    {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& run : runs) {
            if (run.error_occurred) {
                m_failed = true;
                continue;
            }
            const bool median = run.run_type == Run::RT_Aggregate && run.aggregate_name == "median";
            if (run.run_type != Run::RT_Iteration && !median)
                continue;
            const std::string name =
                run.run_name.function_name + (run.run_name.args.empty() ? "" : "/" + run.run_name.args);
            auto& kept = m_figures[name];
            if (median || !kept.second)
                kept = {FigureOf(run), median};
        }
    }
    // A case that could not set up fails the program, so a smoke run notices.
    bool Failed() const { return m_failed; }

protected:
    virtual double FigureOf(const Run& run) const = 0;
    // The figure kept for a run, or null.
    const double* Figure(const std::string& name) const
    {
        const auto it = m_figures.find(name);
        return it == m_figures.end() ? nullptr : &it->second.first;
    }
    const std::map<std::string, std::pair<double, bool>>& Figures() const { return m_figures; }

private:
    std::map<std::string, std::pair<double, bool>> m_figures; // the figure, whether a median
    bool m_failed = false;
};

// A benchmark program's main with the reporter: 1 for unknown arguments or a failed case.
inline int RunWith(FigureReporter& reporter, int argc, char** argv)
{
    benchmark::Initialize(&argc, argv);
    if (benchmark::ReportUnrecognizedArguments(argc, argv))
        return 1;
    benchmark::RunSpecifiedBenchmarks(&reporter);
    benchmark::Shutdown();
    return reporter.Failed() ? 1 : 0;
}

} // namespace benchfig
