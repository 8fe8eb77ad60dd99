#pragma once

// Runs the program's tests with a real application object set up as the program sets its own
// up, on the platform QT_QPA_PLATFORM names.
int LanceTestsAvecApplication(int argc, char* argv[]);
