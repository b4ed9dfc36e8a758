// BusyScope lives in ui/busy_scope.h; this name stays for the files that still include it.
#pragma once

#include "ui/busy_scope.h"
