// Two rooms of one floor: an include sideways.
#include "mapping/recipe.h"
