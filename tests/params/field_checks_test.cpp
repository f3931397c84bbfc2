// The field checks: every condition at its boundary, with its exact message and reset.

#include <gtest/gtest.h>

#include <functional>

#include "params/field_checks.h"
#include "params/number_text.h"

namespace velmora {
namespace {

struct CheckCase {
  const char* Label;
  std::function<FieldCheck()> Run;
  const char* Message; // "" when the value passes
  ResetTo Reset;
};

void PrintTo(const CheckCase& c, std::ostream* os) {
  *os << c.Label;
}

class ParamsFieldChecks : public testing::TestWithParam<CheckCase> {};

TEST_P(ParamsFieldChecks, GiveTheMessageAndReset) {
  const CheckCase& c = GetParam();
  const FieldCheck r = c.Run();
  EXPECT_EQ(r.Message, c.Message);
  EXPECT_EQ(r.Ok(), std::string(c.Message).empty());
  if (!r.Ok()) {
    EXPECT_EQ(r.Reset, c.Reset);
  }
}

const char* const kOk = "";
constexpr ResetTo kAny = ResetTo::Stored;

CheckCase C(const char* label, std::function<FieldCheck()> run, const char* message,
            ResetTo reset = kAny) {
  return {label, std::move(run), message, reset};
}

INSTANTIATE_TEST_SUITE_P(
    CoreSize, ParamsFieldChecks,
    testing::Values(C(
                        "hex", [] { return CheckCoreSize("$1F40", false, ""); }, kOk),
                    C(
                        "16", [] { return CheckCoreSize("16", false, ""); }, kOk),
                    C(
                        "15", [] { return CheckCoreSize("15", false, ""); },
                        "Core size must be at least 16", ResetTo::CoreSizeFields),
                    C(
                        "max", [] { return CheckCoreSize("134217727", false, ""); }, kOk),
                    C(
                        "over", [] { return CheckCoreSize("134217728", false, ""); },
                        "Core size must be less than $8000000", ResetTo::CoreSizeFields),
                    C(
                        "text", [] { return CheckCoreSize("8000 ", false, ""); },
                        "Core size must be a number", ResetTo::CoreSizeFields),
                    C(
                        "sentinel", [] { return CheckCoreSize("-93845", false, ""); },
                        "Core size must be a number", ResetTo::CoreSizeFields),
                    C(
                        "belowMin", [] { return CheckCoreSize("800", true, "801"); },
                        "Maximum core size must not be less than the minimum core size",
                        ResetTo::CoreSizeFields),
                    C(
                        "belowMinFixed", [] { return CheckCoreSize("800", false, "801"); }, kOk),
                    C(
                        "equalMin", [] { return CheckCoreSize("800", true, "800"); }, kOk),
                    C(
                        "minText", [] { return CheckMinCoreSize("x", "8000"); },
                        "Minimum core size must be a number", ResetTo::CoreSizeFields),
                    C(
                        "min15", [] { return CheckMinCoreSize("15", "8000"); },
                        "Minimum core size must be at least 16", ResetTo::CoreSizeFields),
                    C(
                        "minOver", [] { return CheckMinCoreSize("8001", "8000"); },
                        "Minimum core size must not exceed the maximum core size",
                        ResetTo::CoreSizeFields),
                    C(
                        "minEqual", [] { return CheckMinCoreSize("8000", "8000"); }, kOk)));

INSTANTIATE_TEST_SUITE_P(
    Counted, ParamsFieldChecks,
    testing::Values(
        C(
            "cycles", [] { return CheckMaxCycles("2147483646"); }, kOk),
        C(
            "cyclesMax", [] { return CheckMaxCycles("2147483647"); },
            "Max Cycles must be less than $80000000"),
        C(
            "cycles0", [] { return CheckMaxCycles("0"); }, "Max Cycles must be at least 1"),
        C(
            "cyclesText", [] { return CheckMaxCycles("abc"); }, "Max Cycles must be a number"),
        C(
            "procs1", [] { return CheckMaxProcesses("1"); }, kOk),
        C(
            "procs0", [] { return CheckMaxProcesses("0"); }, "Max Processes must be at least 1"),
        C(
            "procsMax", [] { return CheckMaxProcesses("$7FFFFFFF"); },
            "Max Processes must not exceed $80000000"),
        C(
            "procsText", [] { return CheckMaxProcesses(""); }, "Max Processes must be a number"),
        C(
            "dist0", [] { return CheckMinDistance("0"); }, kOk),
        C(
            "distNeg", [] { return CheckMinDistance("-1"); }, "Min Distance must be at least 0"),
        C(
            "distMax", [] { return CheckMinDistance("2147483647"); },
            "Min Distance must be less than $80000000"),
        C(
            "distText", [] { return CheckMinDistance("1e3"); }, "Min Distance must be a number"),
        C(
            "rounds", [] { return CheckRounds("1"); }, kOk),
        C(
            "rounds0", [] { return CheckRounds("0"); }, "Number of rounds must be at least 1"),
        C(
            "roundsMax", [] { return CheckRounds("2147483647"); },
            "Number of rounds must not exceed $80000000"),
        C(
            "roundsText", [] { return CheckRounds("ten"); }, "Number of rounds must be a number")));

INSTANTIATE_TEST_SUITE_P(
    Limits, ParamsFieldChecks,
    testing::Values(C(
                        "read", [] { return CheckReadLimit("8000", "8000"); }, kOk),
                    C(
                        "readText", [] { return CheckReadLimit("half", "8000"); },
                        "Read Limit must be a number", ResetTo::CoreSizeText),
                    C(
                        "read0", [] { return CheckReadLimit("0", "8000"); },
                        "Read Limit must be at least 1", ResetTo::One),
                    C(
                        "readOver", [] { return CheckReadLimit("8001", "8000"); },
                        "Read Limit must not exceed Core Size", ResetTo::CoreSizeText),
                    C(
                        "writeText", [] { return CheckWriteLimit("-", "8000"); },
                        "Write Limit must be a number", ResetTo::CoreSizeText),
                    C(
                        "write0", [] { return CheckWriteLimit("-4", "8000"); },
                        "Write Limit must be at least 1", ResetTo::One),
                    C(
                        "writeOver", [] { return CheckWriteLimit("801", "800"); },
                        "Write Limit must not exceed Core Size", ResetTo::CoreSizeText),
                    C(
                        "pspace", [] { return CheckPSpaceSize("1", "16"); }, kOk),
                    C(
                        "pspaceText", [] { return CheckPSpaceSize("x", "8000"); },
                        "PSpace Size must be a number", ResetTo::CoreSizeText),
                    C(
                        "pspace0", [] { return CheckPSpaceSize("0", "8000"); },
                        "PSpace Size must be at least 1", ResetTo::One),
                    C(
                        "pspaceOver", [] { return CheckPSpaceSize("8001", "8000"); },
                        "PSpace Size must not exceed Core Size", ResetTo::CoreSizeText)));

INSTANTIATE_TEST_SUITE_P(
    LengthPositionSeed, ParamsFieldChecks,
    testing::Values(
        C(
            "len2", [] { return CheckMaxLength("1000", "8000", "100", 2); }, kOk),
        C(
            "len10", [] { return CheckMaxLength("1000", "8000", "100", 10); },
            "Max Length too large to load all Warriors"),
        C(
            "lenEdge", [] { return CheckMaxLength("700", "8000", "100", 10); }, kOk),
        C(
            "lenReal", [] { return CheckMaxLength("234", "800", "33", 3); },
            "Max Length too large to load all Warriors"),
        C(
            "lenNoCount", [] { return CheckMaxLength("100000", "8000", "100", 0); }, kOk),
        C(
            "len0", [] { return CheckMaxLength("0", "8000", "100", 2); },
            "Max Length must be at least 1", ResetTo::One),
        C(
            "lenText", [] { return CheckMaxLength("long", "8000", "100", 2); },
            "Max Length must be a number"),
        C(
            "pos100", [] { return CheckSecondPosition("100", "8000", "100"); }, kOk),
        C(
            "pos7900", [] { return CheckSecondPosition("7900", "8000", "100"); }, kOk),
        C(
            "pos99", [] { return CheckSecondPosition("99", "8000", "100"); },
            "Second warrior position must be at least Max Distance", ResetTo::MinDistanceText),
        C(
            "pos7901", [] { return CheckSecondPosition("7901", "8000", "100"); },
            "Second warrior position must not exceed Core Size minus Max Distance",
            ResetTo::MinDistanceText),
        C(
            "posText", [] { return CheckSecondPosition("far", "8000", "100"); },
            "Second warrior position must be a number", ResetTo::MinDistanceText),
        C(
            "seed0", [] { return CheckFixedSeed("0"); }, kOk),
        C(
            "seedHigh", [] { return CheckFixedSeed("2147483646"); }, kOk),
        C(
            "seedNeg", [] { return CheckFixedSeed("-1"); },
            "RNG Seed must be between 0 and 2147483646", ResetTo::Zero),
        C(
            "seedMax", [] { return CheckFixedSeed("2147483647"); },
            "RNG Seed must be between 0 and 2147483646", ResetTo::Zero),
        C(
            "seedText", [] { return CheckFixedSeed("lucky"); }, "RNG Seed must be a number",
            ResetTo::Zero)));

TEST(ParamsFieldChecksValue, APassingCheckGivesTheNumberRead) {
  EXPECT_EQ(CheckCoreSize(" $1F40", false, "").Value, 8000);
  EXPECT_EQ(CheckRounds("+250").Value, 250);
  EXPECT_EQ(CheckMaxCycles("x").Value, NotANumber);
}

struct ResetCase {
  const char* Core;
  const char* Min;
  const char* CoreAfter;
  const char* MinAfter;
};

class ParamsCoreSizeReset : public testing::TestWithParam<ResetCase> {};

TEST_P(ParamsCoreSizeReset, PutsBackStoredValuesUnlessTheOtherFieldWouldBreakThem) {
  const ResetCase& c = GetParam();
  // Stored: maximum 8000, minimum 4000.
  const auto [core, min] = CoreSizeReset(c.Core, c.Min, 8000, 4000);
  EXPECT_EQ(core, c.CoreAfter);
  EXPECT_EQ(min, c.MinAfter);
}

INSTANTIATE_TEST_SUITE_P(Cases, ParamsCoreSizeReset,
                         testing::Values(ResetCase{"15", "4000", "8000", "15"},
                                         ResetCase{"15", "9000", "9000", "15"},
                                         ResetCase{"3000", "5", "8000", "3000"},
                                         ResetCase{"x", "y", "8000", "4000"}));

} // namespace
} // namespace velmora
