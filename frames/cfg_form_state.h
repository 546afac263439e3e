#pragma once
// The state of a configuration form: viewing, or one of the edits an operator can be in.
// A configuration view and the sub-forms embedded in its pages switch together; the
// document counts as modified exactly while its view is in an edit state.
#include <cstdint>

enum AcCfgFormState : int32_t {
    AcCfgStateView = 0,     // viewing: nothing is being edited
    AcCfgStateReserved = 1, // part of the enumeration, never entered by the framework
    AcCfgStateAdd = 2,      // adding an object
    AcCfgStateModify = 3,   // modifying the selected object
    AcCfgStateDelete = 4,   // about to delete the selected object
};

// Whether the state is one in which the form's fields are being edited (adding or
// modifying; deleting only confirms).
constexpr bool AcCfgIsEditState(AcCfgFormState state)
{
    return state == AcCfgStateAdd || state == AcCfgStateModify;
}
