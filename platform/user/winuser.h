#pragma once
// The window system's API in one include, for code written against the Windows headers.
#include "platform/user/clipboard.h"
#include "platform/user/input.h"
#include "platform/user/messages.h"
#include "platform/user/msgbox.h"
#include "platform/user/msgqueue.h"
#include "platform/user/paint.h"
#include "platform/user/scrollbar.h"
#include "platform/user/styles.h"
#include "platform/user/user_types.h"
#include "platform/user/vkeys.h"
#include "platform/user/window.h"
#include "platform/user/winpos.h"
