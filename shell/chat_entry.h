// The chat line typed straight into the main window, with no edit control.
#pragma once

struct GameState;

constexpr int kChatEntryMaxWidth = 105;  // pixels of text before keys are refused

// The character a key types (Windows-1252), or 0 for none. The table follows
// the United Kingdom layout: Shift+3 is the pound sign.
int ChatCharacterForKey(int vk, bool shift, bool caps);

// Adds the key's character unless the entry is full (26 characters) or its
// text is already wider than 105 pixels.
void TypeChatKey(GameState& g, int vk, bool shift, bool caps);

// Backspace: removes the last character, if any.
void DeleteChatCharacter(GameState& g);

// Enter: a client sends its line to the server; a server's own player puts
// it on the board. The entry is emptied afterwards; an empty entry sends
// nothing.
void SendChatLine(GameState& g);
