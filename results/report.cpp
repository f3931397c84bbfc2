#include "results/report.h"

#include "params/text_file.h"
#include "results/text_format.h"

namespace velmora {

std::vector<std::string> TableHeaderLines(const std::string& title, int32_t W, bool percent) {
  std::vector<std::string> headings;
  const std::string wins = percent ? "      W%" : "    Wins";
  const std::string losses = percent ? "      L%" : "  Losses";
  const std::string ties = percent ? "      T%" : "    Ties";
  const std::string prefix = percent ? "  T%" : "Ties";
  if (W <= 1) {
    headings = {ties, losses};
  } else if (W == 2) {
    headings = {wins, losses, ties};
  } else {
    headings = {wins, losses};
    for (int32_t s = 2; s <= W; ++s)
      headings.push_back(Format("%8s", (prefix + std::to_string(s)).c_str()));
  }
  std::string first = CutPad(title, 25, 26) + "Author                Length    Score   Given";
  std::string second = CutPad(std::string(title.size(), '-'), 25, 26) +
                       "------                ------    -----   -----";
  for (const std::string& h : headings) {
    first += h;
    second += "  ------";
  }
  return {first, second};
}

std::string FormatReportRow(const ResultRow& row, bool percent) {
  std::string line = CutPad(row.Name, 25, 26) + CutPad(row.Author, 20, 21) +
                     FormatLength(row.Length) + Format("%9.1f", row.Score) +
                     Format("%8.1f", row.Given);
  for (double v : row.Outcomes)
    line += percent ? Format("%8.1f", v) : FormatShortest(v, 8);
  return line;
}

namespace {

struct SummaryEntry {
  std::string Name;
  int32_t Row = 0; // 0-based row of the results table
  double Score = 0, Given = 0;
};

class ReportWriter {
public:
  ReportWriter(TResultsTable& table, const TTournament& tournament, const TCore& core)
      : Table(table), Tour(tournament), Rec(tournament.Rec), Core(core) {}

  std::vector<std::string> Lines() {
    Out = {"Tournament Results", "==================", "", "Conditions", "=========="};
    Out.push_back(TournamentLine());
    Out.push_back("Score formula: " + Rec.ScoreFormula);
    ParameterBlock();
    Summary();
    if (Rec.TournamentType == RoundRobin || Rec.TournamentType == Benchmark) {
      const bool rr = Rec.TournamentType == RoundRobin;
      Out.push_back(rr ? "Round robin scores" : "Benchmark scores");
      Out.push_back(rr ? "==================" : "================");
      ScoreMatrix();
      Out.push_back("Details");
      Out.push_back("=======");
      Out.push_back("");
      for (const SummaryEntry& e : Entries)
        DetailTable("vs. " + e.Name, e.Row + 1);
    } else if (Rec.TournamentType == Challenge) {
      Out.push_back("Details");
      Out.push_back("=======");
      DetailTable("Opponent", 1);
    }
    return std::move(Out);
  }

private:
  std::string TournamentLine() const {
    const std::string n = std::to_string(Rec.WarriorCount);
    const std::string r = std::to_string(Rec.Rounds);
    switch (Rec.TournamentType) {
    case Melee: return "Melee with " + n + " warriors, " + r + " rounds";
    case Challenge: {
      const std::string challenger = Tour.WarriorList.empty() ? "" : Tour.WarriorList[0].Name;
      return "Challenge by " + challenger + " against " + std::to_string(Rec.WarriorCount - 1) +
             " warriors, " + r + " rounds per matchup";
    }
    case RoundRobin: return "Round robin with " + n + " warriors, " + r + " rounds per matchup";
    default:
      return "Benchmark of " + n + " warriors with " + std::to_string(Tour.BenchmarkList.size()) +
             " benchmark warriors, " + r + " rounds per matchup";
    }
  }

  void ParameterBlock() {
    std::string head = "Core size", rule = "---------", value = Format("%9d", Core.CoreSizeMax);
    auto piece = [&](const char* h, const char* u, const std::string& v) {
      head += h;
      rule += u;
      value += v;
    };
    // The engine keeps a minimum only for a random size.
    if (Core.RandomCoreSize && Core.CoreSizeMin != Core.CoreSizeMax)
      piece("  Min core size", "  -------------", Format("%15d", Core.CoreSizeMin));
    piece("  Max processes  Max cycles  Max length  Min distance",
          "  -------------  ----------  ----------  ------------",
          Format("%15d%12d%12d%14d", Core.MaxProcesses, Core.MaxCycles, Core.MaxLength,
                 Core.MinDistance));
    if (Core.ReadLimit != Core.CoreSizeMax)
      piece("  Read limit", "  ----------", Format("%12d", Core.ReadLimit));
    if (Core.WriteLimit != Core.CoreSizeMax)
      piece("  Write limit", "  -----------", Format("%13d", Core.WriteLimit));
    if (Core.PSpaceSize != Core.CoreSizeMax / 16)
      piece("  P-space size", "  ------------", Format("%14d", Core.PSpaceSize));
    Out.insert(Out.end(), {head, rule, value, ""});
  }

