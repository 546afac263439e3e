#pragma once
// The class library's control wrappers in one include.
#include "platform/afx/ctlwrap_button.h"
#include "platform/afx/ctlwrap_combobox.h"
#include "platform/afx/ctlwrap_edit.h"
#include "platform/afx/ctlwrap_listbox.h"
#include "platform/afx/scrollbar.h"
