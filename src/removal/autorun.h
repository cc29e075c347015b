// Removal of the worm's autorun value; the Run key's other values stay.
#pragma once

void RemoveAutorunValue();
