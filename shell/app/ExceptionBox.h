#pragma once
// The standard exception box lives with the platform's callback barrier.
#include "platform/win32/ExceptionBox.h"
