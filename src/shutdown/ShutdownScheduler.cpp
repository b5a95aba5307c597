#include "ShutdownScheduler.h"
