#pragma once
// The results report: the tournament's conditions, the summary, the score matrix of a round
// robin or benchmark, and the detail tables, as text lines ended by CR LF.

#include <string>
#include <vector>

#include "results/results_table.h"

namespace velmora {

// The two heading lines of a table titled title, for W warriors per battle.
std::vector<std::string> TableHeaderLines(const std::string& title, int32_t W, bool percent);
std::string FormatReportRow(const ResultRow& row, bool percent);

// Every line of the report; table supplies the engine, the records, the sort settings and
// the percent setting, and ends holding the last detail rows computed.
std::vector<std::string> ReportLines(TResultsTable& table, const TTournament& tournament,
                                     const TCore& core);

// Writes the report through a temporary file beside path; false with error on failure,
// leaving any previous file as it was.
bool WriteReport(const std::string& path, TResultsTable& table, const TTournament& tournament,
                 const TCore& core, std::string& error);

} // namespace velmora
