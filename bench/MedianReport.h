// MedianReport: a console reporter that prints only the median of each
// benchmark's repetitions and keeps those medians by name, so that the
// program can print ratios between figures taken in the same run.
#ifndef MEDIAN_REPORT_H
#define MEDIAN_REPORT_H

#include <benchmark/benchmark.h>

#include <map>
#include <string>

class MedianReport : public benchmark::ConsoleReporter
{
public:
	// Plain text, no colour codes: the output goes to logs and notes.
	MedianReport() : ConsoleReporter(OO_Tabular) {}

	void ReportRuns(const std::vector<Run>& runs) override;

	// The median wall time of a benchmark in milliseconds; 0 when it did
	// not run (filtered out).
	double Milliseconds(const std::string& name) const;
	// The median of one of a benchmark's counters; 0 when absent.
	double Counter(const std::string& name, const std::string& counter) const;
	bool Has(const std::string& name) const;

private:
	std::map<std::string, double> fMilliseconds;
	std::map<std::string, std::map<std::string, double>> fCounters;
};

#endif // MEDIAN_REPORT_H
