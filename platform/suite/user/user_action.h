#pragma once
// CUserAction: what an operator did to an object, as the suite's audit records count it.
// The configuration screens turn their form state into one of these when a host writes
// its own audit rows (AcCfgFormStateToUserActionType in frames/).
#include <cstdint>

class CUserAction {
public:
    enum ActionType : int32_t {
        ActionNone = 0,   // nothing done (viewing)
        ActionAdd = 1,    // an object added
        ActionModify = 2, // an object changed
        ActionDelete = 3, // an object deleted
        ActionOther = 4,  // any other operation on an object
    };
};
