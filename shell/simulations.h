#pragma once
// The Simulation menu: each item has the colour engine draw the active image
// window's picture as one of its simulations; "Original image" shows the
// picture as stored again.

// Reloads the active image window's picture from its file and, when
// `engineFunction` is given, has the colour engine draw that simulation of it
// from the colour data as it stands. Anything that fails is reported and
// leaves the window as it was.
void RunSimulation(const char* engineFunction);

void mnuFile_originalimage_Click();
