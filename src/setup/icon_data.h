// The PNG icons of the shortcuts, written beside the programs when a shortcut is made.
#pragma once
#include "setup/package.h"

namespace orvo::setup {

// The main program's icon (orvo2.png) and the checker's (orvo2-check.png).
const Bytes& mainIconPng();
const Bytes& checkIconPng();

} // namespace orvo::setup
