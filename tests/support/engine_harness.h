#pragma once
// An engine with hand-placed cells and warriors, for tests that exercise execution without
// the assembler.

#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "engine/core.h"
#include "tests/support/cell_text.h"

namespace velmora::test {

// A display that records every ColorPixel call.
class RecordingForm : public TCustomMardexForm {
public:
  struct Pixel {
    int32_t Address, Color, Kind;
    bool operator==(const Pixel&) const = default;
  };
  void ColorPixel(int32_t address, int32_t color, int32_t kind, bool) override {
    Pixels.push_back({address, color, kind});
  }
  void UpdateScreenInfo() override {}
  void InitScreenInfo(bool) override {}
  int32_t GetRounds() override { return 1; }
  std::vector<Pixel> Pixels;
};

struct HarnessOptions {
  int32_t CoreSize = 8000;
  int32_t Warriors = 1;
  int32_t MaxProcesses = 8000;
  int32_t ReadLimit = 0; // 0: the core size
  int32_t WriteLimit = 0;
  int32_t PSpaceSize = 500;
  int32_t MaxCycles = 80000;
  int32_t DisplayLevel = 5;
  bool EarlyDrawCheck = false;
};

class Harness {
public:
  explicit Harness(const HarnessOptions& o = {});

  TCore& Core() { return *core_; }
  TWarrior& Warrior(int k) { return *core_->Warriors[static_cast<size_t>(k)]; }
  CoreCell& At(int32_t address) { return core_->Core[static_cast<size_t>(Wrap(address))]; }
  int32_t Wrap(int32_t address) const { return ModCore(address, core_->CoreSize); }

  // Fills the core with DAT.F $0, $0, as a fresh round does.
  void ClearCore();
  // Puts instructions at consecutive addresses from `address`.
  void Put(int32_t address, const std::vector<std::string>& cells);
  // Gives warrior k one process at `pc` and marks it alive, as round set-up does.
  void Start(int k, int32_t pc);
  // Counts alive warriors and lethal cells into the round state, as round set-up does.
  void BeginRound();
  // Puts warrior k's code at its address and starts it there, for k = 1, 2, ...; then begins
  // the round.
  void BeginRound(const std::vector<std::pair<int32_t, std::vector<std::string>>>& warriors);

  THeadlessPlatform Platform;
  RecordingForm Form;

private:
  std::unique_ptr<TCore> core_;
};

} // namespace velmora::test

namespace velmora::test {

// The three ways to execute one instruction; they must agree on the core.
enum class Path { Display, FastNoFold, FastFold };
inline const char* PathName(Path p) {
  return p == Path::Display ? "display" : p == Path::FastNoFold ? "fast" : "fast-fold";
}
inline void StepOn(Path p, TCore& c, TWarrior& w) {
  if (p == Path::Display)
    c.ExecuteStep(w);
  else
    c.ExecuteStepFast(w, p == Path::FastNoFold);
}
inline constexpr Path kAllPaths[] = {Path::Display, Path::FastNoFold, Path::FastFold};

} // namespace velmora::test
