#include "MedianReport.h"

void MedianReport::ReportRuns(const std::vector<Run>& runs)
{
	std::vector<Run> medians;
	for (const Run& run : runs) {
		if (run.run_type != Run::RT_Aggregate || run.aggregate_name != "median")
			continue;
		const std::string& name = run.run_name.function_name;
		fMilliseconds[name] =
		    run.GetAdjustedRealTime() / benchmark::GetTimeUnitMultiplier(run.time_unit) * 1e3;
		for (const auto& [counter, value] : run.counters)
			fCounters[name][counter] = value.value;
		medians.push_back(run);
	}
	if (!medians.empty())
		ConsoleReporter::ReportRuns(medians);
}

double MedianReport::Milliseconds(const std::string& name) const
{
	auto found = fMilliseconds.find(name);
	return found != fMilliseconds.end() ? found->second : 0;
}

double MedianReport::Counter(const std::string& name, const std::string& counter) const
{
	auto found = fCounters.find(name);
	if (found == fCounters.end())
		return 0;
	auto value = found->second.find(counter);
	return value != found->second.end() ? value->second : 0;
}

bool MedianReport::Has(const std::string& name) const
{
	return fMilliseconds.count(name) != 0;
}
