// The two dialogs of joining a server, over connection/join_server.h.
#pragma once

struct GameState;
class QWidget;

// F1 and menu 40007: the server address dialog; GO ends any game and runs
// ConnectToServer with the connection dialog. 1 when connected.
int ShowJoinDialog(GameState& g, QWidget* owner);

// The connection dialog (template 112): its first attempt starts by itself,
// further ones on "&Attempt Connection". 1 when the server accepted, 0 on
// Cancel.
int RunConnectionDialog(GameState& g, QWidget* owner);
