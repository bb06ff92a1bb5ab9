// The welcome dialog (template 108), shown once before the main window.
#pragma once

struct GameState;

// Runs the dialog with its unrolling animation. Begin! stores the nickname
// and the sound and music switches and returns 1; Cancel stores nothing
// and returns 0.
int RunWelcomeDialog(GameState& g);
