// A price that reaches for a pass: an include up the house.
#include "optimise/pass.h"
