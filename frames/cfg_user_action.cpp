#include "frames/cfg_user_action.h"

CUserAction::ActionType AcCfgFormStateToUserActionType(AcCfgFormState state)
{
    switch (state) {
    case AcCfgStateReserved: return CUserAction::ActionOther;
    case AcCfgStateAdd: return CUserAction::ActionAdd;
    case AcCfgStateModify: return CUserAction::ActionModify;
    case AcCfgStateDelete: return CUserAction::ActionDelete;
    case AcCfgStateView:
    default: return CUserAction::ActionNone;
    }
}
