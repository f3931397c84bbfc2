#pragma once
// The engine's view of the main window: the four operations it calls, in their slot order.

#include <cstddef>
#include <cstdint>

namespace velmora {

// One event on a cell as the display path reports it: ColorPixel's arguments.
struct TPixelEvent {
  int32_t Address;
  int32_t Color;
  int32_t Kind;
};

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
  // The events of a run in the order they happened: the engine collects them and hands them
  // over a batch at a time, before it returns. By default one ColorPixel each.
  virtual void ColorPixels(const TPixelEvent* events, size_t count) {
    for (size_t i = 0; i < count; ++i)
      ColorPixel(events[i].Address, events[i].Color, events[i].Kind, false);
  }
};

// A display that shows nothing: for the command line, benchmarks and tests.
class TNullMardexForm : public TCustomMardexForm {
public:
  explicit TNullMardexForm(int32_t rounds = 1) : Rounds(rounds) {}
  void ColorPixel(int32_t, int32_t, int32_t, bool) override {}
  void ColorPixels(const TPixelEvent*, size_t) override {}
  void UpdateScreenInfo() override {}
  void InitScreenInfo(bool) override {}
  int32_t GetRounds() override { return Rounds; }
  int32_t Rounds;
};

} // namespace velmora
