#pragma once

#include "monitor/process_source.h"

// The Toolhelp walk: names and identifiers in the order Windows yields them; 0 when the snapshot
// cannot be taken or yields nothing.
int EnumerateProcesses(TextArray& names, ProcessIds& identifiers);
