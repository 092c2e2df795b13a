// Kept for the suites that still include it by this name.
#pragma once
#include "support/WineTest.h"
