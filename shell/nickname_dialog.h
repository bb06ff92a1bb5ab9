// The nickname dialog (template 115), for command 40041.
#pragma once

struct GameState;

// Change stores the box's text as the nickname and returns 1; Cancel leaves
// it and returns 0. The caller applies the nickname rule and the title.
int RunNicknameDialog(GameState& g);
