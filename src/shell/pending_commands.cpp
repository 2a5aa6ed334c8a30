// Commands whose subsystems have not brought them yet. Each group moves to its
// subsystem's ui folder when that lands; none is left.
#include "main_window.h"
