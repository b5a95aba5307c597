#include "CardTables.h"
