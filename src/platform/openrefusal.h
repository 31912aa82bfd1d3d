// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "serialport.h"

// Finds out why the system refused a serial device that Qt reports as a
// permission problem. Qt says that also of a device another program holds,
// by its lock file or by using it exclusively (the device then answers
// "busy"). Sets the result's error to Permission, Busy (with the holder where
// a lock file names it) or Other.
void explainRefusal(OpenResult& result);
