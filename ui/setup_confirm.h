#pragma once
// What the Setup dialog shows when it opens, and what confirming it stores: the dialog's
// fields against the parameter record, the tournament record and the warrior lists.

#include <vector>

#include "params/params_rec.h"
#include "params/setup_fields.h"
#include "tournament/tournament.h"

namespace velmora {

// The dialog's fields for the records in force. Starts from the fields last confirmed, so
// that a limit chosen from its list stays chosen and a typed one shows the record's number.
TSetupFields FieldsFromRecords(const TSetupFields& confirmed, const TParamsRec& params,
                               const TTournamentRec& rec);

struct TConfirmOutcome {
  // One listed warrior and another type than melee: the tournament became a melee.
  bool MadeMelee = false;
  // The display topology differs from the record's; the caller rearranges the main window.
  bool TopologyChanged = false;
};

// Stores fields that passed every check, and the dialog's lists, in the confirming order:
// the parameter record, the warrior lists with their IDs, the single-warrior rule, the
// tournament's settings, then confirmed := fields (with melee when that rule applied).
TConfirmOutcome StoreSetup(TSetupFields fields, const std::vector<TWarriorData>& warriors,
                           const std::vector<TWarriorData>& benchmarks, TParamsRec& params,
                           TTournament& tournament, TSetupFields& confirmed);

} // namespace velmora
