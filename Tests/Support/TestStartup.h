#pragma once

// What a test program registers before its tests run, as the host program would at start-up. Each test program
// defines it.
void KorvaneTestStartup();
