#pragma once
// What the windows share: the parameter record, the tournament, the platform, the engine
// once the main window has created it, the core address the debugger windows hand to each
// other, and the windows themselves. One object per program; nothing here is global, so
// tests build as many as they like.

#include <cstdint>
#include <string>

#include "engine/core.h"
#include "engine/platform.h"
#include "params/params_rec.h"
#include "params/setup_fields.h"
#include "tournament/tournament.h"

namespace velmora {

class TMardexForm;
class TFormExPts;
class TFormOptions;
class TFormResults;
class TFormParams;
class TFormPSpace;
class TFormAbout;
class TFormEditCore;
class TFormEditPSpace;
class TFormEditScore;
class TFormEditCode;
class TFormInput;
class TFormEditBreakpoint;
class TFormBreakpoints;

struct TVelmoraApp {
  explicit TVelmoraApp(TPlatform& platform) : Platform(platform) {}

  TPlatform& Platform;
  TParamsRec Params = DefaultParams();
  // The Setup dialog's confirmed fields, including the pending copies of the options that
  // live outside the parameter record (score formula, percent, pause between rounds).
  TSetupFields Setup;
  TTournament Tournament;
  // The engine, owned by the main window from its first showing; null before.
  TCore* Core = nullptr;
  // The core address the debugger windows hand to each other.
  int32_t SelectedLocation = 0;
  // Bytes the step-back history of a round may hold (the Options dialog); 0 is off.
  int64_t HistoryBytes = THistory::kDefaultLimit;
  // The working directory at start: "default.cfg" is read from it.
  std::string StartDirectory;

  // The windows in their start-up order. Each lives until the program ends.
  TMardexForm* MainForm = nullptr;
  TFormExPts* FormExPts = nullptr;
  TFormOptions* FormOptions = nullptr;
  TFormResults* FormResults = nullptr;
  TFormParams* FormParams = nullptr;
  TFormPSpace* FormPSpace = nullptr;
  TFormAbout* FormAbout = nullptr;
  TFormEditCore* FormEditCore = nullptr;
  TFormEditPSpace* FormEditPSpace = nullptr;
  TFormEditScore* FormEditScore = nullptr;
  TFormEditCode* FormEditCode = nullptr;
  TFormInput* FormInput = nullptr;
  TFormEditBreakpoint* FormEditBreakpoint = nullptr;
  TFormBreakpoints* FormBreakpoints = nullptr;
};

} // namespace velmora
