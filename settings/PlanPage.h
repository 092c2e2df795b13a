// The options sheet's fifth page, "Data plan": the monthly limit in decimal GB, what
// counts against it, the day its period starts and the alert percentage.
#pragma once
#include "settings/OptionsPages.h"

void InitPlanPage(TPageControls& controls, TSettings& store);
// Writes the four values, each kept within its range: a limit of 0 or more, a start
// day of 1..31, an alert of 1..100 %.
void ApplyPlanPage(TPageControls& controls, TSettings& store);