  void Header(const std::string& title) {
    for (std::string& line : TableHeaderLines(title, Rec.WarriorsPerBattle, Table.Percent))
      Out.push_back(std::move(line));
  }

  void Summary() {
    Out.push_back("Summary");
    Out.push_back("=======");
    Header(Rec.TournamentType == Challenge ? "Challenger" : "Warrior");
    Table.ComputeSummary();
    Table.SortRows();
    // A benchmark keeps the order of the list; the others show the sorted order.
    for (size_t p = 0; p < Table.Rows.size(); ++p) {
      const ResultRow& row =
          Rec.TournamentType == Benchmark ? Table.Rows[p] : Table.RowAt(int32_t(p));
      Out.push_back(FormatReportRow(row, Table.Percent));
      Entries.push_back({row.Name, row.Index, row.Score, row.Given});
    }
    Out.push_back("");
  }

  // The row warrior's score against an opponent, from its unsorted detail rows.
  std::string MatrixCell(int32_t position, int32_t column) {
    const bool benchmark = Rec.TournamentType == Benchmark;
    if (benchmark) {
      return size_t(column) < Table.Rows.size() ? Format("%8.1f", Table.Rows[size_t(column)].Given)
                                                : Format("%8s", "");
    }
    const int32_t opponent = Entries[size_t(column)].Row;
    if (position == column && !Rec.SelfFights) return "     ...";
    for (const ResultRow& r : Table.Rows)
      if (r.Index == opponent) return Format("%8.1f", position == column ? r.Score : r.Given);
    return Format("%8s", "");
  }

  void ScoreMatrix() {
    const bool benchmark = Rec.TournamentType == Benchmark;
    const int32_t columns =
        benchmark ? int32_t(Tour.BenchmarkList.size()) : int32_t(Entries.size());
    std::string head = CutPad("Warrior", 25, 26) + "Index";
    std::string rule = CutPad("-------", 25, 26) + "-----";
    for (int32_t c = 0; c < columns; ++c) {
      head += benchmark ? Format("%8.6s", Tour.BenchmarkList[size_t(c)].Name.c_str())
                        : Format("%8d", c + 1);
      rule += "   -----";
    }
    head += "  Average";
    rule += "  -------";
    Out.push_back(head);
    Out.push_back(rule);
    for (size_t r = 0; r < Entries.size(); ++r) {
      Table.ComputeDetails(Entries[r].Row + 1);
      std::string line = CutPad(Entries[r].Name, 25, 26) + Format("%5d", int(r + 1));
      for (int32_t c = 0; c < columns; ++c)
        line += MatrixCell(int32_t(r), c);
      Out.push_back(line + Format("%9.1f", Entries[r].Score));
    }
    if (!benchmark) {
      Out.push_back(rule);
      std::string given = "Average Points Given           ";
      for (const SummaryEntry& e : Entries)
        given += Format("%8.1f", e.Given);
      Out.push_back(given);
    }
    Out.push_back("");
  }

  void DetailTable(const std::string& title, int32_t row) {
    Header(title);
    Table.ComputeDetails(row);
    Table.SortRows();
    for (size_t p = 0; p < Table.Rows.size(); ++p)
      Out.push_back(FormatReportRow(Table.RowAt(int32_t(p)), Table.Percent));
    Out.push_back("");
  }

  TResultsTable& Table;
  const TTournament& Tour;
  const TTournamentRec& Rec;
  const TCore& Core;
  std::vector<SummaryEntry> Entries;
  std::vector<std::string> Out;
};

} // namespace

std::vector<std::string> ReportLines(TResultsTable& table, const TTournament& tournament,
                                     const TCore& core) {
  return ReportWriter(table, tournament, core).Lines();
}

bool WriteReport(const std::string& path, TResultsTable& table, const TTournament& tournament,
                 const TCore& core, std::string& error) {
  return WriteOutputFile(path, JoinCrLf(ReportLines(table, tournament, core)), error);
}

} // namespace velmora
