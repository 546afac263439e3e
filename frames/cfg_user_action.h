#pragma once
// The audit action a form state stands for, for hosts that write their own audit records
// of a finished edit: viewing → none, adding → add, modifying → modify, deleting →
// delete, the reserved state 1 → other; any other value → none.
#include "frames/cfg_form_state.h"
#include "platform/suite/user/user_action.h"

CUserAction::ActionType AcCfgFormStateToUserActionType(AcCfgFormState state);
