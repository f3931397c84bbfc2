#pragma once
// The engine's view of the main window: the four operations it calls, in their slot order.

#include <cstdint>

namespace velmora {

class TCustomMardexForm {
public:
  virtual ~TCustomMardexForm() = default;
  // Marks one core cell. Color is 1..8, or -1 for a warrior's next instruction; Kind is a
  // CellEvent. The engine always passes Highlight = false.
  virtual void ColorPixel(int32_t Address, int32_t Color, int32_t Kind, bool Highlight) = 0;
  virtual void UpdateScreenInfo() = 0;
  virtual void InitScreenInfo(bool Full) = 0;
  // Rounds per matchup, for the assembler's ROUNDS constant.
  virtual int32_t GetRounds() = 0;
};

// A display that shows nothing: for the command line, benchmarks and tests.
class TNullMardexForm : public TCustomMardexForm {
public:
  explicit TNullMardexForm(int32_t rounds = 1) : Rounds(rounds) {}
  void ColorPixel(int32_t, int32_t, int32_t, bool) override {}
  void UpdateScreenInfo() override {}
  void InitScreenInfo(bool) override {}
  int32_t GetRounds() override { return Rounds; }
  int32_t Rounds;
};

} // namespace velmora
